#include "app/butts1_win.h"

#include <stdexcept>

#include "about/help_win.h"
#include "app/app_dir_win.h"
#include "app/app_error.h"
#include "app/application_win.h"
#include "app/command_ids.h"
#include "app/pictures/but_format.h"
#include "app/pictures/but_help.h"
#include "app/pictures/but_load.h"
#include "app/pictures/but_menu.h"
#include "app/pictures/but_stash.h"
#include "app/pictures/but_text.h"
#include "app/wide_win.h"
#include "app/lock_window.h"
#include "format/case_commands.h"
#include "format/format_commands.h"
#include "stash/stash_commands.h"

namespace snipkit {
namespace {

constexpr int kClientWidth = 184;
constexpr int kClientHeight = 52;
constexpr int kLeft = 32;
constexpr int kTop = 426;
constexpr int kButtonTop = 8;
constexpr int kButtonSize = 25;

struct ToolbarButton {
    int id;
    int left;
    const wchar_t* hint;
    const PixelArt& picture;
};

const ToolbarButton kButtons[] = {
    {ids::butMenu, 8, L"General options", pictures::kButMenu},
    {ids::butText, 36, L"Insert new blocks of code", pictures::kButText},
    {ids::butFormat, 64, L"Format text (comment etc)", pictures::kButFormat},
    {ids::butStash, 96, L"Stash clip for later use", pictures::kButStash},
    {ids::butLoad, 122, L"Retrieve code from stash", pictures::kButLoad},
    {ids::butHelp, 154, L"Help!", pictures::kButHelp},
};

win::FormDef ToolbarDef() {
    win::FormDef def{kToolbarClass,
                       L"Delphi Snipkit",
                       {win::kToolWindowFrame.style, win::kToolWindowFrame.exStyle | WS_EX_TOPMOST},
                       win::At(kLeft, kTop),
                       win::ClientSize(kClientWidth, kClientHeight),
                       {}};
    def.controls.emplace_back(ids::Panel1, win::kPanelClass, L"", win::kBevelOuterRaised, 0, 0, kClientWidth,
                               kClientHeight);
    for (const ToolbarButton& b : kButtons) {
        def.controls.emplace_back(b.id, win::kButtonClass, L"", win::kPictureButtonStyle, b.left, kButtonTop,
                                   kButtonSize, kButtonSize, ids::Panel1);
    }
    // The line buffer of the line-based commands: never seen, it lies beyond
    // the panel's edge and stays hidden.
    def.controls.emplace_back(ids::Memo1, win::kEditClass, L"", win::kMemoStyle & ~WS_TABSTOP, 176, 56, 185, 89,
                               ids::Panel1, 0, win::Visibility::Hidden);
    return def;
}

win::MenuHandle NewPopup() {
    win::MenuHandle menu(CreatePopupMenu());
    if (!menu) throw std::runtime_error("Cannot create a menu");
    return menu;
}

void AddItem(HMENU menu, int id, const wchar_t* caption, UINT flags = 0) {
    AppendMenuW(menu, MF_STRING | flags, static_cast<UINT_PTR>(id), caption);
}

void AddSeparator(HMENU menu) { AppendMenuW(menu, MF_SEPARATOR, 0, nullptr); }

// The parent menu owns the submenu from here on.
void AddSubmenu(HMENU menu, win::MenuHandle submenu, const wchar_t* caption) {
    AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(submenu.release()), caption);
}

}  // namespace

TForm1::TForm1() : Form(ToolbarDef()) {}

TForm1& Form1() {
    auto* form = dynamic_cast<TForm1*>(win::App().MainForm());
    if (form == nullptr) throw std::logic_error("the toolbar is not the main form");
    return *form;
}

std::wstring TForm1::Hint(int buttonId) const {
    for (const ToolbarButton& b : kButtons) {
        if (b.id == buttonId) return b.hint;
    }
    return {};
}

void TForm1::OnCreate() {
    SetUpComponents();
    form_create();
}

void TForm1::SetUpComponents() {
    windows_.SetClipboardOwner(Handle());
    SetPanelColour(ids::Panel1, RGB(0, 0, 0));
    for (const ToolbarButton& b : kButtons) {
        Pixmap picture = ParsePixelArt(b.picture);
        if (picture.width == 2 * picture.height) {
            // Two square images side by side: the picture and its greyed copy.
            SetButtonPicture(b.id, CropPixmap(picture, 0, 0, picture.height, picture.height),
                             CropPixmap(picture, picture.height, 0, picture.height, picture.height));
        } else {
            SetButtonPicture(b.id, std::move(picture));
        }
    }
    BuildMenus();
    SetTimer(Handle(), kTimer1, kTimer1IntervalMs, nullptr);
}

