// The snippet stash through the whole cycle: the save dialog writes the
// selection into the stash folder beside the program, the browser lists the
// folder and pastes a snippet back; refused names and failed writes, text
// encodings, and the browser's window.
#include <windows.h>

#include <algorithm>

#include "toolbar/command_ids.h"
#include "desk.h"
#include "stash/stash_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fsave = snipkit::ids::fsave;
namespace fstash = snipkit::ids::fstash;

// ---------------------------------------------------------------- files

std::wstring StashDir(const Toolbar& t) { return t.folder + L"\\stash"; }
std::wstring StashFile(const Toolbar& t, const std::string& name) { return StashDir(t) + L"\\" + FromUtf8(name); }
// The path as the program names it in its messages.
std::string StashPath(const Toolbar& t, const std::string& name) { return ToUtf8(StashFile(t, name)); }

// What a save left behind.
std::string Entries(const std::wstring& dir) { return Joined(EntriesOf(dir)); }

// Sets a file's last write time that many seconds back.
bool AgeFile(const std::wstring& path, int seconds) {
    HANDLE f = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER t{};
    t.LowPart = now.dwLowDateTime;
    t.HighPart = now.dwHighDateTime;
    t.QuadPart -= static_cast<ULONGLONG>(seconds) * 10'000'000;
    const FILETIME then{t.LowPart, t.HighPart};
    const bool set = SetFileTime(f, nullptr, nullptr, &then) != 0;
    CloseHandle(f);
    return set;
}

// ---------------------------------------------------------------- dialogs

// Still open once the toolbar has taken a timer tick: whatever was posted to
// it before (the click that must not close it) has run by then.
bool StaysOpen(Run& run, const Toolbar& t, const Dialog& dlg) {
    return WaitTickAfterNow(run, t) && IsWindowVisible(dlg.hwnd) != FALSE;
}

void ExpectErrorBox(Run& run, const Toolbar& t, const std::string& text) {
    ExpectMessageBox(run, t, text, "Delphi Snipkit", true);
}

// ---------------------------------------------------------------- the save dialog

Dialog OpenSave(Run& run, const Desk& d) {
    const Dialog dlg = OpenDialog(run, d.toolbar, ids::butStash, L"TfrmSave");
    run.Require(dlg.WaitFocus(fsave::txtName), "the save dialog opens in the file-name field");
    return dlg;
}

// The save dialog over the selected text, with a name and description typed.
Dialog FilledInSave(Run& run, const Desk& d, const std::string& selection, const std::string& name,
                    const std::string& desc) {
    d.editor.SelectText(run, selection);
    const Dialog dlg = OpenSave(run, d);
    dlg.Type(fsave::txtName, name);
    dlg.Type(fsave::txtDesc, desc);
    return dlg;
}

// ---------------------------------------------------------------- the browser

Dialog OpenBrowser(Run& run, const Desk& d) {
    const Dialog dlg = OpenDialog(run, d.toolbar, ids::butLoad, L"TfrmStash");
    run.Require(dlg.WaitFocus(fstash::file1), "the browser opens in the file list");
    return dlg;
}

