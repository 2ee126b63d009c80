#include "language/plural_forms.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

namespace {

std::string Repeat(std::string_view piece, std::size_t times)
{
    std::string text;
    for (std::size_t i = 0; i < times; ++i)
        text += piece;
    return text;
}

// The forms of the counts, one after the other with a blank between.
std::string FormsOf(const CPluralForms& forms, std::initializer_list<unsigned long> counts)
{
    std::string shown;
    for (const unsigned long n : counts)
        shown += (shown.empty() ? "" : " ") + std::to_string(forms.FormOf(n));
    return shown;
}

TEST(PluralForms, TheLanguagesHeadersGiveEachCountItsForm)
{
    struct Case {
        const char* language;
        const char* header;
        unsigned long count;
        const char* forms; // for n = 0, 1, 2, 5, 11, 12, 21, 22, 25, 101, 111, 1000001
    };
    const char* const kSlavic = "n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);";
    const std::string polish = std::string("nplurals=3; plural=(n==1 ? 0 : ") + kSlavic;
    const std::string russian = std::string("nplurals=3; plural=(n%10==1 && n%100!=11 ? 0 : ") + kSlavic;
    const Case cases[] = {
        {"de", "nplurals=2; plural=(n != 1);", 2, "1 0 1 1 1 1 1 1 1 1 1 1"},
        {"fr", "nplurals=2; plural=(n > 1);", 2, "0 0 1 1 1 1 1 1 1 1 1 1"},
        {"es", "nplurals=2; plural=(n != 1);", 2, "1 0 1 1 1 1 1 1 1 1 1 1"},
        {"it", "nplurals=2; plural=(n != 1);", 2, "1 0 1 1 1 1 1 1 1 1 1 1"},
        {"pt_BR", "nplurals=2; plural=(n > 1);", 2, "0 0 1 1 1 1 1 1 1 1 1 1"},
        {"nl", "nplurals=2; plural=(n != 1);", 2, "1 0 1 1 1 1 1 1 1 1 1 1"},
        {"pl", polish.c_str(), 3, "2 0 1 2 2 2 2 1 2 2 2 2"},
        {"ru", russian.c_str(), 3, "2 0 1 2 2 2 0 1 2 0 2 0"},
        {"zh_CN", "nplurals=1; plural=0;", 1, "0 0 0 0 0 0 0 0 0 0 0 0"},
        {"ja", "nplurals=1; plural=0;", 1, "0 0 0 0 0 0 0 0 0 0 0 0"},
    };
    for (const Case& c : cases) {
        const std::optional<CPluralForms> forms = CPluralForms::Parse(c.header);
        ASSERT_TRUE(forms) << c.language;
        EXPECT_EQ(forms->Count(), c.count) << c.language;
        EXPECT_EQ(FormsOf(*forms, {0, 1, 2, 5, 11, 12, 21, 22, 25, 101, 111, 1000001}), c.forms) << c.language;
    }
}

TEST(PluralForms, ExpressionsAreReadAsCReadsThemAndBadHeadersAreEnglish)
{
    struct Case {
        const char* what;
        std::string header;
        bool parses;
        unsigned long count;
        const char* forms; // for n = 0, 1, 2, 5
    };
    const char* const kEnglish = "1 0 1 1";
    const Case cases[] = {
        {"blanks anywhere, the last ';' left out", " nplurals = 2 ;plural = ( n\t!= 1 ) ", true, 2, kEnglish},
        {"plural before nplurals", "plural=n>1;nplurals=2", true, 2, "0 0 1 1"},
        {"* before +", "nplurals=10; plural=1+2*n;", true, 10, "1 3 5 1"},
        {"- from the left", "nplurals=10; plural=9-n-1;", true, 10, "8 7 6 3"},
        {"/ and * from the left", "nplurals=10; plural=n/2*2;", true, 10, "0 0 2 4"},
        {"% as * and /", "nplurals=10; plural=7%n*2;", true, 10, "0 0 2 4"},
        {"! before +", "nplurals=10; plural=!n+1;", true, 10, "2 1 1 1"},
        {"< before ==", "nplurals=2; plural=2 < 1 == 0;", true, 2, "1 1 1 1"},
        {"&& before ||", "nplurals=2; plural=1 || 0 && 0;", true, 2, "1 1 1 1"},
        {"?: from the right", "nplurals=4; plural=n==0 ? 1 : n==1 ? 2 : 3;", true, 4, "1 2 3 3"},
        {"?: inside ?:", "nplurals=7; plural=n ? n==1 ? 4 : 5 : 6;", true, 7, "6 4 5 5"},
        {"unsigned arithmetic wraps", "nplurals=2; plural=n-2 > 5;", true, 2, "1 1 0 0"},
        {"division by 0", "nplurals=2; plural=n/0;", true, 2, "0 0 0 0"},
        {"remainder by 0", "nplurals=2; plural=1 + n%(n-n);", true, 2, "1 1 1 1"},
        {"a form past nplurals is English's", "nplurals=3; plural=n*2;", true, 3, "0 2 1 1"},
        {"one form, counted past it", "nplurals=1; plural=n;", true, 1, "0 0 1 1"},
        {"99 parentheses deep", "nplurals=2; plural=" + Repeat("(", 99) + "n>1" + Repeat(")", 99), true, 2, "0 0 1 1"},
        {"a sum of 99 under a comparison", "nplurals=2; plural=" + Repeat("0+", 98) + "n>1", true, 2, "0 0 1 1"},
        {"a sum of 100 under a comparison", "nplurals=2; plural=" + Repeat("0+", 99) + "n>1", false, 2, kEnglish},
        {"100 parentheses deep", "nplurals=2; plural=" + Repeat("(", 100) + "n>1" + Repeat(")", 100), false, 2,
         kEnglish},
        {"100000 parentheses deep", "nplurals=2; plural=" + Repeat("(", 100000) + "n" + Repeat(")", 100000), false, 2,
         kEnglish},
        {"a sum 100000 long", "nplurals=2; plural=" + Repeat("n+", 100000) + "n", false, 2, kEnglish},
        {"100000 !", "nplurals=2; plural=" + Repeat("!", 100000) + "n", false, 2, kEnglish},
        {"?: 100000 deep", "nplurals=2; plural=" + Repeat("n ? ", 100000) + "1" + Repeat(" : 0", 100000), false, 2,
         kEnglish},
        {"empty", "", false, 2, kEnglish},
        {"no plural", "nplurals=2;", false, 2, kEnglish},
        {"no nplurals", "plural=n!=1;", false, 2, kEnglish},
        {"an empty expression", "nplurals=2; plural=;", false, 2, kEnglish},
        {"nplurals 0", "nplurals=0; plural=0;", false, 2, kEnglish},
        {"nplurals past the most", "nplurals=11; plural=0;", false, 2, kEnglish},
        {"nplurals not a number", "nplurals=two; plural=0;", false, 2, kEnglish},
        {"a key twice", "nplurals=2; nplurals=2; plural=0;", false, 2, kEnglish},
        {"an unknown key", "nplurals=2; plural=0; extra=1", false, 2, kEnglish},
        {"a constant past unsigned long", "nplurals=2; plural=n > 99999999999999999999999;", false, 2, kEnglish},
        {"a parenthesis left open", "nplurals=2; plural=(n != 1;", false, 2, kEnglish},
        {"a parenthesis too many", "nplurals=2; plural=n != 1);", false, 2, kEnglish},
        {"= for ==", "nplurals=2; plural=n = 1;", false, 2, kEnglish},
        {"a unary minus", "nplurals=2; plural=-1;", false, 2, kEnglish},
        {"a variable not n", "nplurals=2; plural=m != 1;", false, 2, kEnglish},
        {"?: without :", "nplurals=2; plural=n ? 1;", false, 2, kEnglish},
        {"an operator C doesn't have", "nplurals=2; plural=n ** 2;", false, 2, kEnglish},
        {"| for ||", "nplurals=2; plural=n | 1;", false, 2, kEnglish},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(CPluralForms::Parse(c.header).has_value(), c.parses) << c.what;
        const CPluralForms forms = PluralFormsOf(c.header);
        EXPECT_EQ(forms.Count(), c.count) << c.what;
        EXPECT_EQ(FormsOf(forms, {0, 1, 2, 5}), c.forms) << c.what;
    }
}

} // namespace
