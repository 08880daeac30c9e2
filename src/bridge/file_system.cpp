#include "bridge/file_system.h"

#include <utility>

namespace snipkit {

namespace {

constexpr std::size_t kProcessDigits = 8;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

std::string ProcessTag(std::uint32_t process) {
    std::string tag = "." + std::string(kProcessDigits, '0');
    for (std::size_t i = kProcessDigits; i > 0; --i, process >>= 4) tag[i] = "0123456789abcdef"[process & 0xF];
    return tag;
}

}  // namespace

std::string WriteTempPath(const std::string& path, std::uint32_t process) {
    return path + ProcessTag(process) + std::string(kWriteTempSuffix);
}

bool IsWriteTempName(std::string_view name) {
    if (name.size() < kWriteTempSuffix.size()) return false;
    const std::string_view end = name.substr(name.size() - kWriteTempSuffix.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (Lower(end[i]) != kWriteTempSuffix[i]) return false;
    }
    return true;
}

bool IsAbandonedWriteTemp(std::string_view name, std::uint32_t self, std::uint64_t ageMs) {
    if (!IsWriteTempName(name)) return false;
    if (ageMs >= kAbandonedWriteTempMs) return true;
    const std::string own = ProcessTag(self) + std::string(kWriteTempSuffix);
    if (name.size() < own.size()) return false;
    const std::string_view end = name.substr(name.size() - own.size());
    for (std::size_t i = 0; i < own.size(); ++i) {
        if (Lower(end[i]) != own[i]) return false;
    }
    return true;
}

bool FitsInString(std::uint64_t bytes) { return bytes <= std::string().max_size(); }

// Every process id has the same number of digits, so the limit does not
// depend on the process.
bool FitsWriteBytes(const std::string& path) { return Utf16Length(WriteTempPath(path, 0)) <= kMaxPathUnits; }

FileRead FileSystem::ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
    FileRead r = ReadBytes(path, maxBytes);
    if (r.status == FileRead::Status::Ok) r.text = DecodeTextFile(r.text, AnsiCodePage());
    return r;
}

bool FileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    return WriteBytes(path, EncodeTextFile(text, AnsiCodePage()));
}

}  // namespace snipkit
