// The code templates through the whole cycle: the toolbar makes the editor
// copy, the user fills in a template dialog, the toolbar pastes the statement
// or routine built from it; plus the dialogs themselves and the header
// comment files, which the toolbar reads from its current directory.
#include "toolbar/command_ids.h"
#include "desk.h"
#include "templates/template_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fif = ids::fif;
namespace ffor = ids::ffornext;
namespace fwhile = ids::fwhile;
namespace fproc = ids::fproc;

// A header comment file in the toolbar's current directory cwd, where it
// looks for them by bare name.
void PutHeaderBytes(Run& run, const std::wstring& cwd, const wchar_t* name, const std::string& bytes) {
    PutFile(run, cwd + L"\\" + name, bytes);
}

// As PutHeaderBytes; nullptr removes the file.
void PutHeaderFile(Run& run, const std::wstring& cwd, const wchar_t* name, const char* content) {
    const std::wstring path = cwd + L"\\" + name;
    if (content == nullptr) {
        DeleteFileW(path.c_str());
        run.Require(GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES, "no " + ToUtf8(name));
        return;
    }
    PutHeaderBytes(run, cwd, name, content);
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
    ExpectPastes(run, d.editor, pastes + 1, what + ": pastes");
}

// ---------------------------------------------------------------- the dialogs

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

const std::string kDialogText = "begin\r\n  a := 1;\r\nend;\r\n";
const std::string kDialogSel = "  a := 1;\r\n";

}  // namespace

E2E_SCENARIO("templates", "dialogs", "the four template dialogs: frames, controls, initial states, tab orders") {
    Desk d = OpenDesk(run, WithText(kDialogText));

    run.Note("TfrmIF");
    Prepare(run, d.editor, kDialogText, kDialogSel);
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuIfthen, L"TfrmIF");
    ExpectLayout(run, "TfrmIF", LayoutOf(dlg.hwnd));
    ShotIfAsked(run, "templates-TfrmIF");
    dlg.Close(ids::butCancel);
    run.Expect(WaitUntil([&] { return !IsWindow(dlg.hwnd); }, kDefaultTimeout), "TfrmIF is destroyed after use");

    run.Note("TfrmForNext");
    int pastes = d.editor.PasteCount();
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d.toolbar, ids::mnuForNext, L"TfrmForNext");
    ExpectLayout(run, "TfrmForNext", LayoutOf(dlg.hwnd));
    ShotIfAsked(run, "templates-TfrmForNext");
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kDialogText, kDialogSel, pastes, "for, Cancel");

    run.Note("TfrmWhile");
    pastes = d.editor.PasteCount();
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d.toolbar, ids::mnuWhile, L"TfrmWhile");
    ExpectLayout(run, "TfrmWhile", LayoutOf(dlg.hwnd));
    // Tab stops at the radio button that is selected only.
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
    ShotIfAsked(run, "templates-TfrmWhile");
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kDialogText, kDialogSel, pastes, "while, Cancel");

    run.Note("TfrmProc");
    Prepare(run, d.editor, kDialogText, kDialogSel);
    dlg = OpenDialog(run, d.toolbar, ids::mnuProc, L"TfrmProc");
    ExpectLayout(run, "TfrmProc", LayoutOf(dlg.hwnd));
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
    ShotIfAsked(run, "templates-TfrmProc");
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
        Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuIfthen, L"TfrmIF");
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
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuIfthen, L"TfrmIF");
    dlg.Type(fif::txtCond, "never");
    dlg.Tick(fif::chkSurround, true);
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kIfText, "  a := 1;\r\n", pastes, "if...then, Cancel");
}

