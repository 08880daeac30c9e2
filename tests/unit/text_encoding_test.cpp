#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "bridge/text_encoding.h"
#include "code_page_1252.h"

namespace snipkit::testing {
namespace {

TEST(TextEncoding, Utf8Validity) {
    const struct {
        const char* bytes;
        bool valid;
    } rows[] = {
        {"", true},
        {"plain ascii\r\n", true},
        {"Gr\xC3\xBC\xC3\x9F" "e \xE6\x97\xA5 \xF0\x9F\x98\x80", true},
        {"caf\xE9", false},              // an old ANSI file
        {"\xC3", false},                 // cut short
        {"\xC0\xAF", false},             // overlong
        {"\xE0\x80\xAF", false},         // overlong, three bytes
        {"\xED\xA0\x80", false},         // surrogate
        {"\xF4\x90\x80\x80", false},     // beyond U+10FFFF
        {"\xE6\x97", false},
        {"\x80", false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IsValidUtf8(r.bytes), r.valid) << r.bytes;
    }
}

std::string Bytes(std::initializer_list<unsigned char> list) { return std::string(list.begin(), list.end()); }

// The one reader of the program's text files.
TEST(TextEncoding, ReadText) {
    const struct {
        const char* kind;
        std::string bytes;
        std::string text;
    } rows[] = {
        {"empty", "", ""},
        {"ASCII", "{ x }\r\n", "{ x }\r\n"},
        {"UTF-8", "caf\xC3\xA9", "caf\xC3\xA9"},
        {"ANSI", "caf\xE9", "caf\xC3\xA9"},
        {"UTF-8 with BOM", "\xEF\xBB\xBF{ caf\xC3\xA9 }\r\n", "{ caf\xC3\xA9 }\r\n"},
        {"a BOM alone", "\xEF\xBB\xBF", ""},
        {"ANSI after a UTF-8 BOM", "\xEF\xBB\xBF" "caf\xE9", "caf\xC3\xA9"},
        {"UTF-16 LE", Bytes({0xFF, 0xFE, '{', 0, ' ', 0, 0xE9, 0, 0xA9, 0x03, 0x3D, 0xD8, 0x00, 0xDE, '\r', 0, '\n', 0}),
         "{ \xC3\xA9\xCE\xA9\xF0\x9F\x98\x80\r\n"},
        {"UTF-16 BE", Bytes({0xFE, 0xFF, 0, '{', 0, 0xE9, 0x65, 0xE5, 0xD8, 0x3D, 0xDE, 0x00}),
         "{\xC3\xA9\xE6\x97\xA5\xF0\x9F\x98\x80"},
        {"UTF-16 BOM alone", Bytes({0xFF, 0xFE}), ""},
        {"UTF-16 cut short, lone surrogates", Bytes({0xFF, 0xFE, 'a', 0, 0x3D, 0xD8, 'b', 0, 0x00, 0xDE, 'c'}),
         "a\xEF\xBF\xBD" "b\xEF\xBF\xBD\xEF\xBF\xBD"},
    };
    const CodePage1252 ansi;
    for (const auto& r : rows) EXPECT_EQ(DecodeTextFile(r.bytes, ansi), r.text) << r.kind;
}

// ANSI only where the bytes read back as the same text; anything else UTF-8.
TEST(TextEncoding, WrittenBytes) {
    const struct {
        const char* text;
        const char* bytes;
    } rows[] = {
        {"", ""},
        {"x := 1;\r\n", "x := 1;\r\n"},
        {"caf\xC3\xA9", "caf\xE9"},                        // fits the code page
        {"\xC3\xA9 \xC3\x83\xC2\xA9", "\xE9 \xC3\xA9"},       // E9 20 is no UTF-8: ANSI
        {"\xC3\x83\xC2\xA9", "\xC3\x83\xC2\xA9"},             // its ANSI bytes C3 A9 would read as U+00E9
        {"\xC3\xA2\xE2\x82\xAC\xE2\x84\xA2", "\xC3\xA2\xE2\x82\xAC\xE2\x84\xA2"},  // ANSI E2 80 99 is U+2019
        {"\xCE\xA9", "\xCE\xA9"},                             // beyond the code page
        {"\xC3\xBF\xC3\xBEx", "\xC3\xBF\xC3\xBEx"},             // ANSI FF FE would read as a UTF-16 BOM
        {"\xC3\xBE\xC3\xBFx", "\xC3\xBE\xC3\xBFx"},             // and FE FF
        {"\xEF\xBB\xBFx", "\xEF\xBB\xBF\xEF\xBB\xBFx"},          // a text that starts with U+FEFF keeps it
    };
    const CodePage1252 ansi;
    for (const auto& r : rows) {
        EXPECT_EQ(EncodeTextFile(r.text, ansi), r.bytes) << r.text;
        EXPECT_EQ(DecodeTextFile(EncodeTextFile(r.text, ansi), ansi), r.text) << r.text;
    }
}

}  // namespace
}  // namespace snipkit::testing
