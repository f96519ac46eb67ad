#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace localyx {

/// Why a region file could not be had.
enum class RegionFileProblem { None, NotFound, Unreadable, TooLarge };

/// The outcome of reading a region file: its decoded text, or a problem
/// carrying the file name so that the caller can say which file failed.
struct RegionFileText {
    RegionFileProblem problem = RegionFileProblem::None;
    std::string fileName;           ///< e.g. "Alsace.txt", always set
    std::filesystem::path path;     ///< where it was found (or last looked)
    std::string text;               ///< UTF-8, when problem is None
    bool ok() const { return problem == RegionFileProblem::None; }
};

/// Files above this size are refused rather than read into memory. The
/// largest real region file is 120 kB; a file at the cap (about 280,000
/// localities) still loads into the window in well under a second and
/// 250 MB, where one of 250 MB froze it for a minute and took 6 GB.
inline constexpr std::uintmax_t kMaxRegionFileBytes = 8u * 1024u * 1024u;

/// The folders searched for region files, in order: the program's own folder,
/// then the install data folder ../share/localyx/regions next to it.
std::vector<std::filesystem::path> regionSearchDirs(const std::filesystem::path& programDir);

/// Finds baseName + ".txt": exact name in each search folder first; on a
/// case-sensitive file system, then the same name without regard to case.
/// @return the path found, or std::nullopt.
std::optional<std::filesystem::path> locateRegionFile(const std::filesystem::path& programDir,
                                                      std::string_view baseName);

/// Reads and decodes the region file baseName + ".txt" (see locateRegionFile).
/// Never throws: a missing, unreadable or oversized file gives a problem.
RegionFileText readRegionFile(const std::filesystem::path& programDir, std::string_view baseName);

/// Reads a whole regular file into bytes without ever blocking on what is
/// not one (a FIFO, a device): the type is checked on the opened file.
/// @return None with the bytes; NotFound, Unreadable (not a regular file, an
///         error) or TooLarge (above maxBytes) with bytes empty. Never throws.
RegionFileProblem readWholeFile(const std::filesystem::path& path, std::uintmax_t maxBytes,
                                std::string& bytes);

/// Reads and decodes any file as a region file. Never throws.
RegionFileText readRegionFileAt(const std::filesystem::path& path);

/// The folder holding the running executable (/proc/self/exe on Linux),
/// or the current folder when it cannot be told.
std::filesystem::path executableDir();

}  // namespace localyx
