#include "format/line_list.h"

#include <cstring>
#include <stdexcept>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace snipkit {
namespace {

constexpr std::string_view kCrLf = "\r\n";

}  // namespace

void LineList::Load(std::string_view text) {
    lines_.clear();
    std::size_t start = 0;
    for (std::size_t pos = text.find(kCrLf); pos != std::string_view::npos;
         pos = text.find(kCrLf, start)) {
        lines_.emplace_back(text.substr(start, pos - start));
        start = pos + kCrLf.size();
    }
    lines_.emplace_back(text.substr(start));
}

std::size_t LineList::Count() const {
    return lines_.back().empty() ? lines_.size() - 1 : lines_.size();
}

void LineList::CheckIndex(std::size_t i) const {
    if (i >= Count()) throw std::out_of_range("LineList: line index out of range");
}

const std::string& LineList::Line(std::size_t i) const {
    CheckIndex(i);
    return lines_[i];
}

void LineList::SetLine(std::size_t i, std::string line) {
    CheckIndex(i);
    lines_[i] = std::move(line);
}

void LineList::Add(std::string line) {
    if (lines_.back().empty()) {
        lines_.back() = std::move(line);
        lines_.emplace_back();
    } else {
        lines_.push_back(std::move(line));
    }
}

void LineList::MoveLastToTop() {
    const std::size_t count = Count();
    if (count == 0) return;
    const std::size_t last = count - 1;
    std::string moved = std::move(lines_[last]);
    lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(last));
    // The moved line had no break of its own, but the one before it stays.
    if (last == lines_.size()) lines_.emplace_back();
    lines_.insert(lines_.begin(), std::move(moved));
}

void LineList::DeleteFirst() {
    if (lines_.size() == 1) {
        lines_.front().clear();
    } else {
        lines_.erase(lines_.begin());
    }
}

std::string LineList::Text() const {
    std::size_t size = (lines_.size() - 1) * kCrLf.size();
    for (const std::string& line : lines_) size += line.size();
    std::string out;
    out.reserve(size);
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (i > 0) out += kCrLf;
        out += lines_[i];
    }
    return out;
}

std::string NormalizeLineBreaks(std::string_view text) {
    std::string out;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\r') {
            out += kCrLf;
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else if (c == '\n') {
            out += kCrLf;
        } else {
            out += c;
        }
    }
    return out;
}

std::size_t CountedLineCount(std::string_view text, LineEnds ends) {
    const auto count = [](std::size_t counted, std::string_view, std::size_t) { return counted + 1; };
    return ends == LineEnds::CrLf ? FoldCountedLines<LineEnds::CrLf>(text, std::size_t{0}, count)
                                  : FoldCountedLines<LineEnds::CrLfOrLf>(text, std::size_t{0}, count);
}

std::size_t PrefixCountedLinesRoom(std::size_t textSize, std::size_t prefixSize, LineEnds ends) {
    const std::size_t breakSize = ends == LineEnds::CrLf ? kCrLf.size() : 1;
    return textSize + prefixSize * (textSize / breakSize + 1);
}

std::string PrefixCountedLines(std::string_view text, std::string_view prefix, LineEnds ends) {
    // Counting first costs a pass over the text but reserves exactly: a text
    // of lone LFs would otherwise reserve a prefix for each.
    std::string out(text.size() + CountedLineCount(text, ends) * prefix.size(), '\0');
    WritePrefixCountedLines(text, prefix, out.data(), ends);
    return out;
}

char* WritePrefixCountedLines(std::string_view text, std::string_view prefix, char* out, LineEnds ends) {
    // What is left to write is never shorter than what is left to read, so
    // CopyLine may write as far past out as it may read past the line.
    // A short prefix goes as one fixed 16-byte copy as well.
    const char* const end = text.data() + text.size();
    struct Padded {
        char bytes[16];
    } padded{};
    const bool shortPrefix = prefix.size() <= sizeof padded.bytes;
    if (shortPrefix && !prefix.empty()) std::memcpy(padded.bytes, prefix.data(), prefix.size());
    const auto write = [=](char* to, std::string_view line, std::size_t breakSize) {
        const std::size_t readable = static_cast<std::size_t>(end - line.data());
        if (shortPrefix && readable >= 64) {
            std::memcpy(to, padded.bytes, sizeof padded.bytes);
        } else if (!prefix.empty()) {
            std::memcpy(to, prefix.data(), prefix.size());
        }
        return CopyLine(to + prefix.size(), line.data(), line.size() + breakSize, readable);
    };
    return ends == LineEnds::CrLf ? FoldCountedLines<LineEnds::CrLf>(text, out, write)
                                  : FoldCountedLines<LineEnds::CrLfOrLf>(text, out, write);
}

namespace {

// Bit i is set where block[i] is an LF.
std::uint64_t LineFeedBits(const char* block) {
#if defined(__SSE2__)
    // Sixteen bytes compared at once; the fallback below gives the same bits.
    const __m128i lf = _mm_set1_epi8('\n');
    std::uint64_t bits = 0;
    for (int i = 0; i < 4; ++i) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(block + 16 * i));
        bits |= static_cast<std::uint64_t>(static_cast<std::uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, lf))))
                << (16 * i);
    }
    return bits;
#else
    std::uint64_t bits = 0;
    for (std::size_t i = 0; i < kLineFeedBlock; ++i) bits |= static_cast<std::uint64_t>(block[i] == '\n') << i;
    return bits;
#endif
}

}  // namespace

std::size_t FindLineFeeds(const char* window, std::size_t size, std::uint16_t* offsets) {
    // A block of code holds one or two LFs, seldom more than four. The first
    // four offsets are written whether there or not, and the count goes up
    // only for real ones: a loop that ran as often as there are LFs would
    // cost a mispredicted branch in most blocks.
    const auto lowest = [](std::uint64_t bits) {
        return static_cast<std::size_t>(__builtin_ctzll(bits | std::uint64_t{1} << 63));
    };
    std::size_t count = 0;
    for (std::size_t block = 0; block < size; block += kLineFeedBlock) {
        std::uint64_t bits = LineFeedBits(window + block);
        for (int i = 0; i < 4; ++i) {
            offsets[count] = static_cast<std::uint16_t>(block + lowest(bits));
            count += bits != 0;
            bits &= bits - 1;
        }
        for (; bits != 0; bits &= bits - 1) offsets[count++] = static_cast<std::uint16_t>(block + lowest(bits));
    }
    return count;
}

}  // namespace snipkit