E2E_SCENARIO("templates", "if_keyboard", "the if...then dialog worked with the keys: arrows, range, text limit, Enter") {
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    Desk d = OpenDesk(run, WithText(kIfText));
    Prepare(run, d.editor, kIfText, "  b := 2;\r\n");
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuIfthen, L"TfrmIF");
    // From the condition field four Tabs reach the indent field.
    dlg.ClickInto(fif::txtCond);
    PressKeys(run, dlg.hwnd, {"c", "Tab", "Tab", "Tab", "Tab", "5", "0", "Tab"});
    dlg.ExpectField(fif::txtCond, "c", "typed condition");
    dlg.ExpectField(fif::spin1, "10", "50 typed is pulled back to 10 as the field is left");
    PressKeys(run, dlg.hwnd, {"shift+Tab", "Down"});
    dlg.ExpectField(fif::spin1, "9", "the Down arrow steps the field");
    PressKeys(run, dlg.hwnd, {"shift+Tab", "Tab", "1", "2", "3", "4"});
    dlg.ExpectField(fif::spin1, "123", "the field takes three characters");
    // Enter takes the value as it stands: 0 gives no indent at all.
    PressKeys(run, dlg.hwnd, {"shift+Tab", "Tab", "0", "Return"});
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

E2E_SCENARIO("templates", "for_next", "for loops from the dialog, with and without surround; entries kept; Cancel pastes nothing") {
    Desk d = OpenDesk(run, WithText(kForText));
    ForRow before{"start-up", nullptr, "", "", "", false, false, nullptr};
    for (const ForRow& row : kForRows) {
        run.Note(row.name);
        Prepare(run, d.editor, kForText, row.selection);
        Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuForNext, L"TfrmForNext");
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

    run.Note("Cancel pastes nothing and keeps what was typed");
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    Prepare(run, d.editor, kForText, kForLines);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuForNext, L"TfrmForNext");
    // The access keys: "&Range" leads into the start field (its text selected),
    // "&surround existing code" ticks its box.
    dlg.ClickInto(ffor::txtVar);
    PressKeys(run, dlg.hwnd, {"n", "alt+r", "m", "alt+s"});
    run.Expect(WaitUntil([&] { return dlg.Ticked(ffor::chkSurround); }, kDefaultTimeout), "Alt+S ticks surround");
    run.ExpectEq("typed into the variable field", "n", dlg.Field(ffor::txtVar));
    run.ExpectEq("typed after Alt+R", "m", dlg.Field(ffor::txtMin));
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kForText, kForLines, pastes, "for, Cancel");

    Prepare(run, d.editor, kForText, kForLines);
    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d.toolbar, ids::mnuForNext, L"TfrmForNext");
    run.ExpectEq("variable typed before Cancel", "n", dlg.Field(ffor::txtVar));
    run.ExpectEq("start typed before Cancel", "m", dlg.Field(ffor::txtMin));
    run.Expect(dlg.Ticked(ffor::chkSurround), "surround ticked before Cancel");
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kForText, kForLines, pastes, "for, second Cancel");
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

