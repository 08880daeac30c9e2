#include "bridge/file_system.h"

#include <utility>

namespace snipkit {

namespace {

constexpr std::size_t kProcessDigits = 8;

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 0x20) : c; }

// File names compare without regard to case; `end` is written in lower case.
bool EndsWithLower(std::string_view name, std::string_view end) {
    if (name.size() < end.size()) return false;
    const std::string_view tail = name.substr(name.size() - end.size());
    for (std::size_t i = 0; i < end.size(); ++i) {
        if (Lower(tail[i]) != end[i]) return false;
    }
    return true;
}

std::string ProcessTag(std::uint32_t process) {
    std::string tag = "." + std::string(kProcessDigits, '0');
    for (std::size_t i = kProcessDigits; i > 0; --i, process >>= 4) tag[i] = "0123456789abcdef"[process & 0xF];
    return tag;
}

}  // namespace

std::string WriteTempPath(const std::string& path, std::uint32_t process) {
    return path + ProcessTag(process) + std::string(kWriteTempSuffix);
}

bool IsWriteTempName(std::string_view name) { return EndsWithLower(name, kWriteTempSuffix); }

bool IsAbandonedWriteTemp(std::string_view name, std::uint32_t self, std::uint64_t ageMs) {
    if (!IsWriteTempName(name)) return false;
    return ageMs >= kAbandonedWriteTempMs || EndsWithLower(name, ProcessTag(self) + std::string(kWriteTempSuffix));
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
