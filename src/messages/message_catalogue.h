#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Each text starts with one blank and has single blanks between its words; it may be empty.
using MessageList = std::vector<std::string>;

// The lists the reminders draw from; replaced whole by each successful load of standard.txt.
extern MessageList healthMessages;
extern MessageList timeBreakMessages;
extern MessageList sleepMessages;

struct MessageCatalogue {
    MessageList health;
    MessageList timeBreaks;
    MessageList sleep;
};

struct CatalogueReading {
    MessageCatalogue catalogue;
    // The word outside a section that ended the reading; what was read before it is kept.
    std::optional<std::string> unknownWord;
};

// Reads the whole text of standard.txt; never fails, whatever the bytes.
CatalogueReading ReadMessageCatalogue(std::string_view text);

// The diagnostic line written to standard output for a word outside a section.
std::string UnknownIdentifierLine(std::string_view word);
