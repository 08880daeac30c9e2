#include "about/help_win.h"

#include <shellapi.h>

#include <string>

#include "app/app_dir_win.h"
#include "ui/application_win.h"
#include "ui/wide_win.h"

namespace snipkit {

void ShowHelpContents(HWND owner) {
    // The page's top is its contents, so opening the page is opening the contents.
    const std::wstring page = Utf8ToWide(AppDir()) + win::App().HelpFile();
    ShellExecuteW(owner, L"open", page.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace snipkit