void TForm1::BuildMenus() {
    popMain_ = NewPopup();
    AddItem(popMain_.get(), ids::mnuMinimize, L"Mi&nimize");
    AddItem(popMain_.get(), ids::mnuUndo, L"&Undo");
    AddItem(popMain_.get(), ids::mnuStayOnTop, L"&Stay on Top", MF_CHECKED);  // the window starts topmost
    AddItem(popMain_.get(), ids::mnuLockWin, L"Lock to &Window");
    AddSeparator(popMain_.get());
    AddItem(popMain_.get(), ids::mnuExit, L"E&xit");

    popText_ = NewPopup();
    win::MenuHandle mCase = NewPopup();
    AddItem(mCase.get(), ids::mnuUpper, L"&UPPER CASE");
    AddItem(mCase.get(), ids::mnuLower, L"&lower case");
    AddItem(mCase.get(), ids::mnuTitle, L"&Title Case");
    AddItem(mCase.get(), ids::mnuFlipCase, L"&Flip Case");
    AddSubmenu(popText_.get(), std::move(mCase), L"&Case");
    win::MenuHandle code1 = NewPopup();
    AddItem(code1.get(), ids::mnuBeginEnd, L"&begin...end");
    AddItem(code1.get(), ids::mnuIfthen, L"&if...then");
    AddItem(code1.get(), ids::mnuForNext, L"&for...next");
    AddItem(code1.get(), ids::mnuWhile, L"&while / repeat / with");
    AddItem(code1.get(), ids::mnuProc, L"pr&ocedure / function");
    AddSubmenu(popText_.get(), std::move(code1), L"C&ode");
    AddSeparator(popText_.get());
    AddItem(popText_.get(), ids::mnuUnitHead, L"insert &UNIT comment");
    AddItem(popText_.get(), ids::mnuProcHead, L"insert &PROC comment");

    popFormat_ = NewPopup();
    AddItem(popFormat_.get(), ids::mnuIndent, L"&Indent / unindent");
    win::MenuHandle mComment = NewPopup();
    AddItem(mComment.get(), ids::mnuCommentSlash, L"&use //");
    AddItem(mComment.get(), ids::mnuCommentBrace, L"u&se {...}");
    AddItem(mComment.get(), ids::mnuCommentPar, L"us&e  (*...*)");
    AddSubmenu(popFormat_.get(), std::move(mComment), L"&Comment out");
    AddItem(popFormat_.get(), ids::mnuUncomment, L"U&ncomment");

    popHelp_ = NewPopup();
    AddItem(popHelp_.get(), ids::mnuAbout, L"&About");
    AddItem(popHelp_.get(), ids::mnuHelp, L"&Help");
}

void TForm1::form_create() {
    bridge_.Reset();
    InitAppDir();
    StashStore(files_, boxes_, AppDir(), LessForUser).EnsureFolder();
}

void TForm1::Timer1Timer() { bridge_.Timer1Timer(); }

void TForm1::OnTimer(UINT_PTR timerId) {
    if (timerId == kTimer1) Timer1Timer();
}

void TForm1::OnClose() {
    // The toolbar is the main form: closing it ends the program.
    win::App().Terminate();
}

// The menu's corner is the window's outer corner plus the button's place in
// the client area, with no conversion to screen coordinates: the menu opens
// over the caption bar, up and left of the button, where its users know it.
void TForm1::OpenPopup(HMENU menu, int buttonId, bool belowButton) {
    const win::ControlDef* button = ItemDef(buttonId);
    if (menu == nullptr || button == nullptr) return;
    RECT window;
    GetWindowRect(Handle(), &window);
    const int x = window.left + button->x;
    const int y = window.top + button->y + (belowButton ? button->height : 0);
    // Without being the foreground window the menu would not close on a
    // click elsewhere.
    SetForegroundWindow(Handle());
    TrackPopupMenu(menu, TPM_LEFTALIGN | TPM_RIGHTBUTTON, x, y, 0, Handle(), nullptr);
    PostMessageW(Handle(), WM_NULL, 0, 0);
}

void TForm1::butMenuClick() { OpenPopup(popMain_.get(), ids::butMenu, false); }
void TForm1::butTextClick() { OpenPopup(popText_.get(), ids::butText, false); }
void TForm1::butFormatClick() { OpenPopup(popFormat_.get(), ids::butFormat, false); }
void TForm1::butHelpClick() { OpenPopup(popHelp_.get(), ids::butHelp, true); }

void TForm1::mnuUndoClick() { bridge_.mnuUndoClick(); }
void TForm1::mnuExitClick() { Close(); }
void TForm1::mnuUpperClick() { RunCaseCommand(bridge_, CaseRule::Upper); }
void TForm1::mnuLowerClick() { RunCaseCommand(bridge_, CaseRule::Lower); }
void TForm1::mnuTitleClick() { RunCaseCommand(bridge_, CaseRule::Title); }
void TForm1::mnuFlipCaseClick() { RunCaseCommand(bridge_, CaseRule::Flip); }

void TForm1::mnuMinimizeClick() { win::App().Minimize(); }

