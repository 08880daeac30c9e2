#include "bridge/file_system_win.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "bridge/app_error.h"
#include "ui/wide_win.h"

namespace snipkit {
namespace {

// A file handle that closes itself; move-only.
class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
    ~FileHandle() {
        if (valid()) CloseHandle(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

class FindHandle {
public:
    explicit FindHandle(HANDLE h) : h_(h) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (h_ != INVALID_HANDLE_VALUE) FindClose(h_);
    }
    bool valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE get() const { return h_; }

private:
    HANDLE h_;
};

bool WriteAll(HANDLE h, const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(h, bytes.data() + done, chunk, &written, nullptr) || written == 0) return false;
        done += written;
    }
    return true;
}

std::uint64_t FileTimeMs(const FILETIME& t) {
    return ((static_cast<std::uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 10'000;
}

// Deletes the temporary files of earlier writes into folder (ending in a
// backslash) that were cut short, leaving those another program's save may
// be writing right now.
void RemoveCutShortWrites(const std::wstring& folder) {
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    const DWORD self = GetCurrentProcessId();
    WIN32_FIND_DATAW fd;
    FindHandle find(FindFirstFileW((folder + L"*" + Utf8ToWide(kWriteTempSuffix)).c_str(), &fd));
    if (!find.valid()) return;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::uint64_t written = FileTimeMs(fd.ftLastWriteTime);
        const std::uint64_t ageMs = FileTimeMs(now) > written ? FileTimeMs(now) - written : 0;
        // The pattern also matches short 8.3 names; the long name decides.
        if (IsAbandonedWriteTemp(WideToUtf8(fd.cFileName), self, ageMs)) DeleteFileW((folder + fd.cFileName).c_str());
    } while (FindNextFileW(find.get(), &fd));
}

// Renames temp over target. While another program has the target open for
// a moment (its own save replacing it, a virus scanner, a preview) Windows
// refuses the rename; that is waited out for up to a second.
bool ReplaceWith(const std::wstring& temp, const std::wstring& target) {
    for (int tries = 0;; ++tries) {
        if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) return true;
        const DWORD error = GetLastError();
        if ((error != ERROR_ACCESS_DENIED && error != ERROR_SHARING_VIOLATION) || tries == 50) return false;
        Sleep(20);
    }
}

}  // namespace

std::string Win32AnsiCodePage::ToUtf8(std::string_view bytes) const {
    if (bytes.empty()) return {};
    // The conversion counts in int; a larger text could not be shown anyway.
    if (bytes.size() > static_cast<std::size_t>(INT_MAX)) throw TextExceedsMemoCapacity();
    const int size = static_cast<int>(bytes.size());
    const int n = MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, nullptr, 0);
    if (n <= 0) throw TextExceedsMemoCapacity();
    std::wstring w(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, bytes.data(), size, w.data(), n);
    return WideToUtf8(w);
}

std::optional<std::string> Win32AnsiCodePage::FromUtf8(std::string_view utf8) const {
    if (utf8.empty()) return std::string();
    if (GetACP() == CP_UTF8) return std::string(utf8);
    if (utf8.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const std::wstring w = Utf8ToWide(utf8);
    if (w.size() > static_cast<std::size_t>(INT_MAX)) return std::nullopt;
    const int size = static_cast<int>(w.size());
    BOOL usedDefault = FALSE;
    const int n =
        WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), size, nullptr, 0, nullptr, &usedDefault);
    if (n <= 0 || usedDefault) return std::nullopt;
    std::string ansi(static_cast<std::size_t>(n), '\0');
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, w.data(), size, ansi.data(), n, nullptr, &usedDefault);
    if (usedDefault) return std::nullopt;
    return ansi;
}

bool LessForUser(const std::string& a, const std::string& b) {
    return CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, Utf8ToWide(a).c_str(), -1, Utf8ToWide(b).c_str(),
                          -1) == CSTR_LESS_THAN;
}

FileRead Win32FileSystem::ReadBytes(const std::string& path, std::uint64_t maxBytes) {
    FileRead r;
    FileHandle f(CreateFileW(Utf8ToWide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f.valid()) return r;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) return r;
    // A file no string can hold is too large as well.
    const auto fileSize = static_cast<std::uint64_t>(size.QuadPart);
    if (fileSize > maxBytes || !FitsInString(fileSize)) {
        r.status = FileRead::Status::TooLarge;
        return r;
    }
    std::string bytes(static_cast<std::size_t>(fileSize), '\0');
    std::size_t done = 0;
    while (done < bytes.size()) {
        DWORD got = 0;
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
        if (!ReadFile(f.get(), bytes.data() + done, want, &got, nullptr)) return r;
        if (got == 0) break;
        done += got;
    }
    bytes.resize(done);
    r.status = FileRead::Status::Ok;
    r.text = std::move(bytes);
    return r;
}

bool Win32FileSystem::WriteBytes(const std::string& path, const std::string& bytes) {
    const std::wstring target = Utf8ToWide(path);
    const std::wstring temp = Utf8ToWide(WriteTempPath(path, GetCurrentProcessId()));
    RemoveCutShortWrites(target.substr(0, target.find_last_of(L'\\') + 1));
    // Hidden while it is written, so that a save cut short leaves nothing a
    // listing of the folder shows.
    bool written = false;
    {
        FileHandle f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_HIDDEN,
                                 nullptr));
        if (!f.valid()) return false;
        written = WriteAll(f.get(), bytes) && FlushFileBuffers(f.get());
    }  // closed here: an open file cannot be deleted
    // A read-only snippet must stay as it is, as a direct write would have failed.
    const DWORD attrs = GetFileAttributesW(target.c_str());
    const bool targetTaken =
        attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
    // The rename keeps the attributes: the snippet must not come out hidden.
    if (written && !targetTaken && SetFileAttributesW(temp.c_str(), FILE_ATTRIBUTE_NORMAL) &&
        ReplaceWith(temp, target)) {
        return true;
    }
    DeleteFileW(temp.c_str());
    return false;
}

std::vector<std::string> Win32FileSystem::ListPlainFiles(const std::string& dir) {
    std::vector<std::string> names;
    std::wstring pattern = Utf8ToWide(dir);
    if (!pattern.empty() && pattern.back() != L'\\') pattern += L'\\';
    pattern += L"*.*";
    WIN32_FIND_DATAW fd;
    FindHandle find(FindFirstFileW(pattern.c_str(), &fd));
    if (!find.valid()) return names;
    do {
        const DWORD skip = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;
        if ((fd.dwFileAttributes & skip) == 0) names.push_back(WideToUtf8(fd.cFileName));
    } while (FindNextFileW(find.get(), &fd));
    return names;
}

bool Win32FileSystem::IsDirectory(const std::string& path) {
    const DWORD a = GetFileAttributesW(Utf8ToWide(path).c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32FileSystem::Exists(const std::string& path) {
    return GetFileAttributesW(Utf8ToWide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool Win32FileSystem::MakeDirectory(const std::string& path) {
    return CreateDirectoryW(Utf8ToWide(path).c_str(), nullptr) != 0;
}

}  // namespace snipkit
