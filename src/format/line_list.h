// The line list every line-based command works on: a text cut into lines at
// CR LF, rewritten line by line and joined back without losing a byte.
#pragma once

#include <cstddef>
#include <cstring>
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

// Calls f(line, breakSize) for every counted line of text in order: line is
// its characters, and breakSize is 2 when a CR LF follows it, else 0 (only
// the last line). The uncounted empty last line is left out. No per-line
// strings, for the large texts of the line commands.
template <typename F>
void ForEachCountedLine(std::string_view text, F f) {
    if (text.empty()) return;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* line = begin;
    const char* next = begin;
    // Short lines make this loop the line commands' cost: one memchr per LF,
    // a lone LF being rare.
    while (const void* found = std::memchr(next, '\n', static_cast<std::size_t>(end - next))) {
        const char* lf = static_cast<const char*>(found);
        next = lf + 1;
        if (lf == begin || lf[-1] != '\r') continue;  // a lone LF is part of its line
        f(std::string_view(line, static_cast<std::size_t>(lf - 1 - line)), std::size_t{2});
        line = next;
    }
    if (line < end) f(std::string_view(line, static_cast<std::size_t>(end - line)), std::size_t{0});
}

// Number of counted lines.
std::size_t CountedLineCount(std::string_view text);

// Room for PrefixCountedLines(text, prefix) known from the sizes alone: every
// counted line but the last ends in a CR LF, two bytes of the text.
std::size_t PrefixCountedLinesRoom(std::size_t textSize, std::size_t prefixSize);

// Puts prefix before every counted line: the same as SetLine(i, prefix +
// Line(i)) on each, in one copying pass. The result holds no more memory
// than its size needs.
std::string PrefixCountedLines(std::string_view text, std::string_view prefix);

// The same written to out, which has room for PrefixCountedLinesRoom bytes;
// returns the end of what was written. For a caller that reuses one buffer.
char* WritePrefixCountedLines(std::string_view text, std::string_view prefix, char* out);

// Every counted line with its CR LF, less the first drop(line) bytes of the
// line (drop returns at most line.size()): the same as SetLine(i,
// Line(i).substr(drop(Line(i)))) on each. Writes at most text.size() bytes to
// out and returns the end of what was written.
template <typename Drop>
char* WriteDroppingFromCountedLines(std::string_view text, char* out, Drop drop) {
    ForEachCountedLine(text, [&out, &drop](std::string_view line, std::size_t breakSize) {
        const std::size_t skip = drop(line);
        const std::size_t n = line.size() - skip + breakSize;
        std::memcpy(out, line.data() + skip, n);
        out += n;
    });
    return out;
}

// The same as a string; it never holds more than text.size() bytes.
template <typename Drop>
std::string DropFromCountedLines(std::string_view text, Drop drop) {
    std::string out(text.size(), '\0');
    out.resize(static_cast<std::size_t>(WriteDroppingFromCountedLines(text, out.data(), drop) - out.data()));
    return out;
}

// Makes every line break CR LF: a CR LF stays, a lone CR and a lone LF each
// become CR LF.
std::string NormalizeLineBreaks(std::string_view text);

}  // namespace snipkit
