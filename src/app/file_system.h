// File access the commands need, behind an interface so the command flows run
// under unit tests with an in-memory fake. Paths and texts are UTF-8.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace snipkit {

struct FileRead {
    enum class Status { Ok, CannotOpen, TooLarge };
    Status status = Status::CannotOpen;
    std::string text;  // UTF-8, decoded from the ANSI code page when the bytes are not UTF-8
};

class FileSystem {
public:
    virtual ~FileSystem() = default;
    // Reads a whole text file; larger than maxBytes gives TooLarge.
    virtual FileRead ReadTextFile(const std::string& path, std::uint64_t maxBytes) = 0;
    // Writes text (ANSI when every character fits the code page, else UTF-8)
    // through a temporary file that then replaces path in one step, so a
    // failed write leaves an existing file as it was. False on failure.
    virtual bool WriteTextFile(const std::string& path, const std::string& text) = 0;
    // Names of the files directly in dir that are neither hidden nor system.
    virtual std::vector<std::string> ListPlainFiles(const std::string& dir) = 0;
    virtual bool IsDirectory(const std::string& path) = 0;
    virtual bool Exists(const std::string& path) = 0;
    virtual bool MakeDirectory(const std::string& path) = 0;
};

}  // namespace snipkit
