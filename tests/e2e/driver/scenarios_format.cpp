// The format commands through the whole cycle: comment in the three styles,
// uncomment, and the Indent dialog with its memo, direction and column count.
#include <cstdio>

#include "toolbar/command_ids.h"
#include "desk.h"
#include "format/findent_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fid = snipkit::ids::findent;

// The selection sits between these, so a paste that spills over its edges shows.
const std::string kBefore = "unit Sample;\r\n\r\nbegin\r\n";
const std::string kAfter = "\r\nend.\r\n";

// Puts before + selection + after into the editor and selects the middle.
void LoadAndSelect(const Editor& ed, const std::string& selection) { ed.SetAndSelect(kBefore, selection, kAfter); }

// ---------------------------------------------------------------- the mouse

// Under Wine a synced pointer move to the spot the pointer already rests on
// stalls for many seconds; so the pointer leaves first, every time.
void ParkPointer(Run& run) { Xdo(run, {"mousemove", "1", "1"}); }

void ClickInto(Run& run, const Dialog& dlg, int id) {
    ParkPointer(run);
    dlg.ClickInto(id);
}

void OpenFormatMenu(Run& run, const Toolbar& toolbar) {
    ParkPointer(run);
    ClickMenuButton(run, toolbar, ids::butFormat);
}

// ---------------------------------------------------------------- the Indent dialog

// A click as the user makes it, and the state it must lead to.
void ChooseDirection(Run& run, const Dialog& dlg, bool indent) {
    const int id = indent ? fid::chkIndent : fid::chkUnindent;
    const int other = indent ? fid::chkUnindent : fid::chkIndent;
    dlg.Click(id);
    run.Require(WaitUntil([&] { return dlg.Ticked(id) && !dlg.Ticked(other); }, kDefaultTimeout),
                std::string(indent ? "&Indent" : "&Unindent") + " is the one choice selected");
}

Dialog OpenIndent(Run& run, const Desk& d) { return OpenDialog(run, d.toolbar, ids::mnuIndent, L"TfrmIndent"); }

// ---------------------------------------------------------------- comment and uncomment

struct CommentRow {
    const char* name;
    int command;
    const char* selection;
    const char* pasted;  // nullptr: nothing may be pasted
};

const CommentRow kCommentRows[] = {
    {"// every counted line, the empty one too", ids::mnuCommentSlash, "a\r\n\r\nb\r\n", "//a\r\n//\r\n//b\r\n"},
    {"// before the indentation; a last line without CR LF", ids::mnuCommentSlash, "  x\r\ny", "//  x\r\n//y"},
    {"// keeps non-ASCII text", ids::mnuCommentSlash, "s := 'Grüße Ω';", "//s := 'Grüße Ω';"},
    {"// keeps a lone LF inside a line", ids::mnuCommentSlash, "a\nb\r\nc", "//a\nb\r\n//c"},
    {"braces", ids::mnuCommentBrace, "x", "{ x }"},
    {"braces after a final CR LF", ids::mnuCommentBrace, "a\r\n", "{ a\r\n }"},
    {"braces leave inner markers alone", ids::mnuCommentBrace, "{a} (*b*)", "{ {a} (*b*) }"},
    {"parenthesis-asterisk", ids::mnuCommentPar, "x", "(* x *)"},
    {"parenthesis-asterisk over lines", ids::mnuCommentPar, "a\r\nb", "(* a\r\nb *)"},
    {"uncomment braces, trimmed, the line break kept", ids::mnuUncomment, "  { x }\r\n", "x\r\n"},
    {"uncomment the outermost braces only", ids::mnuUncomment, "{ a { b } c }", "a { b } c"},
    {"uncomment empty braces", ids::mnuUncomment, "{}", ""},
    {"uncomment parenthesis-asterisk", ids::mnuUncomment, "(* x *)", "x"},
    {"uncomment: the character before ) goes too", ids::mnuUncomment, "(* x )", "x"},
    {"uncomment one // per line", ids::mnuUncomment, "//a\r\n// b\r\n////c\r\n", "a\r\n b\r\n//c\r\n"},
    {"uncomment: // after blanks stays", ids::mnuUncomment, "  //a\r\n  //b", "a\r\n  //b"},
    {"uncomment: the empty line stays empty", ids::mnuUncomment, "//a\r\n\r\n//b", "a\r\n\r\nb"},
    {"uncomment plain text pastes it trimmed", ids::mnuUncomment, "  x  \r\n", "x\r\n"},
    {"uncomment: a break before the selection stays", ids::mnuUncomment, "\r\n//b := 2;", "\r\nb := 2;"},
    {"uncomment a brace that is not closed at the end", ids::mnuUncomment, "{ a } b", nullptr},
    {"uncomment ( without *", ids::mnuUncomment, "(x)", nullptr},
    {"uncomment (* without )", ids::mnuUncomment, "(*", nullptr},
    {"uncomment blanks only", ids::mnuUncomment, " \r\n\t ", nullptr},
};

