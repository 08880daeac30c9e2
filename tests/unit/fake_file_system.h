// An in-memory file system for the command tests: files by full path, hidden
// files, read-only files and files that cannot be opened; code page 1252 as
// the ANSI code page.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "bridge/file_system.h"
#include "code_page_1252.h"

namespace snipkit::testing {

class FakeFileSystem : public FileSystem {
public:
    std::map<std::string, std::string> files;  // full path -> bytes
    std::set<std::string> dirs;
    std::set<std::string> hidden;    // listed nowhere
    std::set<std::string> locked;    // cannot be opened or written
    std::set<std::string> readOnly;  // cannot be written
    int writes = 0;

    FileRead ReadBytes(const std::string& path, std::uint64_t maxBytes) override {
        FileRead r;
        auto it = files.find(path);
        if (it == files.end() || locked.count(path)) return r;
        if (it->second.size() > maxBytes) {
            r.status = FileRead::Status::TooLarge;
            return r;
        }
        r.status = FileRead::Status::Ok;
        r.text = it->second;
        return r;
    }
    bool WriteBytes(const std::string& path, const std::string& bytes) override {
        const auto slash = path.rfind('\\');
        if (slash != std::string::npos && !dirs.count(path.substr(0, slash))) return false;
        if (locked.count(path) || readOnly.count(path)) return false;
        files[path] = bytes;
        ++writes;
        return true;
    }
    std::vector<std::string> ListPlainFiles(const std::string& dir) override {
        std::string prefix = dir;
        if (prefix.empty() || prefix.back() != '\\') prefix += '\\';
        std::vector<std::string> names;
        for (const auto& [path, content] : files) {
            if (path.compare(0, prefix.size(), prefix) != 0 || hidden.count(path)) continue;
            const std::string rest = path.substr(prefix.size());
            if (rest.find('\\') == std::string::npos) names.push_back(rest);
        }
        return names;
    }
    bool IsDirectory(const std::string& path) override { return dirs.count(path) > 0; }
    bool Exists(const std::string& path) override { return dirs.count(path) || files.count(path); }
    bool MakeDirectory(const std::string& path) override {
        if (Exists(path)) return false;
        dirs.insert(path);
        return true;
    }
    const CodePage& AnsiCodePage() const override { return ansi; }

    CodePage1252 ansi;
};

}  // namespace snipkit::testing
