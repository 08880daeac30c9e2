// snipkit-text COMMAND [N] < input > output: see UsageText().
#include <cstdio>
#include <exception>
#include <stdexcept>
#include <string_view>
#include <vector>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "text_filter.h"

namespace {

using snipkit::textfilter::Arguments;

class StdinSource : public snipkit::textfilter::ByteSource {
public:
    std::size_t Read(char* buffer, std::size_t size) override {
        const std::size_t got = std::fread(buffer, 1, size, stdin);
        if (got == 0 && std::ferror(stdin)) throw std::runtime_error("cannot read standard input");
        return got;
    }
};

// Each piece's result is one write: stdout is unbuffered (see main), so no
// copy goes through stdio's buffer and no piece is split in two. The filter
// calls this from its writer thread, one piece at a time.
class StdoutSink : public snipkit::textfilter::ByteSink {
public:
    void Write(std::string_view bytes) override {
        if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) {
            throw std::runtime_error("cannot write standard output");
        }
    }
};

}  // namespace

int main(int argc, char** argv) {
#ifdef _WIN32
    // Text mode would turn CR LF into LF and stop at Ctrl-Z; the rules need
    // every byte as it is.
    _setmode(_fileno(stdin), _O_BINARY);
    _setmode(_fileno(stdout), _O_BINARY);
#endif
    // The filter reads and writes whole blocks of its own; stdio's buffers
    // would only add a copy of every byte.
    std::setvbuf(stdin, nullptr, _IONBF, 0);
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const Arguments parsed = snipkit::textfilter::ParseArguments(args);
    if (parsed.kind == Arguments::Kind::Help) {
        const std::string_view usage = snipkit::textfilter::UsageText();
        const bool written = std::fwrite(usage.data(), 1, usage.size(), stdout) == usage.size();
        return written && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (parsed.kind == Arguments::Kind::Error) {
        std::fprintf(stderr, "snipkit-text: %s\n", parsed.error.c_str());
        return 2;
    }
    try {
        StdinSource in;
        StdoutSink out;
        snipkit::textfilter::RunFilter(parsed.invocation, in, out);
        if (std::fflush(stdout) != 0) throw std::runtime_error("cannot write standard output");
    } catch (const std::exception& e) {
        std::fprintf(stderr, "snipkit-text: %s\n", e.what());
        return 1;
    }
    return 0;
}