std::vector<std::string> ListNames(const Dialog& dlg) {
    HWND list = dlg.Ctl(fstash::file1);
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

// An opening starts with the folder as it is, nothing selected, no preview.
void ExpectFreshBrowser(Run& run, const Dialog& dlg, const std::string& names, const std::string& what) {
    run.ExpectEq(what + ": listed files", names, Joined(ListNames(dlg)));
    run.ExpectEq(what + ": selection", LB_ERR, SendWithin(dlg.Ctl(fstash::file1), LB_GETCURSEL));
    run.ExpectEq(what + ": preview", "", dlg.Field(fstash::Memo1));
}

// Screen point in the middle of a list entry.
POINT EntryPoint(Run& run, const Dialog& dlg, const std::string& name) {
    const std::vector<std::string> names = ListNames(dlg);
    const auto at = std::find(names.begin(), names.end(), name);
    run.Require(at != names.end(), "the list holds " + name);
    HWND list = dlg.Ctl(fstash::file1);
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

void ClickEntry(Run& run, const Dialog& dlg, const std::string& name) {
    ClickScreen(run, dlg.hwnd, EntryPoint(run, dlg, name));
}
void DoubleClickEntry(Run& run, const Dialog& dlg, const std::string& name) {
    ClickScreen(run, dlg.hwnd, EntryPoint(run, dlg, name), 2);
}

// The editor as the place to paste into: text given, all of it selected, so
// that afterwards it holds exactly what was pasted.
void PasteTarget(const Desk& d, const std::string& text) {
    d.editor.SetText(text);
    d.editor.SelectAll();
}

// The browser opened over a paste target, with a file clicked and previewed.
Dialog Previewing(Run& run, const Desk& d, const std::string& file, const std::string& preview,
                  const std::string& what) {
    PasteTarget(d, "placeholder");
    const Dialog dlg = OpenBrowser(run, d);
    ClickEntry(run, dlg, file);
    dlg.ExpectField(fstash::Memo1, preview, what);
    return dlg;
}

// The ways to leave a dialog without taking anything.
struct CancelWay {
    const char* name;
    void (*act)(Run&, const Dialog&);
};

const CancelWay kCancelButton{"Cancel button", [](Run&, const Dialog& dlg) { dlg.Click(ids::butCancel); }};
const CancelWay kEsc{"Esc", [](Run& r, const Dialog& dlg) { PressKeys(r, dlg.hwnd, {"Escape"}); }};
const CancelWay kCloseBox{"close box",
                          [](Run&, const Dialog& dlg) { PostMessageW(dlg.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0); }};

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
    Dialog dlg = OpenSave(run, d);

    run.Note("the save dialog as it opens");
    ExpectLayout(run, "TfrmSave", LayoutOf(dlg.hwnd));
    ShotIfAsked(run, "stash-save-dialog");

    run.Note("tab order: name, description, text box, OK, Cancel");
    const int order[] = {fsave::txtDesc, fsave::Memo1, ids::butOK, ids::butCancel, fsave::txtName};
    for (int id : order) {
        PressKeys(run, dlg.hwnd, {"Tab"});
        run.Expect(dlg.WaitFocus(id), "Tab moves on to control " + std::to_string(id));
    }

    run.Note("Enter in the description field saves");
    dlg.Type(fsave::txtName, "swap");
    dlg.Type(fsave::txtDesc, "swap a and b");
    PressKeys(run, dlg.hwnd, {"Tab", "Return"});
    run.Require(WaitHidden(dlg.hwnd), "the save dialog closed after Enter");
    const std::string stored = "//SNIPKIT:swap a and b\r\nt := a;\r\n  a := b;\r\n";
    run.ExpectEq("swap.pas on disk", stored, ReadFileBytes(StashFile(d.toolbar, "swap.pas")).value_or("<missing>"));
    run.ExpectEq("the stash folder", "swap.pas", Entries(StashDir(d.toolbar)));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
    run.ExpectEq("the save pastes nothing", 0, d.editor.PasteCount());

    run.Note("the second opening keeps name and description; Enter in the text box is a line break; Esc");
    d.editor.SelectText(run, "a := b;");
    dlg = OpenSave(run, d);
    run.ExpectEq("file name kept", "swap", dlg.Field(fsave::txtName));
    run.ExpectEq("description kept", "swap a and b", dlg.Field(fsave::txtDesc));
    run.ExpectEq("the text box holds the new selection", "a := b;", dlg.Field(fsave::Memo1));
    PressKeys(run, dlg.hwnd, {"Tab", "Tab"});
    run.Require(dlg.WaitFocus(fsave::Memo1), "the text box has the focus");
    PressKeys(run, dlg.hwnd, {"ctrl+End", "Return", "x"});
    dlg.ExpectField(fsave::Memo1, "a := b;\r\nx", "the text box after Enter and x");
    run.Expect(IsWindowVisible(dlg.hwnd) != FALSE, "Enter in the text box did not save");
    PressKeys(run, dlg.hwnd, {"Escape"});
    run.Require(WaitHidden(dlg.hwnd), "Esc closed the save dialog");
    run.ExpectEq("swap.pas after Esc", stored, ReadFileBytes(StashFile(d.toolbar, "swap.pas")).value_or("<missing>"));
    run.ExpectEq("the stash folder after Esc", "swap.pas", Entries(StashDir(d.toolbar)));

    run.Note("Cancel and the close box write nothing and keep what was typed");
    std::string typed = "swap";
    for (const CancelWay& row : {kCancelButton, kCloseBox}) {
        dlg = OpenSave(run, d);
        run.ExpectEq(std::string(row.name) + ": the name as left", typed, dlg.Field(fsave::txtName));
        typed = std::string("left by ") + row.name;
        dlg.Type(fsave::txtName, typed);
        row.act(run, dlg);
        run.Require(WaitHidden(dlg.hwnd), std::string(row.name) + " closed the save dialog");
        run.ExpectEq(std::string(row.name) + ": the stash folder", "swap.pas", Entries(StashDir(d.toolbar)));
    }

    run.Note("retrieved at the end of the unit");
    d.editor.Caret(Utf16Length(kUnit));
    Dialog browser = OpenBrowser(run, d);
    ExpectFreshBrowser(run, browser, "swap.pas", "first opening");
    ClickEntry(run, browser, "swap.pas");
    browser.ExpectField(fstash::Memo1, stored, "preview of swap.pas");
    browser.Click(fstash::butCopy);
    run.Require(WaitHidden(browser.hwnd), "COPY closed the browser");
    ExpectEditorText(run, d.editor, kUnit + "t := a;\r\n  a := b;\r\n", kDefaultTimeout, "the unit with the snippet");
    run.ExpectEq("the snippet is on the clipboard", "t := a;\r\n  a := b;\r\n", ClipboardText().value_or("<none>"));
}

E2E_SCENARIO("stash", "browser_takes",
             "listing, Cancel/Esc/close box, keys, an edited preview, double-click, a plain file") {
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        const std::wstring stash = folder + L"\\stash";
        CreateDirectoryW(stash.c_str(), nullptr);
        PutFile(run, stash + L"\\b.pas", "//SNIPKIT:bee\r\nB1\r\nB2\r\n");
        PutFile(run, stash + L"\\A.txt", "first line\r\nsecond\r\nthird");
        PutFile(run, stash + L"\\c.PAS", "//SNIPKIT:see\r\nC1\r\n", FILE_ATTRIBUTE_READONLY);
        PutFile(run, stash + L"\\mixed.pas", "//SNIPKIT:mixed\nL1\rL2\r\nL3");
        PutFile(run, stash + L"\\Zed.pas", "//SNIPKIT:zed\r\nZ\r\n");
        PutFile(run, stash + L"\\hidden.pas", "//SNIPKIT:h\r\nH\r\n", FILE_ATTRIBUTE_HIDDEN);
        PutFile(run, stash + L"\\system.pas", "//SNIPKIT:s\r\nS\r\n", FILE_ATTRIBUTE_SYSTEM);
        CreateDirectoryW((stash + L"\\sub.pas").c_str(), nullptr);
        PutFile(run, stash + L"\\sub.pas\\inner.pas", "//SNIPKIT:i\r\nI\r\n");
    };
    Desk d = OpenDesk(run, WithText("placeholder"), o);
    // Sorted without regard to case; hidden and system files and folders left out.
    const std::string listed = "A.txt b.pas c.PAS mixed.pas Zed.pas";

    for (const CancelWay& row : {kCancelButton, kEsc, kCloseBox}) {
        run.Note(std::string("a previewed file, then ") + row.name);
        PasteTarget(d, "placeholder");
        const int pastes = d.editor.PasteCount();
        Dialog dlg = OpenBrowser(run, d);
        ExpectFreshBrowser(run, dlg, listed, row.name);
        ClickEntry(run, dlg, "b.pas");
        dlg.ExpectField(fstash::Memo1, "//SNIPKIT:bee\r\nB1\r\nB2\r\n", std::string(row.name) + ": preview");
        row.act(run, dlg);
        run.Require(WaitHidden(dlg.hwnd), std::string(row.name) + " closed the browser");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, "placeholder");
        run.ExpectEq(std::string(row.name) + ": nothing pasted", pastes, d.editor.PasteCount());
    }

    run.Note("keyboard: Down selects and previews, Enter takes");
    PasteTarget(d, "placeholder");
    Dialog dlg = OpenBrowser(run, d);
    PressKeys(run, dlg.hwnd, {"Down"});
    dlg.ExpectField(fstash::Memo1, "first line\r\nsecond\r\nthird", "preview after Down");
    PressKeys(run, dlg.hwnd, {"Down"});
    dlg.ExpectField(fstash::Memo1, "//SNIPKIT:bee\r\nB1\r\nB2\r\n", "preview after the second Down");
    PressKeys(run, dlg.hwnd, {"Return"});
    run.Require(WaitHidden(dlg.hwnd), "Enter in the list took the snippet");
    ExpectEditorText(run, d.editor, "B1\r\nB2\r\n", kDefaultTimeout, "pasted by Enter");

    run.Note("an edited preview is what COPY takes; lone CR and LF shown as CR LF");
    dlg = Previewing(run, d, "mixed.pas", "//SNIPKIT:mixed\r\nL1\r\nL2\r\nL3", "preview of mixed line breaks");
    dlg.ClickInto(fstash::Memo1);
    PressKeys(run, dlg.hwnd, {"ctrl+End", "X", "Return", "Y"});
    dlg.ExpectField(fstash::Memo1, "//SNIPKIT:mixed\r\nL1\r\nL2\r\nL3X\r\nY", "the edited preview");
    run.Expect(StaysOpen(run, d.toolbar, dlg), "Enter in the preview is a line break, not COPY");
    dlg.Click(fstash::butCopy);
    run.Require(WaitHidden(dlg.hwnd), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "L1\r\nL2\r\nL3X\r\nY", kDefaultTimeout, "the edited snippet");
    run.ExpectEq("mixed.pas is never written", "//SNIPKIT:mixed\nL1\rL2\r\nL3",
                 ReadFileBytes(StashFile(d.toolbar, "mixed.pas")).value_or("<missing>"));

    run.Note("a double-click takes the file as stored, edits dropped");
    dlg = Previewing(run, d, "c.PAS", "//SNIPKIT:see\r\nC1\r\n", "preview of the read-only c.PAS");
    dlg.Type(fstash::Memo1, "//SNIPKIT:see\r\nedited\r\n");
    DoubleClickEntry(run, dlg, "c.PAS");
    run.Require(WaitHidden(dlg.hwnd), "the double-click closed the browser");
    ExpectEditorText(run, d.editor, "C1\r\n", kDefaultTimeout, "pasted by the double-click");

    run.Note("a file that is no snippet loses its first line");
    dlg = Previewing(run, d, "A.txt", "first line\r\nsecond\r\nthird", "preview of A.txt");
    dlg.Click(fstash::butCopy);
    run.Require(WaitHidden(dlg.hwnd), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "second\r\nthird", kDefaultTimeout, "A.txt without its first line");

    run.Note("nothing chosen: COPY is off and Enter pastes nothing; an emptied preview pastes the empty text");
    PasteTarget(d, "placeholder");
    const int pastes = d.editor.PasteCount();
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, listed, "last opening");
    run.Expect(!IsWindowEnabled(dlg.Ctl(fstash::butCopy)), "COPY is off until a file is chosen");
    PressKeys(run, dlg.hwnd, {"Return"});
    run.Expect(StaysOpen(run, d.toolbar, dlg), "Enter with nothing chosen leaves the browser open");
    ClickEntry(run, dlg, "A.txt");
    dlg.ExpectField(fstash::Memo1, "first line\r\nsecond\r\nthird", "preview of A.txt");
    run.Expect(IsWindowEnabled(dlg.Ctl(fstash::butCopy)) != FALSE, "COPY is on once a file is chosen");
    dlg.Type(fstash::Memo1, "");
    dlg.Click(fstash::butCopy);
    run.Require(WaitHidden(dlg.hwnd), "COPY closed the browser");
    ExpectEditorText(run, d.editor, "", kDefaultTimeout, "the emptied preview pasted");
    // The only paste is COPY's: the Enter before it sent none, late or not.
    ExpectPastes(run, d.editor, pastes + 1, "one paste");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("stash", "save_refused",
             "an empty, a foreign or a device name, a read-only snippet, a folder of the name: the dialog stays as "
             "left; a second save replaces the snippet") {
    ToolbarOptions o;
    const std::string old = "//SNIPKIT:old\r\nold();\r\n";
    o.prepare = [&](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
        PutFile(run, folder + L"\\stash\\ro.pas", old, FILE_ATTRIBUTE_READONLY);
        CreateDirectoryW((folder + L"\\stash\\dir.pas").c_str(), nullptr);
        PutFile(run, folder + L"\\stash\\dir.pas\\inner.pas", old);
    };
    Desk d = OpenDesk(run, WithText("begin\r\n  code();\r\nend.\r\n"), o);
    d.editor.SelectText(run, "code();");
    Dialog dlg = OpenSave(run, d);
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
        {"dir", "a folder", "Cannot create file " + StashPath(d.toolbar, "dir.pas") + ".", "Delphi Snipkit", true},
        {"ro", "read-only", "Cannot create file " + StashPath(d.toolbar, "ro.pas") + ".", "Delphi Snipkit", true},
    };
    for (const Row& row : rows) {
        run.Note(std::string("OK with the name ") + Show(row.name));
        dlg.Type(fsave::txtName, row.name);
        dlg.Type(fsave::txtDesc, row.desc);
        dlg.Type(fsave::Memo1, memo);
        dlg.Click(ids::butOK);
        ExpectMessageBox(run, d.toolbar, row.text, row.caption, row.icon);
        run.Expect(StaysOpen(run, d.toolbar, dlg), std::string(row.desc) + ": the dialog stays open");
        // A message about the name sends the user back to the name.
        if (!row.icon) {
            run.Expect(dlg.WaitFocus(fsave::txtName), std::string(row.desc) + ": focus on the name");
        }
        run.ExpectEq(std::string(row.desc) + ": name", row.name, dlg.Field(fsave::txtName));
        run.ExpectEq(std::string(row.desc) + ": description", row.desc, dlg.Field(fsave::txtDesc));
        run.ExpectEq(std::string(row.desc) + ": text box, no marker line", memo, dlg.Field(fsave::Memo1));
        run.ExpectEq(std::string(row.desc) + ": stash folder", "dir.pas ro.pas", Entries(StashDir(d.toolbar)));
        run.ExpectEq(std::string(row.desc) + ": the folder dir.pas", "inner.pas",
                     Entries(StashFile(d.toolbar, "dir.pas")));
        run.ExpectEq(std::string(row.desc) + ": ro.pas", old,
                     ReadFileBytes(StashFile(d.toolbar, "ro.pas")).value_or(""));
        run.ExpectEq(std::string(row.desc) + ": the program's folder", "snipkit.exe stash", Entries(d.toolbar.folder));
    }

    run.Note("a usable name then saves what the user left");
    dlg.Type(fsave::txtName, "fine");
    dlg.Click(ids::butOK);
    run.Require(WaitHidden(dlg.hwnd), "the save dialog closed after the save");
    run.ExpectEq("fine.pas", "//SNIPKIT:read-only\r\ncode();\r\nmore();\r\n",
                 ReadFileBytes(StashFile(d.toolbar, "fine.pas")).value_or("<missing>"));
    run.ExpectEq("stash folder", "dir.pas fine.pas ro.pas", Entries(StashDir(d.toolbar)));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");

    run.Note("a second save of that name replaces the snippet");
    d.editor.SelectText(run, "end.");
    dlg = OpenSave(run, d);
    run.ExpectEq("the name kept", "fine", dlg.Field(fsave::txtName));
    dlg.Type(fsave::txtDesc, "again");
    dlg.Click(ids::butOK);
    run.Require(WaitHidden(dlg.hwnd), "the save dialog closed after the second save");
    run.ExpectEq("fine.pas replaced", "//SNIPKIT:again\r\nend.\r\n",
                 ReadFileBytes(StashFile(d.toolbar, "fine.pas")).value_or("<missing>"));
    run.ExpectEq("stash folder after the second save", "dir.pas fine.pas ro.pas", Entries(StashDir(d.toolbar)));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box after the second save");
}

