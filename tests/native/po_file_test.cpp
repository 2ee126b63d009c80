#include "language/po_file.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>

using namespace std::string_view_literals;

namespace {

// The entries as one line, "context|id=translation; context|id|plural=form0/form1; ", then the
// header's two values.
std::string Described(const PoReading& reading)
{
    std::string described;
    for (const PoEntry& entry : reading.entries) {
        described += entry.context + "|" + entry.id + (entry.idPlural.empty() ? "" : "|" + entry.idPlural) + "=";
        for (std::size_t i = 0; i < entry.translations.size(); ++i)
            described += (i > 0 ? "/" : "") + entry.translations[i];
        described += "; ";
    }
    if (!reading.language.empty() || !reading.pluralForms.empty())
        described += "[" + reading.language + "][" + reading.pluralForms + "]";
    return described;
}

TEST(PoFile, EntriesAreReadWithTheirContextsFormsAndEscapes)
{
    struct Case {
        const char* what;
        std::string text;
        std::string entries;
    };
    const Case cases[] = {
        {"empty file", "", ""},
        {"one entry", "msgid \"Start\"\nmsgstr \"Starten\"\n", "|Start=Starten; "},
        {"CR LF, byte-order mark, no last line end", "\xEF\xBB\xBFmsgid \"a\"\r\nmsgstr \"b\"", "|a=b; "},
        {"C escapes",
         R"(msgid "1\n2\t3\r\"4\"\\")"
         "\nmsgstr \"\\a\\b\\f\\v\\'\\?\"",
         "|1\n2\t3\r\"4\"\\=\a\b\f\v'?; "},
        {"octal and hex escapes, hex of every digit",
         R"(msgid "\101\x42\x043\7")"
         "\nmsgstr \"\\303\\251\\xc3\\xA9\"",
         "|ABC\a=\xC3\xA9\xC3\xA9; "},
        {"octal takes three digits at most", "msgid \"\\1011\"\nmsgstr \"x\"", "|A1=x; "},
        {"multi-line strings", "msgid \"\"\n\"Hello, \"\n  \"world\"\nmsgstr \"\"\n\"Hallo, \"\n\"Welt\"\n",
         "|Hello, world=Hallo, Welt; "},
        {"two strings on a line", "msgid \"a\" \"b\"\nmsgstr \"c\"\t\"d\" ", "|ab=cd; "},
        {"the keyword glued to its string", "msgid\"a\"\nmsgstr\"b\"", "|a=b; "},
        {"one text in two contexts",
         "msgctxt \"menu\"\nmsgid \"Open\"\nmsgstr \"\xC3\x96"
         "ffnen\"\n"
         "msgctxt \"file\"\nmsgid \"Open\"\nmsgstr \"Offen\"\nmsgid \"Open\"\nmsgstr \"Auf\"",
         "menu|Open=\xC3\x96"
         "ffnen; file|Open=Offen; |Open=Auf; "},
        {"an empty context is none", "msgctxt \"\"\nmsgid \"a\"\nmsgstr \"b\"", "|a=b; "},
        {"plural forms",
         "msgid \"%d break\"\nmsgid_plural \"%d breaks\"\nmsgstr[0] \"%d przerwa\"\n"
         "msgstr[1] \"%d przerwy\"\nmsgstr[2] \"\"\n\"%d przerw\"",
         "|%d break|%d breaks=%d przerwa/%d przerwy/%d przerw; "},
        {"blank lines and indents inside an entry", "  msgid \"a\"\n\n\t msgstr \"b\"\n\n\n", "|a=b; "},
        {"comments", "# translator\n#. extracted\n#: main.cpp:12\n#| msgid \"old\"\nmsgid \"a\"\nmsgstr \"b\"\n#\n",
         "|a=b; "},
        {"fuzzy entries skipped",
         "#, fuzzy\nmsgid \"a\"\nmsgstr \"b\"\n#, c-format, fuzzy\nmsgid \"c\"\nmsgstr \"d\"\n"
         "#, c-format\nmsgid \"e\"\nmsgstr \"f\"\n#,fuzzy-ish\nmsgid \"g\"\nmsgstr \"h\"",
         "|e=f; |g=h; "},
        {"fuzzy only for the next entry", "#, fuzzy\nmsgid \"a\"\nmsgstr \"b\"\n\nmsgid \"c\"\nmsgstr \"d\"", "|c=d; "},
        {"obsolete entries skipped, with their flags",
         "#, fuzzy\n#~ msgid \"old\"\n#~ msgstr \"alt\"\nmsgid \"a\"\nmsgstr \"b\"\n#~ msgid \"x\"", "|a=b; "},
        {"an empty translation is missing", "msgid \"a\"\nmsgstr \"\"\nmsgid \"c\"\nmsgstr \"d\"", "|c=d; "},
        {"a plural entry with an empty form is missing",
         "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\nmsgstr[1] \"\"", ""},
        {"an entry with an empty msgid_plural is missing", "msgid \"a\"\nmsgid_plural \"\"\nmsgstr[0] \"b\"", ""},
        {"header",
         "msgid \"\"\nmsgstr \"\"\n\"Project-Id-Version: Kelvaro\\n\"\n\"language:  pl \\n\"\n"
         "\"Plural-Forms: nplurals=3; plural=(n==1 ? 0 : 2);\\r\\n\"\n\"Language: ru\\n\"",
         "[pl][nplurals=3; plural=(n==1 ? 0 : 2);]"},
        {"a fuzzy header is read", "#, fuzzy\nmsgid \"\"\nmsgstr \"Language: de\\n\"\nmsgid \"a\"\nmsgstr \"b\"",
         "|a=b; [de][]"},
        {"an empty header", "msgid \"\"\nmsgstr \"\"", ""},
        {"a context with an empty text is no header", "msgctxt \"c\"\nmsgid \"\"\nmsgstr \"Language: de\"",
         "c|=Language: de; "},
        {"a NUL-free file of exactly the largest size", "#" + std::string(kMaxPoFileBytes - 1, 'x'), ""},
    };
    for (const Case& c : cases) {
        const PoReading reading = ReadPoFile(c.text);
        EXPECT_EQ(reading.fault, PoFault::None) << c.what << ", line " << reading.faultLine;
        EXPECT_EQ(Described(reading), c.entries) << c.what;
    }
}

