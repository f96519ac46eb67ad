#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "tools/localyx_query/query.h"

namespace localyx::testing {

/// The built localyx-query.
inline std::filesystem::path queryExecutable() { return LOCALYX_QUERY_EXE; }

/// What one run of localyx-query gave.
struct ToolRun {
    int exitCode = -1;
    std::string out;  ///< standard output, bytes as written
    std::string err;  ///< standard error
};

/// Runs one command line in this process, as the program would from
/// programDir (the built program's folder unless given), input on standard input.
inline ToolRun runTool(const std::vector<std::string>& args,
                       const std::filesystem::path& programDir = queryExecutable().parent_path(),
                       const std::string& input = {}) {
    std::istringstream in(input);
    std::ostringstream out, err;
    ToolRun run;
    run.exitCode = query::runQuery(args, in, out, err, programDir);
    run.out = out.str();
    run.err = err.str();
    return run;
}

/// A fresh folder, removed with everything in it at the end of its scope.
class ScratchDir {
public:
    ScratchDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "localyx-query-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp");
        m_path = pattern;
    }
    ~ScratchDir() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// Writes a file under the folder (creating its folders), bytes as given.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view bytes) const {
        const std::filesystem::path file = m_path / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) throw std::runtime_error("cannot write " + file.string());
        return file;
    }

private:
    std::filesystem::path m_path;
};

/// The lines of a text, each without its "\n"; a last line without one counts.
inline std::vector<std::string> linesOf(std::string_view text) {
    std::vector<std::string> lines;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        lines.emplace_back(text.substr(0, end));
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
    }
    return lines;
}

}  // namespace localyx::testing
