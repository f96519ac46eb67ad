// Whatever lies where a region file should be, the window and the command
// line tool answer: no crash, no hang, a French message when the file cannot
// be read, the next region loading normally, and only valid URLs handed to
// the browser.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/web_address.h"
#include "tests/app/fake_view.h"
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
    bool readable;  ///< the window can read it (else a message is expected)
};

std::string binaryGarbage() {
    std::string s;
    for (int i = 0; i < 200000; ++i) s.push_back(static_cast<char>((i * 2654435761u) >> 13));
    s[100] = '\0';
    s[5000] = '\0';
    return s;
}

std::vector<BadFile> badFiles() {
    return {
        {"directory in place of the file", Setup::Directory, "", false},
        {"no read permission", Setup::NoPermission, "48.5,7.5,A-67001\r\n", false},
        {"empty file", Setup::Bytes, "", true},
        {"only names", Setup::Bytes, "A-67001\r\nB-67002\r\nC-67003\r\n", true},
        {"only coordinates", Setup::Bytes, "48.5,7.5\r\n48.6,7.6\r\n", true},
        {"binary garbage with NUL bytes", Setup::Bytes, binaryGarbage(), true},
        {"20 MB single line", Setup::Bytes, "48.5,7.5,A-67001," + std::string(20'000'000, 'x'), true},
        {"unterminated quote", Setup::Bytes, "48.5,7.5,\"A-67001\r\n48.51,7.51,B-67002\r\n", true},
        {"UTF-8 with a byte-order mark", Setup::Bytes,
         "\xEF\xBB\xBF" "48.5,7.5,ÉCLUSE-67001\r\n48.51,7.51,ŒUVRE-67002\r\n", true},
        {"LF line ends", Setup::Bytes, "48.5,7.5,A-67001\n48.51,7.51,B-67002\n", true},
        {"names with & # % ? and quotes", Setup::Bytes,
         "48.5,7.5,A&B #1 100% ?-67001\r\n48.51,7.51,\"L'\"\"X\"\" <Y>\"-67002\r\n"
         "48.52,7.52,Q\"UOTE{|}^`\\-67003\r\n",
         true},
    };
}

bool isBrowserReadyUrl(const std::string& url) {
    const auto isHex = [](char c) {
        return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F') || (c >= 'a' && c <= 'f');
    };
    if (url.rfind("http://www.viamichelin.fr/", 0) != 0) return false;
    for (std::size_t i = 0; i < url.size(); ++i) {
        const auto c = static_cast<unsigned char>(url[i]);
        if (c <= 0x20 || c >= 0x7F) return false;
        if (std::string_view("\"<>\\^`{|}").find(static_cast<char>(c)) != std::string_view::npos) return false;
        if (c == '%' && !(i + 2 < url.size() && isHex(url[i + 1]) && isHex(url[i + 2]))) return false;
        if (c == '#' && i + 1 != url.size()) return false;
    }
    return true;
}

class BadFilesTest : public FormTest {
protected:
    void lay(const BadFile& bad) {
        const fs::path file = programDir / "Alsace.txt";
        switch (bad.setup) {
            case Setup::Directory:
                fs::create_directories(file);
                break;
            case Setup::NoPermission:
                writeRegion("Alsace", bad.bytes);
                fs::permissions(file, fs::perms::none);
                break;
            case Setup::Bytes:
                writeRegion("Alsace", bad.bytes);
                break;
        }
    }
    void unlay() {
        std::error_code ec;
        fs::permissions(programDir / "Alsace.txt", fs::perms::owner_all, fs::perm_options::add, ec);
        fs::remove_all(programDir / "Alsace.txt", ec);
    }
};

TEST_F(BadFilesTest, WindowLogicCopesAndRecovers) {
    writeRegion("Aquitaine", "44.84,-0.58,BORDEAUX-33000\r\n44.85,-0.57,VOISIN-33001\r\n");
    for (const auto& bad : badFiles()) {
        if (bad.setup == Setup::NoPermission && ::geteuid() == 0) continue;  // root reads anything
        SCOPED_TRACE(bad.name);
        lay(bad);
        platform.opened.clear();

        chooseRegion(1);
        EXPECT_EQ(view.mousePointer(), MousePointer::Default);
        if (!bad.readable) {
            const std::string message = view.text(TextId::Text8);
            EXPECT_NE(message.find("Alsace.txt"), std::string::npos) << message;
            EXPECT_NE(message.find("Alsace"), std::string::npos);
            EXPECT_TRUE(view.items(ComboId::Combo1).empty());
        }

        // Whatever loaded, the whole road runs: town, radius, second town,
        // map and itinerary.
        const int towns = static_cast<int>(view.items(ComboId::Combo1).size());
        if (towns >= 1) {
            pick(form, view, ComboId::Combo1, 0);
            pick(form, view, ComboId::ComboKms, 4);
            EXPECT_EQ(view.mousePointer(), MousePointer::Default);
            form.CmdCarte_Click();
        }
        if (towns >= 2) {
            pick(form, view, ComboId::Combo2, towns - 1);
            form.CmdItineraire_Click();
            tickUntilIdle(form, view);
            EXPECT_FALSE(view.timerEnabled(TimerId::Timer1));
            EXPECT_FALSE(view.timerEnabled(TimerId::Timer2));
        }
        for (const auto& raw : platform.opened) {
            EXPECT_TRUE(isBrowserReadyUrl(toBrowserUrl(raw))) << toBrowserUrl(raw);
        }

        // The next region loads normally.
        chooseRegion(2);
        EXPECT_EQ(view.items(ComboId::Combo1),
                  (std::vector<std::string>{"BORDEAUX-33000", "VOISIN-33001"}));
        EXPECT_EQ(view.text(TextId::Text8), "");
        unlay();
    }
}

TEST(BadFilesQuery, CommandLineCopes) {
    for (const auto& bad : badFiles()) {
        if (bad.setup == Setup::NoPermission && ::geteuid() == 0) continue;
        SCOPED_TRACE(bad.name);
        ScratchDir dir;
        const fs::path file = dir.path() / "region.txt";
        if (bad.setup == Setup::Directory) {
            fs::create_directories(file);
        } else {
            dir.write("region.txt", bad.bytes);
            if (bad.setup == Setup::NoPermission) fs::permissions(file, fs::perms::none);
        }

        const ToolRun towns = runTool({"--file", file.string(), "towns"});
        if (!bad.readable) {
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
