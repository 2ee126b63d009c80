#include "platform/text_decoding.h"

#include <gtest/gtest.h>

#include <string_view>

using namespace std::string_view_literals;

namespace {

TEST(TextDecoding, FileBytesBecomeUtf8)
{
    struct Case {
        std::string_view bytes;
        std::string_view expected;
    };
    const Case cases[] = {
        {"", ""},
        {"HEALTH_MSG 1\r\n", "HEALTH_MSG 1\r\n"},
        {"caf\xE9", "caf\xE9"}, // an old code-page file is left for the shell to show
        {"\xEF\xBB\xBFwon\xE2\x80\x99t", "won\xE2\x80\x99t"},
        {"x\xEF\xBB\xBF", "x\xEF\xBB\xBF"},
        {"\xFF\xFE", ""},
        {"\xFF\xFEx\0\r\0\n\0"sv, "x\r\n"},
        {"\xFE\xFF\0x\0\r\0\n"sv, "x\r\n"},
        // One character of each UTF-8 length, the longest ones from a surrogate pair.
        {"\xFF\xFE\xE9\0\x19\x20\x3D\xD8\x00\xDE\xFF\xDB\xFF\xDF"sv,
         "\xC3\xA9\xE2\x80\x99\xF0\x9F\x98\x80\xF4\x8F\xBF\xBF"},
        {"\xFE\xFF\x07\xFF\x08\x00\xFF\xFF\xD8\x3D\xDE\x00"sv, "\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF\xF0\x9F\x98\x80"},
        // Surrogates out of pairs, and a last byte without its partner.
        {"\xFF\xFE\x3D\xD8x\0"sv, "\xEF\xBF\xBDx"},
        {"\xFF\xFE\x00\xDE\x3D\xD8"sv, "\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xFF\xFE\x3D\xD8\x3D\xD8\x00\xDE"sv, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
        {"\xFF\xFEx\0y"sv, "x"},
        {"\xFF\xFE\x3D\xD8\x00"sv, "\xEF\xBF\xBD"},
        {"\xFF\xFE\0\0"sv, "\0"sv},
        // UTF-16 LE without its mark; a NUL anywhere else is left to the readers.
        {"H\0I\0\r\0\n\0\xE9\0"sv, "HI\r\n\xC3\xA9"},
        {"x\0y"sv, "x"},
        {"\0x\0"sv, "\0x\0"sv},
        {"HI\0\0"sv, "HI\0\0"sv},
    };
    for (const Case& c : cases) {
        std::string shown;
        for (unsigned char byte : c.bytes)
            shown += std::to_string(byte) + ' ';
        EXPECT_EQ(DecodeTextFile(c.bytes), c.expected) << "bytes: " << shown;
    }
}

} // namespace
