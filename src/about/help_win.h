// The help viewer: the shell's "open" on the help page, owned by a window.
#pragma once

#include <windows.h>

#include "about/help_command.h"

namespace snipkit {

class ShellHelpViewer : public HelpViewer {
public:
    explicit ShellHelpViewer(HWND owner) : owner_(owner) {}
    bool Open(const std::string& path) override;

private:
    HWND owner_;
};

}  // namespace snipkit
