#include "format/indent_rules.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "format/line_list.h"

namespace snipkit {

namespace {

std::size_t Columns(int columns) { return columns > 0 ? static_cast<std::size_t>(columns) : 0; }

// Unindent takes off up to `limit` leading blanks of each line.
struct LeadingBlanks {
    std::size_t limit;
    std::size_t operator()(std::string_view line) const {
        std::size_t blanks = 0;
        while (blanks < limit && blanks < line.size() && line[blanks] == ' ') ++blanks;
        return blanks;
    }
};

}  // namespace

std::string Indent(std::string_view text, int columns, LineEnds ends) {
    if (columns <= 0) return std::string(text);
    const std::string pad(static_cast<std::size_t>(columns), ' ');
    return PrefixCountedLines(text, pad, ends);
}

std::string Unindent(std::string_view text, int columns, LineEnds ends) {
    return DropFromCountedLines(text, LeadingBlanks{Columns(columns)}, ends);
}

std::size_t IndentRoom(std::size_t textSize, int columns, LineEnds ends) {
    return PrefixCountedLinesRoom(textSize, Columns(columns), ends);
}

char* Indent(std::string_view text, int columns, char* out, LineEnds ends) {
    if (columns <= 0) {
        if (!text.empty()) std::memcpy(out, text.data(), text.size());
        return out + text.size();
    }
    const std::string pad(static_cast<std::size_t>(columns), ' ');
    return WritePrefixCountedLines(text, pad, out, ends);
}

char* Unindent(std::string_view text, int columns, char* out, LineEnds ends) {
    return WriteDroppingFromCountedLines(text, out, LeadingBlanks{Columns(columns)}, ends);
}

std::optional<int> ParseWholeNumber(std::string_view field) {
    std::size_t pos = field.find_first_not_of(' ');
    const std::size_t end = field.find_last_not_of(' ') + 1;
    if (pos == std::string_view::npos) return std::nullopt;

    bool negative = false;
    if (field[pos] == '+' || field[pos] == '-') negative = field[pos++] == '-';
    if (pos == end) return std::nullopt;

    // Accumulate as a negative value so that the int minimum fits too.
    long long value = 0;
    for (; pos < end; ++pos) {
        const char c = field[pos];
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 - (c - '0');
        if (value < std::numeric_limits<int>::min()) return std::nullopt;
    }
    if (!negative) {
        if (-value > std::numeric_limits<int>::max()) return std::nullopt;
        value = -value;
    }
    return static_cast<int>(value);
}

int IndentColumnsFromField(std::string_view field) {
    return ParseWholeNumber(field).value_or(kIndentColumnsMin);
}

int IfIndentFromField(std::string_view field) {
    return ParseWholeNumber(field).value_or(kIfIndentMin);
}

int ClampIndentColumns(int columns) {
    return std::clamp(columns, kIndentColumnsMin, kIndentColumnsMax);
}

}  // namespace snipkit
