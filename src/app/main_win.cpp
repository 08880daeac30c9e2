// Start-up: the application object with its title and help file, then the
// forms, hidden, in their fixed order, then the message loop until the
// toolbar closes.
#include <windows.h>

#include <commctrl.h>

#include <exception>
#include <memory>

#include "app/app_error.h"
#include "app/application_win.h"
#include "app/butts1_win.h"
#include "app/forms_win.h"
#include "app/msgbox_win.h"
#include "app/wide_win.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    using namespace snipkit;
    try {
        win::Application app(instance);
        app.SetTitle(Utf8ToWide(kAppTitle));
        app.SetHelpFile(win::kHelpFileName);
        // The toolbar first: it is the main form, and its creation handler
        // runs before any dialog exists.
        TForm1& toolbar = app.CreateForm(std::make_unique<TForm1>());
        // On screen before the dialogs are made, so it appears at once; input
        // waits for the message loop, which starts when they all exist.
        app.ShowMainForm();
        Dialogs dialogs;
        dialogs.frmIndent = &app.CreateForm(NewTfrmIndent());
        dialogs.frmProc = &app.CreateForm(NewTfrmProc());
        dialogs.frmWhile = &app.CreateForm(NewTfrmWhile());
        dialogs.frmForNext = &app.CreateForm(NewTfrmForNext());
        dialogs.frmAbout = &app.CreateForm(NewTfrmAbout());
        dialogs.frmSave = &app.CreateForm(NewTfrmSave());
        dialogs.frmStash = &app.CreateForm(NewTfrmStash());
        toolbar.SetDialogs(dialogs);
        return app.Run();
    } catch (const std::exception& e) {
        win::ShowErrorBox(e);
        return 1;
    }
}
