// Two toolbars saving into one stash folder at once. With no argument this
// program makes a fresh folder, starts two copies of itself that each save
// 200 times into it (every other save to a name both use), and then checks:
// every save succeeded, every snippet file is whole, no temporary file is
// left. Exit status 0 when all holds; each fault is one line on stderr.
#include <windows.h>

#include <cstdio>
#include <string>

#include "bridge/file_system_win.h"
#include "ui/wide_win.h"

namespace {

using snipkit::WideToUtf8;

constexpr int kSaves = 200;

// A snippet that says who wrote it and how long it is, so a torn or mixed
// file shows: "//SNIPKIT:<writer> <n>", lines of filler, "end <writer> <n>".
std::string Snippet(const std::string& writer, int n) {
    const std::string tag = writer + " " + std::to_string(n);
    std::string text = "//SNIPKIT:" + tag + "\r\n";
    for (int i = 0; i < 40 + n % 7; ++i) text += "  x := x + " + std::to_string(i) + "; // " + tag + "\r\n";
    return text + "end " + tag + "\r\n";
}

bool Whole(const std::string& bytes) {
    const std::string head = "//SNIPKIT:";
    const std::size_t eol = bytes.find("\r\n");
    if (bytes.compare(0, head.size(), head) != 0 || eol == std::string::npos) return false;
    const std::string tag = bytes.substr(head.size(), eol - head.size());
    const std::size_t space = tag.rfind(' ');
    if (space == std::string::npos) return false;
    return bytes == Snippet(tag.substr(0, space), std::stoi(tag.substr(space + 1)));
}

int Save(const std::wstring& folder, const std::wstring& writer) {
    snipkit::Win32FileSystem fs;
    const std::string dir = WideToUtf8(folder) + "\\";
    const std::string me = WideToUtf8(writer);
    int failed = 0;
    for (int n = 0; n < kSaves; ++n) {
        const std::string name = n % 2 == 0 ? "shared.pas" : me + "-" + std::to_string(n % 5) + ".pas";
        if (!fs.WriteBytes(dir + name, Snippet(me, n))) {
            std::fprintf(stderr, "%s: save %d of %s failed (error %lu)\n", me.c_str(), n, name.c_str(),
                         GetLastError());
            ++failed;
        }
    }
    return failed == 0 ? 0 : 1;
}

int Race() {
    wchar_t tempDir[MAX_PATH];
    wchar_t self[MAX_PATH];
    if (!GetTempPathW(MAX_PATH, tempDir) || !GetModuleFileNameW(nullptr, self, MAX_PATH)) return 2;
    const std::wstring folder = std::wstring(tempDir) + L"snipkit-stash-race-" + std::to_wstring(GetCurrentProcessId());
    if (!CreateDirectoryW(folder.c_str(), nullptr)) return 2;

    PROCESS_INFORMATION runs[2]{};
    const wchar_t* writers[2] = {L"one", L"two"};
    for (int i = 0; i < 2; ++i) {
        std::wstring line = L"\"" + std::wstring(self) + L"\" \"" + folder + L"\" " + writers[i];
        STARTUPINFOW si{};
        si.cb = sizeof si;
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &runs[i])) {
            std::fprintf(stderr, "cannot start a saver (error %lu)\n", GetLastError());
            return 2;
        }
    }
    int faults = 0;
    for (PROCESS_INFORMATION& run : runs) {
        WaitForSingleObject(run.hProcess, INFINITE);
        DWORD code = 1;
        GetExitCodeProcess(run.hProcess, &code);
        if (code != 0) ++faults;
        CloseHandle(run.hThread);
        CloseHandle(run.hProcess);
    }

    snipkit::Win32FileSystem fs;
    int files = 0;
    WIN32_FIND_DATAW fd;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &fd);
    if (find == INVALID_HANDLE_VALUE) return 2;
    do {
        if (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::wstring path = folder + L"\\" + fd.cFileName;
        const snipkit::FileRead r = fs.ReadBytes(WideToUtf8(path), 1 << 20);
        if (snipkit::IsWriteTempName(WideToUtf8(fd.cFileName))) {
            std::fprintf(stderr, "temporary file left: %s\n", WideToUtf8(fd.cFileName).c_str());
            ++faults;
        } else if (r.status != snipkit::FileRead::Status::Ok || !Whole(r.text)) {
            std::fprintf(stderr, "not whole: %s\n", WideToUtf8(fd.cFileName).c_str());
            ++faults;
        } else {
            ++files;
        }
        DeleteFileW(path.c_str());
    } while (FindNextFileW(find, &fd));
    FindClose(find);
    RemoveDirectoryW(folder.c_str());
    if (files != 11) {  // shared.pas and five names of each writer's
        std::fprintf(stderr, "%d snippet files, not 11\n", files);
        ++faults;
    }
    std::fprintf(stderr, "%d saves into one folder, %d faults\n", 2 * kSaves, faults);
    return faults == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 3) return Save(argv[1], argv[2]);
    return Race();
}
