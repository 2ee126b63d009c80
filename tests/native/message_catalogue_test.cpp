#include "messages/message_catalogue.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <set>
#include <string>
#include <vector>

namespace {

using namespace std::string_literals;

struct CatalogueCase {
    const char* name;
    std::string text;
    MessageList health;
    MessageList timeBreaks;
    MessageList sleep;
    std::optional<std::string> unknownWord;
};

void ExpectReading(const CatalogueCase& c)
{
    SCOPED_TRACE(c.name);
    const CatalogueReading reading = ReadMessageCatalogue(c.text);
    EXPECT_EQ(reading.catalogue.health, c.health);
    EXPECT_EQ(reading.catalogue.timeBreaks, c.timeBreaks);
    EXPECT_EQ(reading.catalogue.sleep, c.sleep);
    EXPECT_EQ(reading.unknownWord, c.unknownWord);
}

TEST(MessageCatalogue, ReadsTheGrammar)
{
    const CatalogueCase cases[] = {
        {"tip over several lines with runs of blanks",
         "--HEALTH--\n  Sit   up\tstraight\n\n and \v\f breathe ;\n--END--\n",
         {" Sit up straight and breathe"},
         {},
         {},
         std::nullopt},
        {"CR LF file with all three sections",
         "--HEALTH--\r\nDrink water ;\r\nBlink ;\r\n--END--\r\n--TIMEBREAKS--\r\nWalk ;\r\n--END--\r\n"
         "--SLEEP--\r\nGo to bed ;\r\n--END--\r\n",
         {" Drink water", " Blink"},
         {" Walk"},
         {" Go to bed"},
         std::nullopt},
        {"lone ; after a header and two in a row give empty texts",
         "--HEALTH-- ; a ; ; --END--",
         {"", " a", ""},
         {},
         {},
         std::nullopt},
        {"the word ;; is text, not two ends", "--HEALTH-- a ;; ; --END--", {" a ;;"}, {}, {}, std::nullopt},
        {"semicolon attached to a word ends nothing",
         "--HEALTH-- drink; water ;x ; --END--",
         {" drink; water ;x"},
         {},
         {},
         std::nullopt},
        {"words after the last ; are dropped", "--TIMEBREAKS-- a ; b c --END--", {}, {" a"}, {}, std::nullopt},
        {"only a sleep section", "--SLEEP-- rest ; --END--", {}, {}, {" rest"}, std::nullopt},
        {"title word before the first header stops at once",
         "Kelvaro tips\r\n--HEALTH-- a ; --END--",
         {},
         {},
         {},
         "Kelvaro"},
        {"repeated section appends",
         "--HEALTH-- a ; --END-- --SLEEP-- s ; --END-- --HEALTH-- b ; --END--",
         {" a", " b"},
         {},
         {" s"},
         std::nullopt},
        {"header word inside a section belongs to the text",
         "--HEALTH-- see --SLEEP-- now ; --END--",
         {" see --SLEEP-- now"},
         {},
         {},
         std::nullopt},
        {"unknown word after a section keeps what was read",
         "--HEALTH-- a ; --END-- ; --SLEEP-- s ; --END--",
         {" a"},
         {},
         {},
         ";"},
        {"stray end outside a section is unknown", "--END-- --HEALTH-- a ; --END--", {}, {}, {}, "--END--"},
        {"headers are case-sensitive", "--Health-- a ; --END--", {}, {}, {}, "--Health--"},
        {"empty file", "", {}, {}, {}, std::nullopt},
        {"only white space", " \r\n\t\v\f ", {}, {}, {}, std::nullopt},
        {"byte-order mark at the start is skipped", "\xEF\xBB\xBF--HEALTH-- a ; --END--", {" a"}, {}, {}, std::nullopt},
        {"byte-order mark after a blank is part of a word",
         " \xEF\xBB\xBF--HEALTH-- a ; --END--",
         {},
         {},
         {},
         "\xEF\xBB\xBF--HEALTH--"},
        {"partial byte-order mark is part of a word", "\xEF\xBB--HEALTH--", {}, {}, {}, "\xEF\xBB--HEALTH--"},
        {"end of file inside a section keeps its finished texts",
         "--HEALTH-- a ; --END-- --SLEEP-- s ; t ; unfinished words",
         {" a"},
         {},
         {" s", " t"},
         std::nullopt},
        {"end of file right after a header", "--TIMEBREAKS--", {}, {}, {}, std::nullopt},
        {"NUL and invalid UTF-8 are ordinary word bytes",
         "--HEALTH-- a\0b \xFF\xFE ; --END-- \0"s,
         {" a\0b \xFF\xFE"s},
         {},
         {},
         "\0"s},
    };
    for (const CatalogueCase& c : cases) {
        ExpectReading(c);
    }
}

TEST(MessageCatalogue, KeepsLongWordsWhole)
{
    for (const std::size_t nLength : {99u, 100u, 1000u, 1000000u}) {
        SCOPED_TRACE(nLength);
        const std::string word(nLength, 'w');
        const CatalogueReading inSection = ReadMessageCatalogue("--SLEEP-- a " + word + " ; --END--");
        EXPECT_EQ(inSection.catalogue.sleep, MessageList{" a " + word});
        const CatalogueReading outside = ReadMessageCatalogue("--SLEEP-- --END-- " + word);
        EXPECT_EQ(outside.unknownWord, word);
    }
}

// Any bytes at all: the reading ends, and every text keeps the shape the popup relies on.
TEST(MessageCatalogue, SurvivesRandomBytes)
{
    const std::string pieces[] = {"--HEALTH--", "--TIMEBREAKS--", "--SLEEP--", "--END--", ";", "\xEF\xBB\xBF",
                                  " ",          "\r\n",           "\t",        "x"};
    std::mt19937 random(20240611);
    for (int nRound = 0; nRound < 2000; ++nRound) {
        std::string text;
        const int nPieces = static_cast<int>(random() % 40);
        for (int i = 0; i < nPieces; ++i) {
            if (random() % 2 == 0) {
                text += pieces[random() % std::size(pieces)];
            } else {
                text += static_cast<char>(static_cast<std::uint8_t>(random()));
            }
        }
        SCOPED_TRACE(::testing::PrintToString(text));
        const CatalogueReading reading = ReadMessageCatalogue(text);
        for (const MessageList* pList :
             {&reading.catalogue.health, &reading.catalogue.timeBreaks, &reading.catalogue.sleep}) {
            for (const std::string& strText : *pList) {
                if (strText.empty()) {
                    continue;
                }
                EXPECT_EQ(strText.front(), ' ');
                EXPECT_NE(strText.back(), ' ');
                EXPECT_EQ(strText.find("  "), std::string::npos);
                EXPECT_EQ(strText.find_first_of("\t\r\n\v\f"), std::string::npos);
            }
        }
    }
}

TEST(MessageCatalogue, UnknownIdentifierLine)
{
    EXPECT_EQ(UnknownIdentifierLine("Kelvaro"), "unknown\tidentifier:\tKelvaro\n");
}

TEST(MessageCatalogue, ShippedCatalogueFitsThePopup)
{
    // A rough bound; the Win32 tests measure each text in the popup's own font and rectangle.
    constexpr std::size_t kMaxPopupText = 60;
    std::ifstream file(KELVARO_SOURCE_DIR "/src/messages/standard.txt", std::ios::binary);
    ASSERT_TRUE(file.is_open());
    const std::string text{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};

    // A Windows data file in plain ASCII: no bare LF, no byte the popup's font might lack.
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        ASSERT_TRUE((c >= 0x20 && c < 0x7F) || c == '\r' || (c == '\n' && i > 0 && text[i - 1] == '\r'))
            << "byte " << int(c) << " at offset " << i;
    }

    const CatalogueReading reading = ReadMessageCatalogue(text);
    EXPECT_EQ(reading.unknownWord, std::nullopt);
    EXPECT_GE(reading.catalogue.health.size(), 25u);
    EXPECT_GE(reading.catalogue.timeBreaks.size(), 20u);
    EXPECT_GE(reading.catalogue.sleep.size(), 12u);
    std::set<std::string> seen;
    for (const MessageList* pList :
         {&reading.catalogue.health, &reading.catalogue.timeBreaks, &reading.catalogue.sleep}) {
        for (const std::string& strText : *pList) {
            EXPECT_FALSE(strText.empty());
            EXPECT_LE(strText.size(), kMaxPopupText) << strText;
            EXPECT_TRUE(seen.insert(strText).second) << "repeated: " << strText;
        }
    }
}

} // namespace
