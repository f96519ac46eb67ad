#include "core/render/borders.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "core/region_file.h"

namespace fs = std::filesystem;

namespace localyx::render {
namespace {

class Words {
public:
    explicit Words(std::string_view line) : m_line(line) {}
    bool next(std::string_view& word) {
        while (m_at < m_line.size() && m_line[m_at] == ' ') ++m_at;
        if (m_at >= m_line.size()) return false;
        const std::size_t end = std::min(m_line.find(' ', m_at), m_line.size());
        word = m_line.substr(m_at, end - m_at);
        m_at = end;
        return true;
    }
    bool number(long& value) {
        std::string_view word;
        if (!next(word)) return false;
        const auto [end, ec] = std::from_chars(word.data(), word.data() + word.size(), value);
        return ec == std::errc{} && end == word.data() + word.size();
    }

private:
    std::string_view m_line;
    std::size_t m_at = 0;
};

// Far beyond France: a figure out here is a damaged file, not a border.
constexpr long kMaxMetres = 20'000'000;

bool readArc(std::string_view line, BorderArc& arc) {
    Words words(line);
    std::string_view kind, dep1, dep2;
    long tolerance = 0;
    if (!words.number(tolerance) || (tolerance != 100 && tolerance != 1000)) return false;
    if (!words.next(kind) || !words.next(dep1) || !words.next(dep2)) return false;
    if (kind == "N") {
        arc.kind = BorderKind::Outline;
    } else if (kind == "R") {
        arc.kind = BorderKind::Region;
    } else if (kind == "D") {
        arc.kind = BorderKind::Departement;
    } else {
        return false;
    }
    arc.toleranceM = static_cast<int>(tolerance);
    long x = 0, y = 0;
    if (!words.number(x) || !words.number(y)) return false;
    arc.points.push_back({static_cast<double>(x), static_cast<double>(y)});
    std::string_view rest;
    for (long dx = 0, dy = 0; words.number(dx);) {
        if (!words.number(dy)) return false;
        x += dx;
        y += dy;
        if (std::abs(x) > kMaxMetres || std::abs(y) > kMaxMetres) return false;
        arc.points.push_back({static_cast<double>(x), static_cast<double>(y)});
    }
    if (words.next(rest) || arc.points.size() < 2) return false;
    arc.low = arc.high = arc.points.front();
    for (const Metres& p : arc.points) {
        arc.low = {std::min(arc.low.x, p.x), std::min(arc.low.y, p.y)};
        arc.high = {std::max(arc.high.x, p.x), std::max(arc.high.y, p.y)};
    }
    return true;
}

}  // namespace

Borders parseBorders(std::string_view text) {
    Borders borders;
    std::size_t lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        ++lineNumber;
        if (line.empty() || line.front() == '#') continue;
        BorderArc arc;
        // A malformed number fails the whole line, so a long line is never half read.
        if (line.find_first_not_of("0123456789 -NRDAB") != std::string_view::npos || !readArc(line, arc)) {
            borders.arcs.clear();
            borders.error = "ligne " + std::to_string(lineNumber) + " illisible";
            return borders;
        }
        borders.arcs.push_back(std::move(arc));
    }
    if (borders.arcs.empty()) borders.error = "aucun contour";
    return borders;
}

Borders loadBorders(const fs::path& programDir) {
    const auto dirs = regionSearchDirs(programDir);
    for (const fs::path& dir : dirs) {
        std::error_code ec;
        const fs::path candidate = dir / kBordersFileName;
        if (!fs::exists(candidate, ec)) continue;
        std::string bytes;
        Borders borders;
        switch (readWholeFile(candidate, kMaxBordersFileBytes, bytes)) {
        case RegionFileProblem::None:
            borders = parseBorders(bytes);
            break;
        case RegionFileProblem::NotFound:
            borders.error = "fichier introuvable";
            break;
        case RegionFileProblem::Unreadable:
            borders.error = "fichier illisible";
            break;
        case RegionFileProblem::TooLarge:
            borders.error = "fichier trop volumineux";
            break;
        }
        borders.path = candidate;
        return borders;
    }
    Borders missing;
    missing.path = dirs.front() / kBordersFileName;
    missing.error = "fichier introuvable";
    return missing;
}

}  // namespace localyx::render
