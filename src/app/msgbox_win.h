// The program's message boxes and the general error box. All are modal to
// the whole program: owned by the application window, with every other
// window of the program disabled while they are up.
#pragma once

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

#include "app/window_system.h"

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

namespace win {

// MessageBoxW owned by the application window, modal to the whole program;
// the window that was active before is active again afterwards.
int ApplicationModalBox(const std::wstring& text, const std::wstring& caption, UINT flags);

// Error icon, OK, the application's title as caption, the message with a
// full stop appended.
void ShowErrorBox(const std::exception& error) noexcept;

// Runs one event handler. An error it does not handle itself ends it and is
// shown in the error box; the program carries on. Nothing may unwind into
// the system's window code.
template <typename Handler>
void RunHandler(Handler&& handler) noexcept {
    try {
        handler();
    } catch (const std::exception& e) {
        ShowErrorBox(e);
    } catch (...) {
        ShowErrorBox(std::runtime_error("Unexpected error"));
    }
}

}  // namespace win
}  // namespace snipkit