TEST(PoFile, DamageIsReportedAtItsLine)
{
    struct Case {
        const char* what;
        std::string text;
        PoFault fault;
        std::size_t line;
    };
    const std::string good = "msgid \"a\"\r\nmsgstr \"b\"\r\n\r\n";
    const Case cases[] = {
        {"larger than the largest", std::string(kMaxPoFileBytes + 1, '#'), PoFault::TooLarge, 1},
        {"a string unterminated", good + "msgid \"abc\nmsgstr \"x\"", PoFault::UnterminatedString, 4},
        {"its end quote escaped", "msgid \"abc\\\"\nmsgstr \"x\"", PoFault::UnterminatedString, 1},
        {"a backslash last", "msgid \"abc\\", PoFault::UnterminatedString, 1},
        {"a keyword without its string", "msgid\nmsgstr \"x\"", PoFault::UnterminatedString, 1},
        {"a word after the string", "msgid \"a\" b\nmsgstr \"x\"", PoFault::UnexpectedLine, 1},
        {"an unknown keyword", good + "msgfoo \"a\"", PoFault::UnexpectedLine, 4},
        {"a string before any keyword", "\"a\"\nmsgid \"a\"", PoFault::UnexpectedLine, 1},
        {"msgstr without msgid", "msgstr \"b\"", PoFault::UnexpectedLine, 1},
        {"msgid twice", "msgid \"a\"\nmsgid \"b\"\nmsgstr \"c\"", PoFault::UnexpectedLine, 2},
        {"msgctxt after msgid", "msgid \"a\"\nmsgctxt \"b\"\nmsgstr \"c\"", PoFault::UnexpectedLine, 2},
        {"msgctxt twice", "msgctxt \"a\"\nmsgctxt \"b\"", PoFault::UnexpectedLine, 2},
        {"msgstr twice", "msgid \"a\"\nmsgstr \"b\"\nmsgstr \"c\"", PoFault::UnexpectedLine, 3},
        {"a comment inside an entry", "msgid \"a\"\n# note\nmsgstr \"c\"", PoFault::UnexpectedLine, 2},
        {"an entry cut off at the end", good + "msgctxt \"a\"\nmsgid \"b\"\n", PoFault::UnexpectedLine, 5},
        {"msgid_plural without msgid", "msgid_plural \"as\"", PoFault::UnexpectedLine, 1},
        {"msgstr[0] without msgid_plural", good + "msgid \"a\"\nmsgstr[0] \"b\"", PoFault::PluralMismatch, 5},
        {"msgstr[1] after msgstr", "msgid \"a\"\nmsgstr \"b\"\nmsgstr[1] \"c\"", PoFault::PluralMismatch, 3},
        {"msgstr with msgid_plural", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr \"b\"", PoFault::PluralMismatch, 3},
        {"msgstr[1] first", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[1] \"b\"", PoFault::PluralIndexOutOfOrder, 3},
        {"msgstr[2] after msgstr[0]", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[0] \"b\"\nmsgstr[2] \"c\"",
         PoFault::PluralIndexOutOfOrder, 4},
        {"an index not a number", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[x] \"b\"", PoFault::PluralIndexOutOfOrder,
         3},
        {"an empty index", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[] \"b\"", PoFault::PluralIndexOutOfOrder, 3},
        {"an index past any number", "msgid \"a\"\nmsgid_plural \"as\"\nmsgstr[99999999999999999999999] \"b\"",
         PoFault::PluralIndexOutOfOrder, 3},
        {"an unknown escape", good + "msgid \"\\q\"", PoFault::BadEscape, 4},
        {"an escaped NUL", "msgid \"a\"\nmsgstr \"\\0\"", PoFault::BadEscape, 2},
        {"an escaped NUL in hex", "msgid \"a\"\nmsgstr \"\\x00\"", PoFault::BadEscape, 2},
        {"hex without digits", "msgid \"\\xg\"", PoFault::BadEscape, 1},
        {"hex past a byte", "msgid \"\\x100\"", PoFault::BadEscape, 1},
        {"a long hex escape", "msgid \"\\x" + std::string(1000, 'F') + "\"", PoFault::BadEscape, 1},
        {"octal past a byte", "msgid \"\\400\"", PoFault::BadEscape, 1},
        {"a byte that begins no UTF-8", good + "msgid \"\xFF\"", PoFault::InvalidUtf8, 4},
        {"invalid UTF-8 in a comment", "# caf\xE9\nmsgid \"a\"", PoFault::InvalidUtf8, 1},
        {"an overlong form", "msgid \"\xC0\x80\"", PoFault::InvalidUtf8, 1},
        {"a surrogate", "msgid \"\xED\xA0\x80\"", PoFault::InvalidUtf8, 1},
        {"past U+10FFFF", "msgid \"\xF4\x90\x80\x80\"", PoFault::InvalidUtf8, 1},
        {"a sequence cut short", "msgid \"\xE2\x82\"", PoFault::InvalidUtf8, 1},
        {"a NUL", std::string("msgid \"a\"\nmsgstr \"b\0\""sv), PoFault::InvalidUtf8, 2},
        {"escapes making no UTF-8", "\nmsgid \"a\"\nmsgstr \"\\303\"\n\n", PoFault::InvalidUtf8, 2},
    };
    for (const Case& c : cases) {
        const PoReading reading = ReadPoFile(c.text);
        EXPECT_EQ(reading.fault, c.fault) << c.what;
        EXPECT_EQ(reading.faultLine, c.line) << c.what;
        EXPECT_EQ(Described(reading), "") << c.what;
    }
}

} // namespace
