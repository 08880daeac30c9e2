#include "bridge/file_system.h"

#include <utility>

namespace snipkit {

std::string WriteTempPath(const std::string& path) { return path + std::string(kWriteTempSuffix); }

bool IsWriteTempName(std::string_view name) {
    if (name.size() < kWriteTempSuffix.size()) return false;
    const std::string_view end = name.substr(name.size() - kWriteTempSuffix.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; };
        if (lower(end[i]) != kWriteTempSuffix[i]) return false;
    }
    return true;
}

bool FitsWriteBytes(const std::string& path) { return Utf16Length(WriteTempPath(path)) <= kMaxPathUnits; }

FileRead FileSystem::ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
    FileRead r = ReadBytes(path, maxBytes);
    if (r.status == FileRead::Status::Ok) r.text = DecodeTextFile(r.text, AnsiCodePage());
    return r;
}

bool FileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    return WriteBytes(path, EncodeTextFile(text, AnsiCodePage()));
}

}  // namespace snipkit
