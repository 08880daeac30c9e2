#include "toolbar/butts1_win.h"

#include <array>
#include <cstddef>
#include <stdexcept>

#include "about/help_win.h"
#include "bridge/app_dir_win.h"
#include "bridge/app_error.h"
#include "toolbar/command_ids.h"
#include "toolbar/lock_window.h"
#include "toolbar/pictures/but_format.h"
#include "toolbar/pictures/but_help.h"
#include "toolbar/pictures/but_load.h"
#include "toolbar/pictures/but_menu.h"
#include "toolbar/pictures/but_stash.h"
#include "toolbar/pictures/but_text.h"
#include "format/case_commands.h"
#include "format/format_commands.h"
#include "stash/stash_commands.h"
#include "templates/template_forms_win.h"
#include "ui/application_win.h"
#include "ui/wide_win.h"

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
    void (TForm1::*click)();
};

const ToolbarButton kButtons[] = {
    {ids::butMenu, 8, L"General options", pictures::kButMenu, &TForm1::butMenuClick},
    {ids::butText, 36, L"Insert new blocks of code", pictures::kButText, &TForm1::butTextClick},
    {ids::butFormat, 64, L"Format text (comment etc)", pictures::kButFormat, &TForm1::butFormatClick},
    {ids::butStash, 96, L"Stash clip for later use", pictures::kButStash, &TForm1::butStashClick},
    {ids::butLoad, 122, L"Retrieve code from stash", pictures::kButLoad, &TForm1::butLoadClick},
    {ids::butHelp, 154, L"Help!", pictures::kButHelp, &TForm1::butHelpClick},
};

// The popup menus and their submenus.
enum class Menu { None, Main, Text, Case, Code, Format, Comment, Help, Count };

// One row per menu line, in menu order: a command (id and handler), a
// submenu (`opens`), or a separator (no caption).
struct MenuLine {
    Menu menu;
    int id;
    const wchar_t* caption;
    void (TForm1::*handler)();
    Menu opens = Menu::None;
    UINT flags = 0;
};

const MenuLine kMenuLines[] = {
    {Menu::Main, ids::mnuMinimize, L"Mi&nimize", &TForm1::mnuMinimizeClick},
    {Menu::Main, ids::mnuUndo, L"&Undo", &TForm1::mnuUndoClick},
    // The window starts topmost.
    {Menu::Main, ids::mnuStayOnTop, L"&Stay on Top", &TForm1::mnuStayOnTopClick, Menu::None, MF_CHECKED},
    {Menu::Main, ids::mnuLockWin, L"Lock to &Window", &TForm1::mnuLockWinClick},
    {Menu::Main, 0, nullptr, nullptr},
    {Menu::Main, ids::mnuExit, L"E&xit", &TForm1::mnuExitClick},

    {Menu::Text, 0, L"&Case", nullptr, Menu::Case},
    {Menu::Case, ids::mnuUpper, L"&UPPER CASE", &TForm1::mnuUpperClick},
    {Menu::Case, ids::mnuLower, L"&lower case", &TForm1::mnuLowerClick},
    {Menu::Case, ids::mnuTitle, L"&Title Case", &TForm1::mnuTitleClick},
    {Menu::Case, ids::mnuFlipCase, L"&Flip Case", &TForm1::mnuFlipCaseClick},
    {Menu::Text, 0, L"C&ode", nullptr, Menu::Code},
    {Menu::Code, ids::mnuBeginEnd, L"&begin...end", &TForm1::mnuBeginEndClick},
    {Menu::Code, ids::mnuIfthen, L"&if...then", &TForm1::mnuIfthenClick},
    {Menu::Code, ids::mnuForNext, L"&for...next", &TForm1::mnuForNextClick},
    {Menu::Code, ids::mnuWhile, L"&while / repeat / with", &TForm1::mnuWhileClick},
    {Menu::Code, ids::mnuProc, L"pr&ocedure / function", &TForm1::mnuProcClick},
    {Menu::Text, 0, nullptr, nullptr},
    {Menu::Text, ids::mnuUnitHead, L"insert &UNIT comment", &TForm1::mnuUnitHeadClick},
    {Menu::Text, ids::mnuProcHead, L"insert &PROC comment", &TForm1::mnuProcHeadClick},

    {Menu::Format, ids::mnuIndent, L"&Indent / unindent", &TForm1::mnuIndentClick},
    {Menu::Format, 0, L"&Comment out", nullptr, Menu::Comment},
    {Menu::Comment, ids::mnuCommentSlash, L"&use //", &TForm1::mnuCommentSlashClick},
    {Menu::Comment, ids::mnuCommentBrace, L"u&se {...}", &TForm1::mnuCommentBraceClick},
    {Menu::Comment, ids::mnuCommentPar, L"us&e  (*...*)", &TForm1::mnuCommentParClick},
    {Menu::Format, ids::mnuUncomment, L"U&ncomment", &TForm1::mnuUncommentClick},

    {Menu::Help, ids::mnuAbout, L"&About", &TForm1::mnuAboutClick},
    {Menu::Help, ids::mnuHelp, L"&Help", &TForm1::mnuHelpClick},
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

}  // namespace

