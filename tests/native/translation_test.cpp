#include "language/translation.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

const char* const kPolish = R"(# Kelvaro in Polish
msgid ""
msgstr ""
"Language: pl\n"
"Plural-Forms: nplurals=3; plural=(n==1 ? 0 : n%10>=2 && n%10<=4 && (n%100<10 || n%100>=20) ? 1 : 2);\n"

msgid "Start"
msgstr "Uruchom"

msgctxt "menu"
msgid "Open"
msgstr "Otw\303\263rz"

msgid "Open"
msgstr "Otwarte"

msgid "%d break"
msgid_plural "%d breaks"
msgstr[0] "%d przerwa"
msgstr[1] "%d przerwy"
msgstr[2] "%d przerw"

msgid "%d minute"
msgid_plural "%d minutes"
msgstr[0] "%d minuta"
msgstr[1] "%d minuty"

#, fuzzy
msgid "Stop"
msgstr "Zatrzymaj"

msgid "Pause"
msgstr ""

msgid "Twice"
msgstr "Pierwszy"

msgid "Twice"
msgstr "Drugi"
)";

TEST(Translation, TextsAreLookedUpByContextAndCountOrStayEnglish)
{
    const CTranslation english;
    const CTranslation polish(ReadPoFile(kPolish));
    const CTranslation damaged(ReadPoFile(std::string(kPolish) + "msgid \"cut off\"\n"));
    struct Case {
        const char* what;
        const CTranslation* translation;
        const char* context; // none: nullptr
        const char* english;
        const char* plural; // none for a text that isn't counted
        unsigned long n;
        const char* expected; // nullptr: the English text itself
    };
    const Case cases[] = {
        {"translated", &polish, nullptr, "Start", nullptr, 0, "Uruchom"},
        {"untranslated", &polish, nullptr, "Quit", nullptr, 0, nullptr},
        {"in its context", &polish, "menu", "Open", nullptr, 0, "Otw\xC3\xB3rz"},
        {"without a context", &polish, nullptr, "Open", nullptr, 0, "Otwarte"},
        {"in a context without its own", &polish, "file", "Open", nullptr, 0, nullptr},
        {"a context alone is no key", &polish, "menu", "Start", nullptr, 0, nullptr},
        {"fuzzy", &polish, nullptr, "Stop", nullptr, 0, nullptr},
        {"an empty translation", &polish, nullptr, "Pause", nullptr, 0, nullptr},
        {"of two alike, the first", &polish, nullptr, "Twice", nullptr, 0, "Pierwszy"},
        {"a counted text asked for uncounted", &polish, nullptr, "%d break", nullptr, 0, "%d przerwa"},
        {"one of three forms: 1", &polish, nullptr, "%d break", "%d breaks", 1, "%d przerwa"},
        {"one of three forms: 2", &polish, nullptr, "%d break", "%d breaks", 2, "%d przerwy"},
        {"one of three forms: 5", &polish, nullptr, "%d break", "%d breaks", 5, "%d przerw"},
        {"a form the file lacks", &polish, nullptr, "%d minute", "%d minutes", 5, nullptr},
        {"a form the file has", &polish, nullptr, "%d minute", "%d minutes", 3, "%d minuty"},
        {"uncounted text asked for counted", &polish, nullptr, "Start", "Starts", 1, nullptr},
        {"counted, untranslated, 1", &polish, nullptr, "%d day", "%d days", 1, nullptr},
        {"counted, untranslated, 0", &polish, nullptr, "%d day", "%d days", 0, nullptr},
        {"a damaged file is English", &damaged, nullptr, "Start", nullptr, 0, nullptr},
        {"English", &english, nullptr, "Start", nullptr, 0, nullptr},
        {"English, counted: 1", &english, nullptr, "%d break", "%d breaks", 1, nullptr},
        {"English, counted: 2", &english, nullptr, "%d break", "%d breaks", 2, nullptr},
    };
    for (const Case& c : cases) {
        std::string_view found;
        const char* global = nullptr;
        SetCurrentTranslation(*c.translation);
        if (c.plural) {
            found = c.translation->Plural(c.english, c.plural, c.n);
            global = TrN(c.english, c.plural, c.n);
        } else if (c.context) {
            found = c.translation->Text(c.context, c.english);
            global = TrC(c.context, c.english);
        } else {
            found = c.translation->Text(c.english);
            global = Tr(c.english);
        }
        const char* english = c.plural && c.n != 1 ? c.plural : c.english;
        if (c.expected) {
            EXPECT_EQ(found, c.expected) << c.what;
            EXPECT_STREQ(global, c.expected) << c.what;
        } else {
            // Not a copy: the English text itself, byte for byte.
            EXPECT_EQ(static_cast<const void*>(found.data()), english) << c.what;
            EXPECT_EQ(found.size(), std::strlen(english)) << c.what;
            EXPECT_EQ(static_cast<const void*>(global), english) << c.what;
        }
    }
    SetCurrentTranslation({});
}

} // namespace
