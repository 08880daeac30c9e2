// The application object: a hidden owner window that carries the program's
// title on the taskbar and owns every form, the list of forms, and the one
// message loop.
#pragma once

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/handles_win.h"
#include "ui/pixmap.h"

namespace snipkit::win {

class Form;

inline constexpr const wchar_t* kApplicationClass = L"TApplication";

class Application {
public:
    // The icon is the program's, on the taskbar button and every form.
    Application(HINSTANCE instance, const PixelArt& icon);
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // The title is the text of the program's taskbar button.
    void SetTitle(const std::wstring& title);
    const std::wstring& Title() const { return title_; }
    void SetHelpFile(const std::wstring& name) { helpFile_ = name; }
    const std::wstring& HelpFile() const { return helpFile_; }

    HINSTANCE Instance() const { return instance_; }
    // The owner of every form and message box.
    HWND Handle() const { return hwnd_; }

    // Creates the form's window, hidden and owned by the application, and
    // keeps the form until the program ends. The first form is the main form.
    template <typename F>
    F& CreateForm(std::unique_ptr<F> form) {
        F& created = *form;
        Adopt(std::move(form));
        return created;
    }
    Form* MainForm() const { return forms_.empty() ? nullptr : forms_.front().get(); }

    // Shows the main form (and the taskbar button) without activating them.
    void ShowMainForm();
    // Shows the main form and runs the message loop until Terminate.
    int Run();
    // Ends the message loop; the program then closes.
    void Terminate();
    // Hides every window of the program behind its taskbar button.
    void Minimize();

private:
    void Adopt(std::unique_ptr<Form> form);
    void ActivateLastWindow();
    LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);

    HINSTANCE instance_;
    HWND hwnd_ = nullptr;
    std::wstring title_;
    std::wstring helpFile_;
    IconHandle icon_;
    std::vector<std::unique_ptr<Form>> forms_;
};

// The program's application object; only valid while it exists.
Application& App();
// The application's window, or null before start-up and after the end.
HWND ApplicationWindow();

// Disables every visible, enabled top-level window of this thread except
// `keep` for its lifetime, then enables them again: what makes a form or
// message box modal to the whole program.
class WindowDisabler {
public:
    explicit WindowDisabler(HWND keep);
    ~WindowDisabler();
    WindowDisabler(const WindowDisabler&) = delete;
    WindowDisabler& operator=(const WindowDisabler&) = delete;

private:
    static BOOL CALLBACK Collect(HWND hwnd, LPARAM self);

    HWND keep_;
    std::vector<HWND> disabled_;
};

}  // namespace snipkit::win
