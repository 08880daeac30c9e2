#include "app/file_system.h"

#include <utility>

namespace snipkit {

FileRead FileSystem::ReadTextFile(const std::string& path, std::uint64_t maxBytes) {
    FileRead r = ReadBytes(path, maxBytes);
    if (r.status == FileRead::Status::Ok) r.text = DecodeTextFile(r.text, AnsiCodePage());
    return r;
}

bool FileSystem::WriteTextFile(const std::string& path, const std::string& text) {
    return WriteBytes(path, EncodeTextFile(text, AnsiCodePage()));
}

}  // namespace snipkit
