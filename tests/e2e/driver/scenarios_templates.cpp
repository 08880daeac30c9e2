// The code templates through the whole cycle: the toolbar makes the editor
// copy, the user fills in a template dialog, the toolbar pastes the statement
// or routine built from it; plus the dialogs themselves and the header
// comment files, which the toolbar reads from its current directory.
#include <windows.h>

#include <commctrl.h>

#include "app/command_ids.h"
#include "desk.h"
#include "templates/template_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fif = ids::fif;
namespace ffor = ids::ffornext;
namespace fwhile = ids::fwhile;
namespace fproc = ids::fproc;

LRESULT Ask(HWND w, UINT msg, WPARAM wp = 0, LPARAM lp = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

// An open dialog of the toolbar; its controls are found by id however deep
// they sit (in a group box, say).
struct Dialog {
    Run* run;
    HWND hwnd;

    HWND Ctl(int id) const {
        HWND c = FindDescendantById(hwnd, id);
        if (c == nullptr) run->Fail(ToUtf8(ClassOf(hwnd)) + " has no control " + std::to_string(id));
        return c;
    }
    std::string Field(int id) const { return TextOf(Ctl(id)); }
    // What typing would leave in the field.
    void Type(int id, const std::string& text) const {
        const std::wstring w = FromUtf8(text);
        Ask(Ctl(id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    }
    bool Ticked(int id) const { return Ask(Ctl(id), BM_GETCHECK) == BST_CHECKED; }
    // A click as the user makes it, through the button's own handling.
    void Click(int id) const { PostMessageW(Ctl(id), BM_CLICK, 0, 0); }
    void Tick(int id, bool on) const {
        if (Ticked(id) == on) return;
        Click(id);
        if (!WaitUntil([&] { return Ticked(id) == on; }, kDefaultTimeout)) {
            run->Fail("the check box " + Show(Field(id)) + " did not change");
        }
    }
    void Pick(int radio) const {
        Click(radio);
        if (!WaitUntil([&] { return Ticked(radio); }, kDefaultTimeout)) {
            run->Fail("the radio button " + Show(Field(radio)) + " was not selected");
        }
    }
    void Close(int buttonId) const {
        Click(buttonId);
        if (!WaitUntil([&] { return !IsWindowVisible(hwnd); }, kDefaultTimeout)) {
            run->Fail(ToUtf8(ClassOf(hwnd)) + " did not close after button " + std::to_string(buttonId));
        }
    }
};

// A real click into a control, so that the keys pressed next go to it: a
// window that has just been shown may not have the display's keyboard focus yet.
void ClickInto(Run& run, const Dialog& dlg, int id) {
    const HWND c = dlg.Ctl(id);
    const POINT p = CentreOf(c);
    ClickScreen(run, p.x, p.y);
    const DWORD thread = GetWindowThreadProcessId(dlg.hwnd, nullptr);
    const bool focused = WaitUntil(
        [&] {
            GUITHREADINFO gi{};
            gi.cbSize = sizeof gi;
            return GetGUIThreadInfo(thread, &gi) && gi.hwndFocus == c;
        },
        kDefaultTimeout);
    run.Require(focused, "the click put the focus into control " + std::to_string(id));
}

Dialog OpenDialog(Run& run, const Desk& d, int command, const wchar_t* cls) {
    d.toolbar.Command(command);
    return Dialog{&run, d.toolbar.WaitDialog(run, cls)};
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    HANDLE h = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const BOOL ok = WriteFile(h, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(h);
    return ok && written == bytes.size();
}

// A header comment file in the toolbar's current directory, where it looks
// for them by bare name.
void PutHeaderBytes(Run& run, const Toolbar& t, const wchar_t* name, const std::string& bytes) {
    run.Require(WriteBytes(t.folder + L"\\" + name, bytes), "the driver can write " + ToUtf8(name));
}

// As PutHeaderBytes; nullptr removes the file.
void PutHeaderFile(Run& run, const Toolbar& t, const wchar_t* name, const char* content) {
    const std::wstring path = t.folder + L"\\" + name;
    if (content == nullptr) {
        DeleteFileW(path.c_str());
        run.Require(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "no " + ToUtf8(name));
        return;
    }
    PutHeaderBytes(run, t, name, content);
}

// The editor holds text with needle selected.
void Prepare(Run& run, const Editor& ed, const std::string& text, const std::string& needle) {
    ed.SetText(text);
    ed.SelectText(run, needle);
}

std::string Replaced(const std::string& text, const std::string& needle, const std::string& by) {
    std::string out = text;
    out.replace(out.find(needle), needle.size(), by);
    return out;
}

// A command that pastes nothing, proved without waiting for nothing to
// happen: the commands run one after another in the toolbar, so once the
// begin...end that follows has pasted, anything the first one pasted has
// arrived too, and the paste count tells.
void ExpectNothingPasted(Run& run, const Desk& d, const std::string& text, const std::string& needle, int pastes,
                         const std::string& what) {
    d.toolbar.Command(ids::mnuBeginEnd);
    ExpectEditorText(run, d.editor, Replaced(text, needle, "begin\r\n\r\nend;"), kDefaultTimeout,
                     what + ": only the begin...end that followed pasted");
    run.ExpectEq(what + ": pastes", pastes + 1, d.editor.PasteCount());
}

// The captured text pasted back unchanged over its selection.
void ExpectPastedBack(Run& run, const Desk& d, const std::string& text, int pastes, const std::string& what) {
    run.Expect(WaitUntil([&] { return d.editor.PasteCount() == pastes + 1; }, kDefaultTimeout),
               what + ": the selection was pasted back");
    run.ExpectEq(what + ": editor text", text, d.editor.Text());
}

// ---------------------------------------------------------------- the dialogs

struct ControlRow {
    int id;
    const wchar_t* cls;
    const char* text;
    int parent;  // 0: the dialog itself
};

void ExpectControls(Run& run, const Dialog& dlg, const std::vector<ControlRow>& rows) {
    for (const ControlRow& s : rows) {
        const HWND c = dlg.Ctl(s.id);
        const std::string name = std::to_string(s.id) + " " + Show(s.text);
        run.Expect(_wcsicmp(ClassOf(c).c_str(), s.cls) == 0, name + ": class " + ToUtf8(ClassOf(c)));
        run.ExpectEq(name + ": text", s.text, TextOf(c));
        run.Expect(GetParent(c) == (s.parent == 0 ? dlg.hwnd : dlg.Ctl(s.parent)), name + ": sits on its container");
        run.Expect(IsWindowVisible(c) != 0, name + ": visible");
    }
}

// The controls Tab visits from the first one, once round.
std::vector<int> TabOrder(const Dialog& dlg, std::size_t count) {
    std::vector<int> order;
    HWND at = GetNextDlgTabItem(dlg.hwnd, nullptr, FALSE);
    for (std::size_t i = 0; at != nullptr && i < count + 1; ++i) {
        order.push_back(GetDlgCtrlID(at));
        at = GetNextDlgTabItem(dlg.hwnd, at, FALSE);
    }
    return order;
}

std::string Ids(const std::vector<int>& ids) {
    std::string s;
    for (int id : ids) s += std::to_string(id) + " ";
    return s;
}

// Tab goes round exactly these controls, from the first.
void ExpectTabOrder(Run& run, const Dialog& dlg, std::vector<int> expected, const std::string& what) {
    const std::vector<int> seen = TabOrder(dlg, expected.size());
    expected.push_back(expected.front());  // and round again
    run.ExpectEq(what + ": tab order", Ids(expected), Ids(seen));
}

void ExpectFrame(Run& run, const Dialog& dlg, const char* caption, bool closeBox) {
    run.ExpectEq("caption", caption, TextOf(dlg.hwnd));
    const LONG_PTR style = GetWindowLongPtrW(dlg.hwnd, GWL_STYLE);
    run.Expect((style & WS_CAPTION) == WS_CAPTION, std::string(caption) + ": has a title bar");
    run.ExpectEq(std::string(caption) + ": title-bar buttons", closeBox ? 1 : 0, (style & WS_SYSMENU) ? 1 : 0);
    run.Expect((style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME)) == 0,
               std::string(caption) + ": fixed size, no minimize or maximize box");
    RECT r{};
    GetWindowRect(dlg.hwnd, &r);
    const int dx = (r.left + r.right) / 2 - GetSystemMetrics(SM_CXSCREEN) / 2;
    const int dy = (r.top + r.bottom) / 2 - GetSystemMetrics(SM_CYSCREEN) / 2;
    run.Expect(dx >= -1 && dx <= 1 && dy >= -1 && dy <= 1, std::string(caption) + ": centred on the screen");
}

// Edit fields take any length of text.
void ExpectNoLimit(Run& run, const Dialog& dlg, std::initializer_list<int> fields) {
    for (int id : fields) {
        run.Expect(Ask(dlg.Ctl(id), EM_GETLIMITTEXT) >= 0x7FFFFFFE,
                   "field " + std::to_string(id) + " has no length limit (" +
                       std::to_string(Ask(dlg.Ctl(id), EM_GETLIMITTEXT)) + ")");
    }
}

void Shot(Run& run, const char* name) {
    if (!run.config().shotsDir.empty() && HaveHost(run)) Screenshot(run, run.config().shotsDir, name);
}

const std::string kDialogText = "begin\r\n  a := 1;\r\nend;\r\n";
const std::string kDialogSel = "  a := 1;\r\n";

}  // namespace

E2E_SCENARIO("templates", "dialogs", "the four template dialogs: frames, controls, initial states, tab orders") {
    Desk d = OpenDesk(run, WithText(kDialogText));

    run.Note("TfrmIF");
    Prepare(run, d.editor, kDialogText, kDialogSel);
    Dialog dlg = OpenDialog(run, d, ids::mnuIfthen, L"TfrmIF");
    ExpectFrame(run, dlg, "Insert IF...THEN...", true);
    ExpectControls(run, dlg,
                   {
                       {fif::grpCond, L"TGroupBox", " Condition ", 0},
                       {fif::txtCond, L"Edit", "", fif::grpCond},
                       {ids::butOK, L"Button", "&OK", 0},
                       {ids::butCancel, L"Button", "&Cancel", 0},
                       {fif::chkElse, L"Button", "create &ELSE", 0},
                       {fif::labSpin, L"Static", "Spaces to Indent:", 0},
                       {fif::spin1, L"Edit", "2", 0},
                       {fif::spin1Arrows, L"msctls_updown32", "", 0},
                       {fif::chkSurround, L"Button", "&surround existing code", 0},
                   });
    run.Expect(!dlg.Ticked(fif::chkElse) && !dlg.Ticked(fif::chkSurround), "both check boxes start unchecked");
    run.Expect(reinterpret_cast<HWND>(Ask(dlg.Ctl(fif::spin1Arrows), UDM_GETBUDDY)) == dlg.Ctl(fif::spin1),
               "the arrows step spin1");
    run.ExpectEq("spin range (max, min)", MAKELONG(10, 1), Ask(dlg.Ctl(fif::spin1Arrows), UDM_GETRANGE));
    run.ExpectEq("spin1 takes a few characters only", 3, Ask(dlg.Ctl(fif::spin1), EM_GETLIMITTEXT));
    ExpectNoLimit(run, dlg, {fif::txtCond});
    ExpectTabOrder(run, dlg, {fif::txtCond, ids::butOK, ids::butCancel, fif::chkElse, fif::spin1, fif::chkSurround},
                   "TfrmIF");
    Shot(run, "templates-TfrmIF");
    dlg.Close(ids::butCancel);
    run.Expect(WaitUntil([&] { return !IsWindow(dlg.hwnd); }, kDefaultTimeout), "TfrmIF is destroyed after use");

    run.Note("TfrmForNext");
    int pastes = d.editor.PasteCount();
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d, ids::mnuForNext, L"TfrmForNext");
    ExpectFrame(run, dlg, "Insert FOR...NEXT", true);
    ExpectControls(run, dlg,
                   {
                       {ffor::grpVar, L"TGroupBox", " Variable ", 0},
                       {ffor::txtVar, L"Edit", "", ffor::grpVar},
                       {ffor::grpRange, L"TGroupBox", "&Range", 0},
                       {ffor::keyRange, L"Static", "&Range", ffor::grpRange},
                       {ffor::txtMin, L"Edit", "", ffor::grpRange},
                       {ffor::labTo, L"Static", "to", ffor::grpRange},
                       {ffor::txtMax, L"Edit", "", ffor::grpRange},
                       {ffor::chkDownto, L"Button", "&downto", 0},
                       {ffor::chkSurround, L"Button", "&surround existing code", 0},
                       {ids::butOK, L"Button", "&OK", 0},
                       {ids::butCancel, L"Button", "&Cancel", 0},
                   });
    run.Expect(!dlg.Ticked(ffor::chkDownto) && !dlg.Ticked(ffor::chkSurround), "both check boxes start unchecked");
    ExpectNoLimit(run, dlg, {ffor::txtVar, ffor::txtMin, ffor::txtMax});
    ExpectTabOrder(run, dlg,
                   {ffor::txtVar, ffor::txtMin, ffor::txtMax, ffor::chkDownto, ffor::chkSurround, ids::butOK,
                    ids::butCancel},
                   "TfrmForNext");
    Shot(run, "templates-TfrmForNext");
    dlg.Close(ids::butCancel);
    ExpectPastedBack(run, d, kDialogText, pastes, "for, Cancel");

    run.Note("TfrmWhile");
    pastes = d.editor.PasteCount();
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d, ids::mnuWhile, L"TfrmWhile");
    ExpectFrame(run, dlg, "Insert Repeat / While / With", false);
    ExpectControls(run, dlg,
                   {
                       {fwhile::chkRepeat, L"Button", "&repeat...until", 0},
                       {fwhile::chkWhile, L"Button", "&while...end", 0},
                       {fwhile::chkWith, L"Button", "&with...end", 0},
                       {fwhile::grpCond, L"TGroupBox", " Condition ", 0},
                       {fwhile::txtCond, L"Edit", "", fwhile::grpCond},
                       {fwhile::chkSurround, L"Button", "&surround existing code", 0},
                       {ids::butOK, L"Button", "&OK", 0},
                       {ids::butCancel, L"Button", "&Cancel", 0},
                   });
    ExpectNoLimit(run, dlg, {fwhile::txtCond});
    {
        // "&with...end" sits centred under the other two.
        RECT repeatBox{}, whileBox{}, withBox{};
        GetWindowRect(dlg.Ctl(fwhile::chkRepeat), &repeatBox);
        GetWindowRect(dlg.Ctl(fwhile::chkWhile), &whileBox);
        GetWindowRect(dlg.Ctl(fwhile::chkWith), &withBox);
        run.Expect(repeatBox.top == whileBox.top && repeatBox.right <= whileBox.left, "repeat and while side by side");
        run.Expect(withBox.top >= repeatBox.bottom, "with below them");
        RECT client{};
        GetClientRect(dlg.hwnd, &client);
        POINT mid{client.right / 2, 0};
        ClientToScreen(dlg.hwnd, &mid);
        const int off = (withBox.left + withBox.right) / 2 - mid.x;
        run.Expect(off >= -4 && off <= 4, "with centred (" + std::to_string(off) + " px off)");
    }
    struct RadioRow {
        int pick;  // 0: as the dialog opened
        bool repeat, whileOn, with;
        std::vector<int> tabs;
    };
    const RadioRow radioRows[] = {
        {0, true, false, false,
         {fwhile::chkRepeat, fwhile::txtCond, fwhile::chkSurround, ids::butOK, ids::butCancel}},
        {fwhile::chkWith, false, false, true,
         {fwhile::txtCond, fwhile::chkSurround, ids::butOK, ids::butCancel, fwhile::chkWith}},
        {fwhile::chkWhile, false, true, false,
         {fwhile::chkWhile, fwhile::txtCond, fwhile::chkSurround, ids::butOK, ids::butCancel}},
        {fwhile::chkRepeat, true, false, false,
         {fwhile::chkRepeat, fwhile::txtCond, fwhile::chkSurround, ids::butOK, ids::butCancel}},
    };
    for (const RadioRow& r : radioRows) {
        if (r.pick != 0) dlg.Pick(r.pick);
        const std::string name = r.pick == 0 ? "as opened" : "after picking " + dlg.Field(r.pick);
        run.ExpectEq(name + ": repeat", r.repeat, dlg.Ticked(fwhile::chkRepeat));
        run.ExpectEq(name + ": while", r.whileOn, dlg.Ticked(fwhile::chkWhile));
        run.ExpectEq(name + ": with", r.with, dlg.Ticked(fwhile::chkWith));
        ExpectTabOrder(run, dlg, r.tabs, "TfrmWhile " + name);
    }
    run.Expect(!dlg.Ticked(fwhile::chkSurround), "surround starts unchecked");
    Shot(run, "templates-TfrmWhile");
    dlg.Close(ids::butCancel);
    ExpectPastedBack(run, d, kDialogText, pastes, "while, Cancel");

    run.Note("TfrmProc");
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d, ids::mnuProc, L"TfrmProc");
    ExpectFrame(run, dlg, "Add Procedure/Function", false);
    ExpectControls(run, dlg,
                   {
                       {fproc::chkProc, L"Button", "&procedure", 0},
                       {fproc::chkCons, L"Button", "&constructor", 0},
                       {fproc::chkFn, L"Button", "&function", 0},
                       {fproc::chkDest, L"Button", "&destructor", 0},
                       {fproc::grpName, L"TGroupBox", " Name ", 0},
                       {fproc::txtName, L"Edit", "", fproc::grpName},
                       {fproc::chkComment, L"Button", "use proc &comment", 0},
                       {fproc::chkVars, L"Button", "make &var block", 0},
                       {ids::butOK, L"Button", "OK", 0},
                       {ids::butCancel, L"Button", "Cancel", 0},
                   });
    ExpectNoLimit(run, dlg, {fproc::txtName});
    {
        RECT comment{}, vars{};
        GetWindowRect(dlg.Ctl(fproc::chkComment), &comment);
        GetWindowRect(dlg.Ctl(fproc::chkVars), &vars);
        run.Expect(comment.bottom <= vars.top, "use proc comment above make var block");
    }
    const int kinds[] = {fproc::chkProc, fproc::chkCons, fproc::chkFn, fproc::chkDest};
    for (int pick : {0, fproc::chkDest, fproc::chkCons, fproc::chkFn, fproc::chkProc}) {
        if (pick != 0) dlg.Pick(pick);
        const int selected = pick == 0 ? fproc::chkProc : pick;
        for (int k : kinds) {
            run.ExpectEq((pick == 0 ? std::string("as opened") : "after " + dlg.Field(pick)) + ": " + dlg.Field(k),
                         k == selected, dlg.Ticked(k));
        }
        ExpectTabOrder(run, dlg,
                       {selected, fproc::txtName, fproc::chkVars, ids::butOK, ids::butCancel, fproc::chkComment},
                       "TfrmProc");
    }
    run.Expect(!dlg.Ticked(fproc::chkComment) && !dlg.Ticked(fproc::chkVars), "both check boxes start unchecked");
    Shot(run, "templates-TfrmProc");
    pastes = d.editor.PasteCount();
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kDialogText, kDialogSel, pastes, "procedure, Cancel");
}

