// The steps scenarios are written in: start the toolbar and the stand-in
// editor, act on them as a user would (or by posting the messages a click
// would cause), and read back what they show.
#pragma once

#include <windows.h>

#include <cstddef>
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
// Length in UTF-16 code units, as edit controls count selections.
int Utf16Length(const std::string& utf8);
// The parts with one blank between each two.
std::string Joined(const std::vector<std::string>& parts);
// A Pascal-like unit of about `bytes` bytes: indented blocks, blank lines,
// tabs, long lines and characters above U+007F. It neither starts nor ends
// with a blank or a line break, so a comment and uncomment round trip gives
// it back exactly.
std::string UnitText(std::size_t bytes);

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
// The stand-in editor is the system edit control, which under Wine needs
// several seconds to take in 10 MB; the waits for large texts allow for a
// slow machine too.
inline constexpr DWORD kBigTimeout = 180000;

// ---------------------------------------------------------------- files

bool WriteFileBytes(const std::wstring& path, const std::string& bytes);
std::optional<std::string> ReadFileBytes(const std::wstring& path);
// A file the scenario needs, with attributes (read-only, hidden, ...) when
// given; fails the step when it cannot be written.
void PutFile(Run& run, const std::wstring& path, const std::string& bytes, DWORD attributes = 0);
bool IsDirectory(const std::wstring& path);
// Every entry of a folder, hidden ones too, sorted by name.
std::vector<std::string> EntriesOf(const std::wstring& dir);

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

    // A watched process (the toolbar) must not end unless the scenario ends
    // it, and must end with exit code 0; the Run checks both at its end.
    void Watch() { watched_ = true; }
    void ExpectEnd() const { endExpected_ = true; }
    bool watched() const { return watched_; }
    bool endExpected() const { return endExpected_; }

private:
    HANDLE handle_ = nullptr;
    DWORD pid_ = 0;
    std::string label_;
    bool watched_ = false;
    mutable bool endExpected_ = false;
};

Process Launch(Run& run, const std::wstring& exe, const std::vector<std::wstring>& args,
               const std::wstring& cwd, const std::string& label);

// ---------------------------------------------------------------- windows

// A message to another process's window, given up after five seconds, or
// at once when the window does not answer at all.
LRESULT SendWithin(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0);
// For a window busy with a large text, which looks hung meanwhile: waits up
// to timeoutMs; answered, when given, tells whether it replied.
LRESULT SendPatiently(HWND w, UINT msg, WPARAM wp, LPARAM lp, DWORD timeoutMs, bool* answered = nullptr);

std::wstring ClassOf(HWND w);
// The window's text through WM_GETTEXT, which works across processes.
std::string TextOf(HWND w);
DWORD ProcessOf(HWND w);
std::vector<HWND> TopWindowsOf(DWORD pid, bool visibleOnly = true);
std::vector<HWND> ChildrenOf(HWND parent);  // direct children, in Z order
HWND FindTopWindow(DWORD pid, const wchar_t* cls, const wchar_t* caption = nullptr);
HWND WaitTopWindow(Run& run, DWORD pid, const wchar_t* cls, const wchar_t* caption, DWORD timeoutMs,
                   const std::string& what);

// "left,top WxH".
std::string RectText(const RECT& r);
// w's rectangle in the client coordinates of container.
RECT RectIn(HWND w, HWND container);
SIZE ClientSize(HWND w);
// Waits until w is hidden or gone.
bool WaitHidden(HWND w, DWORD timeoutMs = kDefaultTimeout);

// Class, caption and process of a window, for messages.
std::string Describe(HWND w);

// Makes w the foreground window and waits until it is.
void BringToFront(Run& run, HWND w);
// Brings w to the front and waits until every toolbar of the scenario has
// handled a timer tick taken after w came to the front, with w in front all
// the while. A program that has just started may still take the foreground
// once, so this tries again, up to attempts times.
void LetToolbarSee(Run& run, HWND w, int attempts = 3);

// ---------------------------------------------------------------- dialogs

// An open dialog of the toolbar. Its controls are found by id however deep
// they sit (on a panel, in a group box); a missing one fails the step.
struct Dialog {
    Run* run = nullptr;
    HWND hwnd = nullptr;

