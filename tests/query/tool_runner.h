#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace localyx::testing {

/// The built localyx-query.
std::filesystem::path queryExecutable();

/// What one run of a program gave.
struct ToolRun {
    int exitCode = -1;  ///< the exit status; 128 + signal when killed
    std::string out;    ///< standard output, bytes as written
    std::string err;    ///< standard error
};

/// Runs the program with the arguments, standard input empty, and waits.
ToolRun runTool(const std::vector<std::string>& args,
                const std::filesystem::path& program = queryExecutable());

/// A fresh folder, removed with everything in it at the end of its scope.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    /// Writes a file under the folder (creating its folders), bytes as given.
    std::filesystem::path write(const std::filesystem::path& relative, std::string_view bytes) const;

private:
    std::filesystem::path m_path;
};

/// The lines of a text, each without its "\n"; a last line without one counts.
std::vector<std::string> linesOf(std::string_view text);

}  // namespace localyx::testing
