// The snippet file format: the marker line with the description first, then
// the text; taking the snippet back gives the text with exactly one CR LF at
// its end (none for the empty text), whether read as written or through the
// preview, which makes every lone CR and LF a CR LF.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "format/line_list.h"
#include "fuzz_check.h"
#include "stash/snippet_format.h"

namespace {

bool EndsWithCrLf(std::string_view s) { return s.size() >= 2 && s.substr(s.size() - 2) == "\r\n"; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace snipkit;
    FuzzedDataProvider in(data, size);
    // The description comes from a one-line field: no CR or LF in it.
    std::string description = in.ConsumeRandomLengthString(80);
    std::string oneLine;
    for (char c : description) {
        if (c != '\r' && c != '\n') oneLine += c;
    }
    const std::string text = in.ConsumeRemainingBytesAsString();

    const std::string content = SnippetFileContent(oneLine, text);
    const std::string marker = kSnippetMarker + oneLine + "\r\n";
    FUZZ_CHECK(content.compare(0, marker.size(), marker) == 0);

    const std::string snippet = text.empty() || EndsWithCrLf(text) ? text : text + "\r\n";
    FUZZ_CHECK(content.substr(marker.size()) == snippet);
    FUZZ_CHECK(TakeSnippet(content) == snippet);
    FUZZ_CHECK(TakeSnippet(PreviewText(content)) == NormalizeLineBreaks(snippet));

    // Whatever a preview holds, taking the snippet drops its first line only.
    const std::string_view raw(reinterpret_cast<const char*>(data), size);
    const std::size_t firstBreak = raw.find("\r\n");
    FUZZ_CHECK(TakeSnippet(raw) == (firstBreak == std::string_view::npos ? "" : raw.substr(firstBreak + 2)));
    return 0;
}
