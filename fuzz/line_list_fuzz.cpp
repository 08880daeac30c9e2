// The line list: cutting at CR LF and joining again loses no byte, the count
// follows the CR LF pairs, and rewriting one line touches nothing else.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/line_list.h"
#include "fuzz_check.h"

namespace {

constexpr std::string_view kCrLf = "\r\n";

bool EndsWithCrLf(std::string_view s) { return s.size() >= 2 && s.substr(s.size() - 2) == kCrLf; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    snipkit::LineList lines(text);

    FUZZ_CHECK(lines.Text() == text);

    std::size_t pairs = 0;
    for (std::size_t p = text.find(kCrLf); p != std::string_view::npos; p = text.find(kCrLf, p + 2)) ++pairs;
    const bool emptyLast = text.empty() || EndsWithCrLf(text);
    FUZZ_CHECK(lines.Count() == pairs + 1 - (emptyLast ? 1 : 0));

    // The counted lines hold no CR LF, and joined they are the text (the
    // uncounted empty last line only adds its break).
    std::string joined;
    for (std::size_t i = 0; i < lines.Count(); ++i) {
        FUZZ_CHECK(lines.Line(i).find(kCrLf) == std::string::npos);
        if (i > 0) joined += kCrLf;
        joined += lines.Line(i);
    }
    if (!text.empty() && emptyLast) joined += kCrLf;
    FUZZ_CHECK(joined == text);

    // Writing one line puts the new bytes exactly where that line starts.
    if (lines.Count() > 0) {
        const std::size_t target = size % lines.Count();
        std::size_t offset = 0;
        for (std::size_t i = 0; i < target; ++i) offset += lines.Line(i).size() + kCrLf.size();
        snipkit::LineList edited = lines;
        edited.SetLine(target, "<>" + lines.Line(target));
        std::string expected(text);
        expected.insert(offset, "<>");
        FUZZ_CHECK(edited.Text() == expected);
    }

    // Dropping the first line leaves what follows its CR LF.
    {
        snipkit::LineList rest = lines;
        rest.DeleteFirst();
        const std::size_t p = text.find(kCrLf);
        FUZZ_CHECK(rest.Text() == (p == std::string_view::npos ? std::string_view() : text.substr(p + 2)));
    }

    // Normalizing leaves only CR LF pairs, is idempotent and keeps a text
    // that had no lone CR or LF.
    const std::string normal = snipkit::NormalizeLineBreaks(text);
    bool lone = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n')) lone = true;
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) lone = true;
    }
    for (std::size_t i = 0; i < normal.size(); ++i) {
        if (normal[i] == '\r') FUZZ_CHECK(i + 1 < normal.size() && normal[i + 1] == '\n');
        if (normal[i] == '\n') FUZZ_CHECK(i > 0 && normal[i - 1] == '\r');
    }
    FUZZ_CHECK(snipkit::NormalizeLineBreaks(normal) == normal);
    if (!lone) FUZZ_CHECK(normal == text);
    return 0;
}