    HWND Ctl(int id) const;
    std::string Field(int id) const;
    // What typing would leave in the field; fails the step if it does not take it.
    void Type(int id, const std::string& text) const;
    bool Ticked(int id) const;
    // A click as the user makes it, through the button's own handling.
    void Click(int id) const;
    // A real click into a control, so that the keys pressed next go to it: a
    // window that has just been shown may not have the display's focus yet.
    void ClickInto(int id) const;
    void Tick(int id, bool on) const;
    void Pick(int radio) const;
    // Presses the button and waits for the dialog to go.
    void Close(int buttonId, DWORD timeoutMs = kDefaultTimeout) const;
    // Fails the step unless the dialog goes within timeoutMs.
    void WaitClosed(const std::string& after, DWORD timeoutMs = kDefaultTimeout) const;
    bool WaitFocus(int id) const;
    // Waits until the field holds expected; reports what it held last when it does not.
    bool ExpectField(int id, const std::string& expected, const std::string& what) const;
};

// ---------------------------------------------------------------- the stand-in editor

struct EditorOptions {
    std::string text;          // the editor's text (UTF-8, CR LF); used when file is empty
    std::wstring file;         // a file to load instead
    std::wstring caption = L"Unit1.pas";
    int x = 300, y = 40, width = 700, height = 600;
    std::vector<std::wstring> childrenBefore;  // classes of plain children ahead of the control
    bool nested = false;                       // the control inside a panel, not a direct child
    DWORD timeoutMs = kDefaultTimeout;         // for the window to show, which it does once the text is in
};

class Editor {
public:
    Process* process = nullptr;
    HWND frame = nullptr;    // "TEditWindow"
    HWND control = nullptr;  // "TEditControl"

    std::string Text() const;
    void SetText(const std::string& utf8) const;  // also clears the control's undo
    // Selection in UTF-16 code units, as the control counts.
    void Select(int start, int end) const;
    // Holds before + selection + after, the middle selected.
    void SetAndSelect(const std::string& before, const std::string& selection, const std::string& after) const;
    // Selects the first occurrence of needle (UTF-8); fails the step when absent.
    void SelectText(Run& run, const std::string& needle) const;
    void SelectAll() const;
    // No selection, caret at the given place.
    void Caret(int pos) const;
    std::pair<int, int> Selection() const;
    // The editor is the foreground window and its control has the keyboard focus.
    bool HasFocus() const;

    int CopyCount() const;
    int PasteCount() const;
    int UndoCount() const;
    // Empty, or which program held the clipboard when a paste came, so that
    // the control pasted nothing: a text that did not change is explained.
    std::string PasteTrouble() const;
};

// Notes the editor's PasteTrouble, if any, beside a failed check.
void NotePasteTrouble(Run& run, const Editor& editor, const std::string& what);

inline EditorOptions WithText(std::string text) {
    EditorOptions o;
    o.text = std::move(text);
    return o;
}

// A text of megabytes, which the stand-in needs long to take in.
inline EditorOptions WithBigText(std::string text) {
    EditorOptions o = WithText(std::move(text));
    o.caption = L"Big.pas";
    o.timeoutMs = kBigTimeout;
    return o;
}

// The text goes in through the editor's file: Wine does not carry a
// WM_SETTEXT of several megabytes across processes.
Editor LaunchEditor(Run& run, const EditorOptions& options = {});
// The whole text of a window, waiting as long as a 10 MB edit takes.
std::optional<std::string> BigText(HWND w);
// Waits until the editor has finished with paste number n.
bool WaitPastes(const Editor& editor, int n, DWORD timeoutMs);

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
    std::vector<std::wstring> args;  // the command line after the program's name
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

    std::vector<MessageBoxInfo> MessageBoxes() const;  // MessageBoxesOf(process->pid())
    MessageBoxInfo WaitMessageBox(Run& run, DWORD timeoutMs = kDefaultTimeout) const;
    // True when no message box of the toolbar shows up for ms. A fixed wait
    // that passes when a box comes late: with ms > 0 prefer
    // NoMessageBoxAfterTick, which proves the toolbar got that far.
    bool NoMessageBoxFor(DWORD ms) const;
    HWND WaitDialog(Run& run, const wchar_t* cls, DWORD timeoutMs = kDefaultTimeout) const;
    // Closes the toolbar as its close box does and waits for the process to end.
    bool Close(DWORD timeoutMs = kDefaultTimeout) const;
};

