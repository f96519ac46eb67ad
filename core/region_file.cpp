#include "core/region_file.h"

#include <cstdio>
#include <memory>
#include <system_error>

#include "core/text_encoding.h"

namespace fs = std::filesystem;

namespace localyx {
namespace {

std::string asciiLower(std::string_view s) {
    std::string out(s);
    for (char& c : out) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return out;
}

bool isRegularFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

// A file copied from a case-insensitive system may come as "alsace.TXT".
// Of several candidates the first in name order wins, so the choice is
// the same on every run.
std::optional<fs::path> findIgnoringCase(const fs::path& dir, const std::string& fileName) {
    std::error_code ec;
    fs::directory_iterator it(dir, ec);
    if (ec) return std::nullopt;
    const std::string wanted = asciiLower(fileName);
    std::optional<fs::path> best;
    for (const fs::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) break;
        const fs::path candidate = it->path();
        if (asciiLower(candidate.filename().string()) != wanted) continue;
        if (!isRegularFile(candidate)) continue;
        if (!best || candidate.filename() < best->filename()) best = candidate;
    }
    return best;
}

}  // namespace

std::vector<fs::path> regionSearchDirs(const fs::path& programDir) {
    return {programDir, programDir / ".." / "share" / "localyx" / "regions"};
}

std::optional<fs::path> locateRegionFile(const fs::path& programDir, std::string_view baseName) {
    const std::string fileName = std::string(baseName) + ".txt";
    const auto dirs = regionSearchDirs(programDir);
    for (const auto& dir : dirs) {
        const fs::path exact = dir / fileName;
        std::error_code ec;
        // Something by the exact name that is not a file (a folder, say) is
        // still the user's file: report it as unreadable, don't look further.
        if (fs::exists(exact, ec)) return exact;
        if (auto other = findIgnoringCase(dir, fileName)) return other;
    }
    return std::nullopt;
}

RegionFileText readRegionFileAt(const fs::path& path) {
    RegionFileText result;
    result.fileName = path.filename().string();
    result.path = path;

    std::error_code ec;
    const auto status = fs::status(path, ec);
    if (ec || !fs::exists(status)) {
        result.problem = RegionFileProblem::NotFound;
        return result;
    }
    if (!fs::is_regular_file(status)) {
        result.problem = RegionFileProblem::Unreadable;
        return result;
    }
    const auto size = fs::file_size(path, ec);
    if (ec) {
        result.problem = RegionFileProblem::Unreadable;
        return result;
    }
    if (size > kMaxRegionFileBytes) {
        result.problem = RegionFileProblem::TooLarge;
        return result;
    }

    std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "rb"), &std::fclose);
    if (!file) {
        result.problem = RegionFileProblem::Unreadable;
        return result;
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(size));
    char buffer[65536];
    std::size_t got = 0;
    while ((got = std::fread(buffer, 1, sizeof buffer, file.get())) > 0) {
        bytes.append(buffer, got);
        // The file may grow while we read it; the cap still holds.
        if (bytes.size() > kMaxRegionFileBytes) {
            result.problem = RegionFileProblem::TooLarge;
            return result;
        }
    }
    if (std::ferror(file.get())) {
        result.problem = RegionFileProblem::Unreadable;
        return result;
    }
    result.text = decodeRegionText(bytes);
    return result;
}

RegionFileText readRegionFile(const fs::path& programDir, std::string_view baseName) {
    const std::string fileName = std::string(baseName) + ".txt";
    if (auto found = locateRegionFile(programDir, baseName)) {
        RegionFileText result = readRegionFileAt(*found);
        result.fileName = fileName;
        return result;
    }
    RegionFileText missing;
    missing.problem = RegionFileProblem::NotFound;
    missing.fileName = fileName;
    missing.path = programDir / fileName;
    return missing;
}

fs::path executableDir() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (!ec && !exe.empty()) return exe.parent_path();
    return fs::current_path(ec);
}

}  // namespace localyx
