// The rules' buffer forms, which snipkit-text calls on every piece, and the
// string forms the toolbar calls, against a plain model of each rule: byte by
// byte for the case rules, line by line for the others, with either kind of
// line ends. Each buffer form
// writes into a buffer of exactly the room it asks for, so the sanitizer
// build catches a write past it.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "format/indent_rules.h"

namespace snipkit {
namespace {

const std::string kTexts[] = {
    "",
    "a",
    "\r\n",
    "\r\n\r\n",
    "a\r\n",
    "a\r\nb",
    "  x := 1;\r\n\r\n    y;\r\n",
    "\n\n\n",
    "\r\r\r",
    "a\nb\rc\r\n",
    "\r\r\n\n\r\n",
    "//x\r\n  //y\r\n//\r\n/\r\n",
    "   \t  \r\n \r\n",
    "{ x }",
    "  (* x\r\n y *)  ",
    "{ open",
    "(*)",
    "Hello, wORLD 2nd_x\xE9z\r\n",
    // Longer than the 4096 bytes the line rules scan at a time, with a CR LF
    // across the edge.
    std::string(4095, 'a') + "\r\n  //b  \r\n" + std::string(4070, ' ') + "c\r\n\n  d",
};

bool IsLower(char c) { return c >= 'a' && c <= 'z'; }
bool IsUpper(char c) { return c >= 'A' && c <= 'Z'; }
char Upper(char c) { return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c; }
char Lower(char c) { return IsUpper(c) ? static_cast<char>(c - 'A' + 'a') : c; }

std::string EachByte(std::string_view text, char (*f)(char)) {
    std::string out;
    for (char c : text) out += f(c);
    return out;
}

// A word is a run of letters, digits and bytes from 0x80.
std::string TitleModel(std::string_view text) {
    std::string out;
    bool inWord = false;
    for (char c : text) {
        out += inWord ? Lower(c) : Upper(c);
        const auto b = static_cast<unsigned char>(c);
        inWord = IsLower(c) || IsUpper(c) || (c >= '0' && c <= '9') || b >= 0x80;
    }
    return out;
}

// Every line through f, joined again with its own break: lines end at CR LF
// (or, with CrLfOrLf, at a lone LF too), and the empty text after a final
// break is no line.
std::string EachLine(std::string_view text, const std::function<std::string(std::string_view)>& f,
                     LineEnds ends) {
    std::string out;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = start;
        std::size_t breakSize = 0;
        for (; end < text.size(); ++end) {
            if (text[end] != '\n') continue;
            if (end > start && text[end - 1] == '\r') {
                --end;
                breakSize = 2;
                break;
            }
            if (ends == LineEnds::CrLfOrLf) {
                breakSize = 1;
                break;
            }
        }
        out += f(text.substr(start, end - start));
        if (breakSize == 0) break;
        out += text.substr(end, breakSize);
        start = end + breakSize;
    }
    return out;
}

// Where two texts part, for a readable failure on texts of several KB.
std::string Difference(std::string_view got, std::string_view expected) {
    std::size_t at = 0;
    while (at < got.size() && at < expected.size() && got[at] == expected[at]) ++at;
    if (at == got.size() && at == expected.size()) return "";
    return "differ from byte " + std::to_string(at) + ": \"" + std::string(got.substr(at, 20)) + "\" instead of \"" +
           std::string(expected.substr(at, 20)) + '"';
}

struct Rule {
    const char* name;
    std::function<std::string(std::string_view)> model;
    std::function<std::string(std::string_view)> whole;
    std::function<std::size_t(std::size_t)> room;
    std::function<char*(std::string_view, char*)> write;
};

std::vector<Rule> Rules(LineEnds ends) {
    std::vector<Rule> rules;
    const auto same = [](std::size_t n) { return n; };
    const struct {
        const char* name;
        CaseRule rule;
        std::function<std::string(std::string_view)> model;
    } cases[] = {
        {"upper", CaseRule::Upper, [](std::string_view t) { return EachByte(t, Upper); }},
        {"lower", CaseRule::Lower, [](std::string_view t) { return EachByte(t, Lower); }},
        {"flip", CaseRule::Flip,
         [](std::string_view t) { return EachByte(t, [](char c) { return IsLower(c) ? Upper(c) : Lower(c); }); }},
        {"title", CaseRule::Title, TitleModel},
    };
    for (const auto& c : cases) {
        const CaseRule rule = c.rule;
        rules.push_back({c.name, c.model, [rule](std::string_view t) { return ApplyCaseRule(rule, t); }, same,
                         [rule](std::string_view t, char* out) {
                             ApplyCaseRule(rule, t, out);
                             return out + t.size();
                         }});
    }
    const auto slashes = [](std::string_view l) { return "//" + std::string(l); };
    rules.push_back({"comment //", [slashes, ends](std::string_view t) { return EachLine(t, slashes, ends); },
                     [ends](std::string_view t) { return CommentSlash(t, ends); },
                     [ends](std::size_t size) { return CommentSlashRoom(size, ends); },
                     [ends](std::string_view t, char* out) { return CommentSlash(t, out, ends); }});
    for (const int n : {-1, 0, 2, 16}) {
        // No count or a negative one changes nothing.
        const std::size_t columns = n > 0 ? static_cast<std::size_t>(n) : 0;
        const auto indent = [columns](std::string_view l) { return std::string(columns, ' ') + std::string(l); };
        const auto unindent = [columns](std::string_view l) {
            std::size_t blanks = 0;
            while (blanks < columns && blanks < l.size() && l[blanks] == ' ') ++blanks;
            return std::string(l.substr(blanks));
        };
        rules.push_back({"indent", [indent, ends](std::string_view t) { return EachLine(t, indent, ends); },
                         [n, ends](std::string_view t) { return Indent(t, n, ends); },
                         [n, ends](std::size_t size) { return IndentRoom(size, n, ends); },
                         [n, ends](std::string_view t, char* out) { return Indent(t, n, out, ends); }});
        rules.push_back({"unindent", [unindent, ends](std::string_view t) { return EachLine(t, unindent, ends); },
                         [n, ends](std::string_view t) { return Unindent(t, n, ends); }, same,
                         [n, ends](std::string_view t, char* out) { return Unindent(t, n, out, ends); }});
    }
    return rules;
}

constexpr LineEnds kBothEnds[] = {LineEnds::CrLf, LineEnds::CrLfOrLf};

TEST(RuleBuffers, BothFormsGiveWhatTheModelGives) {
    for (const LineEnds ends : kBothEnds) {
        for (const Rule& rule : Rules(ends)) {
            for (const std::string_view text : kTexts) {
                SCOPED_TRACE(std::string(rule.name) + " on \"" + std::string(text.substr(0, 40)) +
                             "\", LF ends a line: " + (ends == LineEnds::CrLfOrLf ? "yes" : "no"));
                const std::string expected = rule.model(text);
                std::vector<char> buffer(rule.room(text.size()));
                char* end = rule.write(text, buffer.data());
                EXPECT_EQ(Difference(std::string(buffer.data(), end), expected), "") << "buffer form";
                EXPECT_EQ(Difference(rule.whole(text), expected), "") << "string form";
            }
        }
    }
}

TEST(RuleBuffers, UncommentWritesItsPasteOrSaysThereIsNone) {
    for (const LineEnds ends : kBothEnds) {
        for (const std::string_view text : kTexts) {
            const UncommentResult whole = Uncomment(text, ends);
            std::vector<char> buffer(text.size());
            char* end = Uncomment(text, buffer.data(), ends);
            ASSERT_EQ(end != nullptr, whole.paste.has_value()) << text;
            if (end) {
                EXPECT_EQ(std::string(buffer.data(), end), *whole.paste) << text;
            }
        }
    }
}

}  // namespace
}  // namespace snipkit
