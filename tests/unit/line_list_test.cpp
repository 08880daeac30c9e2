#include "format/line_list.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "format/comment_rules.h"
#include "format/indent_rules.h"
#include "stash/snippet_format.h"
#include "templates/template_text.h"

namespace snipkit {
namespace {

std::vector<std::string> CountedLines(const LineList& list) {
    std::vector<std::string> out;
    for (std::size_t i = 0; i < list.Count(); ++i) out.push_back(list.Line(i));
    return out;
}

TEST(LineList, CutsAtCrLfOnlyAndJoinsBackExactly) {
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\n", {"a"}},
        {"\r\n", {""}},
        {"a\r\n\r\n", {"a", ""}},
        {"\r\nx", {"", "x"}},
        {"a\rb\nc", {"a\rb\nc"}},
        {"a\r\r\nb\n", {"a\r", "b\n"}},
        {"a\n\r\nb", {"a\n", "b"}},
    };
    for (const Case& c : cases) {
        const LineList list(c.text);
        EXPECT_EQ(CountedLines(list), c.lines) << "text: " << c.text;
        EXPECT_EQ(list.Text(), c.text);
    }
}

TEST(LineList, SetLineKeepsTheLineBreak) {
    struct Case {
        std::string text;
        std::size_t index;
        std::string line;
        std::string expected;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", 0, "xyz", "xyz\r\nb\r\n"},
        {"a\r\nb\r\n", 1, "", "a\r\n\r\n"},
        {"a\r\nb", 1, "c\rd", "a\r\nc\rd"},
        {"a\r\n\r\nb", 1, "mid", "a\r\nmid\r\nb"},
    };
    for (const Case& c : cases) {
        LineList list(c.text);
        list.SetLine(c.index, c.line);
        EXPECT_EQ(list.Text(), c.expected) << "text: " << c.text;
    }
}

TEST(LineList, IndexPastTheCountedLinesThrows) {
    LineList list("a\r\n");
    EXPECT_THROW(list.Line(1), std::out_of_range);
    EXPECT_THROW(list.SetLine(1, "x"), std::out_of_range);
    EXPECT_THROW(LineList("").Line(0), std::out_of_range);
}

TEST(LineList, EditsOfWholeLines) {
    struct Case {
        const char* name;
        std::function<void(LineList&)> edit;
        std::string text;
        std::string expected;
    };
    const auto add = [](LineList& l) { l.Add("M"); };
    const auto move = [](LineList& l) { l.MoveLastToTop(); };
    const auto drop = [](LineList& l) { l.DeleteFirst(); };
    const Case cases[] = {
        {"add to empty", add, "", "M\r\n"},
        {"add after CR LF", add, "t\r\n", "t\r\nM\r\n"},
        {"add after open line", add, "t\r\na", "t\r\na\r\nM"},
        {"move open last line", move, "a\r\nb", "b\r\na\r\n"},
        {"move closed last line", move, "a\r\nb\r\n", "b\r\na\r\n"},
        {"move single line", move, "x", "x\r\n"},
        {"move empty counted line", move, "a\r\n\r\n", "\r\na\r\n"},
        {"move in empty text", move, "", ""},
        {"delete first of several", drop, "M\r\nL1\r\nL2\r\n", "L1\r\nL2\r\n"},
        {"delete marker only", drop, "M\r\n", ""},
        {"delete line without break", drop, "x", ""},
        {"delete in empty text", drop, "", ""},
        {"delete before open line", drop, "a\r\nb", "b"},
    };
    for (const Case& c : cases) {
        LineList list(c.text);
        c.edit(list);
        EXPECT_EQ(list.Text(), c.expected) << c.name;
    }
}

TEST(LineList, NormalizeLineBreaksMakesEveryBreakCrLf) {
    struct Case {
        std::string text;
        std::string expected;
    };
    const Case cases[] = {
        {"", ""},
        {"a\r\nb", "a\r\nb"},
        {"a\nb\n", "a\r\nb\r\n"},
        {"a\rb\r", "a\r\nb\r\n"},
        {"a\n\rb", "a\r\n\r\nb"},
        {"\r\r\n\n", "\r\n\r\n\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(NormalizeLineBreaks(c.text), c.expected) << c.text;
}

TEST(LineList, LongLinesSurviveEveryRule) {
    const std::string longLine(100000, 'q');
    const std::string text = "  " + longLine + "\r\nb\r\n";
    EXPECT_EQ(LineList(text).Line(0).size(), longLine.size() + 2);

    struct Case {
        const char* name;
        std::string result;
        std::string expected;
    };
    const Case cases[] = {
        {"comment //", CommentSlash(text), "//  " + longLine + "\r\n//b\r\n"},
        {"uncomment", *Uncomment("//" + longLine + "\r\n//b").paste, longLine + "\r\nb"},
        {"indent", Indent(text, 3), "     " + longLine + "\r\n   b\r\n"},
        {"unindent", Unindent(text, 16), longLine + "\r\nb\r\n"},
        {"surround", SurroundLines(text, "X", "Y"), "  X\r\n    " + longLine + "\r\n  b\r\n  Y\r\n"},
        {"file content", SnippetFileContent(longLine, "b"), kSnippetMarker + longLine + "\r\nb\r\n"},
        {"take snippet", TakeSnippet(kSnippetMarker + longLine + "\r\n" + longLine), longLine},
    };
    for (const Case& c : cases) EXPECT_TRUE(c.result == c.expected) << c.name;
}

TEST(LineList, ALargeTextGoesThroughTheLineRulesWhole) {
    // Speed is measured by the benchmarks; this checks nothing is lost on the way.
    const std::string line = "    x := SomeFunction(a, b) + 1;\r\n";  // 34 bytes
    std::string text;
    for (std::size_t i = 0; i < 2'000'000 / line.size(); ++i) text += line;

    const std::string commented = CommentSlash(text);
    const std::string uncommented = *Uncomment(commented).paste;
    const std::string indented = Indent(text, 2);

    EXPECT_EQ(commented.size(), text.size() + 2 * (text.size() / line.size()));
    EXPECT_EQ(indented.size(), commented.size());
    EXPECT_TRUE(Unindent(indented, 2) == text);
    EXPECT_TRUE(uncommented == text);
}

}  // namespace
}  // namespace snipkit

namespace snipkit {
namespace {

TEST(LineList, PrefixCountedLinesMatchesTheLineList) {
    const char* texts[] = {"", "a", "\r\n", "a\r\n", "a\r\n\r\nb", "\r\r\n", "\n\r\n", "x\r", "\ra\nb\r\n\r\n", "\r\n\r\n"};
    for (const char* t : texts) {
        LineList lines(t);
        for (std::size_t i = 0; i < lines.Count(); ++i) lines.SetLine(i, "//" + lines.Line(i));
        EXPECT_EQ(PrefixCountedLines(t, "//"), lines.Text()) << t;
    }
}

}  // namespace
}  // namespace snipkit

namespace snipkit {
namespace {

// The line rules reserve what their result needs: a string that holds far
// more than its text keeps that memory until the paste is done.
TEST(LineList, LineRulesHoldLittleMoreThanTheirResult) {
    struct Text {
        const char* name;
        std::string text;
    };
    const std::size_t size = 100000;
    std::string lines;
    while (lines.size() < size) lines += "  x := y;\r\n";
    const Text texts[] = {
        {"lone LFs", std::string(size, '\n')},
        {"lone CRs", std::string(size, '\r')},
        {"LF lines", [&] {
             std::string t;
             while (t.size() < size) t += "  x := y;\n";
             return t;
         }()},
        {"CR LF lines", lines},
        {"blank CR LF lines", [&] {
             std::string t;
             while (t.size() < size) t += "\r\n";
             return t;
         }()},
        {"one long line", std::string(size, 'q')},
    };
    struct Rule {
        const char* name;
        std::function<std::string(std::string_view)> apply;
    };
    const Rule rules[] = {
        {"comment //", [](std::string_view t) { return CommentSlash(t); }},
        {"indent 2", [](std::string_view t) { return Indent(t, 2); }},
        {"indent 16", [](std::string_view t) { return Indent(t, 16); }},
    };
    for (const Text& t : texts) {
        for (const Rule& r : rules) {
            const std::string out = r.apply(t.text);
            EXPECT_LE(out.capacity(), out.size() + out.size() / 10 + 16) << r.name << " on " << t.name;
        }
    }
}

}  // namespace
}  // namespace snipkit

namespace snipkit {
namespace {

TEST(LineList, FindLineFeedsGivesEveryLfOfTheWindow) {
    struct Case {
        std::size_t size;
        std::vector<std::size_t> lineFeeds;
    };
    std::vector<std::size_t> all(kLineFeedWindow);
    for (std::size_t i = 0; i < all.size(); ++i) all[i] = i;
    const Case cases[] = {
        {64, {}},
        {64, {0}},
        {64, {15, 16, 31, 32, 47, 48, 63}},
        {128, {63, 64, 127}},
        {kLineFeedWindow, {0, 1000, kLineFeedWindow - 1}},
        {kLineFeedWindow, all},
    };
    for (const Case& c : cases) {
        // CRs and bytes that differ from LF in one bit only must not count.
        std::string window(c.size, '\r');
        for (std::size_t i = 0; i < window.size(); i += 3) window[i] = static_cast<char>(i % 2 ? 0x0B : 0x8A);
        for (std::size_t at : c.lineFeeds) window[at] = '\n';
        std::vector<std::uint16_t> offsets(c.size + 4);
        offsets.resize(FindLineFeeds(window.data(), window.size(), offsets.data()));
        EXPECT_EQ(std::vector<std::size_t>(offsets.begin(), offsets.end()), c.lineFeeds) << "size " << c.size;
    }
}

// The line rules find the LFs in blocks and windows of fixed size; a break
// on either side of a boundary, or split by one, must not change a line.
TEST(LineList, LineRulesAgreeWithTheLineListAcrossBlockBoundaries) {
    const auto byLineList = [](std::string_view text, const std::function<std::string(const std::string&)>& f) {
        LineList lines(text);
        for (std::size_t i = 0; i < lines.Count(); ++i) lines.SetLine(i, f(lines.Line(i)));
        return lines.Text();
    };
    const auto unindent2 = [](const std::string& line) {
        std::size_t n = 0;
        while (n < 2 && n < line.size() && line[n] == ' ') ++n;
        return line.substr(n);
    };
    const std::size_t boundaries[] = {0, 64, 128, kLineFeedWindow, 2 * kLineFeedWindow};
    for (const std::size_t size : {std::size_t{63}, std::size_t{200}, kLineFeedWindow + 130}) {
        for (const std::size_t boundary : boundaries) {
            for (std::size_t at = boundary > 2 ? boundary - 2 : 0; at <= boundary + 1 && at + 2 <= size; ++at) {
                for (const char* brk : {"\r\n", "\n", "\r", "\r\n\r\n"}) {
                    std::string text;
                    while (text.size() < size) text += "  //ab\r\n x\r\n";
                    text.resize(size);
                    text.replace(at, std::string_view(brk).size(), brk);
                    SCOPED_TRACE(testing::Message() << "size " << size << " break at " << at << " of " << brk);
                    EXPECT_TRUE(CommentSlash(text) == byLineList(text, [](const std::string& l) { return "//" + l; }));
                    EXPECT_TRUE(Indent(text, 3) == byLineList(text, [](const std::string& l) { return "   " + l; }));
                    EXPECT_TRUE(Unindent(text, 2) == byLineList(text, unindent2));
                }
            }
        }
    }
}

}  // namespace
}  // namespace snipkit
