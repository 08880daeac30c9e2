// The snippet stash through the whole cycle: the save dialog writes the
// selection into the stash folder beside the program, the browser lists the
// folder and pastes a snippet back; refused names and failed writes, text
// encodings, and the browser's window.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <optional>

#include "app/command_ids.h"
#include "desk.h"
#include "stash/stash_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fsave = snipkit::ids::fsave;
namespace fstash = snipkit::ids::fstash;

LRESULT SendWithin(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

int Utf16Length(const std::string& s) { return static_cast<int>(FromUtf8(s).size()); }

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// ---------------------------------------------------------------- files

std::wstring StashDir(const Toolbar& t) { return t.folder + L"\\stash"; }
std::wstring StashFile(const Toolbar& t, const std::string& name) { return StashDir(t) + L"\\" + FromUtf8(name); }
// The path as the program names it in its messages.
std::string StashPath(const Toolbar& t, const std::string& name) { return ToUtf8(StashFile(t, name)); }

std::optional<std::string> ReadBytes(const std::wstring& path) {
    HANDLE f =
        CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string s;
    char buf[65536];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) s.append(buf, got);
    CloseHandle(f);
    return s;
}

void WriteBytes(Run& run, const std::wstring& path, const std::string& bytes, DWORD attributes = 0) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    run.Require(f != INVALID_HANDLE_VALUE, "the driver can create " + ToUtf8(path));
    DWORD put = 0;
    const BOOL ok = WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
    run.Require(ok && put == bytes.size(), "the driver can write " + ToUtf8(path));
    if (attributes != 0)
        run.Require(SetFileAttributesW(path.c_str(), attributes) != 0, "attributes of " + ToUtf8(path));
}

// Every entry of a folder, hidden ones too, sorted: what a save left behind.
std::string Entries(const std::wstring& dir) {
    std::vector<std::string> names;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring n = fd.cFileName;
            if (n != L"." && n != L"..") names.push_back(ToUtf8(n));
        } while (FindNextFileW(h, &fd));
        FindClose(h);
    }
    std::sort(names.begin(), names.end());
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

// ---------------------------------------------------------------- dialogs

// The dialogs' controls sit on panels, not on the dialog itself.
HWND Item(Run& run, HWND dialog, int id) {
    HWND c = FindDescendantById(dialog, id);
    run.Require(c != nullptr, ToUtf8(ClassOf(dialog)) + " has the control " + std::to_string(id));
    return c;
}

std::string Field(Run& run, HWND dialog, int id) { return TextOf(Item(run, dialog, id)); }

void SetField(Run& run, HWND dialog, int id, const std::string& utf8) {
    const std::wstring w = FromUtf8(utf8);
    SendWithin(Item(run, dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    run.Require(Field(run, dialog, id) == utf8, "control " + std::to_string(id) + " took the text " + Show(utf8));
}

void Press(Run& run, HWND dialog, int id) { PostMessageW(Item(run, dialog, id), BM_CLICK, 0, 0); }

bool WaitHidden(HWND dialog) {
    return WaitUntil([&] { return !IsWindow(dialog) || !IsWindowVisible(dialog); }, kDefaultTimeout);
}

bool StaysOpen(HWND dialog, DWORD ms) {
    return !WaitUntil([&] { return !IsWindowVisible(dialog); }, ms);
}

// The control that has the keyboard focus in the dialog's thread.
HWND FocusIn(HWND dialog) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(dialog, nullptr), &info)) return nullptr;
    return info.hwndFocus;
}

bool WaitFocus(HWND dialog, HWND control) {
    return WaitUntil([&] { return FocusIn(dialog) == control; }, kDefaultTimeout);
}

void ExpectText(Run& run, HWND dialog, int id, const std::string& expected, const std::string& what) {
    std::string last;
    if (WaitUntil([&] { return (last = Field(run, dialog, id)) == expected; }, kDefaultTimeout)) return;
    run.ExpectEq(what, expected, last);
}

RECT ClientIn(HWND control, HWND dialog) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

SIZE ClientSize(HWND w) {
    RECT r{};
    GetClientRect(w, &r);
    return {r.right, r.bottom};
}

bool CentredOnScreen(HWND w) {
    RECT r{};
    GetWindowRect(w, &r);
    const int dx = (r.left + r.right) - GetSystemMetrics(SM_CXSCREEN);
    const int dy = (r.top + r.bottom) - GetSystemMetrics(SM_CYSCREEN);
    return dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1;
}

LONG_PTR StyleOf(HWND w) { return GetWindowLongPtrW(w, GWL_STYLE); }

// A text box of the stash: several lines, both scroll bars, no word wrap,
// editable, Enter a line break, and no limit on the text's length.
void ExpectTextBox(Run& run, HWND box, const std::string& what) {
    const LONG_PTR style = StyleOf(box);
    run.Expect((style & ES_MULTILINE) != 0, what + ": multi-line");
    run.Expect((style & WS_HSCROLL) && (style & WS_VSCROLL), what + ": both scroll bars");
    run.Expect((style & ES_AUTOHSCROLL) != 0, what + ": no word wrap");
    run.Expect((style & ES_READONLY) == 0, what + ": editable");
    run.Expect((style & ES_WANTRETURN) != 0, what + ": Enter inserts a line break");
    const LRESULT limit = SendWithin(box, EM_GETLIMITTEXT);
    run.Expect(static_cast<unsigned long long>(limit) >= 0x7FFFFFFEull,
               what + ": no text limit (EM_GETLIMITTEXT " + std::to_string(limit) + ")");
}

