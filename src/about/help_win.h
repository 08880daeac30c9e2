// The help viewer: the shell's "open" on the help page, owned by a window.
#pragma once

#include <windows.h>

#include "about/help_command.h"

namespace snipkit {

// The help file, named without a folder: the help page shipped beside the
// program, which the help command opens from the program's folder.
inline constexpr const wchar_t* kHelpFileName = L"snipkit.htm";

class ShellHelpViewer : public HelpViewer {
public:
    explicit ShellHelpViewer(HWND owner) : owner_(owner) {}
    bool Open(const std::string& path) override;

private:
    HWND owner_;
};

}  // namespace snipkit
