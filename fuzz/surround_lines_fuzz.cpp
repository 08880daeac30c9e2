// SurroundLines: the opening line, every counted line two blanks further
// right, the closing line, and always a final CR LF. The opening and closing
// lines take the leading blanks of the first line as their margin.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/line_list.h"
#include "fuzz_check.h"
#include "templates/template_text.h"

namespace {

// Opening and closing lines come from one-line dialog fields: no CR LF.
std::string OneLine(std::string s) {
    for (std::size_t p = s.find("\r\n"); p != std::string::npos; p = s.find("\r\n")) s.erase(p, 2);
    return s;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    const std::string opening = OneLine(in.ConsumeRandomLengthString(64));
    const std::string closing = OneLine(in.ConsumeRandomLengthString(64));
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string out = snipkit::SurroundLines(text, opening, closing);
    const snipkit::LineList lines(text);
    const snipkit::LineList wrapped(out);

    FUZZ_CHECK(out.size() >= 2 && out.compare(out.size() - 2, 2, "\r\n") == 0);
    FUZZ_CHECK(wrapped.Count() == lines.Count() + 2);

    std::size_t blanks = 0;
    if (lines.Count() > 0) {
        const std::string& first = lines.Line(0);
        while (blanks < first.size() && first[blanks] == ' ') ++blanks;
    }
    const std::string margin(blanks, ' ');
    FUZZ_CHECK(wrapped.Line(0) == margin + opening);
    for (std::size_t i = 0; i < lines.Count(); ++i) FUZZ_CHECK(wrapped.Line(i + 1) == "  " + lines.Line(i));
    FUZZ_CHECK(wrapped.Line(lines.Count() + 1) == margin + closing);
    return 0;
}