// One row through the cycle: the selection between kBefore and kAfter, the
// command, then the paste or, where there is nothing to paste, the
// selection left as it was.
void CheckCommentRow(Run& run, const Desk& d, const CommentRow& row) {
    const std::string name = row.name;
    run.Note(name);
    LoadAndSelect(d.editor, row.selection);
    const int copies = d.editor.CopyCount();
    const int pastes = d.editor.PasteCount();
    d.toolbar.Command(row.command);
    if (row.pasted != nullptr) {
        ExpectEditorText(run, d.editor, kBefore + row.pasted + kAfter, kDefaultTimeout, name + ": editor text");
        ExpectPastes(run, d.editor, pastes + 1, name + ": WM_PASTE sent");
        run.ExpectEq(name + ": the clipboard holds the pasted text", row.pasted, ClipboardText().value_or("<no text>"));
    } else {
        run.Expect(WaitCopies(d.editor, copies + 1), name + ": the editor was asked to copy");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, kBefore + row.selection + kAfter);
        run.ExpectEq(name + ": WM_PASTE sent", pastes, d.editor.PasteCount());
        const int start = Utf16Length(kBefore);
        const std::pair<int, int> selected{start, start + Utf16Length(row.selection)};
        run.Expect(d.editor.Selection() == selected, name + ": the selection stays as it was");
    }
    run.Expect(d.toolbar.NoMessageBoxFor(0), name + ": no message box");
}

}  // namespace

E2E_SCENARIO("format", "comment_uncomment", "the three comment styles and the branches of Uncomment, pasted over a selection") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    for (const CommentRow& row : kCommentRows) CheckCommentRow(run, d, row);

    run.Note("braces with nothing selected insert an empty comment at the caret");
    d.editor.SetText(kBefore + kAfter);
    d.editor.Caret(Utf16Length(kBefore));
    CommandGives(run, d, ids::mnuCommentBrace, kBefore + "{  }" + kAfter, "empty braces at the caret");

    run.Note("// then Uncomment gives the lines back, the final CR LF too");
    LoadAndSelect(d.editor, "  if a then\r\n\r\n    b;\r\n");
    CommandGives(run, d, ids::mnuCommentSlash, kBefore + "//  if a then\r\n//\r\n//    b;\r\n" + kAfter, "after //");
    LoadAndSelect(d.editor, "//  if a then\r\n//\r\n//    b;\r\n");
    CommandGives(run, d, ids::mnuUncomment, kBefore + "  if a then\r\n\r\n    b;\r\n" + kAfter, "after Uncomment");
}

E2E_SCENARIO("format", "indent_dialog_layout", "the Indent dialog: caption, frame, size, place, controls, tab order, fields") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    LoadAndSelect(d.editor, "a\r\nb\r\n");
    const Dialog dlg = OpenIndent(run, d);
    ExpectLayout(run, "TfrmIndent", LayoutOf(dlg.hwnd));
    run.Expect(!IsWindowEnabled(d.toolbar.window), "modal: the toolbar is disabled while the dialog shows");

    run.Note("the radio buttons are one group");
    ChooseDirection(run, dlg, false);
    ChooseDirection(run, dlg, true);

    if (HaveHost(run)) std::printf("      screenshot: %s\n", Screenshot(run, run.dir(), "indent-dialog").c_str());
    const int pastes = d.editor.PasteCount();
    dlg.Close(ids::butCancel);
    run.Expect(IsWindowEnabled(d.toolbar.window) != FALSE, "the toolbar is enabled again after the dialog");
    ExpectEditorUnchanged(run, d.toolbar, d.editor, kBefore + "a\r\nb\r\n" + kAfter);
    run.ExpectEq("WM_PASTE after Cancel", pastes, d.editor.PasteCount());
}

