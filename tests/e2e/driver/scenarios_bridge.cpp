// The case commands through the whole cycle: the toolbar makes the editor
// copy, rewrites the text, makes the editor paste; plus Undo and the ways a
// capture can fail.
#include "toolbar/command_ids.h"
#include "clipboard_users.h"
#include "desk.h"

#include <atomic>

namespace e2e {
namespace {

namespace ids = snipkit::ids;

// A unit whose middle three lines get selected; the selection carries
// non-ASCII text, a UTF-16 surrogate without its partner (its three-byte
// form here) and the bytes just outside the letter ranges (@ [ ` {).
const std::string kBefore = "unit Sample;\r\n\r\n";
const std::string kSelected =
    "// Grüße Ω 日本 \xED\xA0\xBD abc\r\n"
    "procedure ShowMessage(const Msg: string);\r\n"
    "var x_Max2: Integer; { [@`] }\r\n";
const std::string kAfter = "begin\r\nend.\r\n";

std::string CharUpperCopy(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 0x20);
    }
    return s;
}

void SelectMiddle(const Editor& ed) {
    const int start = Utf16Length(kBefore);
    ed.Select(start, start + Utf16Length(kSelected));
}

// A first command, so that the toolbar knows the editor control from then on.
void FirstCommand(Run& run, const Desk& d, const std::string& text, const std::string& what) {
    d.editor.Select(0, 4);
    CommandGives(run, d, ids::mnuUpper, "UNIT" + text.substr(4), what);
}

// Runs a round once before the toolbar has found the editor control and
// once after, with the editor's text as before each time.
void BeforeAndAfterFirstCapture(Run& run, const Desk& d, const std::string& text,
                                const std::function<void(const std::string& name, bool controlKnown)>& round) {
    for (const bool controlKnown : {false, true}) {
        const std::string name = controlKnown ? "editor control known" : "first capture";
        run.Note(name);
        if (controlKnown) {
            FirstCommand(run, d, text, "a selection first");
            d.editor.SetText(text);
        }
        round(name, controlKnown);
    }
}

struct CaseRow {
    const char* name;
    int command;
    const char* expected;  // what the selection becomes
};

const CaseRow kCaseRows[] = {
    {"UPPER CASE", ids::mnuUpper,
     "// GRüßE Ω 日本 \xED\xA0\xBD ABC\r\n"
     "PROCEDURE SHOWMESSAGE(CONST MSG: STRING);\r\n"
     "VAR X_MAX2: INTEGER; { [@`] }\r\n"},
    {"lower case", ids::mnuLower,
     "// grüße Ω 日本 \xED\xA0\xBD abc\r\n"
     "procedure showmessage(const msg: string);\r\n"
     "var x_max2: integer; { [@`] }\r\n"},
    // Words are runs of letters, digits and non-ASCII bytes; "_" ends one.
    {"Title Case", ids::mnuTitle,
     "// Grüße Ω 日本 \xED\xA0\xBD Abc\r\n"
     "Procedure Showmessage(Const Msg: String);\r\n"
     "Var X_Max2: Integer; { [@`] }\r\n"},
    {"Flip Case", ids::mnuFlipCase,
     "// gRüßE Ω 日本 \xED\xA0\xBD ABC\r\n"
     "PROCEDURE sHOWmESSAGE(CONST mSG: STRING);\r\n"
     "VAR X_mAX2: iNTEGER; { [@`] }\r\n"},
};

}  // namespace

