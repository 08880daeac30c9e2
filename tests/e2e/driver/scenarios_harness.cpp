// The stand-in editor itself: if these fail, the other groups' failures say
// nothing about the toolbar.
#include "../e2e_protocol.h"
#include "steps.h"

namespace e2e {
namespace {

const std::string kText =
    "unit Unit1;\r\n"
    "\r\n"
    "// Grüße Ω 日本 abc\r\n"
    "end.\r\n";

}  // namespace

E2E_SCENARIO("harness", "standin_editor", "the stand-in editor loads, copies, pastes and undoes like an edit control") {
    Editor ed = LaunchEditor(run, WithText(kText));
    run.ExpectEq("window class", "TEditWindow", ToUtf8(ClassOf(ed.frame)));
    run.ExpectEq("caption", "Unit1.pas", TextOf(ed.frame));
    run.ExpectEq("control class", "TEditControl", ToUtf8(ClassOf(ed.control)));
    run.Expect(GetParent(ed.control) == ed.frame, "the control is a direct child of the editor window");
    run.ExpectEq("loaded text, byte for byte", kText, ed.Text());

    ed.SelectText(run, "Grüße Ω 日本");
    run.Require(SetClipboardText("before"), "the driver can set the clipboard");
    SendMessageW(ed.control, WM_COPY, 0, 0);
    run.ExpectEq("clipboard after WM_COPY", "Grüße Ω 日本", ClipboardText().value_or("<none>"));
    run.ExpectEq("WM_COPY counted", 1, ed.CopyCount());

    run.Require(SetClipboardText("Hallo\r\nWelt"), "the driver can set the clipboard");
    SendMessageW(ed.control, WM_PASTE, 0, 0);
    run.ExpectEq("text after WM_PASTE", "unit Unit1;\r\n\r\n// Hallo\r\nWelt abc\r\nend.\r\n", ed.Text());
    ExpectPastes(run, ed, 1, "WM_PASTE counted");

    SendMessageW(ed.control, WM_UNDO, 0, 0);
    run.ExpectEq("text after WM_UNDO", kText, ed.Text());
    run.ExpectEq("WM_UNDO counted", 1, ed.UndoCount());

    // Nothing selected: the control copies nothing, the clipboard keeps its text.
    ed.Caret(3);
    run.Require(SetClipboardText("kept"), "the driver can set the clipboard");
    SendMessageW(ed.control, WM_COPY, 0, 0);
    run.ExpectEq("clipboard after WM_COPY with nothing selected", "kept", ClipboardText().value_or("<none>"));

    ed.SetText("a\r\nb");
    run.ExpectEq("text after WM_SETTEXT", "a\r\nb", ed.Text());
}

E2E_SCENARIO("harness", "standin_layouts", "decoy children go ahead of the control; --nest hides it a level down") {
    EditorOptions o;
    o.text = "x";
    o.childrenBefore = {L"TEditContro", L"TStatusBar"};
    Editor ed = LaunchEditor(run, o);
    std::string order;
    for (HWND c : ChildrenOf(ed.frame)) order += ToUtf8(ClassOf(c)) + " ";
    run.ExpectEq("direct children in search order", "TEditContro TStatusBar TEditControl ", order);

    EditorOptions n;
    n.text = "y";
    n.caption = L"Unit2.pas";
    n.nested = true;
    Editor nested = LaunchEditor(run, n);
    order.clear();
    for (HWND c : ChildrenOf(nested.frame)) order += ToUtf8(ClassOf(c)) + " ";
    run.ExpectEq("direct children with --nest", "TPanel ", order);
    run.ExpectEq("the nested control", "y", nested.Text());
}

E2E_SCENARIO("harness", "checks_report", "a failing comparison names both sides (checked on a private run)") {
    // The check helpers must report a difference; a run that swallowed it
    // would let every scenario pass.
    Config quiet = run.config();
    quiet.workRoot = run.dir();
    int failures = 0;
    {
        Run inner(quiet, "inner", "probe");
        inner.SetQuiet(true);
        inner.ExpectEq("probe text", "A\r\n", "a\r\n");
        inner.ExpectEq("probe number", 1, 2);
        inner.ExpectEq("equal text", "same", "same");
        failures = inner.failures();
    }
    run.ExpectEq("failures counted by the probe run", 2, failures);
    run.ExpectEq("how a text is shown", "\"a\\r\\n\\x01Ω\"", Show("a\r\n\x01Ω"));
}

}  // namespace e2e
