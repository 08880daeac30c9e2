#include "text_filter.h"

#include <cstring>
#include <optional>
#include <stdexcept>
#include <utility>

#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "format/indent_rules.h"

namespace snipkit::textfilter {
namespace {

constexpr int kDefaultColumns = kIndentColumnsDefault;

struct CommandName {
    std::string_view name;
    Command command;
    bool takesColumns;
};

constexpr CommandName kCommands[] = {
    {"upper", Command::Upper, false},
    {"lower", Command::Lower, false},
    {"flip", Command::Flip, false},
    {"title", Command::Title, false},
    {"comment", Command::Comment, false},
    {"comment-brace", Command::CommentBrace, false},
    {"comment-paren", Command::CommentParen, false},
    {"uncomment", Command::Uncomment, false},
    {"indent", Command::Indent, true},
    {"unindent", Command::Unindent, true},
};

constexpr std::string_view kUsage =
    "usage: snipkit-text COMMAND [N] < input > output\n"
    "\n"
    "Rewrites standard input with one of Snipkit's text rules and writes the\n"
    "result to standard output, byte for byte. Lines end in CR LF; a lone CR or\n"
    "LF is an ordinary character of its line.\n"
    "\n"
    "Commands:\n"
    "  upper, lower, flip, title\n"
    "                 change the case of the ASCII letters; every other byte stays\n"
    "  comment        put \"//\" before every line\n"
    "  comment-brace  wrap the whole text in \"{ \" and \" }\"\n"
    "  comment-paren  wrap the whole text in \"(* \" and \" *)\"\n"
    "  uncomment      trim blanks and control characters off both ends, then take\n"
    "                 off the outer { } or (* *), or one \"//\" from every line;\n"
    "                 where no block comment matches (or the text is blank) the\n"
    "                 input comes out unchanged\n"
    "  indent [N]     put N blanks before every line (N from 0 to 16, default 2)\n"
    "  unindent [N]   take up to N leading blanks off every line (same N)\n"
    "\n"
    "Exit status: 0 done, 1 read or write error, 2 bad command line.\n";

Arguments Error(std::string message) {
    Arguments a;
    a.kind = Arguments::Kind::Error;
    a.error = std::move(message) + " (see snipkit-text --help)";
    return a;
}

// A command-line word quoted for an error line; control bytes would break the
// one-line promise, so they show as '?'.
std::string Quoted(std::string_view word) {
    std::string out = "'";
    for (char c : word) out += static_cast<unsigned char>(c) < 0x20 ? '?' : c;
    return out + "'";
}

// ---- cutting the input into pieces ------------------------------------------
//
// A piece [0, end) of the buffer goes through the rule on its own and
// [end, next) is copied as it stands. Each finder returns the last cut whose
// position is at or after `from` (what lies before was searched already).

struct Cut {
    std::size_t end;
    std::size_t next;
};

using CutFinder = std::optional<Cut> (*)(std::string_view buf, std::size_t from);

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// Case rules go byte by byte, and Title Case starts a new word after any byte
// up to 0x20, so a piece may end right after such a byte.
std::optional<Cut> AfterBlankOrControl(std::string_view buf, std::size_t from) {
    for (std::size_t i = buf.size(); i > from; --i) {
        if (IsTrimmed(buf[i - 1])) return Cut{i, i};
    }
    return std::nullopt;
}

// The line rules treat every line alone, and a piece ending in CR LF leaves
// its uncounted empty last line alone, so pieces cut after a CR LF give the
// whole text's result when joined.
std::optional<Cut> AfterLineBreak(std::string_view buf, std::size_t from) {
    for (std::size_t i = buf.size(); i >= 2 && i - 2 >= from; --i) {
        if (buf[i - 2] == '\r' && buf[i - 1] == '\n') return Cut{i, i};
    }
    return std::nullopt;
}

// Uncomment trims the text and looks at its first byte, so a piece must not
// begin or end with a trimmed byte, nor begin with '{' or '(' (only the
// whole text decides on a block comment). A CR LF with a line ending in a
// byte above 0x20 before it and such a line start after it qualifies; the
// CR LF itself is copied between the pieces.
std::optional<Cut> AroundUncommentLineBreak(std::string_view buf, std::size_t from) {
    for (std::size_t p = buf.size() < 3 ? 0 : buf.size() - 3; p >= 1 && p >= from; --p) {
        if (buf[p] != '\r' || buf[p + 1] != '\n') continue;
        const char before = buf[p - 1];
        const char after = buf[p + 2];
        if (!IsTrimmed(before) && !IsTrimmed(after) && after != '{' && after != '(') {
            return Cut{p, p + 2};
        }
    }
    return std::nullopt;
}

// Reads the input in blocks, hands every piece the finder allows to process,
// and processes what is left at the end. `buf` may already hold the first
// bytes of the input.
template <typename Process>
void StreamPieces(ByteSource& in, ByteSink& out, std::size_t block, std::string buf,
                  CutFinder findCut, Process process) {
    std::size_t filled = buf.size();
    std::size_t searched = 0;
    for (;;) {
        if (filled > 0) {
            const std::string_view view(buf.data(), filled);
            if (const std::optional<Cut> cut = findCut(view, searched)) {
                out.Write(process(view.substr(0, cut->end)));
                if (cut->next > cut->end) out.Write(view.substr(cut->end, cut->next - cut->end));
                filled -= cut->next;
                std::memmove(buf.data(), buf.data() + cut->next, filled);
                searched = 0;
            } else {
                // A cut looks at up to two bytes past its line break, so the
                // last few positions are searched again once more bytes come.
                searched = filled > 3 ? filled - 3 : 0;
            }
        }
        if (buf.size() < filled + block) buf.resize(filled + block);
        const std::size_t got = in.Read(buf.data() + filled, block);
        if (got == 0) break;
        filled += got;
    }
    if (filled > 0) out.Write(process(std::string_view(buf.data(), filled)));
}

// The rest of the input after `head`, all in one string of exactly its size.
std::string ReadAll(ByteSource& in, std::size_t block, std::string head) {
    std::vector<std::string> blocks;
    std::size_t total = head.size();
    for (;;) {
        std::string piece(block, '\0');
        const std::size_t got = in.Read(piece.data(), block);
        if (got == 0) break;
        piece.resize(got);
        total += got;
        blocks.push_back(std::move(piece));
    }
    if (blocks.empty()) return head;
    std::string all;
    all.reserve(total);
    all += head;
    head = std::string();
    for (std::string& piece : blocks) {
        all += piece;
        piece = std::string();
    }
    return all;
}

void WriteUncommented(std::string_view text, ByteSink& out) {
    UncommentResult r = Uncomment(text);
    // Where the toolbar pastes nothing the editor keeps the selection, so the
    // filter keeps the input: a pipeline loses nothing.
    out.Write(r.paste ? std::string_view(*r.paste) : text);
}

void RunUncomment(ByteSource& in, ByteSink& out, std::size_t block) {
    // The first byte above 0x20 decides between a block comment (which needs
    // the whole text) and line comments (which can stream).
    std::string head;
    std::size_t first = 0;
    for (;;) {
        while (first < head.size() && IsTrimmed(head[first])) ++first;
        if (first < head.size()) break;
        const std::size_t filled = head.size();
        head.resize(filled + block);
        const std::size_t got = in.Read(head.data() + filled, block);
        head.resize(filled + got);
        if (got == 0) {
            WriteUncommented(head, out);  // blank or empty input
            return;
        }
    }
    if (head[first] == '{' || head[first] == '(') {
        const std::string all = ReadAll(in, block, std::move(head));
        WriteUncommented(all, out);
        return;
    }
    StreamPieces(in, out, block, std::move(head), AroundUncommentLineBreak, [](std::string_view piece) {
        UncommentResult r = Uncomment(piece);
        // Every piece starts and ends with a byte above 0x20 and is no block
        // comment, so the rule always has lines to give back.
        if (!r.paste) throw std::logic_error("uncomment: a piece of line comments gave no text");
        return std::move(*r.paste);
    });
}

CaseRule CaseRuleOf(Command command) {
    switch (command) {
        case Command::Lower: return CaseRule::Lower;
        case Command::Flip: return CaseRule::Flip;
        case Command::Title: return CaseRule::Title;
        default: return CaseRule::Upper;
    }
}

}  // namespace

std::string_view UsageText() { return kUsage; }

Arguments ParseArguments(const std::vector<std::string_view>& args) {
    if (args.empty()) return Error("no command given");
    const std::string_view word = args[0];
    if (word == "--help" || word == "-h" || word == "help") {
        if (args.size() > 1) return Error("--help takes nothing after it");
        Arguments a;
        a.kind = Arguments::Kind::Help;
        return a;
    }
    const CommandName* found = nullptr;
    for (const CommandName& c : kCommands) {
        if (c.name == word) found = &c;
    }
    if (!found) return Error("unknown command " + Quoted(word));

    Arguments a;
    a.kind = Arguments::Kind::Run;
    a.invocation.command = found->command;
    if (!found->takesColumns) {
        if (args.size() > 1) return Error(std::string(word) + " takes no argument, got " + Quoted(args[1]));
        return a;
    }
    if (args.size() > 2) return Error("too many arguments after " + std::string(word));
    a.invocation.columns = kDefaultColumns;
    if (args.size() == 2) {
        // The dialog's own number reading, but out of range is an error here
        // rather than clamped: a typo should not indent by 16.
        const std::optional<int> n = ParseWholeNumber(args[1]);
        if (!n || *n < kIndentColumnsMin || *n > kIndentColumnsMax) {
            return Error("N must be a whole number from " + std::to_string(kIndentColumnsMin) + " to " +
                         std::to_string(kIndentColumnsMax) + ", got " + Quoted(args[1]));
        }
        a.invocation.columns = *n;
    }
    return a;
}

void RunFilter(const Invocation& invocation, ByteSource& in, ByteSink& out, std::size_t blockSize) {
    const std::size_t block = blockSize > 0 ? blockSize : 1;
    const int columns = invocation.columns;
    switch (invocation.command) {
        case Command::Upper:
        case Command::Lower:
        case Command::Flip:
        case Command::Title: {
            const CaseRule rule = CaseRuleOf(invocation.command);
            StreamPieces(in, out, block, std::string(), AfterBlankOrControl,
                         [rule](std::string_view piece) { return ApplyCaseRule(rule, piece); });
            return;
        }
        case Command::Comment:
            StreamPieces(in, out, block, std::string(), AfterLineBreak,
                         [](std::string_view piece) { return CommentSlash(piece); });
            return;
        case Command::CommentBrace:
            out.Write(CommentBrace(ReadAll(in, block, std::string())));
            return;
        case Command::CommentParen:
            out.Write(CommentParen(ReadAll(in, block, std::string())));
            return;
        case Command::Uncomment:
            RunUncomment(in, out, block);
            return;
        case Command::Indent:
            StreamPieces(in, out, block, std::string(), AfterLineBreak,
                         [columns](std::string_view piece) { return Indent(piece, columns); });
            return;
        case Command::Unindent:
            StreamPieces(in, out, block, std::string(), AfterLineBreak,
                         [columns](std::string_view piece) { return Unindent(piece, columns); });
            return;
    }
}

}  // namespace snipkit::textfilter