void TForm1::mnuStayOnTopClick() {
    const bool onTop = !(GetMenuState(popMain_.get(), ids::mnuStayOnTop, MF_BYCOMMAND) & MF_CHECKED);
    CheckMenuItem(popMain_.get(), ids::mnuStayOnTop, MF_BYCOMMAND | (onTop ? MF_CHECKED : MF_UNCHECKED));
    // Without SWP_NOACTIVATE: the toolbar keeps its place and size and is activated.
    SetWindowPos(Handle(), onTop ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

void TForm1::mnuLockWinClick() {
    bool locked = GetMenuState(popMain_.get(), ids::mnuLockWin, MF_BYCOMMAND) & MF_CHECKED;
    snipkit::mnuLockWinClick(bridge_, windows_, boxes_, locked);
    CheckMenuItem(popMain_.get(), ids::mnuLockWin, MF_BYCOMMAND | (locked ? MF_CHECKED : MF_UNCHECKED));
}

void TForm1::mnuBeginEndClick() { snipkit::mnuBeginEndClick(bridge_); }

void TForm1::mnuIfthenClick() {
    // Made afresh for each use, so it always opens with its defaults.
    std::unique_ptr<IfForm> frmIF = NewTfrmIF();
    frmIF->Create(win::App().Handle());
    snipkit::mnuIfthenClick(bridge_, *frmIF);
}

void TForm1::mnuForNextClick() { snipkit::mnuForNextClick(bridge_, *dialogs_.frmForNext, forFields_); }
void TForm1::mnuWhileClick() { snipkit::mnuWhileClick(bridge_, *dialogs_.frmWhile, whileFields_); }
void TForm1::mnuProcClick() { snipkit::mnuProcClick(bridge_, *dialogs_.frmProc, procFields_, files_); }
void TForm1::mnuUnitHeadClick() { snipkit::mnuUnitHeadClick(bridge_, files_); }
void TForm1::mnuProcHeadClick() { snipkit::mnuProcHeadClick(bridge_, files_); }
void TForm1::mnuIndentClick() { snipkit::mnuIndentClick(bridge_, *dialogs_.frmIndent, indentFields_); }
void TForm1::mnuCommentSlashClick() { snipkit::mnuCommentSlashClick(bridge_); }
void TForm1::mnuCommentBraceClick() { snipkit::mnuCommentBraceClick(bridge_); }
void TForm1::mnuCommentParClick() { snipkit::mnuCommentParClick(bridge_); }
void TForm1::mnuUncommentClick() { snipkit::mnuUncommentClick(bridge_); }

void TForm1::butStashClick() {
    StashStore store(files_, boxes_, AppDir(), LessForUser);
    snipkit::butStashClick(bridge_, *dialogs_.frmSave, saveFields_, store);
}

void TForm1::butLoadClick() {
    StashStore store(files_, boxes_, AppDir(), LessForUser);
    snipkit::butLoadClick(bridge_, *dialogs_.frmStash, store);
}

void TForm1::mnuAboutClick() { dialogs_.frmAbout->Show(); }

void TForm1::mnuHelpClick() {
    ShellHelpViewer viewer(Handle());
    snipkit::mnuHelpClick(files_, viewer, AppDir() + WideToUtf8(win::App().HelpFile()));
}

void TForm1::OnCommand(int id, int code) {
    const bool isButton = id == ids::butMenu || id == ids::butText || id == ids::butFormat || id == ids::butStash ||
                          id == ids::butLoad || id == ids::butHelp;
    if (isButton && code != BN_CLICKED) return;
    switch (id) {
        case ids::butMenu: butMenuClick(); break;
        case ids::butText: butTextClick(); break;
        case ids::butFormat: butFormatClick(); break;
        case ids::butStash: butStashClick(); break;
        case ids::butLoad: butLoadClick(); break;
        case ids::butHelp: butHelpClick(); break;
        case ids::mnuMinimize: mnuMinimizeClick(); break;
        case ids::mnuUndo: mnuUndoClick(); break;
        case ids::mnuStayOnTop: mnuStayOnTopClick(); break;
        case ids::mnuLockWin: mnuLockWinClick(); break;
        case ids::mnuExit: mnuExitClick(); break;
        case ids::mnuUpper: mnuUpperClick(); break;
        case ids::mnuLower: mnuLowerClick(); break;
        case ids::mnuTitle: mnuTitleClick(); break;
        case ids::mnuFlipCase: mnuFlipCaseClick(); break;
        case ids::mnuBeginEnd: mnuBeginEndClick(); break;
        case ids::mnuIfthen: mnuIfthenClick(); break;
        case ids::mnuForNext: mnuForNextClick(); break;
        case ids::mnuWhile: mnuWhileClick(); break;
        case ids::mnuProc: mnuProcClick(); break;
        case ids::mnuUnitHead: mnuUnitHeadClick(); break;
        case ids::mnuProcHead: mnuProcHeadClick(); break;
        case ids::mnuIndent: mnuIndentClick(); break;
        case ids::mnuCommentSlash: mnuCommentSlashClick(); break;
        case ids::mnuCommentBrace: mnuCommentBraceClick(); break;
        case ids::mnuCommentPar: mnuCommentParClick(); break;
        case ids::mnuUncomment: mnuUncommentClick(); break;
        case ids::mnuAbout: mnuAboutClick(); break;
        case ids::mnuHelp: mnuHelpClick(); break;
        default: break;
    }
}

}  // namespace snipkit
