#include "breaks/break_ideas.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

using namespace std::string_view_literals;

namespace {

using Ideas = std::vector<std::string>;

std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

const std::string kEllipsis = "\xE2\x80\xA6";

TEST(BreakIdeas, FileLinesBecomeIdeas)
{
    struct Case {
        const char* what;
        std::string bytes;
        Ideas expected;
    };
    const Case cases[] = {
        {"empty", "", {}},
        {"LF, last line unended", "Walk to a window\nDrink water", {"Walk to a window", "Drink water"}},
        {"CR LF", "Walk\r\nDrink\r\n", {"Walk", "Drink"}},
        {"CR alone", "Walk\rDrink", {"Walk", "Drink"}},
        {"blank lines", "\n \t\r\n\v\f\nWalk\n\n", {"Walk"}},
        {"blanks trimmed, inner ones kept", " \t Roll  your shoulders \t", {"Roll  your shoulders"}},
        {"comments at the start or after blanks",
         "# Ideas\n  # indented\nStretch # not a comment\n#",
         {"Stretch # not a comment"}},
        {"only comments", "# one\n#two\r\n", {}},
        {"UTF-8 mark", "\xEF\xBB\xBF# header\nBreathe", {"Breathe"}},
        {"UTF-8 mark before an idea", "\xEF\xBB\xBFStretch", {"Stretch"}},
        {"UTF-16 LE", std::string("\xFF\xFE#\0x\0\r\0\n\0\xE9\0t\0\xE9\0\n\0"sv), {"\xC3\xA9t\xC3\xA9"}},
        {"UTF-16 BE", std::string("\xFE\xFF\0a\0\n\0b"sv), {"a", "b"}},
        {"UTF-16 LE without its mark", std::string("a\0\r\0\n\0b\0"sv), {"a", "b"}},
        {"UTF-16 mark then a UTF-8 one", std::string("\xFF\xFE\xFF\xFE#\0\n\0a\0"sv), {"a"}},
        {"NUL left out", std::string("Sip\0 water\n\0\n"sv), {"Sip water"}},
        {"one code page byte", "Caf\xE9", {"Caf\xE9"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ReadBreakIdeas(c.bytes), c.expected) << c.what;
}

TEST(BreakIdeas, LongIdeasAreCutBetweenCharacters)
{
    struct Case {
        const char* what;
        std::string line;
        std::string shown;
    };
    const std::string a199 = Repeat("a", 199);
    const Case cases[] = {
        {"200 characters stay whole", Repeat("a", 200), Repeat("a", 200)},
        {"201 are cut", Repeat("a", 201), a199 + kEllipsis},
        {"two-byte character at the cut", a199 + "\xC3\xA9\xC3\xA9", a199 + kEllipsis},
        {"two-byte character last of 200", a199 + "\xC3\xA9", a199 + "\xC3\xA9"},
        {"three-byte characters", Repeat("\xE2\x82\xAC", 250), Repeat("\xE2\x82\xAC", 199) + kEllipsis},
        {"four-byte characters", Repeat("\xF0\x9F\x98\x80", 200), Repeat("\xF0\x9F\x98\x80", 200)},
        {"four-byte characters cut", Repeat("\xF0\x9F\x98\x80", 201), Repeat("\xF0\x9F\x98\x80", 199) + kEllipsis},
        {"blanks before the cut dropped", Repeat("a", 197) + "  bcd", Repeat("a", 197) + kEllipsis},
        {"after the last whole word", Repeat("relax ", 40), Repeat("relax ", 32) + "relax" + kEllipsis},
        {"a word ending at the cut", Repeat("stretch ", 30), Repeat("stretch ", 24) + "stretch" + kEllipsis},
        {"no word ends in the second half", "x " + Repeat("y", 300), "x " + Repeat("y", 197) + kEllipsis},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownIdea(c.line), c.shown) << c.what;
        EXPECT_EQ(ReadBreakIdeas("# header\r\n  " + c.line + " \r\n"), Ideas{c.shown}) << c.what;
    }
}

TEST(BreakIdeas, BreaksTakeTheIdeasInTurnFromAPlaceTheDayGives)
{
    constexpr std::int64_t kDay = 86400;
    const Ideas three = {"a", "b", "c"};
    const Ideas five = {"a", "b", "c", "d", "e"};
    struct Break {
        const Ideas* ideas;
        std::int64_t now;
        std::string shown;
    };
    struct Case {
        const char* what;
        std::vector<Break> breaks;
    };
    const Ideas none;
    const Case cases[] = {
        {"in turn, round again", {{&three, 0, "a"}, {&three, 60, "b"}, {&three, kDay + 5, "c"}, {&three, 0, "a"}}},
        // Eight breaks a day on: day 1 starts at 8, which is c of three; day 2 at 16, b of three.
        {"a later day starts further on", {{&three, kDay, "c"}, {&three, kDay, "a"}}},
        {"the file grows between breaks", {{&three, 2 * kDay + 7, "b"}, {&five, 2 * kDay, "c"}}},
        {"no ideas leave the turn unstarted",
         {{&none, 0, ""}, {&three, kDay, "c"}, {&none, kDay, ""}, {&three, 0, "a"}}},
        {"a clock before 1970", {{&five, -kDay, "a"}}},
        {"a far date", {{&five, 4102444800, "b"}, {&five, 4102444800, "c"}}},
    };
    for (const Case& c : cases) {
        CBreakIdeaTurn turn;
        for (std::size_t i = 0; i < c.breaks.size(); ++i) {
            const Break& b = c.breaks[i];
            EXPECT_EQ(turn.Next(*b.ideas, b.now), b.shown) << c.what << ", break " << i;
        }
    }
}

} // namespace