namespace {

const std::string kIfText = "procedure P;\r\nbegin\r\n  a := 1;\r\n  b := 2;\r\nend;\r\n";

struct IfRow {
    const char* name;
    const char* selection;
    const char* condition;
    const char* spin;  // nullptr: left at its default
    bool withElse;
    bool surround;
    const char* result;  // what the selection becomes
};

const IfRow kIfRows[] = {
    {"condition, indent 4, no boxes", "  a := 1;\r\n", "x > 0", "4", false, false,
     "    if x > 0 then begin\r\n    end;  {if x > 0}\r\n"},
    // The captured text goes in unchanged, its own CR LF plus the one added.
    {"surround and else, blanks kept", "  a := 1;\r\n  b := 2;\r\n", " ok ", nullptr, true, true,
     "  if  ok  then begin\r\n  a := 1;\r\n  b := 2;\r\n\r\n  end else begin\r\n  end;  {if  ok }\r\n"},
    {"all defaults", "a := 1;", "", nullptr, false, false, "  if  then begin\r\n  end;  {if }\r\n"},
    {"no number in the field counts as 1", "b := 2;", "Größe > 0", "x", false, true,
     " if Größe > 0 then begin\r\nb := 2;\r\n end;  {if Größe > 0}\r\n"},
    {"else without surround, indent 10", "  b := 2;\r\n", "c", "10", true, false,
     "          if c then begin\r\n          end else begin\r\n          end;  {if c}\r\n"},
};

}  // namespace

