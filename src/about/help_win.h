// The help command: the help page, shipped beside the program, opened in the
// system's viewer for it.
#pragma once

#include <windows.h>

namespace snipkit {

// The help file, named without a folder: the help page shipped beside the
// program, which the help command opens from the program's folder.
inline constexpr const wchar_t* kHelpFileName = L"snipkit.htm";

// Asks the shell to open the application's help file from the program's
// folder, owned by `owner`. The shell's answer is ignored: where the page is
// missing the program itself shows nothing.
void ShowHelpContents(HWND owner);

}  // namespace snipkit
