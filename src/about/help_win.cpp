#include "about/help_win.h"

#include <shellapi.h>

#include "ui/wide_win.h"

namespace snipkit {

bool ShellHelpViewer::Open(const std::string& path) {
    const HINSTANCE result =
        ShellExecuteW(owner_, L"open", Utf8ToWide(path).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
    // Values up to 32 are the shell's error codes.
    return reinterpret_cast<INT_PTR>(result) > 32;
}

}  // namespace snipkit