E2E_SCENARIO("templates", "begin_end_and_if", "begin...end over a selection; if...then from its dialog, defaults every time") {
    Desk d = OpenDesk(run, WithText(kIfText));

    run.Note("begin...end replaces three lines");
    Prepare(run, d.editor, kIfText, "begin\r\n  a := 1;\r\n  b := 2;\r\n");
    CommandGives(run, d, ids::mnuBeginEnd, "procedure P;\r\nbegin\r\n\r\nend;end;\r\n", "begin...end");
    run.ExpectEq("the clipboard holds the block", "begin\r\n\r\nend;", ClipboardText().value_or("<no text>"));

    for (const IfRow& row : kIfRows) {
        run.Note(row.name);
        Prepare(run, d.editor, kIfText, row.selection);
        Dialog dlg = OpenDialog(run, d, ids::mnuIfthen, L"TfrmIF");
        // Every row after the first follows a use that changed the fields.
        run.ExpectEq(std::string(row.name) + ": condition at opening", "", dlg.Field(fif::txtCond));
        run.ExpectEq(std::string(row.name) + ": indent at opening", "2", dlg.Field(fif::spin1));
        run.Expect(!dlg.Ticked(fif::chkElse) && !dlg.Ticked(fif::chkSurround),
                   std::string(row.name) + ": check boxes unchecked at opening");
        dlg.Type(fif::txtCond, row.condition);
        if (row.spin != nullptr) dlg.Type(fif::spin1, row.spin);
        dlg.Tick(fif::chkElse, row.withElse);
        dlg.Tick(fif::chkSurround, row.surround);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, Replaced(kIfText, row.selection, row.result), kDefaultTimeout, row.name);
    }

    run.Note("Cancel pastes nothing");
    Prepare(run, d.editor, kIfText, "  a := 1;\r\n");
    const int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d, ids::mnuIfthen, L"TfrmIF");
    dlg.Type(fif::txtCond, "never");
    dlg.Tick(fif::chkSurround, true);
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kIfText, "  a := 1;\r\n", pastes, "if...then, Cancel");
}

