// Commenting out and uncommenting again.
//
// Comment with // and then Uncomment gives the lines back, joined by CR LF,
// except the bytes up to 0x20 at the end of the last line that are no CR or
// LF: the trim takes them, and only the line breaks go back. Nothing at the
// start is lost, because the first line now starts with "//". An empty text
// has no lines to comment and nothing is pasted.
//
// Braces or parenthesis-asterisk followed by Uncomment always match and give
// the trimmed text back.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/comment_rules.h"
#include "format/line_list.h"
#include "fuzz_check.h"

namespace {

bool IsTrimmed(char c) { return static_cast<unsigned char>(c) <= 0x20; }

// The text without the bytes up to 0x20 at either end.
std::string TrimmedCopy(std::string_view text) {
    std::size_t first = 0;
    while (first < text.size() && IsTrimmed(text[first])) ++first;
    std::size_t last = text.size();
    while (last > first && IsTrimmed(text[last - 1])) --last;
    return std::string(text.substr(first, last - first));
}

std::string SlashRoundTrip(std::string_view text) {
    std::string s(text);
    const bool finalBreak = s.size() >= 2 && s.compare(s.size() - 2, 2, "\r\n") == 0;
    if (finalBreak) s.resize(s.size() - 2);
    const std::size_t lastBreak = s.rfind("\r\n");
    const std::size_t lastLine = lastBreak == std::string::npos ? 0 : lastBreak + 2;
    std::size_t end = s.size();
    while (end > lastLine && IsTrimmed(s[end - 1])) --end;
    std::string breaks;
    for (std::size_t i = end; i < s.size(); ++i) {
        if (s[i] == '\r' || s[i] == '\n') breaks += s[i];
    }
    s.resize(end);
    return s + breaks + (finalBreak ? "\r\n" : "");
}

}  // namespace

FUZZ_MAX_LEN(20000)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    // Every counted line gains "//" and nothing else changes.
    const std::string commented = CommentSlash(text);
    const LineList before(text);
    const LineList after(commented);
    FUZZ_CHECK(after.Count() == before.Count());
    for (std::size_t i = 0; i < before.Count(); ++i) FUZZ_CHECK(after.Line(i) == "//" + before.Line(i));
    FUZZ_CHECK(commented.size() == text.size() + 2 * before.Count());

    const UncommentResult slash = Uncomment(commented);
    if (text.empty()) {
        FUZZ_CHECK(!slash.paste);
    } else {
        FUZZ_CHECK(slash.paste && *slash.paste == SlashRoundTrip(text));
    }

    const std::string_view trimmed = Trim(text);
    const UncommentResult brace = Uncomment(CommentBrace(text));
    FUZZ_CHECK(brace.paste && *brace.paste == trimmed);
    const UncommentResult paren = Uncomment(CommentParen(text));
    FUZZ_CHECK(paren.paste && *paren.paste == trimmed);

    // Any text at all: the trim takes exactly the bytes up to 0x20 off the
    // ends, and uncommenting never makes a text longer.
    FUZZ_CHECK(trimmed == TrimmedCopy(text));
    const UncommentResult any = Uncomment(text);
    if (trimmed.empty()) FUZZ_CHECK(!any.paste);
    if (any.paste) FUZZ_CHECK(any.paste->size() <= text.size());
    return 0;
}
