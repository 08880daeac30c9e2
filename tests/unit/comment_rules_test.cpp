#include "format/comment_rules.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>

namespace snipkit {
namespace {

std::optional<std::string> Pasted(const std::string& text) { return Uncomment(text).paste; }

TEST(CommentRules, PastedTextOfEachCommand) {
    struct Case {
        const char* command;
        std::function<std::optional<std::string>(const std::string&)> run;
        std::string selection;
        std::optional<std::string> pasted;  // nullopt: nothing is pasted
    };
    const auto slash = [](const std::string& t) { return std::optional(CommentSlash(t)); };
    const auto brace = [](const std::string& t) { return std::optional(CommentBrace(t)); };
    const auto paren = [](const std::string& t) { return std::optional(CommentParen(t)); };
    const Case cases[] = {
        {"//", slash, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
        {"//", slash, "  x\r\ny", "//  x\r\n//y"},
        {"//", slash, "", ""},
        {"//", slash, "\tx\ry", "//\tx\ry"},
        {"braces", brace, "x", "{ x }"},
        {"braces", brace, "", "{  }"},
        {"braces", brace, "a\r\n", "{ a\r\n }"},
        {"braces", brace, "a } b", "{ a } b }"},
        {"paren", paren, "x", "(* x *)"},
        {"uncomment", Pasted, "  { x }\r\n", "x\r\n"},
        {"uncomment", Pasted, "{ a { b } c }", "a { b } c"},
        {"uncomment", Pasted, "{ a } b", std::nullopt},
        {"uncomment", Pasted, "{}", ""},
        {"uncomment", Pasted, "{", std::nullopt},
        {"uncomment", Pasted, "(* x *)", "x"},
        {"uncomment", Pasted, "(* x )", "x"},
        {"uncomment", Pasted, "(*)", ""},
        {"uncomment", Pasted, "(x)", std::nullopt},
        {"uncomment", Pasted, "(*", std::nullopt},
        {"uncomment", Pasted, "(", std::nullopt},
        {"uncomment", Pasted, "//a\r\n// b\r\n////c\r\n", "a\r\n b\r\n//c\r\n"},
        {"uncomment", Pasted, "  //a\r\n  //b", "a\r\n  //b"},
        {"uncomment", Pasted, "//a\r\n\r\n//b", "a\r\n\r\nb"},
        {"uncomment", Pasted, "  x  \r\n", "x\r\n"},
        {"uncomment", Pasted, "x\r\n/\r\n\t//y", "x\r\n/\r\n\t//y"},
        {"uncomment", Pasted, " \t\r\n ", std::nullopt},
        {"uncomment", Pasted, "", std::nullopt},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.run(c.selection), c.pasted) << c.command << " of: " << c.selection;
    }
}

// The line breaks the trim takes off an end go back on at that end, as they
// were; the blanks, tabs and other control bytes there stay off.
TEST(CommentRules, UncommentKeepsTheLineBreaksAtTheEnds) {
    struct Case {
        const char* what;
        std::string selection;
        std::optional<std::string> pasted;
    };
    const Case cases[] = {
        {"lines: the next line is not joined on", "//x := 1;\r\n//y := 2; // second\r\n",
         "x := 1;\r\ny := 2; // second\r\n"},
        {"a break before the selection", "\r\n//b := 2;", "\r\nb := 2;"},
        {"all of them, lone CR and LF as they were", "\n \r\n\t//a\r\n//b \r\r\n\n\t", "\n\r\na\r\nb\r\r\n\n"},
        {"other control bytes stay off", std::string("\0\r\n\x1f//a\x1f\r\n\0", 11), "\r\na\r\n"},
        {"brace: only the outer ends", " { x }\r\n", "x\r\n"},
        {"paren: breaks inside are trimmed", "\r\n(*\r\ny\r\n*)", "\r\ny"},
        {"brace unmatched", "\t{ a } b \r\n", std::nullopt},
        {"paren unmatched", "\r\n (x) ", std::nullopt},
        {"breaks only", "\r\n\r\n", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(Pasted(c.selection), c.pasted) << c.what;
}

TEST(CommentRules, TrimTakesOnlyBytesUpToBlank) {
    struct Case {
        std::string text;
        std::string trimmed;
    };
    const Case cases[] = {
        {"", ""},
        {" \t\r\n", ""},
        {std::string("\0\x1f a b \x20", 7), "a b"},
        {"\x80x\xa0", "\x80x\xa0"},
        {"\r\n a\r\n\tb \r\n", "a\r\n\tb"},
    };
    for (const Case& c : cases) EXPECT_EQ(Trim(c.text), c.trimmed);
}

TEST(CommentRules, RoundTrips) {
    struct Case {
        std::function<std::string(const std::string&)> comment;
        std::string lines;
        std::string back;
    };
    const auto slash = [](const std::string& t) { return CommentSlash(t); };
    const auto brace = [](const std::string& t) { return CommentBrace(t); };
    const auto paren = [](const std::string& t) { return CommentParen(t); };
    const Case cases[] = {
        // Only the blanks ending the last line are lost.
        {slash, "begin\r\n  x;\r\nend; \t\r\n", "begin\r\n  x;\r\nend;\r\n"},
        {slash, "a\r\n\r\nb", "a\r\n\r\nb"},
        {brace, "a\r\nb\r\n", "a\r\nb"},
        {paren, "  a\r\nb", "a\r\nb"},
    };
    for (const Case& c : cases) EXPECT_EQ(Uncomment(c.comment(c.lines)).paste, c.back) << c.lines;
}

}  // namespace
}  // namespace snipkit
