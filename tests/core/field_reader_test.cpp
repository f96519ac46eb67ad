#include "core/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/region_loader.h"

namespace {

using localyx::FieldReader;

std::vector<std::string> fieldsOf(const std::string& text) {
    FieldReader reader(text);
    std::vector<std::string> fields;
    while (!reader.atEnd()) fields.push_back(reader.next());
    return fields;
}

struct Arrangement {
    const char* name;
    std::string text;
    std::vector<std::string> fields;
};

TEST(FieldReader, Arrangements) {
    const std::vector<std::string> twoRecords = {"48.5", "-1.25", "EXEMPLEVILLE-00001",
                                                 "48.25", "-1.5", "EXEMPLEVILLE SUR MER-00002"};
    const Arrangement cases[] = {
        {"one record per line, CR LF",
         "48.5,-1.25,EXEMPLEVILLE-00001\r\n48.25,-1.5,EXEMPLEVILLE SUR MER-00002\r\n", twoRecords},
        {"LF only", "48.5,-1.25,EXEMPLEVILLE-00001\n48.25,-1.5,EXEMPLEVILLE SUR MER-00002\n", twoRecords},
        {"no final line end", "48.5,-1.25,EXEMPLEVILLE-00001\r\n48.25,-1.5,EXEMPLEVILLE SUR MER-00002",
         twoRecords},
        {"six lines", "48.5\r\n-1.25\r\nEXEMPLEVILLE-00001\r\n48.25\r\n-1.5\r\nEXEMPLEVILLE SUR MER-00002\r\n",
         twoRecords},
        {"one line", "48.5,-1.25,EXEMPLEVILLE-00001,48.25,-1.5,EXEMPLEVILLE SUR MER-00002", twoRecords},
        {"quoted names and blanks before fields",
         "48.5, -1.25, \"EXEMPLEVILLE-00001\"\r\n  48.25,\t-1.5,\"EXEMPLEVILLE SUR MER-00002\"\r\n",
         twoRecords},
        {"quoted name with a comma", "48.5,-1.25,\"VILLE, LA-00001\"\r\n", {"48.5", "-1.25", "VILLE, LA-00001"}},
        {"text after the closing quote is dropped", "\"AB\"CD,E\r\n", {"AB", "E"}},
        {"empty file", "", {}},
        {"empty field", "48.5,,X-00001\r\n", {"48.5", "", "X-00001"}},
        {"a comma before the end of the file ends the last field", "48.5,", {"48.5"}},
        {"decimal comma splits a coordinate", "48,5,-1,25,X-00001", {"48", "5", "-1", "25", "X-00001"}},
        {"blank lines hold no field", "\r\n48.5,-1.25,X-00001\r\n\r\n  \r\n", {"48.5", "-1.25", "X-00001"}},
        {"lone CR ends a line", "48.5\r-1.25\rX-00001", {"48.5", "-1.25", "X-00001"}},
        {"unterminated quote runs to the end", "48.5,\"X-00001,\r\n49", {"48.5", "X-00001,\r\n49"}},
        {"NUL bytes are ordinary characters", std::string("A\0B,C", 5), {std::string("A\0B", 3), "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fieldsOf(c.text), c.fields);
    }
}

TEST(RegionLoader, SortsNamesFromCoordinatesInFileOrder) {
    FieldReader reader("45.50,-1.25,B-00001\r\n48.25,2,\"A, LE-00002\"\r\n");
    const auto lists = localyx::loadRegionLists(reader);
    EXPECT_EQ(lists.names, (std::vector<std::string>{"B-00001", "A, LE-00002"}));
    // Coordinates keep their text: 45.50 is not rewritten as 45.5.
    EXPECT_EQ(lists.coordinates, (std::vector<std::string>{"45.50", "-1.25", "48.25", "2"}));
}

TEST(RegionLoader, MalformedDataShiftsAsTheRuleSays) {
    // A zero longitude counts as a name; a name starting with a digit as a
    // coordinate.
    FieldReader reader("45.5,0,A-00001\r\n46,1,2B-00002\r\n");
    const auto lists = localyx::loadRegionLists(reader);
    EXPECT_EQ(lists.names, (std::vector<std::string>{"0", "A-00001"}));
    EXPECT_EQ(lists.coordinates, (std::vector<std::string>{"45.5", "46", "1", "2B-00002"}));
}

}  // namespace
