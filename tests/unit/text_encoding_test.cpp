#include <gtest/gtest.h>

#include "app/text_encoding.h"

namespace snipkit {
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

}  // namespace
}  // namespace snipkit
