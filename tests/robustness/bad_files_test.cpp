// Whatever lies where a region file should be, the window and the command
// line tool answer: no crash, no hang, a French message when the file cannot
// be read, the next region loading normally, and only valid URLs handed to
// the browser.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

#include "core/web_address.h"
#include "tests/app/form_fixture.h"
#include "tests/query/tool_runner.h"

namespace fs = std::filesystem;

namespace localyx::testing {
namespace {

enum class Setup { Bytes, Directory, NoPermission };

struct BadFile {
    const char* name;
    Setup setup;
    std::string bytes;
};

std::vector<BadFile> badFiles() {
    std::string garbage;
    for (unsigned i = 0; i < 200000; ++i) garbage.push_back(static_cast<char>((i * 2654435761u) >> 13));
    garbage[100] = garbage[5000] = '\0';
    return {
        {"directory in place of the file", Setup::Directory, ""},
        {"no read permission", Setup::NoPermission, "48.5,7.5,A-67001\r\n"},
        {"empty file", Setup::Bytes, ""},
        {"only names", Setup::Bytes, "A-67001\r\nB-67002\r\nC-67003\r\n"},
        {"only coordinates", Setup::Bytes, "48.5,7.5\r\n48.6,7.6\r\n"},
        {"binary garbage with NUL bytes", Setup::Bytes, garbage},
        {"4 MB single line", Setup::Bytes, "48.5,7.5,A-67001," + std::string(4'000'000, 'x')},
        {"unterminated quote", Setup::Bytes, "48.5,7.5,\"A-67001\r\n48.51,7.51,B-67002\r\n"},
        {"UTF-8 with a byte-order mark", Setup::Bytes,
         "\xEF\xBB\xBF" "48.5,7.5,ÉCLUSE-67001\r\n48.51,7.51,ŒUVRE-67002\r\n"},
        {"LF line ends", Setup::Bytes, "48.5,7.5,A-67001\n48.51,7.51,B-67002\n"},
        {"names with & # % ? and quotes", Setup::Bytes,
         "48.5,7.5,A&B #1 100% ?-67001\r\n48.51,7.51,\"L'\"\"X\"\" <Y>\"-67002\r\n48.52,7.52,Q\"UOTE{|}^`\\-67003\r\n"},
    };
}

/// Puts the bad file where the file should be, in place of whatever was there.
void lay(const fs::path& file, const BadFile& bad) {
    std::error_code ec;
    fs::permissions(file, fs::perms::owner_all, fs::perm_options::add, ec);
    fs::remove_all(file, ec);
    if (bad.setup == Setup::Directory) {
        fs::create_directories(file);
        return;
    }
    std::ofstream(file, std::ios::binary) << bad.bytes;
    if (bad.setup == Setup::NoPermission) fs::permissions(file, fs::perms::none);
}

/// Printable ASCII only, no character a browser would have to escape, "%"
/// only as an escape and "#" only last.
bool isBrowserReadyUrl(std::string_view url) {
    const auto hex = [&](std::size_t i) { return i < url.size() && std::isxdigit(static_cast<unsigned char>(url[i])); };
    if (!url.starts_with("http://www.viamichelin.fr/")) return false;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        if (c <= 0x20 || c >= 0x7F || std::string_view("\"<>\\^`{|}").find(url[i]) != std::string_view::npos) {
            return false;
        }
        if (c == '%' && !(hex(i + 1) && hex(i + 2))) return false;
        if (c == '#' && i + 1 != url.size()) return false;
    }
    return true;
}

class BadFilesTest : public FormTest {};

TEST_F(BadFilesTest, WindowLogicCopesAndRecovers) {
    writeRegion("Aquitaine", "44.84,-0.58,BORDEAUX-33000\r\n44.85,-0.57,VOISIN-33001\r\n");
    for (const BadFile& bad : badFiles()) {
        if (bad.setup == Setup::NoPermission && ::geteuid() == 0) continue;  // root reads anything
        SCOPED_TRACE(bad.name);
        lay(programDir / "Alsace.txt", bad);
        platform.opened.clear();
        chooseRegion(1);
        // A message naming the file, only when it cannot be read.
        EXPECT_EQ(view.text(TextId::Text8).find("Alsace.txt") != std::string::npos, bad.setup != Setup::Bytes);

        // Whatever loaded, the whole road runs.
        const auto towns = static_cast<int>(view.items(ComboId::Combo1).size());
        if (towns >= 1) {
            pick(form, view, ComboId::Combo1, 0);
            pick(form, view, ComboId::ComboKms, 4);
            form.CmdCarte_Click();
        }
        if (towns >= 2) {
            pick(form, view, ComboId::Combo2, towns - 1);
            form.CmdItineraire_Click();
            EXPECT_LT(tickUntilIdle(form, view), 100000);
        }
        EXPECT_EQ(view.mousePointer(), MousePointer::Default);
        for (const auto& raw : platform.opened) EXPECT_TRUE(isBrowserReadyUrl(toBrowserUrl(raw))) << toBrowserUrl(raw);

        chooseRegion(2);  // the next region loads normally
        EXPECT_EQ(view.items(ComboId::Combo1), (std::vector<std::string>{"BORDEAUX-33000", "VOISIN-33001"}));
        EXPECT_EQ(view.text(TextId::Text8), "");
    }
}

TEST(BadFilesQuery, CommandLineCopes) {
    for (const BadFile& bad : badFiles()) {
        if (bad.setup == Setup::NoPermission && ::geteuid() == 0) continue;
        SCOPED_TRACE(bad.name);
        ScratchDir dir;
        const fs::path file = dir.path() / "region.txt";
        lay(file, bad);
        const ToolRun towns = runTool({"--file", file.string(), "towns"});
        if (bad.setup != Setup::Bytes) {
            EXPECT_EQ(towns.exitCode, 1);
            EXPECT_NE(towns.err.find("region.txt"), std::string::npos) << towns.err;
            continue;
        }
        EXPECT_EQ(towns.exitCode, 0) << towns.err;
        const auto items = linesOf(towns.out);
        if (items.empty()) continue;
        const ToolRun around = runTool({"--file", file.string(), "neighbours", "--", items.front(), "26"});
        EXPECT_LT(around.exitCode, 2) << around.err;
        const ToolRun map = runTool({"map-url", "--", items.front()});
        EXPECT_EQ(map.exitCode, 0) << map.err;
        EXPECT_TRUE(isBrowserReadyUrl(toBrowserUrl(linesOf(map.out).front())));
    }
}

}  // namespace
}  // namespace localyx::testing
