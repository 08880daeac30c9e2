// Commands beside a clipboard history tool, which opens the clipboard after
// every change and keeps it for a while: after the editor's copy, just when
// the toolbar reads it, and after the toolbar's own write, just when the
// editor opens it to paste.
#include "toolbar/command_ids.h"
#include "clipboard_users.h"
#include "desk.h"
#include "stash/stash_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;

// As long as history tools keep the clipboard after a change.
constexpr DWORD kToolHoldMs = 100;

struct CommandRow {
    const char* name;
    int command;
    const wchar_t* dialog;  // a dialog to close with OK, or nullptr
    const char* selection;
    const char* expected;  // what the selection becomes
};

const CommandRow kCommandRows[] = {
    {"UPPER CASE", ids::mnuUpper, nullptr, "hello There x1", "HELLO THERE X1"},
    {"lower case", ids::mnuLower, nullptr, "Hello THERE x1", "hello there x1"},
    {"Title Case", ids::mnuTitle, nullptr, "hello there x1", "Hello There X1"},
    {"Flip Case", ids::mnuFlipCase, nullptr, "Hello There", "hELLO tHERE"},
    {"comment //", ids::mnuCommentSlash, nullptr, "a := 1;\r\nb := 2;", "//a := 1;\r\n//b := 2;"},
    {"comment {...}", ids::mnuCommentBrace, nullptr, "x", "{ x }"},
    {"comment (*...*)", ids::mnuCommentPar, nullptr, "x", "(* x *)"},
    {"uncomment", ids::mnuUncomment, nullptr, "//a := 1;\r\n//b := 2;", "a := 1;\r\nb := 2;"},
    {"Indent 2", ids::mnuIndent, L"TfrmIndent", "a\r\nb", "  a\r\n  b"},
    {"begin...end", ids::mnuBeginEnd, nullptr, "x", "begin\r\n\r\nend;"},
};

const std::string kBefore = "unit Sample;\r\n\r\nbegin\r\n";
const std::string kAfter = "\r\nend.\r\n";

}  // namespace

E2E_SCENARIO("history", "upper_then_comment",
             "UPPER CASE, then comment //, on hello there beside a history tool: //HELLO THERE") {
    ClipboardHistoryTool tool(kToolHoldMs);
    run.Require(tool.listening(), "the history tool listens to the clipboard");
    Desk d = OpenDesk(run, WithText("hello there"));

    struct Step {
        int command;
        const char* expected;
        int changes;  // of the clipboard; the toolbar's looks at whether it is free wake no one
    };
    // The first capture empties the clipboard before its search; then come the
    // editor's copy and the toolbar's write.
    for (const Step step : {Step{ids::mnuUpper, "HELLO THERE", 3}, Step{ids::mnuCommentSlash, "//HELLO THERE", 2}}) {
        const int updates = tool.updates();
        d.editor.SelectAll();
        CommandGives(run, d, step.command, step.expected, step.expected);
        ExpectNoMessageBox(run, d.toolbar, step.expected);
        run.Expect(
            WaitUntil([&] { return tool.holds() >= updates + step.changes && !tool.holding(); }, kDefaultTimeout),
            std::string(step.expected) + ": the tool read the clipboard after every change");
        run.ExpectEq(std::string(step.expected) + ": clipboard changes", updates + step.changes, tool.updates());
    }
}

E2E_SCENARIO("history", "every_command",
             "every formatting command and begin...end beside a history tool: byte for byte, no message") {
    ClipboardHistoryTool tool(kToolHoldMs);
    run.Require(tool.listening(), "the history tool listens to the clipboard");
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    for (const CommandRow& row : kCommandRows) {
        run.Note(row.name);
        d.editor.SetAndSelect(kBefore, row.selection, kAfter);
        d.toolbar.Command(row.command);
        if (row.dialog != nullptr) Dialog{&run, d.toolbar.WaitDialog(run, row.dialog)}.Close(IDOK);
        ExpectEditorText(run, d.editor, kBefore + row.expected + kAfter, kDefaultTimeout, row.name);
        ExpectNoMessageBox(run, d.toolbar, row.name);
    }
}

E2E_SCENARIO("history", "stash", "a snippet saved and taken back beside a history tool") {
    namespace fsave = ids::fsave;
    namespace fstash = ids::fstash;
    ClipboardHistoryTool tool(kToolHoldMs);
    run.Require(tool.listening(), "the history tool listens to the clipboard");
    const std::string snippet = "a := 1;\r\nb := 2;\r\n";
    Desk d = OpenDesk(run, WithText(kBefore + snippet + kAfter));
    d.editor.SelectText(run, snippet);

    const Dialog save = OpenDialog(run, d.toolbar, ids::butStash, L"TfrmSave");
    run.ExpectEq("the save dialog shows the selection", snippet, save.Field(fsave::Memo1));
    save.Type(fsave::txtName, "history");
    save.Type(fsave::txtDesc, "saved beside a history tool");
    save.Close(IDOK);
    ExpectNoMessageBox(run, d.toolbar, "save");

    d.editor.SetText("placeholder");
    d.editor.SelectAll();
    const Dialog browser = OpenDialog(run, d.toolbar, ids::butLoad, L"TfrmStash");
    PressKeys(run, browser.hwnd, {"Down"});
    run.Require(WaitUntil([&] { return !browser.Field(fstash::Memo1).empty(); }, kDefaultTimeout),
                "the snippet is previewed");
    browser.Close(fstash::butCopy);
    ExpectEditorText(run, d.editor, snippet, kDefaultTimeout, "the snippet taken back");
    ExpectNoMessageBox(run, d.toolbar, "retrieve");
}

E2E_SCENARIO("history", "long_hold", "a history tool that keeps the clipboard 2 s: Clipboard busy, text unchanged") {
    const std::string text = kBefore + "hello there" + kAfter;
    Desk d = OpenDesk(run, WithText(text));
    // The tool is holding when the command comes: woken by a change just
    // before. Left to wake at the command's own change (the first capture's
    // emptying, the editor's copy), a tool that wakes late on a loaded machine
    // lets the toolbar read and paste first, which is no fault of the toolbar.
    // Before the second round a command without the tool makes the editor
    // control known, so that the hold meets the copy rather than the emptying.
    for (const bool controlKnown : {false, true}) {
        const std::string round = controlKnown ? "editor control known" : "first capture";
        run.Note(round);
        if (controlKnown) {
            d.editor.SelectText(run, "hello");
            CommandGives(run, d, ids::mnuUpper, kBefore + "HELLO there" + kAfter, "without the tool");
            d.editor.SetText(text);
        }
        const int pastes = d.editor.PasteCount();
        ClipboardHistoryTool tool(2000);
        run.Require(tool.listening(), "the history tool listens to the clipboard");
        d.editor.SelectText(run, "hello there");
        run.Require(SetClipboardText("wakes the tool"), "the driver can set the clipboard");
        run.Require(WaitUntil([&] { return tool.holding(); }, kDefaultTimeout), "the tool holds the clipboard");
        d.toolbar.Command(ids::mnuUpper);
        ExpectMessageBox(run, d.toolbar, "The clipboard is in use by another program; nothing was pasted.",
                         "Clipboard busy");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, text);
        run.ExpectEq(round + ": WM_PASTE sent", pastes, d.editor.PasteCount());
    }
}

}  // namespace e2e