Toolbar LaunchToolbar(Run& run, const ToolbarOptions& options = {});
// WM_KEYDOWN the toolbar's thread has taken from its queue so far: proof that
// a key arrived where nothing visible follows from it.
long KeysTaken(Run& run, const Toolbar& toolbar);
// Timer ticks the toolbar's thread has taken from its queue so far.
long TicksTaken(Run& run, const Toolbar& toolbar);
// Waits until the toolbar's thread takes a timer tick after now. A tick is
// taken only when no posted message waits, so whatever was posted to the
// toolbar before (a key, a command) has been handled by then.
bool WaitTickAfterNow(Run& run, const Toolbar& toolbar, DWORD timeoutMs = 5000);
// No message box of the toolbar's is up once its thread has taken a timer
// tick after now: whatever was posted to it before has run, or shows its box.
bool NoMessageBoxAfterTick(Run& run, const Toolbar& toolbar);
// The open message boxes (class "#32770") of a process.
std::vector<MessageBoxInfo> MessageBoxesOf(DWORD pid);

// A menu command that opens a dialog of class cls.
Dialog OpenDialog(Run& run, const Toolbar& toolbar, int command, const wchar_t* cls,
                  DWORD timeoutMs = kDefaultTimeout);

// Presses a button of a message box (or dialog) and waits until it is gone.
void Dismiss(Run& run, HWND box, int buttonId);
// Checks that no message box of the toolbar is up; one that is gets reported
// and dismissed, so that the scenario can go on.
bool ExpectNoMessageBox(Run& run, const Toolbar& toolbar, const std::string& what);
// Checks text, caption and icon of the next message box and that OK is its
// one button, then presses it.
void ExpectMessageBox(Run& run, const Toolbar& toolbar, const std::string& text, const std::string& caption,
                      bool icon = false);

// The texts compared; a long one is reported by its size and where it first
// differs rather than printed whole.
bool ExpectSameText(Run& run, const std::string& what, const std::string& expected, const std::string& actual);
// Waits until the editor's text equals expected; reports the last text seen when it does not.
bool ExpectEditorText(Run& run, const Editor& editor, const std::string& expected,
                      DWORD timeoutMs = kDefaultTimeout, const std::string& what = "editor text");
// Checks that the text stays as it is for ms (for commands that must not
// paste). A fixed wait, which a late paste passes: where the toolbar is at
// hand, the form below proves the toolbar has finished instead.
bool ExpectEditorUnchanged(Run& run, const Editor& editor, const std::string& expected, DWORD ms = 1500);
// Checks that the text is as it was once the toolbar's thread has taken a
// timer tick after now: by then every command posted to it before has run
// (or waits in a dialog or box, which the scenario's other checks see).
bool ExpectEditorUnchanged(Run& run, const Toolbar& toolbar, const Editor& editor, const std::string& expected);
// Checks the editor's WM_PASTE count, once it reached n or timeoutMs passed:
// the paste may come after the text already looks right (a text pasted over
// itself) since the toolbar first waits for the clipboard to be free.
bool ExpectPastes(Run& run, const Editor& editor, int n, const std::string& what,
                  DWORD timeoutMs = kDefaultTimeout);
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
    // How many times the key (a virtual-key code) went down in this window.
    int KeyDowns(UINT vk) const;
    // How many WM_HOTKEY this window received (for a key it registered itself).
    int HotKeys() const;

private:
    HWND hwnd_ = nullptr;
};

// ---------------------------------------------------------------- clipboard

std::optional<std::string> ClipboardText();  // nullopt: no text on the clipboard
bool SetClipboardText(const std::string& utf8);
// On a clipboard this thread has open: its text (nullopt when it has none),
// and text put there alone. For the driver's stand-ins for other programs.
std::optional<std::wstring> OpenClipboardText();
bool PutOnOpenClipboard(const std::wstring& text);

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
// The same for a menu of the toolbar that `open` opens, described by `what`.
OpenedMenu ReadMenuOpenedBy(Run& run, const Toolbar& toolbar, const std::function<void()>& open,
                            const std::string& what);