E2E_SCENARIO("templates", "if_keyboard", "the if...then dialog worked with the keys: arrows, range, text limit, Enter") {
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    Desk d = OpenDesk(run, WithText(kIfText));
    Prepare(run, d.editor, kIfText, "  b := 2;\r\n");
    Dialog dlg = OpenDialog(run, d, ids::mnuIfthen, L"TfrmIF");
    auto fieldBecomes = [&](int id, const std::string& expected, const std::string& what) {
        std::string last;
        if (!WaitUntil([&] { return (last = dlg.Field(id)) == expected; }, kDefaultTimeout)) {
            run.ExpectEq(what, expected, last);
        }
    };
    // From the condition field four Tabs reach the indent field.
    ClickInto(run, dlg, fif::txtCond);
    PressKeys(run, {"c", "Tab", "Tab", "Tab", "Tab", "5", "0", "Tab"});
    fieldBecomes(fif::txtCond, "c", "typed condition");
    fieldBecomes(fif::spin1, "10", "50 typed is pulled back to 10 as the field is left");
    PressKeys(run, {"shift+Tab", "Down"});
    fieldBecomes(fif::spin1, "9", "the Down arrow steps the field");
    PressKeys(run, {"shift+Tab", "Tab", "1", "2", "3", "4"});
    fieldBecomes(fif::spin1, "123", "the field takes three characters");
    // Enter takes the value as it stands: 0 gives no indent at all.
    PressKeys(run, {"shift+Tab", "Tab", "0", "Return"});
    ExpectEditorText(run, d.editor, Replaced(kIfText, "  b := 2;\r\n", "if c then begin\r\nend;  {if c}\r\n"),
                     kDefaultTimeout, "indent 0 confirmed with Enter");
}

