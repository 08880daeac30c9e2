// Indent then unindent by the same count gives the text back; each shifts
// every counted line by exactly the blanks its rule allows. The first byte
// picks the count (0 to 16, the dialog's range); the rest is the text. The
// whole input also goes through the dialog's number reading, against strtoll.
#include <cerrno>
#include <climits>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "format/indent_rules.h"
#include "format/line_list.h"
#include "fuzz_check.h"

namespace {

// The number a field holds by the C library: blanks around an optional sign
// and at least one digit, nothing else, and within the int range.
std::optional<int> NumberByStrtoll(std::string_view field) {
    const std::size_t first = field.find_first_not_of(' ');
    if (first == std::string_view::npos) return std::nullopt;
    const std::string number(field.substr(first, field.find_last_not_of(' ') + 1 - first));
    const std::size_t digits = number[0] == '+' || number[0] == '-' ? 1 : 0;
    if (number.size() == digits || number.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }
    errno = 0;
    const long long value = std::strtoll(number.c_str(), nullptr, 10);
    if (errno == ERANGE || value < INT_MIN || value > INT_MAX) return std::nullopt;
    return static_cast<int>(value);
}

}  // namespace

FUZZ_MAX_LEN(20000)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    if (size == 0) return 0;
    const int columns = data[0] % (kIndentColumnsMax + 1);
    const std::string_view text(reinterpret_cast<const char*>(data) + 1, size - 1);

    const std::string indented = Indent(text, columns);
    FUZZ_CHECK(Unindent(indented, columns) == text);

    // Built line by line on the line list: every counted line gains the pad,
    // or loses its leading blanks up to the count.
    const LineList lines(text);
    const std::string pad(static_cast<std::size_t>(columns), ' ');
    LineList shifted(text);
    LineList unshifted(text);
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        const std::string& line = lines.Line(i);
        std::size_t blanks = 0;
        while (blanks < pad.size() && blanks < line.size() && line[blanks] == ' ') ++blanks;
        shifted.SetLine(i, pad + line);
        unshifted.SetLine(i, line.substr(blanks));
    }
    FUZZ_CHECK(indented == shifted.Text());
    FUZZ_CHECK(Unindent(text, columns) == unshifted.Text());

    // No count or a negative one changes nothing.
    FUZZ_CHECK(Indent(text, -columns) == text);
    FUZZ_CHECK(Unindent(text, -columns) == text);
    FUZZ_CHECK(Unindent(text, 0) == text);

    // The dialog reads a number as the C library does.
    const std::string_view field(reinterpret_cast<const char*>(data), size);
    FUZZ_CHECK(ParseWholeNumber(field) == NumberByStrtoll(field));
    if (const auto n = ParseWholeNumber(field)) {
        FUZZ_CHECK(IndentColumnsFromField(field) == *n);
    } else {
        FUZZ_CHECK(IndentColumnsFromField(field) == kIndentColumnsMin);
    }
    const int clamped = ClampIndentColumns(IndentColumnsFromField(field));
    FUZZ_CHECK(clamped >= kIndentColumnsMin && clamped <= kIndentColumnsMax);
    return 0;
}