// The open popup menus (class "#32768") of a process.
std::vector<HWND> OpenMenus(DWORD pid);
// One line per item, submenus indented by two blanks; with ids, each command
// item's id follows its caption after " #".
std::string Outline(const std::vector<MenuItem>& items, bool withIds = false, int depth = 0);

// ---------------------------------------------------------------- layouts

// A window and every window inside it, one line each, children indented
// under their parent in Z order: class, id, text, rectangle (the screen's
// coordinates for w, the parent's client coordinates below it), style bits
// and what a control of its class holds beyond them (an edit's text limit,
// a check box's state, the buddy and range of up-down arrows, whether a
// picture holds an image); then the order Tab goes round and the default
// button.
std::string LayoutOf(HWND w);
// Compares a layout (LayoutOf, or the Outline of menus) with the committed
// tests/e2e/layouts/<form>.txt. A difference is reported line by line and the
// layout as it is written beside the scenario's files, to be copied over
// the committed one when the change is meant.
bool ExpectLayout(Run& run, const std::string& form, const std::string& layout);

// ---------------------------------------------------------------- the X display

// True when the runner serves host requests (xdotool, screenshots).
bool HaveHost(const Run& run);
// Runs xdotool on the X display the programs are shown on.
void Xdo(Run& run, const std::vector<std::string>& args);
// The X window Wine shows a top-level window in (0 when it has none).
ULONG_PTR XWindowOf(HWND top);
// The top-level X window the display has at a screen point; moves the pointer there.
ULONG_PTR XWindowAt(Run& run, POINT at);
// Moves the pointer to a screen point, clicking nothing.
void MovePointer(Run& run, POINT to);
// The X window that holds the display's input focus (0 when none can be read).
ULONG_PTR XFocus(Run& run);

// Real input goes only where it is meant to go. Keys reach the window that is
// Wine's foreground window only while the display's input focus is in that
// window too; the two can disagree for a while (a window activated before it
// was on the display, the focus reverting to the root when a focused window
// closes). So every step that sends real input first makes sure of its
// target, and fails at once, naming the window that has the focus instead,
// rather than type into another window.
//
// Before keys: target's top-level window is the foreground window and holds
// the X input focus. When it does not come to hold both by itself, this
// clicks its caption (into the window when it has none), as a user would,
// and waits for both.
void ReadyForKeys(Run& run, HWND target, DWORD timeoutMs = kDefaultTimeout);
// Real key presses, xdotool key names ("c", "Return", "Escape"), for target
// (a window or a control of it) once ReadyForKeys.
void PressKeys(Run& run, HWND target, const std::vector<std::string>& keys);
// As above, for the foreground window, which must be one of the scenario's.
void PressKeys(Run& run, const std::vector<std::string>& keys);
// Real mouse clicks at a screen point, once the display shows target's
// top-level window under the pointer there (it is raised meanwhile).
void ClickScreen(Run& run, HWND target, POINT at, int clicks = 1);
// As above, for whichever window of the scenario's is at that point.
void ClickScreen(Run& run, POINT at, int clicks = 1);
// Where a file of the Wine prefix is on the host, for messages a developer acts on.
std::string UnixPath(Run& run, const std::wstring& windowsPath);
// Saves a picture of the whole screen as folder\\name.png; returns its Unix path.
std::string Screenshot(Run& run, const std::wstring& folder, const std::string& name);
// A screenshot for the README into the --shots folder, when one was named.
void ShotIfAsked(Run& run, const std::string& name);

// A real click on a toolbar button that opens a popup menu; returns once the
// menu is open and ready for access keys. The menus open over the pointer,
// so the pointer may have opened a submenu by hovering; that one is closed
// again with Escape, leaving the keys to work on the button's own menu.
void ClickMenuButton(Run& run, const Toolbar& toolbar, int buttonId);
// Access keys into the open menu of the toolbar: every key but the last must
// open a submenu, which is waited for before the next key (an early key
// lands in the parent menu); the last picks a command, after which every
// menu has closed. Fails at the first key that does not do its part.
void PressMenuKeys(Run& run, const Toolbar& toolbar, const std::vector<std::string>& keys);
// One access key that opens a submenu, waited for.
void OpenSubmenuByKey(Run& run, const Toolbar& toolbar, const std::string& key);

}  // namespace e2e
