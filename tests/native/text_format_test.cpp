#include "language/text_format.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A translation's pattern takes only the values given, in its own order where it says so.
TEST(TextFormat, PlaceholdersTakeOnlyTheValuesGiven)
{
    struct Case {
        const char* pattern;
        std::string filled;
    };
    const Case cases[] = {
        {"could not open %s", "could not open a.txt"},
        {"%s of %s", "a.txt of 7"},
        {"%2$s: %1$s", "7: a.txt"},
        {"%1$s, %1$s", "a.txt, a.txt"},
        {"%d lines", "a.txt lines"},
        {"100%% %s", "100% a.txt"},
        {"%s %s %s", "a.txt 7 %s"},
        {"%3$s %9$s", "%3$s %9$s"},
        {"%n %x %0$s %", "%n %x %0$s %"},
        {"%.9999s %ls %s", "%.9999s %ls a.txt"},
        {"no values", "no values"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FillText(c.pattern, {"a.txt", "7"}), c.filled) << c.pattern;
}

// Into a buffer, the text is cut between two characters and ends in a NUL.
TEST(TextFormat, ABufferTakesWholeCharacters)
{
    struct Case {
        std::size_t size;
        const char* filled;
    };
    // "Aktiv: 00:01" with "Ä" (two bytes) and "日" (three bytes) at the end of the value.
    const Case cases[] = {
        {32, "Aktiv: 00:01\xC3\x84\xE6\x97\xA5"}, {17, "Aktiv: 00:01\xC3\x84"}, {16, "Aktiv: 00:01\xC3\x84"},
        {15, "Aktiv: 00:01\xC3\x84"},               {14, "Aktiv: 00:01"},         {1, ""},
    };
    for (const Case& c : cases) {
        char buffer[32] = {};
        const std::size_t length = FillTextInto(buffer, c.size, "Aktiv: %s", {"00:01\xC3\x84\xE6\x97\xA5"});
        EXPECT_STREQ(buffer, c.filled) << c.size;
        EXPECT_EQ(length, std::string(c.filled).size()) << c.size;
    }
}

} // namespace
