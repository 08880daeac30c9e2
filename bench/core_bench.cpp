// `make bench-core`: the core's text rules over a generated Pascal-like text
// of 5, 10 and 20 MB, whole text per call as the toolbar runs them, with a
// linear fit over the sizes; then the same rules as snipkit-text runs them,
// in pieces. Last, a table of what one call allocates at its peak on a 10 MB
// selection, against the limit of twice the selection: room for the text
// once more and for the result.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "format/case_rules.h"
#include "format/comment_rules.h"
#include "format/indent_rules.h"
#include "pascal_text.h"
#include "text_filter.h"

// ---- heap accounting: the bytes asked for, live and at their peak -----------

namespace {
std::atomic<std::size_t> g_live{0};
std::atomic<std::size_t> g_peak{0};

// Each block carries its size in front, so that every delete, sized or not,
// takes back what its new counted.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Track(std::size_t n) {
    auto* block = static_cast<unsigned char*>(std::malloc(kHeader + n));
    if (!block) throw std::bad_alloc();
    *reinterpret_cast<std::size_t*>(block) = n;
    const std::size_t now = g_live += n;
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {
    }
    return block + kHeader;
}

void Untrack(void* p) {
    if (!p) return;
    auto* block = static_cast<unsigned char*>(p) - kHeader;
    g_live -= *reinterpret_cast<std::size_t*>(block);
    std::free(block);
}
}  // namespace

void* operator new(std::size_t n) { return Track(n); }
void* operator new[](std::size_t n) { return Track(n); }
void operator delete(void* p) noexcept { Untrack(p); }
void operator delete[](void* p) noexcept { Untrack(p); }
void operator delete(void* p, std::size_t) noexcept { Untrack(p); }
void operator delete[](void* p, std::size_t) noexcept { Untrack(p); }

