#include "toolbar/butts1_win.h"

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

// The popup menus and their submenus.
enum class Menu { None, Main, Text, Case, Code, Format, Comment, Help };

// `opens`: the menu the button opens (none for a plain command); `keyCaption`:
// the button's line, with its access key, in the keyboard key's menu.
struct ToolbarButton {
    int id;
    int left;
    const wchar_t* hint;
    const PixelArt& picture;
    void (TForm1::*click)();
    Menu opens;
    const wchar_t* keyCaption;
};

const ToolbarButton kButtons[] = {
    {ids::butMenu, 8, L"General options", pictures::kButMenu, &TForm1::butMenuClick, Menu::Main,
     L"&General options"},
    {ids::butText, 36, L"Insert new blocks of code", pictures::kButText, &TForm1::butTextClick, Menu::Text,
     L"&Insert new blocks of code"},
    {ids::butFormat, 64, L"Format text (comment etc)", pictures::kButFormat, &TForm1::butFormatClick, Menu::Format,
     L"&Format text"},
    {ids::butStash, 96, L"Stash clip for later use", pictures::kButStash, &TForm1::butStashClick, Menu::None,
     L"&Stash clip"},
    {ids::butLoad, 122, L"Retrieve code from stash", pictures::kButLoad, &TForm1::butLoadClick, Menu::None,
     L"&Retrieve code"},
    {ids::butHelp, 154, L"Help!", pictures::kButHelp, &TForm1::butHelpClick, Menu::Help, L"&Help"},
};

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

// Menu m with its submenus, made afresh from the table; `flagsOf` gives a
// command's check mark.
template <typename FlagsOf>
win::MenuHandle MakeMenu(Menu m, const FlagsOf& flagsOf) {
    win::MenuHandle menu = NewPopup();
    for (const MenuLine& line : kMenuLines) {
        if (line.menu != m) continue;
        if (line.opens != Menu::None) {
            win::MenuHandle sub = MakeMenu(line.opens, flagsOf);
            // From here on the parent menu owns the submenu.
            if (AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), line.caption)) sub.release();
        } else if (line.caption == nullptr) {
            AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
        } else {
            AppendMenuW(menu.get(), MF_STRING | flagsOf(line), static_cast<UINT_PTR>(line.id), line.caption);
        }
    }
    return menu;
}

// The foreground hook's call; it comes through the toolbar's message loop.
void CALLBACK OnForeground(HWINEVENTHOOK, DWORD, HWND, LONG, LONG, DWORD, DWORD) {
    if (auto* toolbar = dynamic_cast<TForm1*>(win::App().MainForm())) toolbar->FollowForeground();
}

}  // namespace

TForm1::TForm1() : Form(ToolbarDef()) {}

// The window that owns the clipboard goes with the form; a text not yet
// asked for is put there first.
TForm1::~TForm1() { windows_.KeepClipboardText(); }

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
    auto initial = [](const MenuLine& line) { return line.flags; };
    popMain_ = MakeMenu(Menu::Main, initial);
    popText_ = MakeMenu(Menu::Text, initial);
    popFormat_ = MakeMenu(Menu::Format, initial);
    popHelp_ = MakeMenu(Menu::Help, initial);
}

win::MenuHandle TForm1::BuildKeyMenu() const {
    // Check marks as the toolbar's own menus show them now.
    auto current = [this](const MenuLine& line) -> UINT {
        for (HMENU m : {popMain_.get(), popText_.get(), popFormat_.get(), popHelp_.get()}) {
            const UINT state = GetMenuState(m, static_cast<UINT>(line.id), MF_BYCOMMAND);
            if (state != static_cast<UINT>(-1)) return state & MF_CHECKED;
        }
        return line.flags;
    };
    win::MenuHandle menu = NewPopup();
    for (const ToolbarButton& b : kButtons) {
        if (b.opens == Menu::None) {
            // The button's id: its WM_COMMAND then runs the button's click.
            AppendMenuW(menu.get(), MF_STRING, static_cast<UINT_PTR>(b.id), b.keyCaption);
            continue;
        }
        win::MenuHandle sub = MakeMenu(b.opens, current);
        if (AppendMenuW(menu.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(sub.get()), b.keyCaption)) sub.release();
    }
    return menu;
}

void TForm1::SetKey(const KeySetting& setting) {
    hotKeys_.SetOwner(Handle());
    if (setting.key) foregroundHook_.emplace(&OnForeground);
    editorKey_.Start(setting);
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
    if (timerId != kTimer1) return;
    Timer1Timer();
    // Beside the hook, which a system may not call for every change.
    editorKey_.Follow();
}

bool TForm1::OnMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
    result = 0;
    if (msg == WM_HOTKEY && wp == static_cast<WPARAM>(win::kEditorKeyId)) {
        OpenKeyMenu();
        return true;
    }
    // The toolbar's window owns the clipboard whenever a command has written it.
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

// The key's menu opens at the editor's caret. The toolbar owns it, as it owns
// its buttons' menus, and a pick comes to it as theirs do.
void TForm1::OpenKeyMenu() {
    const auto editor = reinterpret_cast<HWND>(editorKey_.EditorInFront());
    // The key came after another window came to the front, before the word
    // of it: let the key go at once.
    if (editor == nullptr) return editorKey_.Follow();
    // While a dialog or message box of the toolbar is up its buttons do
    // nothing, so neither does the key.
    if (!IsWindowEnabled(Handle())) return;
    // The window the user works in is the one in front now, not at the last tick.
    Timer1Timer();
    win::MenuHandle menu = BuildKeyMenu();
    const POINT at = win::CaretOrPointer(editor);
    SetForegroundWindow(Handle());
    const int picked = static_cast<int>(TrackPopupMenu(
        menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, Handle(), nullptr));
    PostMessageW(Handle(), WM_NULL, 0, 0);
    if (picked != 0) {
        PostMessageW(Handle(), WM_COMMAND, MAKEWPARAM(picked, 0), 0);
    } else if (GetForegroundWindow() == Handle()) {
        // Closed with Escape: back to the editor. A click into another
        // window has already made that one the foreground; it stays there.
        SetForegroundWindow(editor);
    }
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
