#include "core/region_file.h"

#include <cerrno>
#include <system_error>

#include "core/text_encoding.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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

RegionFileProblem readWholeFile(const fs::path& path, std::uintmax_t maxBytes, std::string& bytes) {
    bytes.clear();
    // Without O_NONBLOCK a FIFO put in the file's place would hold the open
    // for ever; the type is then checked on what was opened, not on a name
    // that may have been swapped meanwhile.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) return errno == ENOENT ? RegionFileProblem::NotFound : RegionFileProblem::Unreadable;
    struct Closer {
        int fd;
        ~Closer() { ::close(fd); }
    } const closer{fd};
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return RegionFileProblem::Unreadable;
    if (static_cast<std::uintmax_t>(info.st_size) > maxBytes) return RegionFileProblem::TooLarge;
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);

    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got == 0) break;
        if (got < 0) {
            if (errno == EINTR) continue;
            bytes.clear();
            return RegionFileProblem::Unreadable;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        // The file may grow while we read it; the cap still holds.
        if (bytes.size() > maxBytes) {
            bytes.clear();
            return RegionFileProblem::TooLarge;
        }
    }
    return RegionFileProblem::None;
}

RegionFileText readRegionFileAt(const fs::path& path) {
    RegionFileText result;
    result.fileName = path.filename().string();
    result.path = path;
    std::string bytes;
    result.problem = readWholeFile(path, kMaxRegionFileBytes, bytes);
    if (result.ok()) result.text = decodeRegionText(bytes);
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
