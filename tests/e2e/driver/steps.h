// The steps scenarios are written in: start the toolbar and the stand-in
// editor, act on them as a user would (or by posting the messages a click
// would cause), and read back what they show.
#pragma once

#include <windows.h>

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "harness.h"

namespace e2e {

// ---------------------------------------------------------------- text

std::string ToUtf8(std::wstring_view text);
std::wstring FromUtf8(std::string_view text);

// ---------------------------------------------------------------- time

// With SNIPKIT_E2E_TRACE set, steps print what they did and when.
void Trace(const std::string& what);

// Handles this thread's own window messages for a while: the toolbar sends
// messages to the driver's windows (raising, clipboard) and must not block.
void Pump(DWORD ms);
// Polls cond (pumping meanwhile) until it holds or timeoutMs passed.
bool WaitUntil(const std::function<bool()>& cond, DWORD timeoutMs, DWORD pollMs = 20);

// The toolbar's timer looks at the foreground window once a second; this is
// long enough for one tick to have come after a change.
inline constexpr DWORD kTimerTickWait = 1200;
inline constexpr DWORD kDefaultTimeout = 10000;

// ---------------------------------------------------------------- processes

class Process {
public:
    Process() = default;
    Process(HANDLE h, DWORD pid, std::string label) : handle_(h), pid_(pid), label_(std::move(label)) {}
    Process(Process&& o) noexcept { *this = std::move(o); }
    Process& operator=(Process&& o) noexcept;
    ~Process();

    DWORD pid() const { return pid_; }
    HANDLE handle() const { return handle_; }
    const std::string& label() const { return label_; }
    bool Running() const;
    bool WaitExit(DWORD timeoutMs) const;
    DWORD ExitCode() const;
    // Asks every top-level window of the process to close, then waits.
    bool CloseWindows(DWORD timeoutMs) const;
    void Terminate() const;

private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
    std::string label_;
};

Process Launch(Run& run, const std::wstring& exe, const std::vector<std::wstring>& args,
               const std::wstring& cwd, const std::string& label);

// ---------------------------------------------------------------- windows

std::wstring ClassOf(HWND w);
// The window's text through WM_GETTEXT, which works across processes.
std::string TextOf(HWND w);
DWORD ProcessOf(HWND w);
std::vector<HWND> TopWindowsOf(DWORD pid, bool visibleOnly = true);
std::vector<HWND> ChildrenOf(HWND parent);  // direct children, in Z order
HWND FindTopWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption = nullptr);
// Any descendant with this control id.
HWND FindDescendantById(HWND parent, int id);
HWND WaitTopWindow(Run& run, DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs,
                   const std::string& what);

// Makes w the foreground window and waits until it is.
void BringToFront(Run& run, HWND w);
// Brings w to the front and waits for the toolbar's timer to have seen it.
void LetToolbarSee(Run& run, HWND w);

void SetControlText(HWND dialog, int id, const std::string& utf8);
std::string ControlText(HWND dialog, int id);
// A button press as the user makes it: BM_CLICK, posted.
void ClickButton(HWND dialog, int id);
bool IsChecked(HWND dialog, int id);

// ---------------------------------------------------------------- the stand-in editor

struct EditorOptions {
    std::string text;          // the editor's text (UTF-8, CR LF); used when file is empty
    std::wstring file;         // a file to load instead
    std::wstring caption = L"Unit1.pas";
    int x = 300, y = 40, width = 700, height = 600;
    std::vector<std::wstring> childrenBefore;  // classes of plain children ahead of the control
    bool nested = false;                       // the control inside a panel, not a direct child
};

class Editor {
public:
    Process* process = nullptr;
    HWND frame = nullptr;    // "TEditWindow"
    HWND control = nullptr;  // "TEditControl"
    HWND Parent() const { return GetParent(control); }

    std::string Text() const;
    void SetText(const std::string& utf8) const;  // also clears the control's undo
    // Selection in UTF-16 code units, as the control counts.
    void Select(int start, int end) const;
    // Selects the first occurrence of needle (UTF-8); fails the step when absent.
    void SelectText(Run& run, const std::string& needle) const;
    void SelectAll() const;
    // No selection, caret at the given place.
    void Caret(int pos) const;
    std::pair<int, int> Selection() const;

    int CopyCount() const;
    int PasteCount() const;
    int UndoCount() const;
};

inline EditorOptions WithText(std::string text) {
    EditorOptions o;
    o.text = std::move(text);
    return o;
}

Editor LaunchEditor(Run& run, const EditorOptions& options = {});

// ---------------------------------------------------------------- the toolbar

struct MessageBoxInfo {
    HWND window = nullptr;
    std::string caption;
    std::string text;
    std::vector<std::pair<int, std::string>> buttons;  // id, caption
    bool hasIcon = false;
};

struct ToolbarOptions {
    std::wstring cwd;  // current directory; the program's folder when empty
    // Runs after the private program folder has been made, before the start:
    // may put files there (e.g. a stash) first.
    std::function<void(const std::wstring& folder)> prepare;
};

