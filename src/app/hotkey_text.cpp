#include "app/hotkey_text.h"

#include "platform/text_chars.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

namespace {

struct KeyName {
    unsigned key;
    std::string_view name;
};

// Windows' virtual-key codes, which are the same on every keyboard layout. The symbol keys are
// named by the characters of the US layout; '+' separates the parts and names no key.
constexpr KeyName kKeyNames[] = {
    {0x08, "Backspace"},   {0x09, "Tab"},         {0x0D, "Enter"},      {0x13, "Pause"},     {0x1B, "Esc"},
    {0x20, "Space"},       {0x21, "PageUp"},      {0x22, "PageDown"},   {0x23, "End"},       {0x24, "Home"},
    {0x25, "Left"},        {0x26, "Up"},          {0x27, "Right"},      {0x28, "Down"},      {0x2C, "PrintScreen"},
    {0x2D, "Insert"},      {0x2E, "Delete"},      {0x6A, "NumMultiply"}, {0x6B, "NumPlus"},  {0x6D, "NumMinus"},
    {0x6E, "NumDecimal"},  {0x6F, "NumDivide"},   {0xBA, ";"},          {0xBB, "="},         {0xBC, ","},
    {0xBD, "-"},           {0xBE, "."},           {0xBF, "/"},          {0xC0, "`"},         {0xDB, "["},
    {0xDC, "\\"},          {0xDD, "]"},           {0xDE, "'"},
};

// Keys that make no shortcut: the mouse buttons, the modifiers themselves and the lock keys, whose
// lights Kelvaro blinks.
constexpr unsigned kNoShortcutKeys[] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x10, 0x11, 0x12, 0x14, 0x5B, 0x5C,
                                        0x90, 0x91, 0xA0, 0xA1, 0xA2, 0xA3, 0xA4, 0xA5};

constexpr unsigned kFirstDigit = 0x30;
constexpr unsigned kFirstLetter = 0x41;
constexpr unsigned kLastLetter = 0x5A;
constexpr unsigned kFirstNumpadDigit = 0x60;
constexpr unsigned kFirstFunctionKey = 0x70;
constexpr unsigned kFunctionKeys = 24;
constexpr unsigned kDigits = 10;
constexpr unsigned kLastKey = 0xFE;
constexpr std::string_view kNumpadPrefix = "Num";
// Any other key is named by its code, "KeyE2".
constexpr std::string_view kCodePrefix = "Key";
constexpr std::size_t kCodeDigits = 2;

constexpr struct {
    unsigned flag;
    std::string_view name;
} kModifiers[] = {{kShortcutCtrl, "Ctrl"}, {kShortcutAlt, "Alt"}, {kShortcutShift, "Shift"}};
constexpr unsigned kAllModifiers = kShortcutCtrl | kShortcutAlt | kShortcutShift;

std::string_view Trimmed(std::string_view part)
{
    while (!part.empty() && IsBlank(part.front()))
        part.remove_prefix(1);
    while (!part.empty() && IsBlank(part.back()))
        part.remove_suffix(1);
    return part;
}

std::string KeyText(unsigned key)
{
    if (key == 0 || key > kLastKey || std::find(std::begin(kNoShortcutKeys), std::end(kNoShortcutKeys), key) !=
                                          std::end(kNoShortcutKeys))
        return {};
    if ((key >= kFirstDigit && key < kFirstDigit + kDigits) || (key >= kFirstLetter && key <= kLastLetter))
        return std::string(1, static_cast<char>(key));
    char name[8];
    if (key >= kFirstNumpadDigit && key < kFirstNumpadDigit + kDigits) {
        std::snprintf(name, sizeof name, "%.*s%u", static_cast<int>(kNumpadPrefix.size()), kNumpadPrefix.data(),
                      key - kFirstNumpadDigit);
        return name;
    }
    if (key >= kFirstFunctionKey && key < kFirstFunctionKey + kFunctionKeys) {
        std::snprintf(name, sizeof name, "F%u", key - kFirstFunctionKey + 1);
        return name;
    }
    for (const KeyName& named : kKeyNames) {
        if (named.key == key)
            return std::string(named.name);
    }
    std::snprintf(name, sizeof name, "%.*s%02X", static_cast<int>(kCodePrefix.size()), kCodePrefix.data(), key);
    return name;
}

