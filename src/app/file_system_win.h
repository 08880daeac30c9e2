#pragma once

#include "app/file_system.h"

namespace snipkit {

class Win32FileSystem : public FileSystem {
public:
    FileRead ReadTextFile(const std::string& path, std::uint64_t maxBytes) override;
    bool WriteTextFile(const std::string& path, const std::string& text) override;
    std::vector<std::string> ListPlainFiles(const std::string& dir) override;
    bool IsDirectory(const std::string& path) override;
    bool Exists(const std::string& path) override;
    bool MakeDirectory(const std::string& path) override;
};

}  // namespace snipkit