namespace {

const std::string kForText = "begin\r\n    x := x + i;\r\n    y := y - 1;\r\nend;\r\n";
const std::string kForLines = "    x := x + i;\r\n    y := y - 1;\r\n";

struct ForRow {
    const char* name;
    const char* selection;
    const char* var;
    const char* low;
    const char* high;
    bool downto;
    bool surround;
    const char* result;
};

const ForRow kForRows[] = {
    {"i from 1 to 10", kForLines.c_str(), "i", "1", "10", false, false, "for i := 1 to 10 do begin\r\nend; {next i}\r\n"},
    {"downto, surround", kForLines.c_str(), "j", "1", "10", true, true,
     "    for j := 1 downto 10 do begin\r\n      x := x + i;\r\n      y := y - 1;\r\n    end; {next j}\r\n"},
    // From mid-line and without a final CR LF: no margin, a CR LF added.
    {"surround a mid-line selection, blanks kept", "x := x + i;\r\n    y := y - 1;", " k ", "a", "b", false, true,
     "for  k  := a to b do begin\r\n  x := x + i;\r\n      y := y - 1;\r\nend; {next  k }\r\n"},
    {"all fields empty", kForLines.c_str(), "", "", "", false, false, "for  :=  to  do begin\r\nend; {next }\r\n"},
};

}  // namespace

