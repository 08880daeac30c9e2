#include "format/line_list.h"

#include <cstring>
#include <stdexcept>
#include <utility>

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

std::size_t CountedLineCount(std::string_view text) {
    std::size_t count = 0;
    ForEachCountedLine(text, [&count](std::string_view, std::size_t) { ++count; });
    return count;
}

std::size_t PrefixCountedLinesRoom(std::size_t textSize, std::size_t prefixSize) {
    return textSize + prefixSize * (textSize / kCrLf.size() + 1);
}

std::string PrefixCountedLines(std::string_view text, std::string_view prefix) {
    // Counting first costs a pass over the text but reserves exactly: a text
    // of lone LFs would otherwise reserve a prefix for each.
    std::string out(text.size() + CountedLineCount(text) * prefix.size(), '\0');
    WritePrefixCountedLines(text, prefix, out.data());
    return out;
}

char* WritePrefixCountedLines(std::string_view text, std::string_view prefix, char* out) {
    ForEachCountedLine(text, [&out, prefix](std::string_view line, std::size_t breakSize) {
        std::memcpy(out, prefix.data(), prefix.size());
        out += prefix.size();
        std::memcpy(out, line.data(), line.size() + breakSize);
        out += line.size() + breakSize;
    });
    return out;
}

}  // namespace snipkit