E2E_SCENARIO("templates", "while_repeat_with", "repeat, while and with from the dialog; entries kept; Cancel and Esc paste nothing") {
    Desk d = OpenDesk(run, WithText(kWhileText));
    WhileRow before{"start-up", nullptr, nullptr, fwhile::chkRepeat, "", false, nullptr};
    for (const WhileRow& row : kWhileRows) {
        run.Note(row.name);
        Prepare(run, d.editor, *row.text, *row.selection);
        Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuWhile, L"TfrmWhile");
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

    run.Note("switch to with and Cancel: nothing pasted, with kept");
    Prepare(run, d.editor, kWhileText, kWhileLines);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuWhile, L"TfrmWhile");
    dlg.Pick(fwhile::chkWith);
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kWhileText, kWhileLines, pastes, "while, Cancel");

    Prepare(run, d.editor, kWhileText, kWhileLines);
    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d.toolbar, ids::mnuWhile, L"TfrmWhile");
    run.Expect(dlg.Ticked(fwhile::chkWith) && !dlg.Ticked(fwhile::chkWhile) && !dlg.Ticked(fwhile::chkRepeat),
               "with still selected after Cancel");
    run.Require(HaveHost(run), "the runner's host helper for the keys");
    dlg.ClickInto(fwhile::txtCond);
    PressKeys(run, dlg.hwnd, {"Escape"});
    run.Require(WaitUntil([&] { return !IsWindowVisible(dlg.hwnd); }, kDefaultTimeout), "Esc closes TfrmWhile");
    ExpectNothingPasted(run, d, kWhileText, kWhileLines, pastes, "while, Esc");
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
        PutHeaderFile(run, d.toolbar.folder, L"ProcHead.txt", row.procHead);
        Prepare(run, d.editor, kProcText, kProcSel);
        Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuProc, L"TfrmProc");
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
    PutHeaderFile(run, d.toolbar.folder, L"ProcHead.txt", nullptr);
    Prepare(run, d.editor, kProcText, kProcSel);
    int pastes = d.editor.PasteCount();
    Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuProc, L"TfrmProc");
    dlg.Pick(fproc::chkDest);
    dlg.Type(fproc::txtName, "Free");
    dlg.Close(ids::butOK);
    ExpectMessageBox(run, d.toolbar, "Cannot open file ProcHead.txt.", "Delphi Snipkit", true);
    ExpectNothingPasted(run, d, kProcText, kProcSel, pastes, "ProcHead.txt missing");

    run.Note("the dialog kept the entries; Cancel pastes nothing");
    Prepare(run, d.editor, kProcText, kProcSel);
    pastes = d.editor.PasteCount();
    dlg = OpenDialog(run, d.toolbar, ids::mnuProc, L"TfrmProc");
    run.Expect(dlg.Ticked(fproc::chkDest) && dlg.Ticked(fproc::chkComment), "destructor and proc comment kept");
    run.ExpectEq("name kept", "Free", dlg.Field(fproc::txtName));
    dlg.Close(ids::butCancel);
    ExpectNothingPasted(run, d, kProcText, kProcSel, pastes, "procedure, Cancel");
}

namespace {

const std::string kUnitSel = "// header here\r\n";
const std::string kUnitText = "unit Sample;\r\n\r\n" + kUnitSel + "\r\ninterface\r\n";

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

E2E_SCENARIO("templates", "header_comments",
             "UnitHead.txt and ProcHead.txt from the current directory, not the program's folder; a missing one gives "
             "the error box") {
    // Started in a project folder, with other header files beside the
    // program that must not be read.
    const std::wstring project = run.dir() + L"\\project";
    CreateDirectoryW(project.c_str(), nullptr);
    run.Require(IsDirectory(project), "the project folder");
    ToolbarOptions o;
    o.cwd = project;
    o.prepare = [&](const std::wstring& folder) {
        PutHeaderBytes(run, folder, L"UnitHead.txt", "{ beside the program }\r\n");
        PutHeaderBytes(run, folder, L"ProcHead.txt", "{ beside the program }\r\n");
    };
    Desk d = OpenDesk(run, WithText(kUnitText), o);

    run.Note("UnitHead.txt missing from the current directory");
    PutHeaderFile(run, project, L"UnitHead.txt", nullptr);
    Prepare(run, d.editor, kUnitText, kUnitSel);
    const int pastes = d.editor.PasteCount();
    d.toolbar.Command(ids::mnuUnitHead);
    ExpectMessageBox(run, d.toolbar, "Cannot open file UnitHead.txt.", "Delphi Snipkit", true);
    ExpectNothingPasted(run, d, kUnitText, kUnitSel, pastes, "UnitHead.txt missing");

    for (const HeaderRow& row : kHeaderRows) {
        run.Note(row.name);
        PutHeaderBytes(run, project, row.file, row.content);
        Prepare(run, d.editor, kUnitText, kUnitSel);
        CommandGives(run, d, row.command, Replaced(kUnitText, kUnitSel, row.inserted), row.name);
    }
}

}  // namespace e2e
