#pragma once

#include "bridge/file_system.h"

namespace snipkit {

// The system's ANSI code page (CP_ACP).
class Win32AnsiCodePage : public CodePage {
public:
    std::string ToUtf8(std::string_view bytes) const override;
    std::optional<std::string> FromUtf8(std::string_view utf8) const override;
};

// Whether name a goes before b as Windows lists names to the user:
// linguistic, without regard to case, in the user's locale.
bool LessForUser(const std::string& a, const std::string& b);

class Win32FileSystem : public FileSystem {
public:
    FileRead ReadBytes(const std::string& path, std::uint64_t maxBytes) override;
    bool WriteBytes(const std::string& path, const std::string& bytes) override;
    std::vector<std::string> ListPlainFiles(const std::string& dir) override;
    bool IsDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
    const CodePage& AnsiCodePage() const override { return ansi_; }

private:
    Win32AnsiCodePage ansi_;
};

}  // namespace snipkit
