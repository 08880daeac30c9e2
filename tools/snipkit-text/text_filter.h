// snipkit-text: the toolbar's text rules as a command-line filter. The rules
// themselves live in the core; this only parses the command line and moves
// bytes through them, in pieces small enough to keep memory flat.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace snipkit::textfilter {

enum class Command {
    Upper,
    Lower,
    Flip,
    Title,
    Comment,       // "//" before every line
    CommentBrace,  // "{ " ... " }"
    CommentParen,  // "(* " ... " *)"
    Uncomment,
    Indent,
    Unindent,
};

struct Invocation {
    Command command = Command::Upper;
    int columns = 0;  // indent and unindent only
};

struct Arguments {
    enum class Kind { Run, Help, Error };
    Kind kind = Kind::Error;
    Invocation invocation;  // for Run
    std::string error;      // for Error: one line, no line break
};

// The arguments after the program name. Commands are lower case as listed in
// the usage text; indent and unindent take an optional column count, 0 to 16
// as in the Indent dialog (default 2). Anything else is an error.
Arguments ParseArguments(const std::vector<std::string_view>& args);

std::string_view UsageText();

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Up to size bytes into buffer; 0 only at the end. Throws on a read error.
    virtual std::size_t Read(char* buffer, std::size_t size) = 0;
};

class ByteSink {
public:
    virtual ~ByteSink() = default;
    // Throws on a write error. The streaming commands call it from a thread
    // of their own (one call at a time); RunFilter returns after the last.
    virtual void Write(std::string_view bytes) = 0;
};

// Large enough that handing a piece to the writer thread costs little beside
// its bytes, small enough for the cache (measured best of 256 KiB to 4 MiB).
inline constexpr std::size_t kDefaultBlockSize = std::size_t{1} << 20;

// Runs one command over the whole input. The output is exactly what the core
// rule gives for the whole text; where the toolbar would paste nothing
// (uncomment of an unmatched block comment or of blanks only) the input comes
// out unchanged. blockSize is the read size; tests make it tiny.
void RunFilter(const Invocation& invocation, ByteSource& in, ByteSink& out,
               std::size_t blockSize = kDefaultBlockSize);

}  // namespace snipkit::textfilter