int HexValue(char c)
{
    if (IsDigit(c))
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return -1;
}

// The key a part names, 0 for none: every name KeyText gives, in any case.
unsigned KeyOfText(std::string_view text)
{
    if (text.size() == 1 && (IsDigit(text[0]) || (text[0] >= 'A' && text[0] <= 'Z')))
        return static_cast<unsigned char>(text[0]);
    if (text.size() == 1 && text[0] >= 'a' && text[0] <= 'z')
        return static_cast<unsigned>(text[0] - 'a') + kFirstLetter;
    if (text.size() == kCodePrefix.size() + kCodeDigits && SameIgnoringCase(text.substr(0, kCodePrefix.size()), kCodePrefix)) {
        const int high = HexValue(text[kCodePrefix.size()]);
        const int low = HexValue(text[kCodePrefix.size() + 1]);
        return high < 0 || low < 0 ? 0 : static_cast<unsigned>(high * 16 + low);
    }
    if (text.size() == kNumpadPrefix.size() + 1 && SameIgnoringCase(text.substr(0, kNumpadPrefix.size()), kNumpadPrefix) &&
        IsDigit(text.back()))
        return kFirstNumpadDigit + static_cast<unsigned>(text.back() - '0');
    if ((text.size() == 2 || text.size() == 3) && (text[0] == 'F' || text[0] == 'f') &&
        std::all_of(text.begin() + 1, text.end(), IsDigit) && text[1] != '0') {
        const unsigned number = static_cast<unsigned>(std::stoi(std::string(text.substr(1))));
        return number <= kFunctionKeys ? kFirstFunctionKey + number - 1 : 0;
    }
    for (const KeyName& named : kKeyNames) {
        if (SameIgnoringCase(named.name, text))
            return named.key;
    }
    return 0;
}

} // namespace

bool IsUsableShortcut(const Shortcut& shortcut)
{
    return (shortcut.modifiers & ~kAllModifiers) == 0 && (shortcut.modifiers & (kShortcutCtrl | kShortcutAlt)) != 0 &&
           !KeyText(shortcut.key).empty();
}

std::string ShortcutText(const Shortcut& shortcut)
{
    if (!IsUsableShortcut(shortcut))
        return {};
    std::string text;
    for (const auto& modifier : kModifiers) {
        if ((shortcut.modifiers & modifier.flag) != 0) {
            text += modifier.name;
            text += '+';
        }
    }
    return text + KeyText(shortcut.key);
}

Shortcut ParseShortcut(std::string_view text)
{
    std::vector<std::string_view> parts;
    for (std::size_t start = 0;;) {
        const std::size_t plus = text.find('+', start);
        parts.push_back(Trimmed(text.substr(start, plus == std::string_view::npos ? std::string_view::npos : plus - start)));
        if (plus == std::string_view::npos)
            break;
        start = plus + 1;
    }
    Shortcut shortcut;
    for (std::size_t index = 0; index + 1 < parts.size(); ++index) {
        const auto modifier = std::find_if(std::begin(kModifiers), std::end(kModifiers),
                                           [&](const auto& known) { return SameIgnoringCase(known.name, parts[index]); });
        if (modifier == std::end(kModifiers) || (shortcut.modifiers & modifier->flag) != 0)
            return {};
        shortcut.modifiers |= modifier->flag;
    }
    shortcut.key = KeyOfText(parts.back());
    return IsUsableShortcut(shortcut) ? shortcut : Shortcut{};
}