namespace {

struct IndentRow {
    const char* name;
    bool indent;
    const char* columns;  // what the spin field holds when OK is pressed
    std::string memo;     // the selection, which the memo shows
    std::string pasted;
};

const IndentRow kIndentRows[] = {
    {"Indent 2: empty lines too, not the one after the final CR LF", true, "2", "a\r\n\r\nb\r\n",
     "  a\r\n  \r\n  b\r\n"},
    {"Indent 3", true, "3", "x", "   x"},
    {"Indent 0 changes nothing", true, "0", "a\r\nb", "a\r\nb"},
    {"Indent never touches tabs", true, "1", "\tx\r\ny", " \tx\r\n y"},
    {"a lone LF is part of its line; non-ASCII text kept", true, "2", "a\nb\r\nGrüße", "  a\nb\r\n  Grüße"},
    {"Unindent 2: fewer blanks all go, empty lines stay", false, "2", "    a\r\n b\r\nc\r\n\r\n  ",
     "  a\r\nb\r\nc\r\n\r\n"},
    {"Unindent 4: a tab stops the count", false, "4", " \tx", "\tx"},
    {"Unindent 16", false, "16", std::string(20, ' ') + "x", "    x"},
    {"Unindent 2: the empty line stays empty", false, "2", "a\r\n\r\n  b", "a\r\n\r\nb"},
    {"a count above the range counts as 16", true, "25", "x", std::string(16, ' ') + "x"},
    {"a negative count counts as 0", true, "-3", "x", "x"},
    {"text that is no number counts as 0", false, "abc", "  x", "  x"},
};

}  // namespace

E2E_SCENARIO("format", "indent_ok", "Indent and Unindent by the chosen count, pasted after OK") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    for (const IndentRow& row : kIndentRows) {
        run.Note(row.name);
        LoadAndSelect(d.editor, row.memo);
        const int pastes = d.editor.PasteCount();
        const Dialog dlg = OpenIndent(run, d);
        run.ExpectEq(std::string(row.name) + ": the memo shows the selection", row.memo, dlg.Field(fid::Memo1));
        run.ExpectEq(std::string(row.name) + ": the count starts at 2", "2", dlg.Field(fid::spin1));
        ChooseDirection(run, dlg, row.indent);
        dlg.Type(fid::spin1, row.columns);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, kBefore + row.pasted + kAfter, kDefaultTimeout,
                         std::string(row.name) + ": editor text");
        ExpectPastes(run, d.editor, pastes + 1, std::string(row.name) + ": WM_PASTE sent");
    }

    run.Note("OK with an empty memo pastes the empty text");
    LoadAndSelect(d.editor, "gone\r\n");
    Dialog dlg = OpenIndent(run, d);
    dlg.Type(fid::Memo1, "");
    dlg.Close(ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + kAfter, kDefaultTimeout, "after OK with an empty memo");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("format", "indent_cancel_and_reopen", "Cancel, Esc and the close box paste nothing; a new opening shows 2 and keeps the direction") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    const std::string selection = "    a\r\n    b\r\n";
    LoadAndSelect(d.editor, selection);
    const std::string unchanged = kBefore + selection + kAfter;

    run.Note("Cancel after choosing Unindent 4 and typing into the memo");
    Dialog dlg = OpenIndent(run, d);
    ChooseDirection(run, dlg, false);
    dlg.Type(fid::spin1, "4");
    dlg.Type(fid::Memo1, "typed over");
    const int pastes = d.editor.PasteCount();
    dlg.Close(ids::butCancel);
    ExpectEditorUnchanged(run, d.toolbar, d.editor, unchanged);
    run.ExpectEq("WM_PASTE after Cancel", pastes, d.editor.PasteCount());

    run.Note("the close box");
    dlg = OpenIndent(run, d);
    run.ExpectEq("the count is 2 again", "2", dlg.Field(fid::spin1));
    run.Expect(dlg.Ticked(fid::chkUnindent) && !dlg.Ticked(fid::chkIndent),
               "Unindent, chosen before the Cancel, is still selected");
    run.ExpectEq("the memo shows the new selection", selection, dlg.Field(fid::Memo1));
    PostMessageW(dlg.hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    dlg.WaitClosed("the close box");
    ExpectEditorUnchanged(run, d.toolbar, d.editor, unchanged);

    if (HaveHost(run)) {
        run.Note("Esc in the memo");
        dlg = OpenIndent(run, d);
        ClickInto(run, dlg, fid::Memo1);
        PressKeys(run, dlg.hwnd, {"Escape"});
        dlg.WaitClosed("Esc");
        ExpectEditorUnchanged(run, d.toolbar, d.editor, unchanged);
    }
    run.ExpectEq("WM_PASTE after Cancel, the close box and Esc", pastes, d.editor.PasteCount());

    run.Note("OK: the direction left last time, the count 2");
    dlg = OpenIndent(run, d);
    run.ExpectEq("the count is 2 again", "2", dlg.Field(fid::spin1));
    run.Expect(dlg.Ticked(fid::chkUnindent), "Unindent is still selected");
    dlg.Close(ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + "  a\r\n  b\r\n" + kAfter, kDefaultTimeout, "after OK");
}

