#include "bridge/app_dir_win.h"

#include <windows.h>

#include "ui/wide_win.h"

namespace snipkit {
namespace {

std::string g_appDir;  // program-wide, written once by InitAppDir

std::wstring ExecutablePath() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return {};
        if (length < path.size()) {
            path.resize(length);
            return path;
        }
        path.resize(path.size() * 2);  // cut short: try again with more room
    }
}

}  // namespace

void InitAppDir() {
    std::wstring dir = ExecutablePath();
    // The directory part, delimiter included.
    const std::size_t cut = dir.find_last_of(L"\\:");
    dir.resize(cut == std::wstring::npos ? 0 : cut + 1);
    if (dir.empty() || dir.back() != L'\\') dir += L'\\';
    g_appDir = WideToUtf8(dir);
}

const std::string& AppDir() { return g_appDir; }

}  // namespace snipkit
