#include <gtest/gtest.h>

#include "app/text_encoding.h"
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
    };
    const CodePage1252 ansi;
    for (const auto& r : rows) {
        EXPECT_EQ(EncodeTextFile(r.text, ansi), r.bytes) << r.text;
        EXPECT_EQ(DecodeTextFile(EncodeTextFile(r.text, ansi), ansi), r.text) << r.text;
    }
}

}  // namespace
}  // namespace snipkit::testing
