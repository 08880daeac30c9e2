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
    if (trimmed.empty()) return {std::nullopt, std::string()};

    if (trimmed.front() == '{' || trimmed.front() == '(') {
        const std::optional<std::string_view> inner = BlockCommentInner(trimmed);
        if (!inner) return {std::nullopt, std::string(trimmed)};
        return {std::string(Trim(*inner)), std::string(*inner)};
    }
    return {DropFromCountedLines(trimmed, LeadingSlashes, ends), std::string()};
}

char* Uncomment(std::string_view text, char* out, LineEnds ends) {
    const std::string_view trimmed = Trim(text);
    if (trimmed.empty()) return nullptr;

    if (trimmed.front() == '{' || trimmed.front() == '(') {
        const std::optional<std::string_view> inner = BlockCommentInner(trimmed);
        if (!inner) return nullptr;
        const std::string_view paste = Trim(*inner);
        if (!paste.empty()) std::memcpy(out, paste.data(), paste.size());
        return out + paste.size();
    }
    return WriteDroppingFromCountedLines(trimmed, out, LeadingSlashes, ends);
}

}  // namespace snipkit
