#include "text_filter.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

#include "whole_text.h"


namespace snipkit::textfilter {
namespace {

// ---- command line -----------------------------------------------------------

struct ArgCase {
    std::vector<std::string_view> args;
    Arguments::Kind kind;
    Command command;   // for Run
    int columns;       // for Run
    const char* errorPart;  // for Error: a piece the message must contain
};

constexpr auto kRun = Arguments::Kind::Run;
constexpr auto kErr = Arguments::Kind::Error;
constexpr auto kHelp = Arguments::Kind::Help;

TEST(ParseArguments, Table) {
    const ArgCase cases[] = {
        {{"upper"}, kRun, Command::Upper, 0, nullptr},
        {{"lower"}, kRun, Command::Lower, 0, nullptr},
        {{"flip"}, kRun, Command::Flip, 0, nullptr},
        {{"title"}, kRun, Command::Title, 0, nullptr},
        {{"comment"}, kRun, Command::Comment, 0, nullptr},
        {{"comment-brace"}, kRun, Command::CommentBrace, 0, nullptr},
        {{"comment-paren"}, kRun, Command::CommentParen, 0, nullptr},
        {{"uncomment"}, kRun, Command::Uncomment, 0, nullptr},
        {{"indent"}, kRun, Command::Indent, 2, nullptr},
        {{"unindent"}, kRun, Command::Unindent, 2, nullptr},
        {{"indent", "0"}, kRun, Command::Indent, 0, nullptr},
        {{"indent", "16"}, kRun, Command::Indent, 16, nullptr},
        {{"unindent", "7"}, kRun, Command::Unindent, 7, nullptr},
        {{"unindent", "+3"}, kRun, Command::Unindent, 3, nullptr},
        {{"indent", " 4 "}, kRun, Command::Indent, 4, nullptr},
        {{"--help"}, kHelp, Command::Upper, 0, nullptr},
        {{"-h"}, kHelp, Command::Upper, 0, nullptr},
        {{"help"}, kHelp, Command::Upper, 0, nullptr},
        {{}, kErr, Command::Upper, 0, "no command"},
        {{""}, kErr, Command::Upper, 0, "unknown command ''"},
        {{"UPPER"}, kErr, Command::Upper, 0, "unknown command 'UPPER'"},
        {{"comment-slash"}, kErr, Command::Upper, 0, "unknown command 'comment-slash'"},
        {{"bad\nname"}, kErr, Command::Upper, 0, "unknown command 'bad?name'"},
        {{"indent", "17"}, kErr, Command::Upper, 0, "from 0 to 16, got '17'"},
        {{"indent", "-1"}, kErr, Command::Upper, 0, "got '-1'"},
        {{"unindent", "two"}, kErr, Command::Upper, 0, "got 'two'"},
        {{"indent", ""}, kErr, Command::Upper, 0, "got ''"},
        {{"indent", "2.5"}, kErr, Command::Upper, 0, "got '2.5'"},
        {{"indent", "99999999999"}, kErr, Command::Upper, 0, "got '99999999999'"},
        {{"indent", "2", "3"}, kErr, Command::Upper, 0, "too many arguments"},
        {{"upper", "2"}, kErr, Command::Upper, 0, "upper takes no argument, got '2'"},
        {{"uncomment", "x"}, kErr, Command::Upper, 0, "uncomment takes no argument"},
        {{"--help", "upper"}, kErr, Command::Upper, 0, "--help takes nothing"},
    };
    for (const ArgCase& c : cases) {
        std::string shown;
        for (std::string_view a : c.args) shown += "[" + std::string(a) + "]";
        SCOPED_TRACE(shown);
        const Arguments a = ParseArguments(c.args);
        ASSERT_EQ(a.kind, c.kind);
        if (c.kind == kRun) {
            EXPECT_EQ(a.invocation.command, c.command);
            EXPECT_EQ(a.invocation.columns, c.columns);
        }
        if (c.kind == kErr) {
            EXPECT_NE(a.error.find(c.errorPart), std::string::npos) << a.error;
            EXPECT_EQ(a.error.find('\n'), std::string::npos) << "one line only";
        }
    }
}

TEST(ParseArguments, UsageNamesEveryCommand) {
    const std::string usage(UsageText());
    for (const char* name : {"upper", "lower", "flip", "title", "comment", "comment-brace", "comment-paren",
                             "uncomment", "indent [N]", "unindent [N]"}) {
        EXPECT_NE(usage.find(name), std::string::npos) << name;
    }
}

// ---- filtering ----------------------------------------------------------------

// Hands the input out in pieces of random size, as a pipe may.
class PieceSource : public ByteSource {
public:
    PieceSource(std::string text, std::uint32_t seed) : text_(std::move(text)), rng_(seed) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t left = text_.size() - pos_;
        if (left == 0 || size == 0) return 0;
        const std::size_t most = std::min(size, left);
        const std::size_t n = std::uniform_int_distribution<std::size_t>(1, most)(rng_);
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t pos_ = 0;
    std::mt19937 rng_;
};

class StringSink : public ByteSink {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

std::string Filter(const Invocation& inv, const std::string& input, std::size_t block, std::uint32_t seed = 1) {
    PieceSource in(input, seed);
    StringSink out;
    RunFilter(inv, in, out, block);
    return out.text;
}

struct FilterCase {
    Command command;
    int columns;
    std::string input;
    std::string expected;
};

TEST(RunFilter, Examples) {
    const FilterCase cases[] = {
        {Command::Upper, 0, "Hello, World 123\xE9@[`{", "HELLO, WORLD 123\xE9@[`{"},
        {Command::Lower, 0, "Hello, World 123\xC9", "hello, world 123\xC9"},
        {Command::Flip, 0, "Hello, World\r\n", "hELLO, wORLD\r\n"},
        {Command::Title, 0, "MAX_LINE_COUNT begin", "Max_Line_Count Begin"},
        {Command::Comment, 0, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
        {Command::Comment, 0, "  x\r\ny", "//  x\r\n//y"},
        {Command::Comment, 0, "", ""},
        {Command::CommentBrace, 0, "", "{  }"},
        {Command::CommentBrace, 0, "a\r\n", "{ a\r\n }"},
        {Command::CommentParen, 0, "x", "(* x *)"},
        {Command::Uncomment, 0, "  { x }\r\n", "x\r\n"},
        {Command::Uncomment, 0, "(* x )", "x"},
        {Command::Uncomment, 0, "//a\r\n// b\r\n////c\r\n", "a\r\n b\r\n//c\r\n"},
        {Command::Uncomment, 0, "  //a\r\n  //b", "a\r\n  //b"},
        {Command::Uncomment, 0, "//a\r\n\r\n//b", "a\r\n\r\nb"},
        // Nothing to paste: the input comes back as it was.
        {Command::Uncomment, 0, "{ a } b\r\n", "{ a } b\r\n"},
        {Command::Uncomment, 0, "(x)", "(x)"},
        {Command::Uncomment, 0, " \t\r\n", " \t\r\n"},
        {Command::Uncomment, 0, "", ""},
        {Command::Indent, 2, "a\r\n\r\nb\r\n", "  a\r\n  \r\n  b\r\n"},
        {Command::Indent, 0, "a\r\nb", "a\r\nb"},
        {Command::Unindent, 2, "    a\r\n b\r\nc\r\n\r\n  ", "  a\r\nb\r\nc\r\n\r\n"},
        {Command::Unindent, 4, " \tx", "\tx"},
    };
    for (const FilterCase& c : cases) {
        for (std::size_t block : {std::size_t{1}, std::size_t{3}, kDefaultBlockSize}) {
            SCOPED_TRACE(testing::Message() << "command " << static_cast<int>(c.command) << " input '" << c.input
                                            << "' block " << block);
            EXPECT_EQ(Filter({c.command, c.columns}, c.input, block), c.expected);
        }
    }
}

// A line ends at CR LF or at a lone LF and keeps its own break; a lone CR
// stays part of its line.
TEST(RunFilter, LineRulesOnLfCrLfAndMixedText) {
    const FilterCase cases[] = {
        {Command::Comment, 0, "a\n\nb\n", "//a\n//\n//b\n"},
        {Command::Comment, 0, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
        {Command::Comment, 0, "a\r\nb\n\r\nc\rd", "//a\r\n//b\n//\r\n//c\rd"},
        {Command::Uncomment, 0, "//a\n\n//b", "a\n\nb"},
        {Command::Uncomment, 0, "//a\r\n\r\n//b", "a\r\n\r\nb"},
        {Command::Uncomment, 0, "//a\r\n//b\n\n//c\r//d", "a\r\nb\n\nc\r//d"},
        {Command::Indent, 2, "a\n\nb\n", "  a\n  \n  b\n"},
        {Command::Indent, 2, "a\r\n\r\nb\r\n", "  a\r\n  \r\n  b\r\n"},
        {Command::Indent, 2, "a\r\nb\n\r\nc\rd", "  a\r\n  b\n  \r\n  c\rd"},
        {Command::Unindent, 2, "   a\n b\n", " a\nb\n"},
        {Command::Unindent, 2, "   a\r\n b\r\n", " a\r\nb\r\n"},
        {Command::Unindent, 2, "  a\n  b\r\n  \n \rc", "a\nb\r\n\n\rc"},
    };
    for (const FilterCase& c : cases) {
        for (std::size_t block : {std::size_t{1}, std::size_t{2}, std::size_t{3}, kDefaultBlockSize}) {
            SCOPED_TRACE(testing::Message() << "command " << static_cast<int>(c.command) << " input '" << c.input
                                            << "' block " << block);
            EXPECT_EQ(Filter({c.command, c.columns}, c.input, block), c.expected);
        }
    }
}

// Hands the input out in reads of exactly the block size.
class BlockSource : public ByteSource {
public:
    explicit BlockSource(std::string text) : text_(std::move(text)) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - pos_);
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }

private:
    std::string text_;
    std::size_t pos_ = 0;
};

// Reads of 4 bytes end right after the lone LF and between the CR and the LF.
TEST(RunFilter, ReadEndsAfterAnLfAndBetweenCrAndLf) {
    const std::string plain = "  a\n  b\r\n  c";
    const std::string commented = "//a\n//b\r\n//c";
    const struct {
        Invocation inv;
        const std::string& input;
        std::string expected;
    } cases[] = {
        {{Command::Comment, 0}, plain, "//  a\n//  b\r\n//  c"},
        {{Command::Indent, 2}, plain, "    a\n    b\r\n    c"},
        {{Command::Unindent, 2}, plain, "a\nb\r\nc"},
        {{Command::Uncomment, 0}, commented, "a\nb\r\nc"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.inv.command));
        ASSERT_EQ(c.input[3], '\n');
        ASSERT_EQ(c.input.substr(7, 2), "\r\n");
        BlockSource in(c.input);
        StringSink out;
        RunFilter(c.inv, in, out, 4);
        EXPECT_EQ(out.text, c.expected);
    }
}

// Texts made of the bytes the rules care about, so that line breaks, blanks,
// comment markers and word boundaries fall at every possible place relative
// to the block and piece boundaries.
std::string RandomText(std::mt19937& rng) {
    static const std::vector<std::string> kTokens = {
        "\r\n", "\r\n", "\r\n", "\r", "\n", " ", " ", "  ", "\t", "//", "/", "{", "}", "(*", "*)", "(", ")",
        "a", "Z", "begin", "End;", "x_1", "\xE9", "\x80", "\x01", "\x20\r\n", "9"};
    std::uniform_int_distribution<std::size_t> length(0, 60);
    std::uniform_int_distribution<std::size_t> pick(0, kTokens.size() - 1);
    std::string text;
    for (std::size_t n = length(rng); n > 0; --n) text += kTokens[pick(rng)];
    return text;
}

TEST(RunFilter, PiecesGiveTheWholeTextResult) {
    const Invocation invocations[] = {
        {Command::Upper, 0},        {Command::Lower, 0},     {Command::Flip, 0},
        {Command::Title, 0},        {Command::Comment, 0},   {Command::CommentBrace, 0},
        {Command::CommentParen, 0}, {Command::Uncomment, 0}, {Command::Indent, 0},
        {Command::Indent, 1},       {Command::Indent, 3},    {Command::Unindent, 1},
        {Command::Unindent, 2},     {Command::Unindent, 16},
    };
    std::mt19937 rng(20240601);
    int uncommentLines = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = RandomText(rng);
        // Half of the texts look like commented code, so that uncomment
        // streams line by line more often than it meets a block comment.
        if (round % 2 == 0) text = CommentSlash(text);
        const std::size_t block = std::uniform_int_distribution<std::size_t>(1, 12)(rng);
        for (const Invocation& inv : invocations) {
            const std::string expected = WholeText(inv, text);
            const std::string actual = Filter(inv, text, block, static_cast<std::uint32_t>(round));
            ASSERT_EQ(actual, expected) << "command " << static_cast<int>(inv.command) << " columns "
                                        << inv.columns << " block " << block << " text '" << text << "'";
        }
        const std::string_view trimmed = Trim(text);
        if (!trimmed.empty() && trimmed.front() != '{' && trimmed.front() != '(') ++uncommentLines;
    }
    // The streaming path of uncomment must have been the one tried most.
    EXPECT_GT(uncommentLines, 1500);
}

// Big pieces are written on a second thread while the next is made: the
// output must still be the whole text's, and a failed write must still stop
// the filter with its error, with nothing written after it.
std::string BigText() {
    std::mt19937 rng(7);
    std::string text;
    while (text.size() < (std::size_t{3} << 20)) text += RandomText(rng) + (text.size() % 3 ? "\r\n" : "\n");
    return text;
}

// Where two texts part, or npos; gtest's own diff of megabytes would not end.
std::size_t FirstDifference(const std::string& a, const std::string& b) {
    const auto [x, y] = std::mismatch(a.begin(), a.end(), b.begin(), b.end());
    return x == a.end() && y == b.end() ? std::string::npos : static_cast<std::size_t>(x - a.begin());
}

TEST(RunFilter, BigPiecesWrittenWhileTheNextIsMade) {
    const std::string text = BigText();
    const std::string commented = CommentSlash(text, LineEnds::CrLfOrLf);
    for (const Invocation inv : {Invocation{Command::Upper, 0}, Invocation{Command::Comment, 0},
                                 Invocation{Command::Indent, 3}, Invocation{Command::Unindent, 2}}) {
        EXPECT_EQ(FirstDifference(Filter(inv, text, 1 << 18), WholeText(inv, text)), std::string::npos)
            << static_cast<int>(inv.command);
    }
    const Invocation uncomment{Command::Uncomment, 0};
    EXPECT_EQ(FirstDifference(Filter(uncomment, commented, 1 << 18), WholeText(uncomment, commented)),
              std::string::npos);
}

TEST(RunFilter, FailedWriteStopsTheFilter) {
    class FailingSink : public ByteSink {
    public:
        explicit FailingSink(int failAt) : failAt_(failAt) {}
        void Write(std::string_view) override {
            if (++calls == failAt_) throw std::runtime_error("disk full");
        }
        int calls = 0;

    private:
        int failAt_;
    };
    const std::string text = CommentSlash(BigText(), LineEnds::CrLfOrLf);
    for (Command c : {Command::Upper, Command::Comment, Command::Uncomment}) {
        for (int failAt : {1, 5, 12}) {
            PieceSource in(text, 1);
            FailingSink out(failAt);
            try {
                RunFilter(Invocation{c, 0}, in, out, 1 << 18);
                ADD_FAILURE() << "no error, command " << static_cast<int>(c) << " fail at " << failAt;
            } catch (const std::runtime_error& e) {
                EXPECT_STREQ(e.what(), "disk full");
            }
            EXPECT_EQ(out.calls, failAt) << static_cast<int>(c);
        }
    }
}

TEST(RunFilter, LongLinesLongerThanABlock) {
    const std::string line(5000, 'q');
    const std::string text = "  " + line + "\r\n//" + line + "\r\n" + line;
    for (Command c : {Command::Upper, Command::Title, Command::Comment, Command::Uncomment, Command::Indent,
                      Command::Unindent}) {
        const Invocation inv{c, 2};
        EXPECT_EQ(Filter(inv, text, 64), WholeText(inv, text)) << static_cast<int>(c);
    }
}

}  // namespace
}  // namespace snipkit::textfilter
