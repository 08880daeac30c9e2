// The program's message boxes. Both are modal to the whole program: owned by
// the application window, with every other window of the program disabled
// while they are up.
#pragma once

#include <string>

#include "bridge/window_system.h"

namespace snipkit {

// No icon, an OK button.
void MsgBox(const std::string& text, const std::string& caption);
// No icon, Yes / No / Cancel (Yes is the default); returns 6, 7 or 2.
int MsgBoxYesNoCancel(const std::string& text, const std::string& caption);

class Win32MessageBoxes : public MessageBoxes {
public:
    void MsgBox(const std::string& text, const std::string& caption) override { snipkit::MsgBox(text, caption); }
    int MsgBoxYesNoCancel(const std::string& text, const std::string& caption) override {
        return snipkit::MsgBoxYesNoCancel(text, caption);
    }
};

}  // namespace snipkit