void ShotIfAsked(Run& run, const std::string& name) {
    if (run.config().shotsDir.empty() || !HaveHost(run)) return;
    std::printf("      screenshot: %s\n", Screenshot(run, run.config().shotsDir, name).c_str());
}

// A box of the program: its text and caption; the error box has an icon,
// the program's own checks have none. OK dismisses it.
void ExpectBox(Run& run, const Toolbar& t, const std::string& text, const std::string& caption, bool icon) {
    const MessageBoxInfo box = t.WaitMessageBox(run);
    run.ExpectEq("message box text", text, box.text);
    run.ExpectEq("message box caption", caption, box.caption);
    run.ExpectEq("message box buttons", 1, static_cast<long long>(box.buttons.size()));
    run.ExpectEq(std::string("message box ") + (icon ? "has" : "has no") + " icon", icon, box.hasIcon);
    Dismiss(run, box.window, box.buttons.empty() ? IDOK : box.buttons.front().first);
}

void ExpectErrorBox(Run& run, const Toolbar& t, const std::string& text) {
    ExpectBox(run, t, text, "Delphi Snipkit", true);
}

// ---------------------------------------------------------------- the save dialog

HWND OpenSave(Run& run, const Desk& d) {
    d.toolbar.Command(ids::butStash);
    HWND dlg = d.toolbar.WaitDialog(run, L"TfrmSave");
    run.Require(WaitFocus(dlg, Item(run, dlg, fsave::txtName)), "the save dialog opens in the file-name field");
    return dlg;
}

// ---------------------------------------------------------------- the browser

HWND OpenBrowser(Run& run, const Desk& d) {
    d.toolbar.Command(ids::butLoad);
    HWND dlg = d.toolbar.WaitDialog(run, L"TfrmStash");
    run.Require(WaitFocus(dlg, Item(run, dlg, fstash::file1)), "the browser opens in the file list");
    return dlg;
}

std::vector<std::string> ListNames(Run& run, HWND dlg) {
    HWND list = Item(run, dlg, fstash::file1);
    std::vector<std::string> names;
    const LRESULT count = SendWithin(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        const LRESULT length = SendWithin(list, LB_GETTEXTLEN, static_cast<WPARAM>(i));
        std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
        const LRESULT got = SendWithin(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
        text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
        names.push_back(ToUtf8(text));
    }
    return names;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string out;
    for (const std::string& n : names) out += (out.empty() ? "" : " ") + n;
    return out;
}

LRESULT Selected(Run& run, HWND dlg) { return SendWithin(Item(run, dlg, fstash::file1), LB_GETCURSEL); }

// An opening starts with the folder as it is, nothing selected, no preview.
void ExpectFreshBrowser(Run& run, HWND dlg, const std::string& names, const std::string& what) {
    run.ExpectEq(what + ": listed files", names, Joined(ListNames(run, dlg)));
    run.ExpectEq(what + ": selection", LB_ERR, Selected(run, dlg));
    run.ExpectEq(what + ": preview", "", Field(run, dlg, fstash::Memo1));
}

// Screen point in the middle of a list entry.
POINT EntryPoint(Run& run, HWND dlg, const std::string& name) {
    const std::vector<std::string> names = ListNames(run, dlg);
    const auto at = std::find(names.begin(), names.end(), name);
    run.Require(at != names.end(), "the list holds " + name);
    HWND list = Item(run, dlg, fstash::file1);
    const int index = static_cast<int>(at - names.begin());
    const int height = static_cast<int>(SendWithin(list, LB_GETITEMHEIGHT));
    const int top = static_cast<int>(SendWithin(list, LB_GETTOPINDEX));
    run.Require(height > 0 && index >= top, "the entry " + name + " is in view");
    RECT client{};
    GetClientRect(list, &client);
    POINT p{client.right / 2, (index - top) * height + height / 2};
    run.Require(p.y < client.bottom, "the entry " + name + " is in view");
    ClientToScreen(list, &p);
    return p;
}

// Real mouse clicks. No "--sync" on the move: it waits for a motion that
// never comes when the pointer is already there, as after an earlier click
// on the same entry.
void ClickAt(Run& run, POINT p, int clicks = 1) {
    Xdo(run, {"mousemove", std::to_string(p.x), std::to_string(p.y), "click", "--repeat", std::to_string(clicks),
              "--delay", "60", "1"});
}

void ClickEntry(Run& run, HWND dlg, const std::string& name) { ClickAt(run, EntryPoint(run, dlg, name)); }
void DoubleClickEntry(Run& run, HWND dlg, const std::string& name) { ClickAt(run, EntryPoint(run, dlg, name), 2); }

// The editor as the place to paste into: text given, all of it selected, so
// that afterwards it holds exactly what was pasted.
void PasteTarget(const Desk& d, const std::string& text) {
    d.editor.SetText(text);
    d.editor.SelectAll();
}

// The ways to leave a dialog without taking anything.
struct CancelWay {
    const char* name;
    void (*act)(Run&, HWND);
};

const CancelWay kCancelButton{"Cancel button", [](Run& r, HWND dlg) { Press(r, dlg, ids::butCancel); }};
const CancelWay kEsc{"Esc", [](Run& r, HWND) { PressKeys(r, {"Escape"}); }};
const CancelWay kCloseBox{"close box", [](Run&, HWND dlg) { PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0); }};

