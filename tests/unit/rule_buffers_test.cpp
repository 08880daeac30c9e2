// The rules' buffer forms, which snipkit-text calls on every piece, against
// the string forms the toolbar calls, with either kind of line ends. Each
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

const char* const kTexts[] = {
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
};

struct Rule {
    const char* name;
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
    } cases[] = {{"upper", CaseRule::Upper}, {"lower", CaseRule::Lower}, {"flip", CaseRule::Flip},
                 {"title", CaseRule::Title}};
    for (const auto& c : cases) {
        const CaseRule rule = c.rule;
        rules.push_back({c.name, [rule](std::string_view t) { return ApplyCaseRule(rule, t); }, same,
                         [rule](std::string_view t, char* out) {
                             ApplyCaseRule(rule, t, out);
                             return out + t.size();
                         }});
    }
    rules.push_back({"comment //", [ends](std::string_view t) { return CommentSlash(t, ends); },
                     [ends](std::size_t size) { return CommentSlashRoom(size, ends); },
                     [ends](std::string_view t, char* out) { return CommentSlash(t, out, ends); }});
    for (const int n : {-1, 0, 2, 16}) {
        rules.push_back({"indent", [n, ends](std::string_view t) { return Indent(t, n, ends); },
                         [n, ends](std::size_t size) { return IndentRoom(size, n, ends); },
                         [n, ends](std::string_view t, char* out) { return Indent(t, n, out, ends); }});
        rules.push_back({"unindent", [n, ends](std::string_view t) { return Unindent(t, n, ends); }, same,
                         [n, ends](std::string_view t, char* out) { return Unindent(t, n, out, ends); }});
    }
    return rules;
}

constexpr LineEnds kBothEnds[] = {LineEnds::CrLf, LineEnds::CrLfOrLf};

TEST(RuleBuffers, BufferFormsWriteWhatTheStringFormsReturn) {
    for (const LineEnds ends : kBothEnds) {
        for (const Rule& rule : Rules(ends)) {
            for (const std::string_view text : kTexts) {
                std::vector<char> buffer(rule.room(text.size()));
                char* end = rule.write(text, buffer.data());
                EXPECT_EQ(std::string(buffer.data(), end), rule.whole(text))
                    << rule.name << " on \"" << text << "\", LF ends a line: " << (ends == LineEnds::CrLfOrLf);
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
