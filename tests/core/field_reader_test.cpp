#include "core/field_reader.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using localyx::FieldReader;

std::vector<std::string> fieldsOf(const std::string& text) {
    FieldReader reader(text);
    std::vector<std::string> fields;
    while (!reader.atEnd()) fields.push_back(reader.next());
    return fields;
}

struct Arrangement { const char* name; std::string text; std::vector<std::string> fields; };

TEST(FieldReader, Arrangements) {
    const std::vector<std::string> twoRecords = {"48.5", "-1.25", "A-00001", "48.25", "-1.5", "B C-00002"};
    const Arrangement cases[] = {
        {"one record per line, CR LF", "48.5,-1.25,A-00001\r\n48.25,-1.5,B C-00002\r\n", twoRecords},
        {"LF only", "48.5,-1.25,A-00001\n48.25,-1.5,B C-00002\n", twoRecords},
        {"no final line end", "48.5,-1.25,A-00001\r\n48.25,-1.5,B C-00002", twoRecords},
        {"six lines", "48.5\r\n-1.25\r\nA-00001\r\n48.25\r\n-1.5\r\nB C-00002\r\n", twoRecords},
        {"one line", "48.5,-1.25,A-00001,48.25,-1.5,B C-00002", twoRecords},
        {"quotes, blanks before fields", "48.5, -1.25, \"A-00001\"\r\n 48.25,\t-1.5,\"B C-00002\"\r\n", twoRecords},
        {"quoted name with a comma", "48.5,-1.25,\"VILLE, LA-00001\"\r\n", {"48.5", "-1.25", "VILLE, LA-00001"}},
        {"text after the closing quote is dropped", "\"AB\"CD,E\r\n", {"AB", "E"}},
        {"empty file", "", {}},
        {"empty field", "48.5,,X-00001\r\n", {"48.5", "", "X-00001"}},
        {"a comma before the end of the file ends the last field", "48.5,", {"48.5"}},
        {"decimal comma splits a coordinate", "48,5,-1,25,X-00001", {"48", "5", "-1", "25", "X-00001"}},
        {"blank lines hold no field", "\r\n48.5,-1.25,X-00001\r\n\r\n  \r\n", {"48.5", "-1.25", "X-00001"}},
        {"lone CR ends a line", "48.5\r-1.25\rX-00001", {"48.5", "-1.25", "X-00001"}},
        {"blank line ended by a lone CR", "48.5\r\r-1.25,X-00001", {"48.5", "-1.25", "X-00001"}},
        {"unterminated quote runs to the end", "48.5,\"X-00001,\r\n49", {"48.5", "X-00001,\r\n49"}},
        {"NUL bytes are ordinary characters", std::string("A\0B,C", 5), {std::string("A\0B", 3), "C"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(fieldsOf(c.text), c.fields);
    }
}

}  // namespace