E2E_SCENARIO("bridge", "case_commands", "each case command rewrites a multi-line selection, non-ASCII bytes kept") {
    Desk d = OpenDesk(run, WithText(kBefore + kSelected + kAfter));
    int copies = 0;
    int pastes = 0;
    for (const CaseRow& row : kCaseRows) {
        run.Note(row.name);
        d.editor.SetText(kBefore + kSelected + kAfter);
        SelectMiddle(d.editor);
        CommandGives(run, d, row.command, kBefore + row.expected + kAfter, std::string(row.name) + ": editor text");
        run.ExpectEq(std::string(row.name) + ": WM_COPY sent", ++copies, d.editor.CopyCount());
        ExpectPastes(run, d.editor, ++pastes, std::string(row.name) + ": WM_PASTE sent");
        run.ExpectEq(std::string(row.name) + ": the clipboard holds the pasted text", row.expected,
                     ClipboardText().value_or("<no text>"));
        run.Expect(d.toolbar.NoMessageBoxFor(0), std::string(row.name) + ": no message box");
    }

    run.Note("Flip Case twice gives the text back");
    d.editor.SetText(kBefore + kSelected + kAfter);
    SelectMiddle(d.editor);
    CommandGives(run, d, ids::mnuFlipCase, kBefore + kCaseRows[3].expected + kAfter, "after the first flip");
    SelectMiddle(d.editor);
    CommandGives(run, d, ids::mnuFlipCase, kBefore + kSelected + kAfter, "after the second flip");
}

E2E_SCENARIO("bridge", "undo", "Undo makes the editor take the paste back; before any editor is known it does nothing") {
    Toolbar t = LaunchToolbar(run);
    Editor ed = LaunchEditor(run, WithText(kBefore + kSelected + kAfter));
    LetToolbarSee(run, ed.frame);

    run.Note("Undo before any capture");
    t.Command(ids::mnuUndo);
    ExpectEditorUnchanged(run, t, ed, kBefore + kSelected + kAfter);
    run.ExpectEq("WM_UNDO before any capture", 0, ed.UndoCount());
    run.Expect(t.NoMessageBoxFor(0), "no message box");

    run.Note("UPPER CASE, then Undo");
    SelectMiddle(ed);
    t.Command(ids::mnuUpper);
    ExpectEditorText(run, ed, kBefore + kCaseRows[0].expected + kAfter, kDefaultTimeout, "after UPPER CASE");
    t.Command(ids::mnuUndo);
    ExpectEditorText(run, ed, kBefore + kSelected + kAfter, kDefaultTimeout, "after Undo");
    run.ExpectEq("WM_UNDO sent", 1, ed.UndoCount());
}

E2E_SCENARIO("bridge", "first_capture", "the first capture finds the TEditControl among the editor window's children") {
    EditorOptions o = WithText(kBefore + kSelected + kAfter);
    // Names that merely start alike must not be taken for it.
    o.childrenBefore = {L"TEditControl1", L"TEditContro", L"TStatusBar"};
    Desk d = OpenDesk(run, o);
    run.ExpectEq("WM_COPY before any command", 0, d.editor.CopyCount());
    SelectMiddle(d.editor);
    CommandGives(run, d, ids::mnuUpper, kBefore + kCaseRows[0].expected + kAfter, "after UPPER CASE");
    run.ExpectEq("WM_COPY reached the TEditControl", 1, d.editor.CopyCount());
    ExpectPastes(run, d.editor, 1, "WM_PASTE reached the TEditControl");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("bridge", "nested_control", "an editor window whose control is no direct child: no data on the clipboard") {
    EditorOptions o = WithText(kBefore + kSelected + kAfter);
    o.nested = true;
    Desk d = OpenDesk(run, o);
    SelectMiddle(d.editor);
    run.Require(SetClipboardText("older text"), "the driver can set the clipboard");
    d.toolbar.Command(ids::mnuUpper);
    ExpectMessageBox(run, d.toolbar, "No data found on clipboard.", "Empty clipboard?");
    ExpectEditorUnchanged(run, d.toolbar, d.editor, kBefore + kSelected + kAfter);
    run.ExpectEq("WM_COPY to the nested control", 0, d.editor.CopyCount());
    run.ExpectEq("WM_PASTE to the nested control", 0, d.editor.PasteCount());
}

E2E_SCENARIO("bridge", "not_an_edit_window", "another window in front and no editor known: Could not copy") {
    Toolbar t = LaunchToolbar(run);
    Editor ed = LaunchEditor(run, WithText(kBefore + kSelected + kAfter));
    SelectMiddle(ed);
    OwnWindow other(L"Some other program", 300, 40, 400, 300);
    LetToolbarSee(run, other.hwnd());
    run.Require(SetClipboardText("older text"), "the driver can set the clipboard");

    t.Command(ids::mnuUpper);
    ExpectMessageBox(run, t, "Source window was not a Delphi TEditWindow.", "Could not copy");
    ExpectEditorUnchanged(run, t, ed, kBefore + kSelected + kAfter);
    run.ExpectEq("WM_COPY sent to the editor", 0, ed.CopyCount());
    run.ExpectEq("WM_PASTE sent to the editor", 0, ed.PasteCount());
    run.ExpectEq("the refused command left the clipboard alone", "older text", ClipboardText().value_or("<no text>"));
}

E2E_SCENARIO("bridge", "nothing_selected", "a command with nothing selected pastes nothing and says nothing") {
    const std::string text = kBefore + kSelected + kAfter;
    Desk d = OpenDesk(run, WithText(text));

    BeforeAndAfterFirstCapture(run, d, text, [&](const std::string& name, bool) {
        run.Require(SetClipboardText("stale clipboard text"), "the driver can set the clipboard");
        const int copies = d.editor.CopyCount();
        const int pastes = d.editor.PasteCount();
        d.editor.Caret(Utf16Length(kBefore) + 3);
        d.toolbar.Command(ids::mnuUpper);
        run.Expect(WaitCopies(d.editor, copies + 1), name + ": the editor was asked to copy");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, text);
        run.ExpectEq(name + ": WM_PASTE sent", pastes, d.editor.PasteCount());
        run.Expect(d.toolbar.NoMessageBoxFor(0), name + ": no message box");
    });
}

