#include "format/comment_rules.h"

#include <cstring>

#include "format/line_list.h"

namespace snipkit {
namespace {

constexpr std::string_view kSlash = "//";

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }

std::string Wrap(std::string_view open, std::string_view text, std::string_view close) {
    std::string out;
    out.reserve(open.size() + text.size() + close.size());
    out.append(open).append(text).append(close);
    return out;
}

// The inner text of a brace or parenthesis-asterisk comment, or nothing when
// the trimmed text is not one. Only the outermost markers count.
std::optional<std::string_view> BlockCommentInner(std::string_view t) {
    if (t.front() == '{') {
        if (t.size() < 2 || t.back() != '}') return std::nullopt;
        return t.substr(1, t.size() - 2);
    }
    // "(" opens a comment only as "(*"; whatever stands before the final ")"
    // goes with it.
    if (t.size() < 3 || t[1] != '*' || t.back() != ')') return std::nullopt;
    if (t.size() < 4) return std::string_view();  // "(*)": the markers overlap
    return t.substr(2, t.size() - 4);
}

// What the trim took off before and after the text.
struct TrimmedEnds {
    std::string_view head;
    std::string_view tail;
};

TrimmedEnds EndsOf(std::string_view text, std::string_view trimmed) {
    const auto headSize = static_cast<std::size_t>(trimmed.data() - text.data());
    return {text.substr(0, headSize), text.substr(headSize + trimmed.size())};
}

bool IsBreak(char c) { return c == '\r' || c == '\n'; }

std::size_t BreakCount(std::string_view ends) {
    std::size_t n = 0;
    for (char c : ends) n += IsBreak(c) ? 1 : 0;
    return n;
}

char* CopyBreaks(std::string_view ends, char* out) {
    for (char c : ends) {
        if (IsBreak(c)) *out++ = c;
    }
    return out;
}

std::size_t LeadingSlashes(std::string_view line) {
    return line.substr(0, kSlash.size()) == kSlash ? kSlash.size() : 0;
}

}  // namespace

std::string CommentSlash(std::string_view text, LineEnds ends) {
    return PrefixCountedLines(text, kSlash, ends);
}

std::size_t CommentSlashRoom(std::size_t textSize, LineEnds ends) {
    return PrefixCountedLinesRoom(textSize, kSlash.size(), ends);
}

char* CommentSlash(std::string_view text, char* out, LineEnds ends) {
    return WritePrefixCountedLines(text, kSlash, out, ends);
}

std::string CommentBrace(std::string_view text) { return Wrap("{ ", text, " }"); }

std::string CommentParen(std::string_view text) { return Wrap("(* ", text, " *)"); }

std::string_view Trim(std::string_view text) {
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && IsTrimmed(text[begin])) ++begin;
    while (end > begin && IsTrimmed(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

UncommentResult Uncomment(std::string_view text, LineEnds ends) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty()) return {};
    const TrimmedEnds edges = EndsOf(text, trimmed);
    const std::size_t breaks = BreakCount(edges.head) + BreakCount(edges.tail);

    if (trimmed.front() == '{' || trimmed.front() == '(') {
        const std::optional<std::string_view> inner = BlockCommentInner(trimmed);
        if (!inner) return {};
        const std::string_view body = Trim(*inner);
        std::string out(breaks + body.size(), '\0');
        char* p = CopyBreaks(edges.head, out.data());
        if (!body.empty()) std::memcpy(p, body.data(), body.size());
        CopyBreaks(edges.tail, p + body.size());
        return {std::move(out)};
    }
    // The line writer needs as much room as the trimmed text, whatever it
    // gives back.
    std::string out(breaks + trimmed.size(), '\0');
    char* p = CopyBreaks(edges.head, out.data());
    p = CopyBreaks(edges.tail, WriteDroppingFromCountedLines(trimmed, p, LeadingSlashes, ends));
    out.resize(static_cast<std::size_t>(p - out.data()));
    return {std::move(out)};
}

char* Uncomment(std::string_view text, char* out, LineEnds ends) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty()) return nullptr;
    const TrimmedEnds edges = EndsOf(text, trimmed);

    char* p = CopyBreaks(edges.head, out);
    if (trimmed.front() == '{' || trimmed.front() == '(') {
        const std::optional<std::string_view> inner = BlockCommentInner(trimmed);
        if (!inner) return nullptr;
        const std::string_view body = Trim(*inner);
        if (!body.empty()) std::memcpy(p, body.data(), body.size());
        p += body.size();
    } else {
        // The head's breaks are no more than the bytes trimmed before the
        // text, so the writer's wide copies still stay inside out.
        p = WriteDroppingFromCountedLines(trimmed, p, LeadingSlashes, ends);
    }
    return CopyBreaks(edges.tail, p);
}

}  // namespace snipkit