// ---------------------------------------------------------------- shared texts

const std::string kUnit = "unit Swap;\r\n\r\nbegin\r\n  t := a;\r\n  a := b;\r\nend.\r\n";
const std::string kPicked = "t := a;\r\n  a := b;";

bool SingleByteAcpWithEAcute() {
    const char e = static_cast<char>(0xE9);
    wchar_t w[2] = {};
    return MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, &e, 1, w, 2) == 1 && w[0] == 0x00E9;
}

}  // namespace

E2E_SCENARIO("stash", "save_and_retrieve",
             "a selection saved with Enter, the exact bytes on disk, pasted back elsewhere") {
    Desk d = OpenDesk(run, WithText(kUnit));
    d.editor.SelectText(run, kPicked);
    HWND dlg = OpenSave(run, d);

    run.Note("the save dialog as it opens");
    run.ExpectEq("caption", "Save code to stash", TextOf(dlg));
    const SIZE client = ClientSize(dlg);
    run.ExpectEq("client area", "312x227", std::to_string(client.cx) + "x" + std::to_string(client.cy));
    run.Expect((GetWindowLongPtrW(dlg, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) != 0, "tool-window frame");
    run.Expect((StyleOf(dlg) & WS_SYSMENU) != 0, "a close box");
    run.Expect((StyleOf(dlg) & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0, "fixed size, no other boxes");
    run.Expect(CentredOnScreen(dlg), "centred on the screen");
    const RECT panel = ClientIn(Item(run, dlg, fsave::Panel1), dlg);
    run.ExpectEq("the panel fills the dialog", "0,0 312x227", Rect(panel));
    run.ExpectEq("label", "FileName:", Field(run, dlg, fsave::labName));
    run.ExpectEq("label", "Description:", Field(run, dlg, fsave::labDesc));
    run.ExpectEq("label", "View of clipped code:", Field(run, dlg, fsave::labView));
    run.ExpectEq("button", "OK", Field(run, dlg, ids::butOK));
    run.ExpectEq("button", "Cancel", Field(run, dlg, ids::butCancel));
    run.Expect((StyleOf(Item(run, dlg, ids::butOK)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "OK is the default button");
    run.Expect(
        ClientIn(Item(run, dlg, fsave::labName), dlg).right <= ClientIn(Item(run, dlg, fsave::txtName), dlg).left,
        "the file-name field stands right of its label");
    run.Expect(ClientIn(Item(run, dlg, ids::butOK), dlg).top >= ClientIn(Item(run, dlg, fsave::Memo1), dlg).bottom,
               "the buttons stand below the text box");
    ExpectTextBox(run, Item(run, dlg, fsave::Memo1), "text box");
    run.ExpectEq("file name at start-up", "", Field(run, dlg, fsave::txtName));
    run.ExpectEq("description at start-up", "", Field(run, dlg, fsave::txtDesc));
    run.ExpectEq("the text box holds the selection", kPicked, Field(run, dlg, fsave::Memo1));
    ShotIfAsked(run, "stash-save-dialog");

    run.Note("tab order: name, description, text box, OK, Cancel");
    const int order[] = {fsave::txtDesc, fsave::Memo1, ids::butOK, ids::butCancel, fsave::txtName};
    for (int id : order) {
        PressKeys(run, {"Tab"});
        run.Expect(WaitFocus(dlg, Item(run, dlg, id)), "Tab moves on to control " + std::to_string(id));
    }

    run.Note("Enter in the description field saves");
    SetField(run, dlg, fsave::txtName, "swap");
    SetField(run, dlg, fsave::txtDesc, "swap a and b");
    PressKeys(run, {"Tab", "Return"});
    run.Require(WaitHidden(dlg), "the save dialog closed after Enter");
    const std::string stored = "//SNIPKIT:swap a and b\r\nt := a;\r\n  a := b;\r\n";
    run.ExpectEq("swap.pas on disk", stored, ReadBytes(StashFile(d.toolbar, "swap.pas")).value_or("<missing>"));
    run.ExpectEq("the stash folder", "swap.pas", Entries(StashDir(d.toolbar)));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
    run.ExpectEq("the save pastes nothing", 0, d.editor.PasteCount());

    run.Note("the second opening keeps name and description; Enter in the text box is a line break; Esc");
    d.editor.SelectText(run, "a := b;");
    dlg = OpenSave(run, d);
    run.ExpectEq("file name kept", "swap", Field(run, dlg, fsave::txtName));
    run.ExpectEq("description kept", "swap a and b", Field(run, dlg, fsave::txtDesc));
    run.ExpectEq("the text box holds the new selection", "a := b;", Field(run, dlg, fsave::Memo1));
    PressKeys(run, {"Tab", "Tab"});
    run.Require(WaitFocus(dlg, Item(run, dlg, fsave::Memo1)), "the text box has the focus");
    PressKeys(run, {"ctrl+End", "Return", "x"});
    ExpectText(run, dlg, fsave::Memo1, "a := b;\r\nx", "the text box after Enter and x");
    run.Expect(IsWindowVisible(dlg) != FALSE, "Enter in the text box did not save");
    PressKeys(run, {"Escape"});
    run.Require(WaitHidden(dlg), "Esc closed the save dialog");
    run.ExpectEq("swap.pas after Esc", stored, ReadBytes(StashFile(d.toolbar, "swap.pas")).value_or("<missing>"));
    run.ExpectEq("the stash folder after Esc", "swap.pas", Entries(StashDir(d.toolbar)));

    run.Note("Cancel and the close box write nothing and keep what was typed");
    std::string typed = "swap";
    for (const CancelWay& row : {kCancelButton, kCloseBox}) {
        dlg = OpenSave(run, d);
        run.ExpectEq(std::string(row.name) + ": the name as left", typed, Field(run, dlg, fsave::txtName));
        typed = std::string("left by ") + row.name;
        SetField(run, dlg, fsave::txtName, typed);
        row.act(run, dlg);
        run.Require(WaitHidden(dlg), std::string(row.name) + " closed the save dialog");
        run.ExpectEq(std::string(row.name) + ": the stash folder", "swap.pas", Entries(StashDir(d.toolbar)));
    }

    run.Note("retrieved at the end of the unit");
    d.editor.Caret(Utf16Length(kUnit));
    HWND browser = OpenBrowser(run, d);
    ExpectFreshBrowser(run, browser, "swap.pas", "first opening");
    ClickEntry(run, browser, "swap.pas");
    ExpectText(run, browser, fstash::Memo1, stored, "preview of swap.pas");
    Press(run, browser, fstash::butCopy);
    run.Require(WaitHidden(browser), "COPY closed the browser");
    ExpectEditorText(run, d.editor, kUnit + "t := a;\r\n  a := b;\r\n", kDefaultTimeout, "the unit with the snippet");
    run.ExpectEq("the snippet is on the clipboard", "t := a;\r\n  a := b;\r\n", ClipboardText().value_or("<none>"));
}

E2E_SCENARIO("stash", "browser_takes",
             "listing, Cancel/Esc/close box, keys, an edited preview, double-click, a plain file") {
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        const std::wstring stash = folder + L"\\stash";
        CreateDirectoryW(stash.c_str(), nullptr);
        WriteBytes(run, stash + L"\\b.pas", "//SNIPKIT:bee\r\nB1\r\nB2\r\n");
        WriteBytes(run, stash + L"\\A.txt", "first line\r\nsecond\r\nthird");
        WriteBytes(run, stash + L"\\c.PAS", "//SNIPKIT:see\r\nC1\r\n", FILE_ATTRIBUTE_READONLY);
        WriteBytes(run, stash + L"\\mixed.pas", "//SNIPKIT:mixed\nL1\rL2\r\nL3");
        WriteBytes(run, stash + L"\\Zed.pas", "//SNIPKIT:zed\r\nZ\r\n");
        WriteBytes(run, stash + L"\\hidden.pas", "//SNIPKIT:h\r\nH\r\n", FILE_ATTRIBUTE_HIDDEN);
        WriteBytes(run, stash + L"\\system.pas", "//SNIPKIT:s\r\nS\r\n", FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryW((stash + L"\\sub.pas").c_str(), nullptr);
        WriteBytes(run, stash + L"\\sub.pas\\inner.pas", "//SNIPKIT:i\r\nI\r\n");
    };
    Desk d = OpenDesk(run, WithText("placeholder"), o);
    // Sorted without regard to case; hidden and system files and folders left out.
    const std::string listed = "A.txt b.pas c.PAS mixed.pas Zed.pas";

    for (const CancelWay& row : {kCancelButton, kEsc, kCloseBox}) {
        run.Note(std::string("a previewed file, then ") + row.name);
        PasteTarget(d, "placeholder");
        const int pastes = d.editor.PasteCount();
        HWND dlg = OpenBrowser(run, d);
        ExpectFreshBrowser(run, dlg, listed, row.name);
        ClickEntry(run, dlg, "b.pas");
        ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:bee\r\nB1\r\nB2\r\n", std::string(row.name) + ": preview");
        row.act(run, dlg);
        run.Require(WaitHidden(dlg), std::string(row.name) + " closed the browser");
        ExpectEditorUnchanged(run, d.editor, "placeholder", 600);
        run.ExpectEq(std::string(row.name) + ": nothing pasted", pastes, d.editor.PasteCount());
    }

    run.Note("keyboard: Down selects and previews, Enter takes");
    PasteTarget(d, "placeholder");
    HWND dlg = OpenBrowser(run, d);
    PressKeys(run, {"Down"});
    ExpectText(run, dlg, fstash::Memo1, "first line\r\nsecond\r\nthird", "preview after Down");
    PressKeys(run, {"Down"});
    ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:bee\r\nB1\r\nB2\r\n", "preview after the second Down");
    PressKeys(run, {"Return"});
    run.Require(WaitHidden(dlg), "Enter in the list took the snippet");
    ExpectEditorText(run, d.editor, "B1\r\nB2\r\n", kDefaultTimeout, "pasted by Enter");

    run.Note("an edited preview is what COPY takes; lone CR and LF shown as CR LF");
    PasteTarget(d, "placeholder");
    dlg = OpenBrowser(run, d);
    ClickEntry(run, dlg, "mixed.pas");
    ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:mixed\r\nL1\r\nL2\r\nL3", "preview of mixed line breaks");
    ClickAt(run, CentreOf(Item(run, dlg, fstash::Memo1)));
    run.Require(WaitFocus(dlg, Item(run, dlg, fstash::Memo1)), "the preview has the focus");
    PressKeys(run, {"ctrl+End", "X", "Return", "Y"});
    ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:mixed\r\nL1\r\nL2\r\nL3X\r\nY", "the edited preview");
    run.Expect(StaysOpen(dlg, 300), "Enter in the preview is a line break, not COPY");
    Press(run, dlg, fstash::butCopy);
    run.Require(WaitHidden(dlg), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "L1\r\nL2\r\nL3X\r\nY", kDefaultTimeout, "the edited snippet");
    run.ExpectEq("mixed.pas is never written", "//SNIPKIT:mixed\nL1\rL2\r\nL3",
                 ReadBytes(StashFile(d.toolbar, "mixed.pas")).value_or("<missing>"));

    run.Note("a double-click takes the file as stored, edits dropped");
    PasteTarget(d, "placeholder");
    dlg = OpenBrowser(run, d);
    ClickEntry(run, dlg, "c.PAS");
    ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:see\r\nC1\r\n", "preview of the read-only c.PAS");
    SetField(run, dlg, fstash::Memo1, "//SNIPKIT:see\r\nedited\r\n");
    DoubleClickEntry(run, dlg, "c.PAS");
    run.Require(WaitHidden(dlg), "the double-click closed the browser");
    ExpectEditorText(run, d.editor, "C1\r\n", kDefaultTimeout, "pasted by the double-click");

    run.Note("a file that is no snippet loses its first line");
    PasteTarget(d, "placeholder");
    dlg = OpenBrowser(run, d);
    ClickEntry(run, dlg, "A.txt");
    ExpectText(run, dlg, fstash::Memo1, "first line\r\nsecond\r\nthird", "preview of A.txt");
    Press(run, dlg, fstash::butCopy);
    run.Require(WaitHidden(dlg), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "second\r\nthird", kDefaultTimeout, "A.txt without its first line");

    run.Note("COPY with nothing chosen pastes the empty text");
    PasteTarget(d, "placeholder");
    const int pastes = d.editor.PasteCount();
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, listed, "last opening");
    Press(run, dlg, fstash::butCopy);
    run.Require(WaitHidden(dlg), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "", kDefaultTimeout, "after COPY of nothing");
    run.ExpectEq("one paste", pastes + 1, d.editor.PasteCount());
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("stash", "save_refused",
             "an empty, a foreign or a device name, a read-only snippet: the dialog stays as left") {
    ToolbarOptions o;
    const std::string old = "//SNIPKIT:old\r\nold();\r\n";
    o.prepare = [&](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
        WriteBytes(run, folder + L"\\stash\\ro.pas", old, FILE_ATTRIBUTE_READONLY);
    };
    Desk d = OpenDesk(run, WithText("begin\r\n  code();\r\nend.\r\n"), o);
    d.editor.SelectText(run, "code();");
    HWND dlg = OpenSave(run, d);
    const std::string memo = "code();\r\nmore();";

    struct Row {
        const char* name;
        const char* desc;
        std::string text;
        std::string caption;
        bool icon;
    };
    const Row rows[] = {
        {"", "empty name", "You need to enter a filename to save this piece of code.", "Can't save", false},
        {"..\\x", "leaves the stash", "This file name can't be used in the stash: ..\\x", "Can't save", false},
        {"CON", "a device", "This file name can't be used in the stash: CON", "Can't save", false},
        {"ro", "read-only", "Cannot create file " + StashPath(d.toolbar, "ro.pas") + ".", "Delphi Snipkit", true},
    };
    for (const Row& row : rows) {
        run.Note(std::string("OK with the name ") + Show(row.name));
        SetField(run, dlg, fsave::txtName, row.name);
        SetField(run, dlg, fsave::txtDesc, row.desc);
        SetField(run, dlg, fsave::Memo1, memo);
        Press(run, dlg, ids::butOK);
        ExpectBox(run, d.toolbar, row.text, row.caption, row.icon);
        run.Expect(StaysOpen(dlg, 300), std::string(row.desc) + ": the dialog stays open");
        // A message about the name sends the user back to the name.
        if (!row.icon) {
            run.Expect(WaitFocus(dlg, Item(run, dlg, fsave::txtName)), std::string(row.desc) + ": focus on the name");
        }
        run.ExpectEq(std::string(row.desc) + ": name", row.name, Field(run, dlg, fsave::txtName));
        run.ExpectEq(std::string(row.desc) + ": description", row.desc, Field(run, dlg, fsave::txtDesc));
        run.ExpectEq(std::string(row.desc) + ": text box, no marker line", memo, Field(run, dlg, fsave::Memo1));
        run.ExpectEq(std::string(row.desc) + ": stash folder", "ro.pas", Entries(StashDir(d.toolbar)));
        run.ExpectEq(std::string(row.desc) + ": ro.pas", old, ReadBytes(StashFile(d.toolbar, "ro.pas")).value_or(""));
        run.ExpectEq(std::string(row.desc) + ": the program's folder", "snipkit.exe stash", Entries(d.toolbar.folder));
    }

    run.Note("a usable name then saves what the user left");
    SetField(run, dlg, fsave::txtName, "fine");
    Press(run, dlg, ids::butOK);
    run.Require(WaitHidden(dlg), "the save dialog closed after the save");
    run.ExpectEq("fine.pas", "//SNIPKIT:read-only\r\ncode();\r\nmore();\r\n",
                 ReadBytes(StashFile(d.toolbar, "fine.pas")).value_or("<missing>"));
    run.ExpectEq("stash folder", "fine.pas ro.pas", Entries(StashDir(d.toolbar)));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("stash", "encodings",
             "ANSI when the bytes read back as the text, UTF-8 otherwise; old ANSI, BOM and UTF-16 files read") {
    run.Require(SingleByteAcpWithEAcute(),
                "Wine's ANSI code page (" + std::to_string(GetACP()) +
                    ") maps byte 0xE9 to e-acute; set a Western locale (LANG=en_US.UTF-8) for this test");
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
        WriteBytes(run, folder + L"\\stash\\old.pas", "//SNIPKIT:vieux caf\xE9\r\ncaf\xE9 cr\xE8me\r\n");
        // As Windows editors save them: UTF-8 with a byte order mark, and UTF-16.
        WriteBytes(run, folder + L"\\stash\\bom.pas", "\xEF\xBB\xBF//SNIPKIT:bom\r\nGr\xC3\xBC\xC3\x9F" "e\r\n");
        WriteBytes(run, folder + L"\\stash\\be.pas", std::string("\xFE\xFF\0/\0/\0\r\0\n\x03\xA9\0\r\0\n", 16));
    };
    Desk d = OpenDesk(run, WithText("x := 'Grüße Ω 日本';\r\ny := 'café';\r\ns := 'Ã©';\r\n"), o);

    run.Note("text beyond the code page is written as UTF-8");
    d.editor.SelectText(run, "x := 'Grüße Ω 日本';");
    HWND dlg = OpenSave(run, d);
    SetField(run, dlg, fsave::txtName, "utf");
    SetField(run, dlg, fsave::txtDesc, "Ω");
    Press(run, dlg, ids::butOK);
    run.Require(WaitHidden(dlg), "saved");
    run.ExpectEq("utf.pas, UTF-8 bytes",
                 "//SNIPKIT:\xCE\xA9\r\nx := 'Gr\xC3\xBC\xC3\x9F"
                 "e \xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC';\r\n",
                 ReadBytes(StashFile(d.toolbar, "utf.pas")).value_or("<missing>"));

    run.Note("text that fits the code page is written in it");
    d.editor.SelectText(run, "y := 'café';");
    dlg = OpenSave(run, d);
    SetField(run, dlg, fsave::txtName, "ansi");
    SetField(run, dlg, fsave::txtDesc, "é");
    PressKeys(run, {"Return"});
    run.Require(WaitHidden(dlg), "Enter in the file-name field saved");
    run.ExpectEq("ansi.pas, ANSI bytes", "//SNIPKIT:\xE9\r\ny := 'caf\xE9';\r\n",
                 ReadBytes(StashFile(d.toolbar, "ansi.pas")).value_or("<missing>"));

    run.Note("text whose ANSI bytes would read as UTF-8 is written as UTF-8");
    d.editor.SelectText(run, "s := 'Ã©';");
    dlg = OpenSave(run, d);
    SetField(run, dlg, fsave::txtName, "mojibake");
    SetField(run, dlg, fsave::txtDesc, "");
    Press(run, dlg, ids::butOK);
    run.Require(WaitHidden(dlg), "saved");
    run.ExpectEq("mojibake.pas, UTF-8 bytes", "//SNIPKIT:\r\ns := '\xC3\x83\xC2\xA9';\r\n",
                 ReadBytes(StashFile(d.toolbar, "mojibake.pas")).value_or("<missing>"));

    struct Row {
        const char* file;
        std::string preview;
        std::string pasted;
    };
    const Row rows[] = {
        {"old.pas", "//SNIPKIT:vieux café\r\ncafé crème\r\n", "café crème\r\n"},
        {"ansi.pas", "//SNIPKIT:é\r\ny := 'café';\r\n", "y := 'café';\r\n"},
        {"mojibake.pas", "//SNIPKIT:\r\ns := 'Ã©';\r\n", "s := 'Ã©';\r\n"},
        {"bom.pas", "//SNIPKIT:bom\r\nGrüße\r\n", "Grüße\r\n"},
        {"be.pas", "//\r\nΩ\r\n", "Ω\r\n"},
        {"utf.pas", "//SNIPKIT:Ω\r\nx := 'Grüße Ω 日本';\r\n", "x := 'Grüße Ω 日本';\r\n"},
    };
    for (const Row& row : rows) {
        run.Note(std::string("retrieving ") + row.file);
        PasteTarget(d, "placeholder");
        HWND browser = OpenBrowser(run, d);
        run.ExpectEq("listed", "ansi.pas be.pas bom.pas mojibake.pas old.pas utf.pas", Joined(ListNames(run, browser)));
        ClickEntry(run, browser, row.file);
        ExpectText(run, browser, fstash::Memo1, row.preview, std::string("preview of ") + row.file);
        Press(run, browser, fstash::butCopy);
        run.Require(WaitHidden(browser), "COPY closed the browser");
        ExpectEditorText(run, d.editor, row.pasted, kDefaultTimeout, std::string("pasted from ") + row.file);
    }
}

E2E_SCENARIO("stash", "names",
             "names sorted as Windows lists them to the user; temporary files of saves cut short never listed and "
             "gone at the next save; the snippet not hidden") {
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        const std::wstring stash = folder + L"\\stash";
        CreateDirectoryW(stash.c_str(), nullptr);
        for (const wchar_t* name : {L"\\beta.pas", L"\\zeta.pas", L"\\\u00C4pfel.pas", L"\\\u00E9a.pas", L"\\Alpha.pas"})
            WriteBytes(run, stash + name, "//SNIPKIT:\r\nx\r\n");
        // As an older version left them, and hidden as this one makes them.
        WriteBytes(run, stash + L"\\zeta.pas.snipkit-tmp", "//SNIPKIT:z\r\nhalf");
        WriteBytes(run, stash + L"\\beta.pas.snipkit-tmp", "//SNIPKIT:b\r\nhalf", FILE_ATTRIBUTE_HIDDEN);
    };
    Desk d = OpenDesk(run, WithText("begin\r\n  code();\r\nend.\r\n"), o);

    HWND dlg = OpenBrowser(run, d);
    // Linguistic and without regard to case: Ä with the a, é with the e.
    ExpectFreshBrowser(run, dlg, "Alpha.pas Äpfel.pas beta.pas éa.pas zeta.pas", "before the save");
    Press(run, dlg, ids::butCancel);
    run.Require(WaitHidden(dlg), "Cancel closed the browser");

    d.editor.SelectText(run, "code();");
    dlg = OpenSave(run, d);
    SetField(run, dlg, fsave::txtName, "new");
    SetField(run, dlg, fsave::txtDesc, "n");
    Press(run, dlg, ids::butOK);
    run.Require(WaitHidden(dlg), "saved");
    run.ExpectEq("the stash folder after the save", "Alpha.pas beta.pas new.pas zeta.pas Äpfel.pas éa.pas",
                 Entries(StashDir(d.toolbar)));
    const DWORD attrs = GetFileAttributesW(StashFile(d.toolbar, "new.pas").c_str());
    run.Expect(attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0,
               "new.pas is neither hidden nor system");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "Alpha.pas Äpfel.pas beta.pas éa.pas new.pas zeta.pas", "after the save");
    Press(run, dlg, ids::butCancel);
    run.Require(WaitHidden(dlg), "Cancel closed the browser");
}

E2E_SCENARIO("stash", "browser_window",
             "the browser's window and resizing; vanished, huge and large files; a missing folder") {
    ToolbarOptions o;
    std::string big;
    for (int i = 0; big.size() < 200000; ++i)
        big += "  Line" + std::to_string(i) + " := Line" + std::to_string(i) + ";\r\n";
    const std::string keep = "//SNIPKIT:keep\r\nkeep();\r\n";
    o.prepare = [&](const std::wstring& folder) {
        const std::wstring stash = folder + L"\\stash";
        CreateDirectoryW(stash.c_str(), nullptr);
        WriteBytes(run, stash + L"\\big.pas", "//SNIPKIT:big\r\n" + big);
        WriteBytes(run, stash + L"\\gone.pas", "//SNIPKIT:gone\r\n");
        WriteBytes(run, stash + L"\\keep.pas", keep);
        // Just past what a preview takes; the file system makes it without writing it.
        HANDLE f = CreateFileW((stash + L"\\huge.pas").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        LARGE_INTEGER size{};
        size.QuadPart = 64ll * 1024 * 1024 + 1;
        const bool made =
            f != INVALID_HANDLE_VALUE && SetFilePointerEx(f, size, nullptr, FILE_BEGIN) && SetEndOfFile(f);
        if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
        run.Require(made, "the driver can make a file of 64 MB and a byte");
    };
    Desk d = OpenDesk(run, WithText("placeholder"), o);
    HWND dlg = OpenBrowser(run, d);

    run.Note("the window");
    run.ExpectEq("caption", "your code Stash", TextOf(dlg));
    RECT outer{};
    GetWindowRect(dlg, &outer);
    run.ExpectEq("outer size", "399x252",
                 std::to_string(outer.right - outer.left) + "x" + std::to_string(outer.bottom - outer.top));
    run.Expect(CentredOnScreen(dlg), "centred on the screen");
    run.Expect((StyleOf(dlg) & (WS_THICKFRAME | WS_SYSMENU)) == (WS_THICKFRAME | WS_SYSMENU), "sizeable, close box");
    run.Expect((StyleOf(dlg) & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0, "close box only");
    run.ExpectEq("label", "Files in Stash", Field(run, dlg, fstash::labFiles));
    run.ExpectEq("label", "Preview:", Field(run, dlg, fstash::labPreview));
    run.ExpectEq("button", "C&OPY", Field(run, dlg, fstash::butCopy));
    run.ExpectEq("button", "&Cancel", Field(run, dlg, ids::butCancel));
    run.Expect((StyleOf(Item(run, dlg, fstash::butCopy)) & BS_TYPEMASK) == BS_DEFPUSHBUTTON, "COPY is the default");
    ExpectTextBox(run, Item(run, dlg, fstash::Memo1), "preview");
    ExpectFreshBrowser(run, dlg, "big.pas gone.pas huge.pas keep.pas", "opening");
    run.Note("tab order: list, COPY, Cancel, preview");
    const int order[] = {fstash::butCopy, ids::butCancel, fstash::Memo1, fstash::file1};
    for (int id : order) {
        PressKeys(run, {"Tab"});
        run.Expect(WaitFocus(dlg, Item(run, dlg, id)), "Tab moves on to control " + std::to_string(id));
    }

    struct Layout {
        RECT left, list, copy, cancel, right, memo;
        SIZE client;
    };
    auto layout = [&] {
        return Layout{ClientIn(Item(run, dlg, fstash::PanelLeft), dlg),
                      ClientIn(Item(run, dlg, fstash::file1), dlg),
                      ClientIn(Item(run, dlg, fstash::butCopy), dlg),
                      ClientIn(Item(run, dlg, ids::butCancel), dlg),
                      ClientIn(Item(run, dlg, fstash::PanelRight), dlg),
                      ClientIn(Item(run, dlg, fstash::Memo1), dlg),
                      ClientSize(dlg)};
    };
    const Layout before = layout();
    run.ExpectEq("left panel", "0,0 153x" + std::to_string(before.client.cy), Rect(before.left));
    run.ExpectEq("right panel",
                 "153,0 " + std::to_string(before.client.cx - 153) + "x" + std::to_string(before.client.cy),
                 Rect(before.right));
    run.Expect(before.copy.top > before.list.bottom && before.copy.top == before.cancel.top &&
                   before.cancel.left > before.copy.right,
               "COPY and Cancel side by side below the list");
    ShotIfAsked(run, "stash-browser");

    run.Note("resizing");
    SetWindowPos(dlg, nullptr, 0, 0, 600, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.Require(WaitUntil([&] { return ClientSize(dlg).cx == before.client.cx + 201; }, kDefaultTimeout),
                "the browser took the new size");
    const Layout after = layout();
    const int grewX = after.client.cx - before.client.cx;
    const int grewY = after.client.cy - before.client.cy;
    run.ExpectEq("left panel width", 153, after.left.right - after.left.left);
    run.ExpectEq("list width", before.list.right - before.list.left, after.list.right - after.list.left);
    run.ExpectEq("list height", before.list.bottom - before.list.top + grewY, after.list.bottom - after.list.top);
    run.ExpectEq("COPY stays at the bottom", before.client.cy - before.copy.top, after.client.cy - after.copy.top);
    run.ExpectEq("Cancel stays at the bottom", before.client.cy - before.cancel.top,
                 after.client.cy - after.cancel.top);
    run.ExpectEq("preview width", before.memo.right - before.memo.left + grewX, after.memo.right - after.memo.left);
    run.ExpectEq("preview height", before.memo.bottom - before.memo.top + grewY, after.memo.bottom - after.memo.top);

    run.Note("a large file is previewed whole");
    ClickEntry(run, dlg, "big.pas");
    ExpectText(run, dlg, fstash::Memo1, "//SNIPKIT:big\r\n" + big, "preview of big.pas");
    ShotIfAsked(run, "stash-browser-resized");

    run.Note("a file too large for the preview");
    ClickEntry(run, dlg, "keep.pas");
    ExpectText(run, dlg, fstash::Memo1, keep, "preview of keep.pas");
    ClickEntry(run, dlg, "huge.pas");
    ExpectErrorBox(run, d.toolbar, "Text exceeds memo capacity.");
    run.Expect(StaysOpen(dlg, 200), "the browser stays open");
    run.ExpectEq("the preview keeps keep.pas", keep, Field(run, dlg, fstash::Memo1));

    run.Note("a listed file that vanished: click, then double-click");
    run.Require(DeleteFileW(StashFile(d.toolbar, "gone.pas").c_str()) != 0, "the driver removed gone.pas");
    ClickEntry(run, dlg, "gone.pas");
    ExpectErrorBox(run, d.toolbar, "Cannot open file " + StashPath(d.toolbar, "gone.pas") + ".");
    run.Expect(StaysOpen(dlg, 200), "the browser stays open");
    run.ExpectEq("the preview keeps keep.pas", keep, Field(run, dlg, fstash::Memo1));
    // A real double-click reports the error at its first click already, and
    // its second click then meets the error box; the double-click's own
    // reload is reached with the notification the list sends for it.
    PostMessageW(Item(run, dlg, fstash::PanelLeft), WM_COMMAND, MAKEWPARAM(fstash::file1, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(Item(run, dlg, fstash::file1)));
    ExpectErrorBox(run, d.toolbar, "Cannot open file " + StashPath(d.toolbar, "gone.pas") + ".");
    run.Expect(StaysOpen(dlg, 300), "the browser stays open after the double-click");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "one error box per double-click");
    run.ExpectEq("the preview still keeps keep.pas", keep, Field(run, dlg, fstash::Memo1));
    run.ExpectEq("nothing pasted", 0, d.editor.PasteCount());
    Press(run, dlg, ids::butCancel);
    run.Require(WaitHidden(dlg), "Cancel closed the browser");

    run.Note("the folder read afresh; a missing folder lists nothing and is made again");
    WriteBytes(run, StashFile(d.toolbar, "new.pas"), "//SNIPKIT:new\r\n");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "big.pas huge.pas keep.pas new.pas", "second opening");
    Press(run, dlg, ids::butCancel);
    run.Require(WaitHidden(dlg), "Cancel closed the browser");
    for (const char* name : {"big.pas", "huge.pas", "keep.pas", "new.pas"})
        DeleteFileW(StashFile(d.toolbar, name).c_str());
    run.Require(RemoveDirectoryW(StashDir(d.toolbar).c_str()) != 0, "the driver removed the stash folder");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "", "opening without a folder");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
    const DWORD attrs = GetFileAttributesW(StashDir(d.toolbar).c_str());
    run.Expect(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY), "the stash folder is back");
    Press(run, dlg, ids::butCancel);
    run.Require(WaitHidden(dlg), "Cancel closed the browser");
}

}  // namespace e2e
