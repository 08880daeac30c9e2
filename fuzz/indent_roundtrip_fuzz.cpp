// Indent then unindent by the same count gives the text back; each shifts
// every counted line by exactly the blanks its rule allows. The first byte
// picks the count (0 to 16, the dialog's range); the rest is the text. The
// whole input also goes through the dialog's number reading.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/indent_rules.h"
#include "format/line_list.h"
#include "fuzz_check.h"

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

    // A number the dialog reads prints back to itself.
    const std::string_view field(reinterpret_cast<const char*>(data), size);
    if (const auto n = ParseWholeNumber(field)) {
        FUZZ_CHECK(ParseWholeNumber(std::to_string(*n)) == n);
        FUZZ_CHECK(field.find_first_of("0123456789") != std::string_view::npos);
        FUZZ_CHECK(IndentColumnsFromField(field) == *n);
    } else {
        FUZZ_CHECK(IndentColumnsFromField(field) == kIndentColumnsMin);
    }
    const int clamped = ClampIndentColumns(IndentColumnsFromField(field));
    FUZZ_CHECK(clamped >= kIndentColumnsMin && clamped <= kIndentColumnsMax);
    return 0;
}
