// The line list every line-based command works on: a text cut into lines at
// CR LF, rewritten line by line and joined back without losing a byte.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace snipkit {

// Only the pair CR LF separates lines; a lone CR or LF is an ordinary
// character of its line. A text with k pairs holds k + 1 lines, but an empty
// last line is not counted, so "a\r\n" has one line and "" has none. That
// uncounted line is still kept, so joining gives the trailing CR LF back.
// Lines have no length limit.
class LineList {
public:
    LineList() = default;
    explicit LineList(std::string_view text) { Load(text); }

    // Replaces the whole content with text.
    void Load(std::string_view text);

    // Number of lines, not counting an empty last line.
    std::size_t Count() const;

    // Line i (0 <= i < Count()) without its line break; throws
    // std::out_of_range otherwise.
    const std::string& Line(std::size_t i) const;

    // Replaces the characters of line i (0 <= i < Count()); the CR LF that
    // ends it stays. Throws std::out_of_range otherwise.
    void SetLine(std::size_t i, std::string line);

    // Adds a line after the last counted one. After a text ending in CR LF
    // (or an empty text) the new line takes the empty last place and gets a
    // CR LF of its own; otherwise a CR LF goes in before it.
    void Add(std::string line);

    // Moves the last counted line to the top, followed by CR LF. The line
    // break before it stays, so a text not ending in CR LF gains one.
    void MoveLastToTop();

    // Removes the first line with its CR LF. A single line without a break
    // leaves the empty text; the empty text stays empty.
    void DeleteFirst();

    // All lines joined by CR LF, an uncounted empty last line included.
    std::string Text() const;

private:
    void CheckIndex(std::size_t i) const;

    // Every line, the uncounted empty one too; never empty (the empty text
    // is one empty line).
    std::vector<std::string> lines_{std::string()};
};

// Rewrites every counted line of text in one pass, with the result the line
// list gives for SetLine(i, f(Line(i))) on each: rewrite(out, line) appends
// the new line to out. No per-line strings, for the large texts of the
// line commands.
template <typename Rewrite>
std::string RewriteCountedLines(std::string_view text, std::size_t extraPerLine, Rewrite rewrite) {
    std::string out;
    out.reserve(text.size() + extraPerLine * (text.size() / 16 + 1));
    std::size_t start = 0;
    for (;;) {
        const std::size_t pos = text.find("\r\n", start);
        if (pos == std::string_view::npos) break;
        rewrite(out, text.substr(start, pos - start));
        out.append("\r\n");
        start = pos + 2;
    }
    // The last line counts only when it is not empty.
    if (start < text.size()) rewrite(out, text.substr(start));
    return out;
}

// Puts prefix before every counted line: the same as SetLine(i, prefix +
// Line(i)) on each, in one copying pass.
std::string PrefixCountedLines(std::string_view text, std::string_view prefix);

// Makes every line break CR LF: a CR LF stays, a lone CR and a lone LF each
// become CR LF.
std::string NormalizeLineBreaks(std::string_view text);

}  // namespace snipkit