E2E_SCENARIO("templates", "for_next", "for loops from the dialog, with and without surround; entries kept; Cancel pastes back") {
    Desk d = OpenDesk(run, WithText(kForText));
    ForRow before{"start-up", nullptr, "", "", "", false, false, nullptr};
    for (const ForRow& row : kForRows) {
        run.Note(row.name);
        Prepare(run, d.editor, kForText, row.selection);
        Dialog dlg = OpenDialog(run, d, ids::mnuForNext, L"TfrmForNext");
        const std::string kept = std::string(row.name) + ": kept from " + before.name + ": ";
        run.ExpectEq(kept + "variable", before.var, dlg.Field(ffor::txtVar));
        run.ExpectEq(kept + "start", before.low, dlg.Field(ffor::txtMin));
        run.ExpectEq(kept + "end", before.high, dlg.Field(ffor::txtMax));
        run.ExpectEq(kept + "downto", before.downto, dlg.Ticked(ffor::chkDownto));
        run.ExpectEq(kept + "surround", before.surround, dlg.Ticked(ffor::chkSurround));
        dlg.Type(ffor::txtVar, row.var);
        dlg.Type(ffor::txtMin, row.low);
        dlg.Type(ffor::txtMax, row.high);
        dlg.Tick(ffor::chkDownto, row.downto);
        dlg.Tick(ffor::chkSurround, row.surround);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, Replaced(kForText, row.selection, row.result), kDefaultTimeout, row.name);
        before = row;
    }

    run.Note("Cancel pastes the selection back and keeps what was typed");
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    Prepare(run, d.editor, kForText, kForLines);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d, ids::mnuForNext, L"TfrmForNext");
    // The access keys: "&Range" leads into the start field (its text selected),
    // "&surround existing code" ticks its box.
    ClickInto(run, dlg, ffor::txtVar);
    PressKeys(run, {"n", "alt+r", "m", "alt+s"});
    run.Expect(WaitUntil([&] { return dlg.Ticked(ffor::chkSurround); }, kDefaultTimeout), "Alt+S ticks surround");
    run.ExpectEq("typed into the variable field", "n", dlg.Field(ffor::txtVar));
    run.ExpectEq("typed after Alt+R", "m", dlg.Field(ffor::txtMin));
    dlg.Close(ids::butCancel);
    ExpectPastedBack(run, d, kForText, pastes, "for, Cancel");

    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d, ids::mnuForNext, L"TfrmForNext");
    run.ExpectEq("variable typed before Cancel", "n", dlg.Field(ffor::txtVar));
    run.ExpectEq("start typed before Cancel", "m", dlg.Field(ffor::txtMin));
    run.Expect(dlg.Ticked(ffor::chkSurround), "surround ticked before Cancel");
    dlg.Close(ids::butCancel);
    ExpectPastedBack(run, d, kForText, pastes, "for, second Cancel");
}

namespace {

const std::string kWhileText = "procedure Draw;\r\nbegin\r\n  Pen.Color := clRed;\r\n  MoveTo(0, 0);\r\nend;\r\n";
const std::string kWhileLines = "  Pen.Color := clRed;\r\n  MoveTo(0, 0);\r\n";
const std::string kDeepText = "begin\r\n  begin\r\n    Inc(i);\r\n    Dec(n);\r\n  end;\r\nend;\r\n";
const std::string kDeepLines = "    Inc(i);\r\n    Dec(n);\r\n";

struct WhileRow {
    const char* name;
    const std::string* text;
    const std::string* selection;
    int radio;
    const char* condition;
    bool surround;
    const char* result;
};

const WhileRow kWhileRows[] = {
    {"repeat, defaults", &kWhileText, &kWhileLines, fwhile::chkRepeat, "", false, "repeat\r\nuntil \r\n"},
    {"while, blanks kept", &kWhileText, &kWhileLines, fwhile::chkWhile, " i < n ", false,
     "while  i < n  do begin\r\nend; {while}\r\n"},
    {"with, surround", &kWhileText, &kWhileLines, fwhile::chkWith, "Canvas", true,
     "  with Canvas do begin\r\n    Pen.Color := clRed;\r\n    MoveTo(0, 0);\r\n  end; {with}\r\n"},
    {"repeat, surround four blanks deep", &kDeepText, &kDeepLines, fwhile::chkRepeat, "Größe > 0", true,
     "    repeat\r\n      Inc(i);\r\n      Dec(n);\r\n    until Größe > 0\r\n"},
    {"while, surround", &kDeepText, &kDeepLines, fwhile::chkWhile, "n > 0", true,
     "    while n > 0 do begin\r\n      Inc(i);\r\n      Dec(n);\r\n    end; {while}\r\n"},
};

}  // namespace

