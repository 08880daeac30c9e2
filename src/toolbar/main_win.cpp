// Start-up: the application object with its title and help file, then the
// forms, hidden, in their fixed order, then the message loop until the
// toolbar closes.
#include <windows.h>

#include <commctrl.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "about/Aboutwin_win.h"
#include "about/help_win.h"
#include "bridge/app_error.h"
#include "toolbar/butts1_win.h"
#include "toolbar/hotkey.h"
#include "toolbar/pictures/app_icon.h"
#include "format/findent_win.h"
#include "stash/stash_forms_win.h"
#include "templates/template_forms_win.h"
#include "ui/application_win.h"
#include "ui/modal_win.h"
#include "ui/wide_win.h"

namespace {

// The arguments after the program's name, in UTF-8.
std::vector<std::string> Arguments() {
    std::vector<std::string> args;
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv == nullptr) return args;
    for (int i = 1; i < count; ++i) args.push_back(snipkit::WideToUtf8(argv[i]));
    LocalFree(argv);
    return args;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);

    using namespace snipkit;
    try {
        win::Application app(instance, pictures::kAppIcon);
        app.SetTitle(Utf8ToWide(kAppTitle));
        app.SetHelpFile(kHelpFileName);
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
        // Once everything exists: a word about a bad /key: comes in front of
        // a toolbar that already works.
        toolbar.SetKey(KeyFromArguments(Arguments()));
        return app.Run();
    } catch (const std::exception& e) {
        // Without an application object there is no title to borrow.
        win::ApplicationModalBox(Utf8ToWide(ErrorBoxText(e)), Utf8ToWide(kAppTitle), MB_ICONERROR | MB_OK);
        return 1;
    }
}
