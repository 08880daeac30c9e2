// File access the commands need, behind an interface so the command flows run
// under unit tests with an in-memory fake. Paths and texts are UTF-8; how a
// text file's bytes become text is decided here, in the core.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/text_encoding.h"

namespace snipkit {

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
    // Writes the bytes through a temporary file that then replaces path in
    // one step, so a failed write leaves an existing file as it was. False on
    // failure.
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
