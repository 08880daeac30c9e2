// The line list every line-based command works on: a text cut into lines at
// CR LF, rewritten line by line and joined back without losing a byte.
#pragma once

#include <cstddef>
#include <cstdint>
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

// The offsets in window of its LFs, in order, written to offsets (room for
// size + 4 entries, the last few as scratch); returns how many. size is a
// multiple of kLineFeedBlock and at most kLineFeedWindow.
inline constexpr std::size_t kLineFeedBlock = 64;
inline constexpr std::size_t kLineFeedWindow = 4096;
std::size_t FindLineFeeds(const char* window, std::size_t size, std::uint16_t* offsets);

// Which line breaks end a line in the functions below. The toolbar's editor
// works in CR LF, and its line list behaves as the edit control does: only
// CR LF. snipkit-text is also fed by editors that write a lone LF, so there
// a lone LF ends a line too, and each line keeps the break it came with.
enum class LineEnds { CrLf, CrLfOrLf };

// Goes through the counted lines of text in order, each time with state =
// f(state, line, breakSize), and returns the last state: line is the line's
// characters, and breakSize is the size of the break that follows it: 2 for
// CR LF, 1 for a lone LF (LineEnds::CrLfOrLf only), 0 after the last line.
// The uncounted empty last line is left out. The state goes in and out by
// value so that it can stay in a register: a writer passes its output
// pointer.
template <LineEnds kEnds = LineEnds::CrLf, typename State, typename F>
State FoldCountedLines(std::string_view text, State state, F f) {
    if (text.empty()) return state;
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    const char* line = begin;
    const auto atLineFeed = [&](const char* lf) {
        const bool afterCr = lf != begin && lf[-1] == '\r';
        if constexpr (kEnds == LineEnds::CrLf) {
            if (!afterCr) return;  // a lone LF is part of its line
        }
        const std::size_t breakSize = afterCr ? 2 : 1;
        state = f(state, std::string_view(line, static_cast<std::size_t>(lf + 1 - breakSize - line)), breakSize);
        line = lf + 1;
    };
    // Code has short lines, so the cost is per line. The LFs of a few KB are
    // found first, then the lines are handled: two loops whose branches the
    // processor predicts, where a memchr per line cost half as much again.
    std::uint16_t offsets[kLineFeedWindow + 4];
    const char* window = begin;
    for (std::size_t left = text.size(); left >= kLineFeedBlock; left = static_cast<std::size_t>(end - window)) {
        const std::size_t size = left < kLineFeedWindow ? left - left % kLineFeedBlock : kLineFeedWindow;
        const std::size_t count = FindLineFeeds(window, size, offsets);
        for (std::size_t i = 0; i < count; ++i) atLineFeed(window + offsets[i]);
        window += size;
    }
    for (const char* p = window; p < end; ++p) {
        if (*p == '\n') atLineFeed(p);
    }
    if (line < end) state = f(state, std::string_view(line, static_cast<std::size_t>(end - line)), std::size_t{0});
    return state;
}

// Copies the n bytes at from to out, where `readable` bytes can be read at
// from and as many written at out. A line of up to 64 bytes goes as one copy
// of fixed size, a few vector moves with no length tests; the bytes past n
// are written over by what comes next.
inline char* CopyLine(char* out, const char* from, std::size_t n, std::size_t readable) {
    if (n <= 64 && readable >= 64) {
        std::memcpy(out, from, 64);
    } else if (n > 0) {
        std::memcpy(out, from, n);
    }
    return out + n;
}

// Number of counted lines.
std::size_t CountedLineCount(std::string_view text, LineEnds ends = LineEnds::CrLf);

// Room for PrefixCountedLines(text, prefix) known from the sizes alone: every
// counted line but the last ends in a CR LF, two bytes of the text (or an
// LF, one byte).
std::size_t PrefixCountedLinesRoom(std::size_t textSize, std::size_t prefixSize, LineEnds ends = LineEnds::CrLf);

// Puts prefix before every counted line: the same as SetLine(i, prefix +
// Line(i)) on each, in one copying pass. The result holds no more memory
// than its size needs.
std::string PrefixCountedLines(std::string_view text, std::string_view prefix, LineEnds ends = LineEnds::CrLf);

// The same written to out, which has room for PrefixCountedLinesRoom bytes;
// returns the end of what was written. For a caller that reuses one buffer.
char* WritePrefixCountedLines(std::string_view text, std::string_view prefix, char* out,
                              LineEnds ends = LineEnds::CrLf);

// Every counted line with its CR LF, less the first drop(line) bytes of the
// line (drop returns at most line.size()): the same as SetLine(i,
// Line(i).substr(drop(Line(i)))) on each. Writes at most text.size() bytes to
// out and returns the end of what was written.
template <typename Drop>
char* WriteDroppingFromCountedLines(std::string_view text, char* out, Drop drop, LineEnds ends = LineEnds::CrLf) {
    // What is written never gets ahead of what is read, so CopyLine may
    // write as far past out as it may read past the line.
    const char* const end = text.data() + text.size();
    const auto write = [drop, end](char* to, std::string_view line, std::size_t breakSize) {
        const char* from = line.data() + drop(line);
        return CopyLine(to, from, static_cast<std::size_t>(line.data() + line.size() + breakSize - from),
                        static_cast<std::size_t>(end - from));
    };
    return ends == LineEnds::CrLf ? FoldCountedLines<LineEnds::CrLf>(text, out, write)
                                  : FoldCountedLines<LineEnds::CrLfOrLf>(text, out, write);
}

// The same as a string; it never holds more than text.size() bytes.
template <typename Drop>
std::string DropFromCountedLines(std::string_view text, Drop drop, LineEnds ends = LineEnds::CrLf) {
    std::string out(text.size(), '\0');
    out.resize(static_cast<std::size_t>(WriteDroppingFromCountedLines(text, out.data(), drop, ends) - out.data()));
    return out;
}

// Makes every line break CR LF: a CR LF stays, a lone CR and a lone LF each
// become CR LF.
std::string NormalizeLineBreaks(std::string_view text);

}  // namespace snipkit