class Toolbar {
public:
    Process* process = nullptr;
    HWND window = nullptr;
    std::wstring folder;  // the private folder that holds this copy of snipkit.exe
    DWORD startedAt = 0;  // GetTickCount() just before the process was created

    // A menu command, as the toolbar receives it when the user picks it.
    void Command(int id) const;
    HWND Control(int id) const;
    RECT OuterRect() const;
    RECT ClientScreenRect() const;
    LONG_PTR ExStyle() const;
    LONG_PTR Style() const;

    std::vector<MessageBoxInfo> MessageBoxes() const;
    MessageBoxInfo WaitMessageBox(Run& run, DWORD timeoutMs = kDefaultTimeout) const;
    // True when no message box of the toolbar shows up for ms.
    bool NoMessageBoxFor(DWORD ms) const;
    HWND WaitDialog(Run& run, const wchar_t* cls, DWORD timeoutMs = kDefaultTimeout) const;
    // Closes the toolbar as its close box does and waits for the process to end.
    bool Close(DWORD timeoutMs = kDefaultTimeout) const;
};

Toolbar LaunchToolbar(Run& run, const ToolbarOptions& options = {});

// Reads a message box's caption, text and buttons.
MessageBoxInfo ReadMessageBox(HWND box);
// Presses a button of a message box (or dialog) and waits until it is gone.
void Dismiss(Run& run, HWND box, int buttonId);
// Checks text and caption of the next message box, presses its OK button.
void ExpectMessageBox(Run& run, const Toolbar& toolbar, const std::string& text, const std::string& caption);

// Waits until the editor's text equals expected; reports the last text seen when it does not.
bool ExpectEditorText(Run& run, const Editor& editor, const std::string& expected,
                      DWORD timeoutMs = kDefaultTimeout, const std::string& what = "editor text");
// Checks that the text stays as it is for ms (for commands that must not paste).
bool ExpectEditorUnchanged(Run& run, const Editor& editor, const std::string& expected, DWORD ms = 1500);
// Waits until the editor has received at least n WM_COPY in all.
bool WaitCopies(const Editor& editor, int n, DWORD timeoutMs = kDefaultTimeout);

// ---------------------------------------------------------------- other windows

// A plain window of the driver's own, to have something else in front.
class OwnWindow {
public:
    explicit OwnWindow(const std::wstring& caption, int x = 300, int y = 40, int width = 400, int height = 300);
    ~OwnWindow();
    OwnWindow(const OwnWindow&) = delete;
    OwnWindow& operator=(const OwnWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

private:
    HWND hwnd_ = nullptr;
};

// ---------------------------------------------------------------- clipboard

std::optional<std::string> ClipboardText();  // nullopt: no text on the clipboard
bool SetClipboardText(const std::string& utf8);
bool EmptyTheClipboard();

// Keeps the clipboard open, as a busy program would, until released.
class ClipboardHold {
public:
    explicit ClipboardHold(HWND owner);
    ~ClipboardHold() { Release(); }
    bool held() const { return held_; }
    void Release();

private:
    bool held_ = false;
};

// ---------------------------------------------------------------- popup menus

struct MenuItem {
    std::string caption;  // with its ampersand; "-" for a separator
    int id = 0;
    bool checked = false;
    bool grayed = false;
    std::vector<MenuItem> submenu;
};

struct OpenedMenu {
    std::vector<MenuItem> items;
    RECT rect{};  // where the menu's window was on the screen
};

// Opens the popup menu of a toolbar button (as a click on it does), reads it
// with its submenus and closes it again without choosing anything.
OpenedMenu ReadButtonMenu(Run& run, const Toolbar& toolbar, int buttonId);
// The open popup menus (class "#32768") of a process.
std::vector<HWND> OpenMenus(DWORD pid);
// One line per item, submenus indented by two blanks; with ids, each command
// item's id follows its caption after " #".
std::string Outline(const std::vector<MenuItem>& items, bool withIds = false, int depth = 0);

// ---------------------------------------------------------------- the X display

// True when the runner serves host requests (xdotool, screenshots).
bool HaveHost(const Run& run);
// Runs xdotool on the X display the programs are shown on.
void Xdo(Run& run, const std::vector<std::string>& args);
// A real mouse click at a screen point.
void ClickScreen(Run& run, int x, int y);
// Real key presses, xdotool key names ("c", "Return", "Escape").
void PressKeys(Run& run, const std::vector<std::string>& keys);
// Saves a picture of the whole screen as folder\name.png; returns its Unix path.
std::string Screenshot(Run& run, const std::wstring& folder, const std::string& name);

// Screen point at the middle of a child control.
POINT CentreOf(HWND control);

// A real click on a toolbar button that opens a popup menu; returns once the
// menu is open and ready for access keys. The menus open over the pointer,
// so the pointer may have opened a submenu by hovering; that one is closed
// again with Escape, leaving the keys to work on the button's own menu.
void ClickMenuButton(Run& run, const Toolbar& toolbar, int buttonId);

}  // namespace e2e