E2E_SCENARIO("templates", "while_repeat_with", "repeat, while and with from the dialog; entries kept; Cancel and Esc paste back") {
    Desk d = OpenDesk(run, WithText(kWhileText));
    WhileRow before{"start-up", nullptr, nullptr, fwhile::chkRepeat, "", false, nullptr};
    for (const WhileRow& row : kWhileRows) {
        run.Note(row.name);
        Prepare(run, d.editor, *row.text, *row.selection);
        Dialog dlg = OpenDialog(run, d, ids::mnuWhile, L"TfrmWhile");
        const std::string kept = std::string(row.name) + ": kept from " + before.name + ": ";
        for (int radio : {fwhile::chkRepeat, fwhile::chkWhile, fwhile::chkWith}) {
            run.ExpectEq(kept + dlg.Field(radio), radio == before.radio, dlg.Ticked(radio));
        }
        run.ExpectEq(kept + "condition", before.condition, dlg.Field(fwhile::txtCond));
        run.ExpectEq(kept + "surround", before.surround, dlg.Ticked(fwhile::chkSurround));
        dlg.Pick(row.radio);
        dlg.Type(fwhile::txtCond, row.condition);
        dlg.Tick(fwhile::chkSurround, row.surround);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, Replaced(*row.text, *row.selection, row.result), kDefaultTimeout, row.name);
        before = row;
    }

    run.Note("switch to with and Cancel: pasted back, with kept");
    Prepare(run, d.editor, kWhileText, kWhileLines);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d, ids::mnuWhile, L"TfrmWhile");
    dlg.Pick(fwhile::chkWith);
    dlg.Close(ids::butCancel);
    ExpectPastedBack(run, d, kWhileText, pastes, "while, Cancel");

    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d, ids::mnuWhile, L"TfrmWhile");
    run.Expect(dlg.Ticked(fwhile::chkWith) && !dlg.Ticked(fwhile::chkWhile) && !dlg.Ticked(fwhile::chkRepeat),
               "with still selected after Cancel");
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    ClickInto(run, dlg, fwhile::txtCond);
    PressKeys(run, {"Escape"});
    run.Require(WaitUntil([&] { return !IsWindowVisible(dlg.hwnd); }, kDefaultTimeout), "Esc closes TfrmWhile");
    ExpectPastedBack(run, d, kWhileText, pastes, "while, Esc");
}

namespace {

const std::string kProcText = "implementation\r\n\r\n{ here }\r\n\r\nend.\r\n";
const std::string kProcSel = "{ here }\r\n";

struct ProcRow {
    const char* name;
    int radio;
    const char* routine;
    bool vars;
    bool comment;
    const char* procHead;  // the file's content; nullptr: no file
    const char* result;
};

const ProcRow kProcRows[] = {
    {"procedure, defaults", fproc::chkProc, "", false, false, nullptr, "procedure ();\r\nbegin\r\n\r\nend;\r\n"},
    {"procedure with var block", fproc::chkProc, "Run", true, false, nullptr,
     "procedure Run();\r\nvar i: integer;\r\nbegin\r\n\r\nend;\r\n"},
    {"function with var block", fproc::chkFn, "Max", true, false, nullptr,
     "function Max(): integer;\r\nvar i: integer;\r\nbegin\r\n\r\nend;\r\n"},
    {"constructor with var block", fproc::chkCons, "TForm1.Create", true, false, nullptr,
     "constructor TForm1.Create(AOwner: TComponent);\r\nvar i: integer;\r\nbegin\r\n\r\nend;\r\n"},
    {"destructor with var block", fproc::chkDest, "TForm1.Destroy", true, false, nullptr,
     "destructor TForm1.Destroy;\r\nvar i: integer;\r\nbegin\r\n\r\nend;\r\n"},
    // The header goes first; a missing final line break is added.
    {"proc comment without final line break", fproc::chkProc, "Run", false, true, "{ comment }",
     "{ comment }\r\nprocedure Run();\r\nbegin\r\n\r\nend;\r\n"},
    {"proc comment with lone LF line breaks", fproc::chkFn, " Go ", true, true, "{ one }\n{ two }\n",
     "{ one }\r\n{ two }\r\nfunction  Go (): integer;\r\nvar i: integer;\r\nbegin\r\n\r\nend;\r\n"},
};

}  // namespace