E2E_SCENARIO("bridge", "clipboard_busy", "the clipboard held by another program: Clipboard busy, editor unchanged") {
    const std::string text = kBefore + kSelected + kAfter;
    Desk d = OpenDesk(run, WithText(text));

    BeforeAndAfterFirstCapture(run, d, text, [&](const std::string& name, bool controlKnown) {
        SelectMiddle(d.editor);
        const int pastes = d.editor.PasteCount();
        ClipboardHolder holder(0);
        holder.GrabNow();
        run.Require(holder.grabbed(), "the driver holds the clipboard open");
        d.toolbar.Command(ids::mnuUpper);
        // Hold on for two seconds, or until the toolbar has given up.
        WaitUntil([&] { return !d.toolbar.MessageBoxes().empty(); }, 2000);
        holder.Release();
        ExpectMessageBox(run, d.toolbar, "The clipboard is in use by another program; nothing was pasted.",
                         "Clipboard busy");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, text);
        run.ExpectEq(name + ": WM_PASTE sent", pastes, d.editor.PasteCount());
        if (!controlKnown) LetToolbarSee(run, d.editor.frame);
    });
}

// Another program takes the clipboard the moment the editor starts to copy,
// before the editor opens it, so the copy is lost (the sequence number stays
// as it is for an empty selection). Taking that for an empty selection would
// paste "{  }" for comment {...} once the other program has let go. The driver's own editor is used
// because the stand-in's copy cannot be hooked.
E2E_SCENARIO("bridge", "copy_while_held",
             "the clipboard taken inside the editor's copy: a short hold is waited for, a long one stops the command") {
    Toolbar t = LaunchToolbar(run);
    QuickEditor editor(run, "abc");
    LetToolbarSee(run, editor.frame(), 5);
    struct Row {
        const char* name;
        int command;
        DWORD holdMs;
        bool busy;             // else the copy is asked for again and the command goes on
        const char* expected;  // the editor's text at the end; the for dialog's Cancel pastes nothing
        int pasted;            // pastes the command makes
    };
    const Row rows[] = {
        {"for...next, held 1.5 s", ids::mnuForNext, 1500, true, "abc", 0},
        {"for...next, held 200 ms", ids::mnuForNext, 200, false, "abc", 0},
        {"comment {...}, held 200 ms", ids::mnuCommentBrace, 200, false, "{ abc }", 1},
    };
    for (const Row& row : rows) {
        const std::string what = row.name;
        run.Note(what);
        editor.SetText("abc");
        const int copies = editor.copies();
        const int pastes = editor.pastes();
        ClipboardHolder holder(row.holdMs);
        std::atomic<bool> first{true};
        editor.OnCopying([&] {
            if (first.exchange(false)) holder.GrabNow();
        });
        struct Unhook {
            QuickEditor& e;
            ~Unhook() { e.OnCopying(nullptr); }
        } unhook{editor};
        t.Command(row.command);
        HWND dialog = nullptr;
        std::vector<MessageBoxInfo> boxes;
        WaitUntil(
            [&] {
                dialog = FindTopWindow(t.process->pid(), L"TfrmForNext");
                boxes = t.MessageBoxes();
                return dialog != nullptr || !boxes.empty() || editor.pastes() > pastes;
            },
            kDefaultTimeout);
        run.Require(holder.grabbed(), what + ": the other program took the clipboard inside the copy");
        // Whatever the toolbar shows, the user answers it after the hold.
        run.Require(WaitUntil([&] { return holder.released(); }, kDefaultTimeout), what + ": the hold ended");
        if (row.busy) {
            run.Expect(dialog == nullptr, what + ": no for dialog");
            if (run.Expect(!boxes.empty(), what + ": a message box")) {
                run.ExpectEq(what + ": message", "The clipboard is in use by another program; nothing was pasted.",
                             boxes.front().text);
                run.ExpectEq(what + ": caption", "Clipboard busy", boxes.front().caption);
            }
        } else {
            run.Expect(boxes.empty(), what + ": no message box");
            run.Expect((dialog != nullptr) == (row.command == ids::mnuForNext),
                       what + ": the for dialog opened (for...next alone has one)");
            run.ExpectEq(what + ": the lost copy was asked for once more", copies + 2, editor.copies());
        }
        for (const MessageBoxInfo& box : boxes) Dismiss(run, box.window, IDOK);
        if (dialog != nullptr) Dialog{&run, dialog}.Close(IDCANCEL);
        const int pasted = row.pasted;
        run.Expect(WaitUntil([&] { return editor.pastes() >= pastes + pasted; }, kDefaultTimeout),
                   what + ": pasted " + std::to_string(pasted) + " time(s)");
        run.ExpectEq(what + ": editor text", row.expected, editor.Text());
        // No paste comes late: the next command's result is all there is.
        t.Command(ids::mnuUpper);
        run.Expect(WaitUntil([&] { return editor.pastes() > pastes + pasted; }, kDefaultTimeout),
                   what + ": UPPER CASE after it pasted");
        run.ExpectEq(what + ": after UPPER CASE", CharUpperCopy(row.expected), editor.Text());
        run.ExpectEq(what + ": pastes in all", pastes + pasted + 1, editor.pastes());
        run.Expect(t.NoMessageBoxFor(0), what + ": no further message box");
    }
}

