// snipkit-text streams its input in pieces; whatever the block and piece
// sizes, the output must be what the rule gives for the whole text (the
// input itself where the toolbar would paste nothing).
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "text_filter.h"
#include "whole_text.h"

namespace {

using namespace snipkit;
using namespace snipkit::textfilter;

class PieceSource : public ByteSource {
public:
    PieceSource(const std::string& text, std::uint32_t seed) : text_(text), state_(seed | 1) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t left = text_.size() - pos_;
        if (left == 0 || size == 0) return 0;
        state_ = state_ * 1664525u + 1013904223u;
        const std::size_t n = 1 + (state_ >> 8) % std::min(size, left);
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
    std::uint32_t state_;
};

class StringSink : public ByteSink {
public:
    void Write(std::string_view bytes) override { text.append(bytes); }
    std::string text;
};

}  // namespace

FUZZ_MAX_LEN(20000)

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);
    Invocation inv;
    inv.command = static_cast<Command>(in.ConsumeIntegralInRange<int>(0, static_cast<int>(Command::Unindent)));
    inv.columns = in.ConsumeIntegralInRange<int>(kIndentColumnsMin, kIndentColumnsMax);
    // Blocks past 64 bytes make pieces long enough for the line rules' block
    // scan, not only for their byte-by-byte tail.
    const std::size_t block = in.ConsumeIntegralInRange<std::size_t>(1, 300);
    const std::uint32_t seed = in.ConsumeIntegral<std::uint32_t>();
    const std::string text = in.ConsumeRemainingBytesAsString();

    PieceSource source(text, seed);
    StringSink sink;
    RunFilter(inv, source, sink, block);
    FUZZ_CHECK(sink.text == WholeText(inv, text));
    return 0;
}