E2E_SCENARIO("templates", "proc_skeletons", "the four routine kinds, var block, proc comment; entries kept; Cancel and a missing ProcHead.txt paste nothing") {
    Desk d = OpenDesk(run, WithText(kProcText));
    ProcRow before{"start-up", fproc::chkProc, "", false, false, nullptr, nullptr};
    const int kinds[] = {fproc::chkProc, fproc::chkCons, fproc::chkFn, fproc::chkDest};
    for (const ProcRow& row : kProcRows) {
        run.Note(row.name);
        PutHeaderFile(run, d.toolbar, L"ProcHead.txt", row.procHead);
        Prepare(run, d.editor, kProcText, kProcSel);
        Dialog dlg = OpenDialog(run, d, ids::mnuProc, L"TfrmProc");
        const std::string kept = std::string(row.name) + ": kept from " + before.name + ": ";
        for (int k : kinds) run.ExpectEq(kept + dlg.Field(k), k == before.radio, dlg.Ticked(k));
        run.ExpectEq(kept + "name", before.routine, dlg.Field(fproc::txtName));
        run.ExpectEq(kept + "var block", before.vars, dlg.Ticked(fproc::chkVars));
        run.ExpectEq(kept + "proc comment", before.comment, dlg.Ticked(fproc::chkComment));
        dlg.Pick(row.radio);
        dlg.Type(fproc::txtName, row.routine);
        dlg.Tick(fproc::chkVars, row.vars);
        dlg.Tick(fproc::chkComment, row.comment);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, Replaced(kProcText, kProcSel, row.result), kDefaultTimeout, row.name);
        before = row;
    }

    run.Note("proc comment with ProcHead.txt missing");
    PutHeaderFile(run, d.toolbar, L"ProcHead.txt", nullptr);
    Prepare(run, d.editor, kProcText, kProcSel);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d, ids::mnuProc, L"TfrmProc");
    dlg.Pick(fproc::chkDest);
    dlg.Type(fproc::txtName, "Free");
    dlg.Close(ids::butOK);
    const MessageBoxInfo box = d.toolbar.WaitMessageBox(run);
    run.ExpectEq("error box caption", "Delphi Snipkit", box.caption);
    run.ExpectEq("error box text", "Cannot open file ProcHead.txt.", box.text);
    run.Expect(box.hasIcon, "the error box shows its icon");
    Dismiss(run, box.window, IDOK);
    ExpectNothingPasted(run, d, kProcText, kProcSel, pastes, "ProcHead.txt missing");

    run.Note("the dialog kept the entries; Cancel pastes nothing");
    Prepare(run, d.editor, kProcText, kProcSel);
    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d, ids::mnuProc, L"TfrmProc");
    run.Expect(dlg.Ticked(fproc::chkDest) && dlg.Ticked(fproc::chkComment), "destructor and proc comment kept");
    run.ExpectEq("name kept", "Free", dlg.Field(fproc::txtName));
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kProcText, kProcSel, pastes, "procedure, Cancel");
}

namespace {

const std::string kUnitText = "unit Sample;\r\n\r\n// header here\r\n\r\ninterface\r\n";
const std::string kUnitSel = "// header here\r\n";

struct HeaderRow {
    const char* name;
    int command;
    const wchar_t* file;
    std::string content;
    std::string inserted;
};

const HeaderRow kHeaderRows[] = {
    {"UNIT comment, lone LF line breaks", ids::mnuUnitHead, L"UnitHead.txt", "{ Unit: Sample }\n{ Author: me }\n",
     "{ Unit: Sample }\r\n{ Author: me }\r\n"},
    {"UNIT comment, lone CR and two final line breaks", ids::mnuUnitHead, L"UnitHead.txt", "{ a }\r{ b }\r\n\r\n",
     "{ a }\r\n{ b }\r\n\r\n"},
    {"PROC comment without a final line break", ids::mnuProcHead, L"ProcHead.txt", "{ proc }\r\n{ end }",
     "{ proc }\r\n{ end }"},
    {"UNIT comment saved as UTF-8 with a byte order mark", ids::mnuUnitHead, L"UnitHead.txt",
     "\xEF\xBB\xBF{ Gr\xC3\xBC\xC3\x9F" "e }\r\n", "{ Grüße }\r\n"},
    {"PROC comment saved as Unicode (UTF-16 LE)", ids::mnuProcHead, L"ProcHead.txt",
     std::string("\xFF\xFE{\0 \0\xA9\x03 \0\xE5\x65}\0\r\0\n\0", 18), "{ Ω 日}\r\n"},
};

}  // namespace

E2E_SCENARIO("templates", "header_comments", "UnitHead.txt and ProcHead.txt from the current directory; a missing one gives the error box") {
    Desk d = OpenDesk(run, WithText(kUnitText));

    run.Note("UnitHead.txt missing");
    PutHeaderFile(run, d.toolbar, L"UnitHead.txt", nullptr);
    Prepare(run, d.editor, kUnitText, kUnitSel);
    const int pastes = d.editor.PasteCount();
    d.toolbar.Command(ids::mnuUnitHead);
    const MessageBoxInfo box = d.toolbar.WaitMessageBox(run);
    run.ExpectEq("error box caption", "Delphi Snipkit", box.caption);
    run.ExpectEq("error box text", "Cannot open file UnitHead.txt.", box.text);
    run.Expect(box.hasIcon, "the error box shows its icon");
    run.ExpectEq("error box buttons", 1, static_cast<long long>(box.buttons.size()));
    if (!box.buttons.empty()) run.ExpectEq("error box button", IDOK, box.buttons.front().first);
    Dismiss(run, box.window, IDOK);
    ExpectNothingPasted(run, d, kUnitText, kUnitSel, pastes, "UnitHead.txt missing");

    for (const HeaderRow& row : kHeaderRows) {
        run.Note(row.name);
        PutHeaderBytes(run, d.toolbar, row.file, row.content);
        Prepare(run, d.editor, kUnitText, kUnitSel);
        CommandGives(run, d, row.command, Replaced(kUnitText, kUnitSel, row.inserted), row.name);
    }
}

}  // namespace e2e

