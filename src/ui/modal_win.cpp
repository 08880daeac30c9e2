#include "ui/modal_win.h"

#include "ui/application_win.h"
#include "ui/error_text.h"
#include "ui/form_win.h"
#include "ui/wide_win.h"

namespace snipkit::win {

int ApplicationModalBox(const std::wstring& text, const std::wstring& caption, UINT flags) {
    HWND previous = GetActiveWindow();
    // Over a modal form the box belongs to that form, which the application
    // window (disabled by then) could not hand the activation back to.
    const Form* modal = Form::FromWindow(previous);
    HWND owner = modal != nullptr && modal->IsModal() ? modal->Handle() : ApplicationWindow();
    int answer = 0;
    {
        // The box itself disables its owner; the disabler takes care of the
        // program's other windows.
        WindowDisabler disabler(owner);
        answer = MessageBoxW(owner, text.c_str(), caption.c_str(), flags | (owner ? 0 : MB_TASKMODAL));
    }
    if (previous != nullptr && IsWindow(previous) && IsWindowVisible(previous) && IsWindowEnabled(previous)) {
        SetActiveWindow(previous);
    }
    return answer;
}

void ShowErrorBox(const std::exception& error) noexcept {
    try {
        const std::wstring title = ApplicationWindow() != nullptr ? App().Title() : std::wstring();
        ApplicationModalBox(Utf8ToWide(ErrorBoxText(error)), title, MB_ICONERROR | MB_OK);
    } catch (...) {
        // Nothing is left to tell the user with; the handler is over either way.
    }
}

}  // namespace snipkit::win