namespace {

using namespace snipkit;

enum class Input { Plain, Commented, Block, LoneLineFeeds };

const std::string& Text(Input kind, std::size_t bytes) {
    static std::map<std::pair<Input, std::size_t>, std::string> texts;
    auto it = texts.find({kind, bytes});
    if (it != texts.end()) return it->second;
    std::string text;
    switch (kind) {
        case Input::Plain: text = bench::PascalLikeText(bytes); break;
        case Input::Commented:
            // Cut back to whole lines of about the same size as the others.
            text = CommentSlash(Text(Input::Plain, bytes));
            text.resize(text.rfind("\r\n", bytes) + 2);
            break;
        case Input::Block: text = CommentBrace(Text(Input::Plain, bytes).substr(0, bytes - 4)); break;
        case Input::LoneLineFeeds: text.assign(bytes, '\n'); break;
    }
    return texts.emplace(std::make_pair(kind, bytes), std::move(text)).first->second;
}

// One rule as the toolbar calls it; the result is handed back so that it
// stays alive until the heap peak is read.
struct Rule {
    const char* name;
    Input input;
    std::function<UncommentResult(const std::string&)> call;
};

UncommentResult Pasted(std::string text) { return {std::move(text)}; }

const std::vector<Rule>& Rules() {
    static const std::vector<Rule> rules = {
        {"UPPER CASE", Input::Plain, [](const std::string& t) { return Pasted(ApplyCaseRule(CaseRule::Upper, t)); }},
        {"lower case", Input::Plain, [](const std::string& t) { return Pasted(ApplyCaseRule(CaseRule::Lower, t)); }},
        {"Flip Case", Input::Plain, [](const std::string& t) { return Pasted(ApplyCaseRule(CaseRule::Flip, t)); }},
        {"Title Case", Input::Plain, [](const std::string& t) { return Pasted(ApplyCaseRule(CaseRule::Title, t)); }},
        {"comment //", Input::Plain, [](const std::string& t) { return Pasted(CommentSlash(t)); }},
        {"comment { }", Input::Plain, [](const std::string& t) { return Pasted(CommentBrace(t)); }},
        {"comment (* *)", Input::Plain, [](const std::string& t) { return Pasted(CommentParen(t)); }},
        {"Uncomment //", Input::Commented, [](const std::string& t) { return Uncomment(t); }},
        {"Uncomment { }", Input::Block, [](const std::string& t) { return Uncomment(t); }},
        {"Indent 2", Input::Plain, [](const std::string& t) { return Pasted(Indent(t, 2)); }},
        {"Indent 16", Input::Plain, [](const std::string& t) { return Pasted(Indent(t, 16)); }},
        {"Indent 16, lone LFs", Input::LoneLineFeeds, [](const std::string& t) { return Pasted(Indent(t, 16)); }},
        {"Unindent 2", Input::Plain, [](const std::string& t) { return Pasted(Unindent(t, 2)); }},
    };
    return rules;
}

// The most one call of f holds at once beyond what was live before it.
template <typename F>
std::size_t PeakOf(F f) {
    const std::size_t before = g_live.load();
    g_peak = before;
    f();
    return g_peak.load() - before;
}

void RunRule(benchmark::State& state, const Rule& rule) {
    const std::string& input = Text(rule.input, static_cast<std::size_t>(state.range(0)));
    std::size_t peak = 0;
    for (auto _ : state) {
        peak = PeakOf([&] {
            UncommentResult r = rule.call(input);
            benchmark::DoNotOptimize(r.paste);
        });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.SetComplexityN(static_cast<std::int64_t>(input.size()));
    state.counters["heap_peak_x_input"] = static_cast<double>(peak) / static_cast<double>(input.size());
}

// ---- the same rules as snipkit-text runs them: in pieces ---------------------

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

void RunFilter(benchmark::State& state, textfilter::Command command, Input kind) {
    const std::string& input = Text(kind, static_cast<std::size_t>(state.range(0)));
    std::size_t peak = 0;
    for (auto _ : state) {
        peak = PeakOf([&] {
            MemorySource in(input);
            ChecksumSink out;
            textfilter::RunFilter({command, 2}, in, out);
            benchmark::DoNotOptimize(out.sum);
        });
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
    state.counters["heap_peak_x_input"] = static_cast<double>(peak) / static_cast<double>(input.size());
}

constexpr std::int64_t kMB = 1 << 20;

void Register() {
    for (const Rule& rule : Rules()) {
        benchmark::RegisterBenchmark(rule.name, [&rule](benchmark::State& s) { RunRule(s, rule); })
            ->Arg(5 * kMB)
            ->Arg(10 * kMB)
            ->Arg(20 * kMB)
            ->Unit(benchmark::kMillisecond)
            ->Complexity(benchmark::oN);
    }
    const struct {
        const char* name;
        textfilter::Command command;
        Input input;
    } filters[] = {
        {"snipkit-text upper", textfilter::Command::Upper, Input::Plain},
        {"snipkit-text comment", textfilter::Command::Comment, Input::Plain},
        {"snipkit-text uncomment", textfilter::Command::Uncomment, Input::Commented},
        {"snipkit-text indent 2", textfilter::Command::Indent, Input::Plain},
        {"snipkit-text unindent 2", textfilter::Command::Unindent, Input::Plain},
    };
    for (const auto& f : filters) {
        const textfilter::Command command = f.command;
        const Input input = f.input;
        benchmark::RegisterBenchmark(f.name, [command, input](benchmark::State& s) { RunFilter(s, command, input); })
            ->Arg(20 * kMB)
            ->Unit(benchmark::kMillisecond);
    }
}

// The toolbar holds the selection and the result at once; a rule may ask for
// as much again as the selection on top, no more.
constexpr double kPeakLimit = 2.0;

bool PrintPeaks() {
    const std::size_t selection = 10 * kMB;
    std::printf("\nPeak allocation of one call on a 10 MiB selection (the selection itself not counted):\n\n");
    std::printf("| Rule | Selection | Result | Peak allocation | Peak / selection | Limit | Met |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---|\n");
    bool allMet = true;
    for (const Rule& rule : Rules()) {
        const std::string& input = Text(rule.input, selection);
        std::size_t result = 0;
        const std::size_t peak = PeakOf([&] {
            const UncommentResult r = rule.call(input);
            result = r.paste ? r.paste->size() : 0;
        });
        const double ratio = static_cast<double>(peak) / static_cast<double>(input.size());
        const bool met = ratio <= kPeakLimit;
        allMet = allMet && met;
        std::printf("| %s | %.2f MiB | %.2f MiB | %.2f MiB | %.3f | %.1f | %s |\n", rule.name,
                    static_cast<double>(input.size()) / kMB, static_cast<double>(result) / kMB,
                    static_cast<double>(peak) / kMB, ratio, kPeakLimit, met ? "yes" : "**no**");
    }
    std::printf("\n%s\n", allMet ? "Every rule stays within twice its selection." : "Some rules allocate MORE than "
                                                                                    "twice their selection.");
    return allMet;
}

}  // namespace

int main(int argc, char** argv) {
    Register();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return PrintPeaks() ? 0 : 1;
}