TForm1::TForm1() : Form(ToolbarDef()) {}

// The window that owns the clipboard goes with the form; a text not yet
// asked for is put there first.
TForm1::~TForm1() { windows_.HandOverText(); }

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
    constexpr auto kMenus = static_cast<std::size_t>(Menu::Count);
    std::array<win::MenuHandle, kMenus> menus;
    // A submenu's own lines may follow the line that hands it to its parent,
    // so items are added through handles that outlive the hand-over.
    std::array<HMENU, kMenus> handles{};
    for (std::size_t i = 1; i < kMenus; ++i) {
        menus[i] = NewPopup();
        handles[i] = menus[i].get();
    }
    auto of = [&menus](Menu m) -> win::MenuHandle& { return menus[static_cast<std::size_t>(m)]; };
    for (const MenuLine& line : kMenuLines) {
        HMENU menu = handles[static_cast<std::size_t>(line.menu)];
        if (line.opens != Menu::None) {
            // The parent menu owns the submenu from here on.
            AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(of(line.opens).release()), line.caption);
        } else if (line.caption == nullptr) {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu, MF_STRING | line.flags, static_cast<UINT_PTR>(line.id), line.caption);
        }
    }
    popMain_ = std::move(of(Menu::Main));
    popText_ = std::move(of(Menu::Text));
    popFormat_ = std::move(of(Menu::Format));
    popHelp_ = std::move(of(Menu::Help));
}

void TForm1::form_create() {
    bridge_.Reset();
    InitAppDir();
    StashStore(files_, boxes_, AppDir(), LessForUser).EnsureFolder();
}

void TForm1::Timer1Timer() {
    bridge_.Timer1Timer();
    // The tick lets go of a lock whose editor was closed; its check mark goes with it.
    if (bridge_.State().LockedWindow == 0) {
        CheckMenuItem(popMain_.get(), ids::mnuLockWin, MF_BYCOMMAND | MF_UNCHECKED);
    }
}

void TForm1::OnTimer(UINT_PTR timerId) {
    if (timerId == kTimer1) Timer1Timer();
}

// The toolbar's window owns the clipboard whenever a command has written it.
bool TForm1::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    result = 0;
    return windows_.OnClipboardMessage(msg, wp);
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
    if (code == BN_CLICKED) {
        for (const ToolbarButton& b : kButtons) {
            if (b.id == id) return (this->*b.click)();
        }
    }
    for (const MenuLine& line : kMenuLines) {
        if (line.handler != nullptr && line.id == id) return (this->*line.handler)();
    }
}

}  // namespace snipkit