E2E_SCENARIO("stash", "encodings",
             "ANSI when the bytes read back as the text, UTF-8 otherwise; old ANSI, BOM and UTF-16 files read") {
    run.Require(SingleByteAcpWithEAcute(),
                "Wine's ANSI code page (" + std::to_string(GetACP()) +
                    ") maps byte 0xE9 to e-acute; set a Western locale (LANG=en_US.UTF-8) for this test");
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
        PutFile(run, folder + L"\\stash\\old.pas", "//SNIPKIT:vieux caf\xE9\r\ncaf\xE9 cr\xE8me\r\n");
        // As Windows editors save them: UTF-8 with a byte order mark, and UTF-16.
        PutFile(run, folder + L"\\stash\\bom.pas", "\xEF\xBB\xBF//SNIPKIT:bom\r\nGr\xC3\xBC\xC3\x9F" "e\r\n");
        PutFile(run, folder + L"\\stash\\be.pas", std::string("\xFE\xFF\0/\0/\0\r\0\n\x03\xA9\0\r\0\n", 16));
    };
    Desk d = OpenDesk(run, WithText("x := 'Grüße Ω 日本';\r\ny := 'café';\r\ns := 'Ã©';\r\n"), o);

    run.Note("text beyond the code page is written as UTF-8");
    FilledInSave(run, d, "x := 'Grüße Ω 日本';", "utf", "Ω").Close(ids::butOK);
    run.ExpectEq("utf.pas, UTF-8 bytes",
                 "//SNIPKIT:\xCE\xA9\r\nx := 'Gr\xC3\xBC\xC3\x9F"
                 "e \xCE\xA9 \xE6\x97\xA5\xE6\x9C\xAC';\r\n",
                 ReadFileBytes(StashFile(d.toolbar, "utf.pas")).value_or("<missing>"));

    run.Note("text that fits the code page is written in it");
    const Dialog dlg = FilledInSave(run, d, "y := 'café';", "ansi", "é");
    PressKeys(run, dlg.hwnd, {"Return"});
    dlg.WaitClosed("Enter in the file-name field");
    run.ExpectEq("ansi.pas, ANSI bytes", "//SNIPKIT:\xE9\r\ny := 'caf\xE9';\r\n",
                 ReadFileBytes(StashFile(d.toolbar, "ansi.pas")).value_or("<missing>"));

    run.Note("text whose ANSI bytes would read as UTF-8 is written as UTF-8");
    FilledInSave(run, d, "s := 'Ã©';", "mojibake", "").Close(ids::butOK);
    run.ExpectEq("mojibake.pas, UTF-8 bytes", "//SNIPKIT:\r\ns := '\xC3\x83\xC2\xA9';\r\n",
                 ReadFileBytes(StashFile(d.toolbar, "mojibake.pas")).value_or("<missing>"));

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
        Dialog browser = OpenBrowser(run, d);
        run.ExpectEq("listed", "ansi.pas be.pas bom.pas mojibake.pas old.pas utf.pas", Joined(ListNames(browser)));
        ClickEntry(run, browser, row.file);
        browser.ExpectField(fstash::Memo1, row.preview, std::string("preview of ") + row.file);
        browser.Click(fstash::butCopy);
        run.Require(WaitHidden(browser.hwnd), "COPY closed the browser");
        ExpectEditorText(run, d.editor, row.pasted, kDefaultTimeout, std::string("pasted from ") + row.file);
    }
}