E2E_SCENARIO("bridge", "known_control", "once found, the editor control is used whichever window is in front") {
    const std::string text = kBefore + kSelected + kAfter;
    Desk d = OpenDesk(run, WithText(text));
    FirstCommand(run, d, text, "the first command");

    OwnWindow other(L"Some other program", 300, 700, 300, 200);
    LetToolbarSee(run, other.hwnd());
    d.editor.SetText(text);
    SelectMiddle(d.editor);
    CommandGives(run, d, ids::mnuUpper, kBefore + kCaseRows[0].expected + kAfter,
                 "with another window in front");
    run.Expect(NoMessageBoxAfterTick(run, d.toolbar), "no message box");
    d.toolbar.Command(ids::mnuUndo);
    ExpectEditorText(run, d.editor, text, kDefaultTimeout, "after Undo with another window in front");
}

E2E_SCENARIO("bridge", "second_editor_window",
             "a second editor window in front gets the command, the hidden one keeps its text; Undo follows the paste") {
    const std::string text = kBefore + kSelected + kAfter;
    const std::string upper = kBefore + kCaseRows[0].expected + kAfter;
    Desk d = OpenDesk(run, WithText(text));
    FirstCommand(run, d, text, "the first window, first command");
    d.editor.SetText(text);

    EditorOptions o = WithText(text);
    o.caption = L"Unit1.pas (2)";
    o.y = 80;
    Editor second = LaunchEditor(run, o);
    LetToolbarSee(run, second.frame);
    SelectMiddle(second);
    SelectMiddle(d.editor);
    d.toolbar.Command(ids::mnuUpper);
    ExpectEditorText(run, second, upper, kDefaultTimeout, "the second window in front");
    ExpectEditorUnchanged(run, d.editor, text, 300);

    // The first window in front, no command there: Undo takes back the paste
    // in the second one.
    LetToolbarSee(run, d.editor.frame);
    d.toolbar.Command(ids::mnuUndo);
    ExpectEditorText(run, second, text, kDefaultTimeout, "the second window after Undo");
    ExpectEditorUnchanged(run, d.editor, text, 300);
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("bridge", "editor_closed", "after the editor is closed: Could not copy, and Undo does nothing") {
    const std::string text = kBefore + kSelected + kAfter;
    Desk d = OpenDesk(run, WithText(text));
    FirstCommand(run, d, text, "the first command");
    run.Require(d.editor.process->CloseWindows(kDefaultTimeout), "the editor closes");

    OwnWindow other(L"Some other program", 300, 40, 300, 200);
    LetToolbarSee(run, other.hwnd());
    d.toolbar.Command(ids::mnuUndo);
    run.Expect(NoMessageBoxAfterTick(run, d.toolbar), "Undo shows nothing");
    run.Require(SetClipboardText("older text"), "the driver can set the clipboard");
    d.toolbar.Command(ids::mnuLower);
    ExpectMessageBox(run, d.toolbar, "Source window was not a Delphi TEditWindow.", "Could not copy");
    run.ExpectEq("the refused command left the clipboard alone", "older text", ClipboardText().value_or("<no text>"));
    run.Expect(d.toolbar.process->Running(), "the toolbar is still running");
}

E2E_SCENARIO("bridge", "before_first_tick", "a command before the toolbar's first timer tick does nothing and says nothing") {
    const std::string text = kBefore + kSelected + kAfter;
    Editor ed = LaunchEditor(run, WithText(text));
    Toolbar t;
    DWORD posted = 0;
    long ticksBefore = 0;
    // The timer starts after the process does, so a command posted within a
    // second of the process's creation is handled before the first tick. A
    // start slowed down by a busy machine gets another try or two.
    for (int attempt = 1; attempt <= 3; ++attempt) {
        if (attempt > 1) {
            run.Note("start took too long (" + std::to_string(posted) + " ms); again");
            run.Require(t.Close(), "the toolbar closes");
        }
        SelectMiddle(ed);
        t = LaunchToolbar(run);
        // The toolbar may take the foreground as it shows; the editor must be
        // in front when the command comes, or there is nothing to tell apart.
        BringToFront(run, ed.frame);
        t.Command(ids::mnuUpper);
        // A posted command is handled before any timer tick that was not
        // taken yet, so no tick so far means none before the command.
        posted = GetTickCount() - t.startedAt;
        ticksBefore = TicksTaken(run, t);
        if (ticksBefore == 0) break;
    }
    run.Require(ticksBefore == 0, "the command was posted before the first tick (" + std::to_string(posted) +
                                      " ms after the start)");
    ExpectEditorUnchanged(run, t, ed, text);
    run.ExpectEq("WM_COPY before the first tick", 0, ed.CopyCount());
    run.Expect(t.NoMessageBoxFor(0), "no message box");

    // Once a tick has seen the editor in front, the same command works.
    LetToolbarSee(run, ed.frame);
    SelectMiddle(ed);
    t.Command(ids::mnuUpper);
    ExpectEditorText(run, ed, kBefore + kCaseRows[0].expected + kAfter, kDefaultTimeout, "after the first tick");
}

}  // namespace e2e
