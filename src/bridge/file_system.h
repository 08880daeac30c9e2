// File access the commands need, behind an interface so the command flows run
// under unit tests with an in-memory fake. Paths and texts are UTF-8; how a
// text file's bytes become text is decided here, in the core.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "bridge/text_encoding.h"

namespace snipkit {

// WriteBytes writes into a temporary file beside the target and then renames
// it; the file is hidden meanwhile, and a listing of the stash leaves such
// names out, so a save cut short never shows up as a snippet. Its name is the
// target's, the writing process's id in 8 hex digits, and this suffix
// ("loop.pas.00001a2c.snipkit-tmp"), so that two programs saving into one
// folder never share one.
inline constexpr std::string_view kWriteTempSuffix = ".snipkit-tmp";
std::string WriteTempPath(const std::string& path, std::uint32_t process);
bool IsWriteTempName(std::string_view name);

// Whether a save by process `self` may remove the temporary file `name`,
// last written ageMs ago: its own process's (left by a save cut short), or
// one no save can still be writing, being a minute old. A younger one of
// another process may be a save under way there.
inline constexpr std::uint64_t kAbandonedWriteTempMs = 60'000;
bool IsAbandonedWriteTemp(std::string_view name, std::uint32_t self, std::uint64_t ageMs);

// The longest path the file calls take, in UTF-16 code units: MAX_PATH less
// its terminating NUL (the program does not declare itself long-path aware).
inline constexpr std::size_t kMaxPathUnits = 259;

// Whether WriteBytes can write path: its temporary file's longer path must
// fit as well.
bool FitsWriteBytes(const std::string& path);

// Whether a file of this many bytes fits in one string. On a 32-bit system
// that is less than the address space, and a larger one is "too large", not
// a failed allocation.
bool FitsInString(std::uint64_t bytes);

struct FileRead {
    enum class Status { Ok, CannotOpen, TooLarge };
    Status status = Status::CannotOpen;
    std::string text;  // the bytes from ReadBytes, UTF-8 from ReadTextFile
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Reads a whole file; larger than maxBytes gives TooLarge.
    virtual FileRead ReadBytes(const std::string& path, std::uint64_t maxBytes) = 0;
    // Writes the bytes through a temporary file (WriteTempPath) that then
    // replaces path in one step, so a failed write leaves an existing file as
    // it was. Removes what earlier writes cut short left in the folder. False
    // on failure.
    virtual bool WriteBytes(const std::string& path, const std::string& bytes) = 0;
    // Names of the files directly in dir that are neither hidden nor system.
    virtual std::vector<std::string> ListPlainFiles(const std::string& dir) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
    // The code page older text files are written in.
    virtual const CodePage& AnsiCodePage() const = 0;

    // A text file of the program's, decoded by DecodeTextFile.
    FileRead ReadTextFile(const std::string& path, std::uint64_t maxBytes);
    // Writes text encoded by EncodeTextFile, as WriteBytes does.
    bool WriteTextFile(const std::string& path, const std::string& text);
};

}  // namespace snipkit
