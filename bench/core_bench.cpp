// The core's text rules over a generated Pascal-like text of 5, 10 and 20 MB,
// whole text per call as the toolbar runs them, with a linear fit over the
// sizes. The heap counters show what one call holds at its peak, as a
// multiple of the input size. Run with `make bench-core`.
#include <benchmark/benchmark.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <map>
#include <new>
#include <string>

#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "format/indent_rules.h"
#include "pascal_text.h"
#include "text_filter.h"

// ---- heap accounting: live bytes and their peak ----------------------------

namespace {
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

void* Track(void* p) {
    if (!p) throw std::bad_alloc();
    const std::size_t now = g_live += malloc_usable_size(p);
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}
void Untrack(void* p) {
    if (p) g_live -= malloc_usable_size(p);
    std::free(p);
}
}  // namespace

void* operator new(std::size_t n) { return Track(std::malloc(n ? n : 1)); }
void* operator new[](std::size_t n) { return Track(std::malloc(n ? n : 1)); }
void operator delete(void* p) noexcept { Untrack(p); }
void operator delete[](void* p) noexcept { Untrack(p); }
void operator delete(void* p, std::size_t) noexcept { Untrack(p); }
void operator delete[](void* p, std::size_t) noexcept { Untrack(p); }

namespace {

using namespace snipkit;

const std::string& Text(std::size_t bytes) {
    static std::map<std::size_t, std::string> texts;
    auto it = texts.find(bytes);
    if (it == texts.end()) it = texts.emplace(bytes, bench::PascalLikeText(bytes)).first;
    return it->second;
}

const std::string& Commented(std::size_t bytes) {
    static std::map<std::size_t, std::string> texts;
    auto it = texts.find(bytes);
    if (it == texts.end()) it = texts.emplace(bytes, CommentSlash(Text(bytes))).first;
    return it->second;
}

// Times rule(input) and reports throughput and the heap peak of one call
// above what was live before it.
template <typename Rule>
void Run(benchmark::State& state, const std::string& input, Rule rule) {
    double peakRatio = 0;
    for (auto _ : state) {
        const std::size_t before = g_live.load();
        g_peak = before;
        std::string out = rule(input);
        benchmark::DoNotOptimize(out.data());
        peakRatio = static_cast<double>(g_peak.load() - before) / static_cast<double>(input.size());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.SetComplexityN(static_cast<std::int64_t>(input.size()));
    state.counters["heap_peak_x_input"] = peakRatio;
}

void BM_Upper(benchmark::State& state) {
    Run(state, Text(state.range(0)), [](const std::string& t) { return ApplyCaseRule(CaseRule::Upper, t); });
}
void BM_CommentSlash(benchmark::State& state) {
    Run(state, Text(state.range(0)), [](const std::string& t) { return CommentSlash(t); });
}
void BM_Uncomment(benchmark::State& state) {
    Run(state, Commented(state.range(0)), [](const std::string& t) { return *Uncomment(t).paste; });
}
void BM_Indent2(benchmark::State& state) {
    Run(state, Text(state.range(0)), [](const std::string& t) { return Indent(t, 2); });
}
void BM_Unindent2(benchmark::State& state) {
    Run(state, Text(state.range(0)), [](const std::string& t) { return Unindent(t, 2); });
}

// The same rules as snipkit-text runs them: in pieces of a quarter megabyte.
class MemorySource : public textfilter::ByteSource {
public:
    explicit MemorySource(const std::string& text) : text_(text) {}
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t n = std::min(size, text_.size() - pos_);
        std::copy_n(text_.data() + pos_, n, buffer);
        pos_ += n;
        return n;
    }

private:
    const std::string& text_;
    std::size_t pos_ = 0;
};

// Keeps nothing but a checksum, so that the heap counter shows what the
// filter itself holds (the real one writes each piece out at once).
class ChecksumSink : public textfilter::ByteSink {
public:
    void Write(std::string_view bytes) override {
        for (std::size_t i = 0; i < bytes.size(); i += 64) sum = sum * 31 + static_cast<unsigned char>(bytes[i]);
        size += bytes.size();
    }
    std::size_t sum = 0;
    std::size_t size = 0;
};

void Filter(benchmark::State& state, textfilter::Command command, const std::string& input) {
    Run(state, input, [command](const std::string& t) {
        MemorySource in(t);
        ChecksumSink out;
        textfilter::RunFilter({command, 2}, in, out);
        return std::to_string(out.sum) + "/" + std::to_string(out.size);
    });
}

void BM_Filter_Upper(benchmark::State& s) { Filter(s, textfilter::Command::Upper, Text(s.range(0))); }
void BM_Filter_Comment(benchmark::State& s) { Filter(s, textfilter::Command::Comment, Text(s.range(0))); }
void BM_Filter_Uncomment(benchmark::State& s) { Filter(s, textfilter::Command::Uncomment, Commented(s.range(0))); }
void BM_Filter_Indent2(benchmark::State& s) { Filter(s, textfilter::Command::Indent, Text(s.range(0))); }
void BM_Filter_Unindent2(benchmark::State& s) { Filter(s, textfilter::Command::Unindent, Text(s.range(0))); }

constexpr std::int64_t kMB = 1 << 20;

#define SIZES(b) b->Arg(5 * kMB)->Arg(10 * kMB)->Arg(20 * kMB)->Unit(benchmark::kMillisecond)->Complexity(benchmark::oN)

SIZES(BENCHMARK(BM_Upper));
SIZES(BENCHMARK(BM_CommentSlash));
SIZES(BENCHMARK(BM_Uncomment));
SIZES(BENCHMARK(BM_Indent2));
SIZES(BENCHMARK(BM_Unindent2));
BENCHMARK(BM_Filter_Upper)->Arg(20 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_Comment)->Arg(20 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_Uncomment)->Arg(20 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_Indent2)->Arg(20 * kMB)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Filter_Unindent2)->Arg(20 * kMB)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
