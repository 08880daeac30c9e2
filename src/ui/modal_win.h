// Boxes modal to the whole program, and the one place where a handler's
// unhandled error ends up.
#pragma once

#include <windows.h>

#include <exception>
#include <stdexcept>
#include <string>

namespace snipkit::win {

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

}  // namespace snipkit::win
