#include <gtest/gtest.h>

#include <initializer_list>
#include <string>

#include "bridge/text_encoding.h"
#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "ui/wtf8.h"
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
        {"\xE2\x82\x41", false},         // a good lead and second byte, a bad third
        {"\xF0\x9F\x41\x80", false},     // the same in four bytes
        {"\xF0\x9F\x98\x41", false},     // a bad fourth
        {"\x80", false},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(IsValidUtf8(r.bytes), r.valid) << r.bytes;
    }
}

// A selection holds UTF-16 that Windows never checked. Each text goes to
// UTF-8 and back unchanged, an unpaired surrogate included, and the rules
// leave that surrogate's bytes alone.
TEST(TextEncoding, Utf16RoundTripsThroughUtf8) {
    const auto toUtf8 = [](const std::u16string& u) {
        std::string s(Wtf8Size(u.data(), u.size()), '\0');
        s.resize(Utf16ToWtf8(u.data(), u.size(), s.data()));
        return s;
    };
    const auto toUtf16 = [](const std::string& s) {
        std::u16string u(s.size(), u'\0');
        u.resize(Wtf8ToUtf16(s, u.data()));
        return u;
    };
    const struct {
        const char* kind;
        std::u16string units;
        std::string utf8;
    } rows[] = {
        {"plain", u"Gr\u00FC\u00DFe \u03A9 \u65E5\r\n", "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9 \xE6\x97\xA5\r\n"},
        {"a pair", u"\xD83D\xDE00", "\xF0\x9F\x98\x80"},
        {"a high surrogate last", u"a\xD83D", "a\xED\xA0\xBD"},
        {"a low surrogate first", u"\xDE00" "b", "\xED\xB8\x80" "b"},
        {"low before high", u"\xDE00\xD83D", "\xED\xB8\x80\xED\xA0\xBD"},
        {"empty", u"", ""},
    };
    for (const auto& r : rows) {
        EXPECT_EQ(toUtf8(r.units), r.utf8) << r.kind;
        EXPECT_TRUE(toUtf16(r.utf8) == r.units) << r.kind;
    }
    // Bytes that are no character at all (never made inside) give U+FFFD.
    EXPECT_TRUE(toUtf16("caf\xE9 \xC3") == u"caf\xFFFD \xFFFD");
    EXPECT_TRUE(toUtf16("\xF4\x90\x80\x80") == u"\xFFFD\xFFFD\xFFFD\xFFFD");

    const std::string lone = toUtf8(u"a\xD83D" "b\r\n");
    EXPECT_TRUE(toUtf16(ApplyCaseRule(CaseRule::Upper, lone)) == u"A\xD83D" "B\r\n");
    EXPECT_TRUE(toUtf16(CommentSlash(lone)) == u"//a\xD83D" "b\r\n");
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
        {"UTF-16, a high surrogate last", Bytes({0xFE, 0xFF, 0, 'a', 0xD8, 0x3D}), "a\xEF\xBF\xBD"},
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
    // A surrogate without its partner (from a selection) has no UTF-8 form:
    // U+FFFD, and the rest of the file still reads as UTF-8.
    EXPECT_EQ(EncodeTextFile("\xED\xA0\xBD" "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9\xED\xB8\x80", ansi),
              "\xEF\xBF\xBD" "Gr\xC3\xBC\xC3\x9F" "e \xCE\xA9\xEF\xBF\xBD");
}

}  // namespace
}  // namespace snipkit::testing
