#include "core/web_address.h"

#include <gtest/gtest.h>

namespace {

using namespace localyx;

TEST(MapAddress, TownGoesInRaw) {
    EXPECT_EQ(mapAddress("L'ISLE SUR ÉCLUSE-00004"),
              "http://www.viamichelin.fr/viamichelin/fra/dyn/controller/mapPerformPage?expressMap=false"
              "&act=&pim=true&strAddress=&strCP=&strLocation=L'ISLE SUR ÉCLUSE-00004"
              "%20&%20%20&strCountry=1424&x=33&y=11");
}

TEST(BrowserUrl, EncodesOnlyWhatAUrlCannotHold) {
    struct Case { const char* raw; const char* url; } cases[] = {
        {"http://h/p?a=LE BOURG", "http://h/p?a=LE%20BOURG"},
        {"http://h/p?a=É", "http://h/p?a=%C3%89"},
        {"http://h/p?a=L'ISLE+X&b=%20", "http://h/p?a=L'ISLE+X&b=%20"},
        {"http://h/p?a=100%&b=%2", "http://h/p?a=100%25&b=%252"},
        {"http://h/p?a=%e9%zz%Fa", "http://h/p?a=%e9%25zz%Fa"},
        {"http://h/p?a=\"<q>\"", "http://h/p?a=%22%3Cq%3E%22"},
        {"http://h/p?a=A#B&c=1#", "http://h/p?a=A%23B&c=1#"},
        {"http://h/p?a=A#B", "http://h/p?a=A%23B"},
        {"http://h/p?a=\x01|{}", "http://h/p?a=%01%7C%7B%7D"},
        {"http://h/p?a=\\^`", "http://h/p?a=%5C%5E%60"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.raw);
        EXPECT_EQ(toBrowserUrl(c.raw), c.url);
    }
}

}  // namespace