E2E_SCENARIO("format", "indent_keyboard", "text typed into the memo is indented too; the count field holds its range; Enter is OK") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));

    run.Note("a line typed into the memo");
    LoadAndSelect(d.editor, "a\r\nb\r\n");
    Dialog dlg = OpenIndent(run, d);
    ChooseDirection(run, dlg, true);
    ClickInto(run, dlg, fid::Memo1);
    PressKeys(run, dlg.hwnd, {"ctrl+End", "z", "Return", "y"});
    run.Require(dlg.ExpectField(fid::Memo1, "a\r\nb\r\nz\r\ny", "the memo holds the typed lines"),
                "the memo holds the typed lines");
    dlg.Close(ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + "  a\r\n  b\r\n  z\r\n  y" + kAfter, kDefaultTimeout,
                     "the typed lines indented and pasted");

    run.Note("25 typed into the count becomes 16 as the field is left; Down makes 15; Enter presses OK");
    LoadAndSelect(d.editor, "x");
    dlg = OpenIndent(run, d);
    ClickInto(run, dlg, fid::spin1);
    PressKeys(run, dlg.hwnd, {"End", "BackSpace", "2", "5", "Tab"});
    dlg.ExpectField(fid::spin1, "16", "the field holds 16 after losing the focus");
    ClickInto(run, dlg, fid::spin1);
    PressKeys(run, dlg.hwnd, {"Down"});
    dlg.ExpectField(fid::spin1, "15", "Down takes the count to 15");
    PressKeys(run, dlg.hwnd, {"Return"});
    dlg.WaitClosed("Enter");
    ExpectEditorText(run, d.editor, kBefore + std::string(15, ' ') + "x" + kAfter, kDefaultTimeout,
                     "indented by 15");
}

E2E_SCENARIO("format", "long_line", "a 100,000-character line commented, uncommented, indented and unindented whole, through the toolbar's menu") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    std::string line;
    for (int i = 0; line.size() < 100000; ++i) line += "x" + std::to_string(i % 10) + "abcdefgh";
    line.resize(100000);
    line.back() = ';';
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));

    struct Step {
        const char* name;
        std::string selection;
        std::vector<std::string> keys;  // access keys in the format menu
        std::string pasted;
    };
    const Step steps[] = {
        {"&Comment out / &use //", line, {"c", "u"}, "//" + line},
        {"U&ncomment", "//" + line, {"n"}, line},
        {"&Comment out / u&se {...}", line, {"c", "s"}, "{ " + line + " }"},
        {"U&ncomment braces", "{ " + line + " }", {"n"}, line},
    };
    for (const Step& s : steps) {
        run.Note(s.name);
        LoadAndSelect(d.editor, s.selection);
        OpenFormatMenu(run, d.toolbar);
        PressMenuKeys(run, d.toolbar, s.keys);
        ExpectEditorText(run, d.editor, kBefore + s.pasted + kAfter, kDefaultTimeout, s.name);
    }

    for (const bool indent : {true, false}) {
        const std::string selection = indent ? line : "   " + line;
        const std::string pasted = indent ? "  " + line : " " + line;
        run.Note(indent ? "&Indent / unindent: Indent 2" : "&Indent / unindent: Unindent 2");
        LoadAndSelect(d.editor, selection);
        OpenFormatMenu(run, d.toolbar);
        PressMenuKeys(run, d.toolbar, {"i"});
        const Dialog dlg{&run, d.toolbar.WaitDialog(run, L"TfrmIndent")};
        run.ExpectEq("the memo holds the whole line", static_cast<long long>(selection.size()),
                     static_cast<long long>(dlg.Field(fid::Memo1).size()));
        ChooseDirection(run, dlg, indent);
        dlg.Close(ids::butOK);
        ExpectEditorText(run, d.editor, kBefore + pasted + kAfter, kDefaultTimeout, "the line shifted whole");
    }
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

}  // namespace e2e