E2E_SCENARIO("stash", "names",
             "names sorted as Windows lists them to the user; temporary files of saves cut short never listed and "
             "gone at the next save, but not another program's save under way; the snippet not hidden") {
    ToolbarOptions o;
    o.prepare = [&](const std::wstring& folder) {
        const std::wstring stash = folder + L"\\stash";
        CreateDirectoryW(stash.c_str(), nullptr);
        for (const wchar_t* name : {L"\\beta.pas", L"\\zeta.pas", L"\\\u00C4pfel.pas", L"\\\u00E9a.pas", L"\\Alpha.pas"})
            PutFile(run, stash + name, "//SNIPKIT:\r\nx\r\n");
        // As an older version left them, and hidden as this one makes them;
        // an hour old, so no save can still be writing them.
        PutFile(run, stash + L"\\zeta.pas.snipkit-tmp", "//SNIPKIT:z\r\nhalf");
        PutFile(run, stash + L"\\beta.pas.0000abcd.snipkit-tmp", "//SNIPKIT:b\r\nhalf", FILE_ATTRIBUTE_HIDDEN);
        for (const wchar_t* name : {L"\\zeta.pas.snipkit-tmp", L"\\beta.pas.0000abcd.snipkit-tmp"}) {
            run.Require(AgeFile(stash + name, 3600), "the driver dated " + ToUtf8(stash + name) + " an hour back");
        }
        // Another program's save under way.
        PutFile(run, stash + L"\\young.pas.0000abcd.snipkit-tmp", "//SNIPKIT:y\r\n", FILE_ATTRIBUTE_HIDDEN);
    };
    Desk d = OpenDesk(run, WithText("begin\r\n  code();\r\nend.\r\n"), o);

    Dialog dlg = OpenBrowser(run, d);
    // Linguistic and without regard to case: Ä with the a, é with the e.
    ExpectFreshBrowser(run, dlg, "Alpha.pas Äpfel.pas beta.pas éa.pas zeta.pas", "before the save");
    dlg.Click(ids::butCancel);
    run.Require(WaitHidden(dlg.hwnd), "Cancel closed the browser");

    FilledInSave(run, d, "code();", "new", "n").Close(ids::butOK);
    run.ExpectEq("the stash folder after the save",
                 "Alpha.pas beta.pas new.pas young.pas.0000abcd.snipkit-tmp zeta.pas Äpfel.pas éa.pas",
                 Entries(StashDir(d.toolbar)));
    const DWORD attrs = GetFileAttributesW(StashFile(d.toolbar, "new.pas").c_str());
    run.Expect(attrs != INVALID_FILE_ATTRIBUTES && (attrs & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0,
               "new.pas is neither hidden nor system");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "Alpha.pas Äpfel.pas beta.pas éa.pas new.pas zeta.pas", "after the save");
    dlg.Click(ids::butCancel);
    run.Require(WaitHidden(dlg.hwnd), "Cancel closed the browser");
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
        PutFile(run, stash + L"\\big.pas", "//SNIPKIT:big\r\n" + big);
        PutFile(run, stash + L"\\gone.pas", "//SNIPKIT:gone\r\n");
        PutFile(run, stash + L"\\keep.pas", keep);
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
    Dialog dlg = OpenBrowser(run, d);

    run.Note("the window");
    ExpectLayout(run, "TfrmStash", LayoutOf(dlg.hwnd));
    ExpectFreshBrowser(run, dlg, "big.pas gone.pas huge.pas keep.pas", "opening");
    run.Note("tab order with nothing chosen: list, Cancel, preview (COPY is off)");
    const int order[] = {ids::butCancel, fstash::Memo1, fstash::file1};
    for (int id : order) {
        PressKeys(run, dlg.hwnd, {"Tab"});
        run.Expect(dlg.WaitFocus(id), "Tab moves on to control " + std::to_string(id));
    }

    struct Layout {
        RECT left, list, copy, cancel, right, memo;
        SIZE client;
    };
    auto layout = [&] {
        return Layout{RectIn(dlg.Ctl(fstash::PanelLeft), dlg.hwnd),
                      RectIn(dlg.Ctl(fstash::file1), dlg.hwnd),
                      RectIn(dlg.Ctl(fstash::butCopy), dlg.hwnd),
                      RectIn(dlg.Ctl(ids::butCancel), dlg.hwnd),
                      RectIn(dlg.Ctl(fstash::PanelRight), dlg.hwnd),
                      RectIn(dlg.Ctl(fstash::Memo1), dlg.hwnd),
                      ClientSize(dlg.hwnd)};
    };
    const Layout before = layout();
    ShotIfAsked(run, "stash-browser");

    run.Note("resizing");
    SetWindowPos(dlg.hwnd, nullptr, 0, 0, 600, 420, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    run.Require(WaitUntil([&] { return ClientSize(dlg.hwnd).cx == before.client.cx + 201; }, kDefaultTimeout),
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
    dlg.ExpectField(fstash::Memo1, "//SNIPKIT:big\r\n" + big, "preview of big.pas");
    ShotIfAsked(run, "stash-browser-resized");

    run.Note("a file too large for the preview");
    ClickEntry(run, dlg, "keep.pas");
    dlg.ExpectField(fstash::Memo1, keep, "preview of keep.pas");
    ClickEntry(run, dlg, "huge.pas");
    ExpectErrorBox(run, d.toolbar, "Text exceeds memo capacity.");
    run.Expect(StaysOpen(run, d.toolbar, dlg), "the browser stays open");
    run.ExpectEq("the preview keeps keep.pas", keep, dlg.Field(fstash::Memo1));

    run.Note("a listed file that vanished: click, then double-click");
    run.Require(DeleteFileW(StashFile(d.toolbar, "gone.pas").c_str()) != 0, "the driver removed gone.pas");
    ClickEntry(run, dlg, "gone.pas");
    ExpectErrorBox(run, d.toolbar, "Cannot open file " + StashPath(d.toolbar, "gone.pas") + ".");
    run.Expect(StaysOpen(run, d.toolbar, dlg), "the browser stays open");
    run.ExpectEq("the preview keeps keep.pas", keep, dlg.Field(fstash::Memo1));
    // A real double-click reports the error at its first click already, and
    // its second click then meets the error box; the double-click's own
    // reload is reached with the notification the list sends for it.
    PostMessageW(dlg.Ctl(fstash::PanelLeft), WM_COMMAND, MAKEWPARAM(fstash::file1, LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(dlg.Ctl(fstash::file1)));
    ExpectErrorBox(run, d.toolbar, "Cannot open file " + StashPath(d.toolbar, "gone.pas") + ".");
    run.Expect(StaysOpen(run, d.toolbar, dlg), "the browser stays open after the double-click");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "one error box per double-click");
    run.ExpectEq("the preview still keeps keep.pas", keep, dlg.Field(fstash::Memo1));
    run.ExpectEq("nothing pasted", 0, d.editor.PasteCount());
    dlg.Click(ids::butCancel);
    run.Require(WaitHidden(dlg.hwnd), "Cancel closed the browser");

    run.Note("the folder read afresh; a missing folder lists nothing and is made again");
    PutFile(run, StashFile(d.toolbar, "new.pas"), "//SNIPKIT:new\r\n");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "big.pas huge.pas keep.pas new.pas", "second opening");
    dlg.Click(ids::butCancel);
    run.Require(WaitHidden(dlg.hwnd), "Cancel closed the browser");
    for (const char* name : {"big.pas", "huge.pas", "keep.pas", "new.pas"})
        DeleteFileW(StashFile(d.toolbar, name).c_str());
    run.Require(RemoveDirectoryW(StashDir(d.toolbar).c_str()) != 0, "the driver removed the stash folder");
    dlg = OpenBrowser(run, d);
    ExpectFreshBrowser(run, dlg, "", "opening without a folder");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
    const DWORD attrs = GetFileAttributesW(StashDir(d.toolbar).c_str());
    run.Expect(attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY), "the stash folder is back");
    dlg.Click(ids::butCancel);
    run.Require(WaitHidden(dlg.hwnd), "Cancel closed the browser");
}

}  // namespace e2e
