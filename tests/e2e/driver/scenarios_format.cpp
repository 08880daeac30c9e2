// The format commands through the whole cycle: comment in the three styles,
// uncomment, and the Indent dialog with its memo, direction and column count.
#include <windows.h>

#include <commctrl.h>

#include <cstdio>

#include "app/command_ids.h"
#include "desk.h"
#include "format/findent_ids.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace fid = snipkit::ids::findent;

// The selection sits between these, so a paste that spills over its edges shows.
const std::string kBefore = "unit Sample;\r\n\r\nbegin\r\n";
const std::string kAfter = "\r\nend.\r\n";

int Utf16Length(const std::string& s) { return static_cast<int>(FromUtf8(s).size()); }

// Puts before + selection + after into the editor and selects the middle.
void LoadAndSelect(const Editor& ed, const std::string& selection) {
    ed.SetText(kBefore + selection + kAfter);
    const int start = Utf16Length(kBefore);
    ed.Select(start, start + Utf16Length(selection));
}

// ---------------------------------------------------------------- the mouse

// Under Wine a synced pointer move to the spot the pointer already rests on
// stalls for many seconds; so the pointer leaves first, every time.
void ParkPointer(Run& run) { Xdo(run, {"mousemove", "1", "1"}); }

void ClickOn(Run& run, HWND control) {
    const POINT at = CentreOf(control);
    ParkPointer(run);
    ClickScreen(run, at.x, at.y);
}

void OpenFormatMenu(Run& run, const Toolbar& toolbar) {
    ParkPointer(run);
    ClickMenuButton(run, toolbar, ids::butFormat);
}

// ---------------------------------------------------------------- the Indent dialog

LRESULT SendWithin(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(w, msg, wp, lp, SMTO_ABORTIFHUNG, 5000, &result)) return 0;
    return static_cast<LRESULT>(result);
}

// The dialog's controls sit on Panel1, not on the dialog itself.
HWND Item(Run& run, HWND dialog, int id) {
    HWND c = FindDescendantById(dialog, id);
    run.Require(c != nullptr, "the Indent dialog has the control " + std::to_string(id));
    return c;
}

std::string ItemText(Run& run, HWND dialog, int id) { return TextOf(Item(run, dialog, id)); }

void SetItemText(Run& run, HWND dialog, int id, const std::string& utf8) {
    const std::wstring w = FromUtf8(utf8);
    SendWithin(Item(run, dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(w.c_str()));
    run.Require(ItemText(run, dialog, id) == utf8, "control " + std::to_string(id) + " took the text " + Show(utf8));
}

bool ItemChecked(Run& run, HWND dialog, int id) {
    return SendWithin(Item(run, dialog, id), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// A click as the user makes it, and the state it must lead to.
void ChooseDirection(Run& run, HWND dialog, bool indent) {
    const int id = indent ? fid::chkIndent : fid::chkUnindent;
    const int other = indent ? fid::chkUnindent : fid::chkIndent;
    PostMessageW(Item(run, dialog, id), BM_CLICK, 0, 0);
    run.Require(WaitUntil([&] { return ItemChecked(run, dialog, id) && !ItemChecked(run, dialog, other); },
                          kDefaultTimeout),
                std::string(indent ? "&Indent" : "&Unindent") + " is the one choice selected");
}

HWND OpenIndent(Run& run, const Desk& d) {
    d.toolbar.Command(ids::mnuIndent);
    return d.toolbar.WaitDialog(run, L"TfrmIndent");
}

void WaitHidden(Run& run, HWND dialog, const std::string& how) {
    if (!WaitUntil([&] { return !IsWindowVisible(dialog); }, kDefaultTimeout)) {
        run.Fail("the Indent dialog did not close after " + how);
    }
}

// Presses OK or Cancel and waits for the dialog to go.
void CloseWith(Run& run, HWND dialog, int buttonId) {
    PostMessageW(Item(run, dialog, buttonId), BM_CLICK, 0, 0);
    WaitHidden(run, dialog, buttonId == ids::butOK ? "OK" : "Cancel");
}

// For texts too long to print: where the editor's text first differs.
bool ExpectLongText(Run& run, const Editor& ed, const std::string& expected, const std::string& what) {
    std::string last;
    if (WaitUntil([&] { return (last = ed.Text()) == expected; }, kDefaultTimeout)) return true;
    std::size_t at = 0;
    while (at < last.size() && at < expected.size() && last[at] == expected[at]) ++at;
    return run.Expect(false, what + ": " + std::to_string(expected.size()) + " bytes expected, " +
                                 std::to_string(last.size()) + " came, first difference at byte " + std::to_string(at) +
                                 ": " + Show(last.substr(at, 40)));
}

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// The control's rectangle in the coordinates of the window it sits on.
RECT RectIn(HWND control, HWND container) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, container, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

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
    {"uncomment braces, trimmed", ids::mnuUncomment, "  { x }\r\n", "x"},
    {"uncomment the outermost braces only", ids::mnuUncomment, "{ a { b } c }", "a { b } c"},
    {"uncomment empty braces", ids::mnuUncomment, "{}", ""},
    {"uncomment parenthesis-asterisk", ids::mnuUncomment, "(* x *)", "x"},
    {"uncomment: the character before ) goes too", ids::mnuUncomment, "(* x )", "x"},
    {"uncomment one // per line", ids::mnuUncomment, "//a\r\n// b\r\n////c\r\n", "a\r\n b\r\n//c"},
    {"uncomment: // after blanks stays", ids::mnuUncomment, "  //a\r\n  //b", "a\r\n  //b"},
    {"uncomment: the empty line stays empty", ids::mnuUncomment, "//a\r\n\r\n//b", "a\r\n\r\nb"},
    {"uncomment plain text pastes it trimmed", ids::mnuUncomment, "  x  \r\n", "x"},
    {"uncomment a brace that is not closed at the end", ids::mnuUncomment, "{ a } b", nullptr},
    {"uncomment ( without *", ids::mnuUncomment, "(x)", nullptr},
    {"uncomment (* without )", ids::mnuUncomment, "(*", nullptr},
    {"uncomment blanks only", ids::mnuUncomment, " \r\n\t ", nullptr},
};

}  // namespace

E2E_SCENARIO("format", "comment_uncomment", "the three comment styles and the branches of Uncomment, pasted over a selection") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    for (const CommentRow& row : kCommentRows) {
        run.Note(row.name);
        LoadAndSelect(d.editor, row.selection);
        const int copies = d.editor.CopyCount();
        const int pastes = d.editor.PasteCount();
        d.toolbar.Command(row.command);
        if (row.pasted != nullptr) {
            ExpectEditorText(run, d.editor, kBefore + row.pasted + kAfter, kDefaultTimeout,
                             std::string(row.name) + ": editor text");
            run.ExpectEq(std::string(row.name) + ": WM_PASTE sent", pastes + 1, d.editor.PasteCount());
            run.ExpectEq(std::string(row.name) + ": the clipboard holds the pasted text", row.pasted,
                         ClipboardText().value_or("<no text>"));
        } else {
            run.Expect(WaitCopies(d.editor, copies + 1), std::string(row.name) + ": the editor was asked to copy");
            ExpectEditorUnchanged(run, d.editor, kBefore + row.selection + kAfter, 600);
            run.ExpectEq(std::string(row.name) + ": WM_PASTE sent", pastes, d.editor.PasteCount());
            const int start = Utf16Length(kBefore);
            const std::pair<int, int> selected{start, start + Utf16Length(row.selection)};
            run.Expect(d.editor.Selection() == selected, std::string(row.name) + ": the selection stays as it was");
        }
        run.Expect(d.toolbar.NoMessageBoxFor(0), std::string(row.name) + ": no message box");
    }

    run.Note("braces with nothing selected insert an empty comment at the caret");
    d.editor.SetText(kBefore + kAfter);
    d.editor.Caret(Utf16Length(kBefore));
    CommandGives(run, d, ids::mnuCommentBrace, kBefore + "{  }" + kAfter, "empty braces at the caret");

    run.Note("// then Uncomment gives the lines back, without the final CR LF");
    LoadAndSelect(d.editor, "  if a then\r\n\r\n    b;\r\n");
    CommandGives(run, d, ids::mnuCommentSlash, kBefore + "//  if a then\r\n//\r\n//    b;\r\n" + kAfter, "after //");
    LoadAndSelect(d.editor, "//  if a then\r\n//\r\n//    b;\r\n");
    CommandGives(run, d, ids::mnuUncomment, kBefore + "  if a then\r\n\r\n    b;" + kAfter, "after Uncomment");
}

E2E_SCENARIO("format", "indent_dialog_layout", "the Indent dialog: caption, frame, size, place, controls, tab order, fields") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    LoadAndSelect(d.editor, "a\r\nb\r\n");
    HWND dlg = OpenIndent(run, d);

    run.ExpectEq("caption", "Indent", TextOf(dlg));
    RECT outer{};
    GetWindowRect(dlg, &outer);
    const int left = (GetSystemMetrics(SM_CXSCREEN) - 300) / 2;
    const int top = (GetSystemMetrics(SM_CYSCREEN) - 222) / 2;
    run.ExpectEq("outer rectangle: centred, 300x222",
                 std::to_string(left) + "," + std::to_string(top) + " 300x222", Rect(outer));
    const LONG_PTR style = GetWindowLongPtrW(dlg, GWL_STYLE);
    const LONG_PTR ex = GetWindowLongPtrW(dlg, GWL_EXSTYLE);
    run.Expect((style & WS_CAPTION) == WS_CAPTION, "a caption bar");
    run.Expect((style & WS_SYSMENU) != 0, "a close box");
    run.Expect((style & (WS_THICKFRAME | WS_MINIMIZEBOX | WS_MAXIMIZEBOX)) == 0, "fixed size, no minimize or maximize");
    run.Expect((ex & WS_EX_DLGMODALFRAME) != 0, "a dialog frame");
    run.Expect(!IsWindowEnabled(d.toolbar.window), "modal: the toolbar is disabled while the dialog shows");

    HWND panel = Item(run, dlg, fid::Panel1);
    RECT client{};
    GetClientRect(dlg, &client);
    run.ExpectEq("Panel1 fills the client area", Rect(client), Rect(RectIn(panel, dlg)));

    struct ControlRow {
        const char* name;
        int id;
        const char* rect;
        const char* text;  // nullptr: not checked here
    };
    const ControlRow rows[] = {
        {"Memo1", fid::Memo1, "16,32 257x121", "a\r\nb\r\n"},
        {"butOK", ids::butOK, "64,160 75x25", "OK"},
        {"butCancel", ids::butCancel, "152,160 75x25", "Cancel"},
        {"chkIndent", fid::chkIndent, "70,9 65x17", "&Indent"},
        {"chkUnindent", fid::chkUnindent, "134,9 75x17", "&Unindent"},
        {"Label1", fid::Label1, "16,10 51x13", "Spaces to "},
        {"spin1", fid::spin1, nullptr, "2"},
    };
    for (const ControlRow& row : rows) {
        HWND c = Item(run, dlg, row.id);
        run.Expect(GetParent(c) == panel, std::string(row.name) + " sits on Panel1");
        run.Expect(IsWindowVisible(c) != FALSE, std::string(row.name) + " is shown");
        if (row.rect) run.ExpectEq(std::string(row.name) + " place and size", row.rect, Rect(RectIn(c, panel)));
        if (row.text) run.ExpectEq(std::string(row.name) + " text", row.text, TextOf(c));
    }

    run.Note("the spin field: an edit with its arrows inside 232,8 41x22, range 0..16");
    HWND spin = Item(run, dlg, fid::spin1);
    HWND arrows = Item(run, dlg, fid::spin1Arrows);
    run.Expect(_wcsicmp(ClassOf(spin).c_str(), L"Edit") == 0, "spin1 is an edit field, not " + ToUtf8(ClassOf(spin)));
    run.ExpectEq("the arrows are an up-down control", ToUtf8(UPDOWN_CLASSW), ToUtf8(ClassOf(arrows)));
    run.Expect(reinterpret_cast<HWND>(SendWithin(arrows, UDM_GETBUDDY, 0, 0)) == spin, "the arrows work on spin1");
    RECT field = RectIn(spin, panel);
    const RECT arrowRect = RectIn(arrows, panel);
    UnionRect(&field, &field, &arrowRect);
    run.ExpectEq("spin1 with its arrows", "232,8 41x22", Rect(field));
    const LRESULT range = SendWithin(arrows, UDM_GETRANGE, 0, 0);
    run.ExpectEq("spin range", "0..16", std::to_string(HIWORD(range)) + ".." + std::to_string(LOWORD(range)));

    run.Note("Memo1: multi-line, editable, no word wrap, no text limit");
    HWND memo = Item(run, dlg, fid::Memo1);
    const LONG_PTR memoStyle = GetWindowLongPtrW(memo, GWL_STYLE);
    run.Expect((memoStyle & ES_MULTILINE) != 0, "Memo1 is multi-line");
    run.Expect((memoStyle & ES_READONLY) == 0, "Memo1 is editable");
    run.Expect((memoStyle & ES_AUTOHSCROLL) != 0, "Memo1 does not wrap words");
    run.Expect((memoStyle & ES_WANTRETURN) != 0, "Enter in Memo1 makes a new line");
    const LRESULT limit = SendWithin(memo, EM_GETLIMITTEXT, 0, 0);
    run.Expect(static_cast<unsigned long long>(limit) >= 0x7FFFFFFEull,
               "Memo1 has no text limit (EM_GETLIMITTEXT gives " + std::to_string(limit) + ")");

    run.Note("tab order and the default button");
    const std::vector<HWND> order = ChildrenOf(panel);
    std::string names;
    for (HWND c : order) {
        const int id = GetDlgCtrlID(c);
        const char* n = id == fid::Memo1         ? "Memo1"
                        : id == ids::butOK       ? "butOK"
                        : id == ids::butCancel   ? "butCancel"
                        : id == fid::spin1       ? "spin1"
                        : id == fid::chkIndent   ? "chkIndent"
                        : id == fid::chkUnindent ? "chkUnindent"
                        : id == fid::Label1      ? "Label1"
                                                 : nullptr;
        if (n) names += std::string(names.empty() ? "" : " ") + n;
    }
    run.ExpectEq("tab order on Panel1", "Memo1 butOK butCancel spin1 chkIndent chkUnindent Label1", names);
    run.Expect((GetWindowLongPtrW(Item(run, dlg, ids::butOK), GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON,
               "OK is the default button");

    run.Note("the radio buttons are one group; Indent is selected at the start");
    run.Expect(ItemChecked(run, dlg, fid::chkIndent), "&Indent selected when the program starts");
    run.Expect(!ItemChecked(run, dlg, fid::chkUnindent), "&Unindent not selected when the program starts");
    ChooseDirection(run, dlg, false);
    ChooseDirection(run, dlg, true);

    if (HaveHost(run)) std::printf("      screenshot: %s\n", Screenshot(run, run.dir(), "indent-dialog").c_str());
    const int pastes = d.editor.PasteCount();
    CloseWith(run, dlg, ids::butCancel);
    run.Expect(IsWindowEnabled(d.toolbar.window) != FALSE, "the toolbar is enabled again after the dialog");
    ExpectEditorUnchanged(run, d.editor, kBefore + "a\r\nb\r\n" + kAfter, 500);
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
        HWND dlg = OpenIndent(run, d);
        run.ExpectEq(std::string(row.name) + ": the memo shows the selection", row.memo, ItemText(run, dlg, fid::Memo1));
        run.ExpectEq(std::string(row.name) + ": the count starts at 2", "2", ItemText(run, dlg, fid::spin1));
        ChooseDirection(run, dlg, row.indent);
        SetItemText(run, dlg, fid::spin1, row.columns);
        CloseWith(run, dlg, ids::butOK);
        ExpectEditorText(run, d.editor, kBefore + row.pasted + kAfter, kDefaultTimeout,
                         std::string(row.name) + ": editor text");
        run.ExpectEq(std::string(row.name) + ": WM_PASTE sent", pastes + 1, d.editor.PasteCount());
    }

    run.Note("OK with an empty memo pastes the empty text");
    LoadAndSelect(d.editor, "gone\r\n");
    HWND dlg = OpenIndent(run, d);
    SetItemText(run, dlg, fid::Memo1, "");
    CloseWith(run, dlg, ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + kAfter, kDefaultTimeout, "after OK with an empty memo");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("format", "indent_cancel_and_reopen", "Cancel, Esc and the close box paste nothing; a new opening shows 2 and keeps the direction") {
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));
    const std::string selection = "    a\r\n    b\r\n";
    LoadAndSelect(d.editor, selection);
    const std::string unchanged = kBefore + selection + kAfter;

    run.Note("Cancel after choosing Unindent 4 and typing into the memo");
    HWND dlg = OpenIndent(run, d);
    ChooseDirection(run, dlg, false);
    SetItemText(run, dlg, fid::spin1, "4");
    SetItemText(run, dlg, fid::Memo1, "typed over");
    const int pastes = d.editor.PasteCount();
    CloseWith(run, dlg, ids::butCancel);
    ExpectEditorUnchanged(run, d.editor, unchanged, 600);
    run.ExpectEq("WM_PASTE after Cancel", pastes, d.editor.PasteCount());

    run.Note("the close box");
    dlg = OpenIndent(run, d);
    run.ExpectEq("the count is 2 again", "2", ItemText(run, dlg, fid::spin1));
    run.Expect(ItemChecked(run, dlg, fid::chkUnindent) && !ItemChecked(run, dlg, fid::chkIndent),
               "Unindent, chosen before the Cancel, is still selected");
    run.ExpectEq("the memo shows the new selection", selection, ItemText(run, dlg, fid::Memo1));
    PostMessageW(dlg, WM_SYSCOMMAND, SC_CLOSE, 0);
    WaitHidden(run, dlg, "the close box");
    ExpectEditorUnchanged(run, d.editor, unchanged, 600);

    if (HaveHost(run)) {
        run.Note("Esc in the memo");
        dlg = OpenIndent(run, d);
        ClickOn(run, Item(run, dlg, fid::Memo1));
        PressKeys(run, {"Escape"});
        WaitHidden(run, dlg, "Esc");
        ExpectEditorUnchanged(run, d.editor, unchanged, 600);
    }
    run.ExpectEq("WM_PASTE after Cancel, the close box and Esc", pastes, d.editor.PasteCount());

    run.Note("OK: the direction left last time, the count 2");
    dlg = OpenIndent(run, d);
    run.ExpectEq("the count is 2 again", "2", ItemText(run, dlg, fid::spin1));
    run.Expect(ItemChecked(run, dlg, fid::chkUnindent), "Unindent is still selected");
    CloseWith(run, dlg, ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + "  a\r\n  b\r\n" + kAfter, kDefaultTimeout, "after OK");
}

E2E_SCENARIO("format", "indent_keyboard", "text typed into the memo is indented too; the count field holds its range; Enter is OK") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kBefore + kAfter));

    run.Note("a line typed into the memo");
    LoadAndSelect(d.editor, "a\r\nb\r\n");
    HWND dlg = OpenIndent(run, d);
    ChooseDirection(run, dlg, true);
    ClickOn(run, Item(run, dlg, fid::Memo1));
    PressKeys(run, {"ctrl+End", "z", "Return", "y"});
    run.Require(WaitUntil([&] { return ItemText(run, dlg, fid::Memo1) == "a\r\nb\r\nz\r\ny"; }, kDefaultTimeout),
                "the memo holds the typed lines, now " + Show(ItemText(run, dlg, fid::Memo1)));
    CloseWith(run, dlg, ids::butOK);
    ExpectEditorText(run, d.editor, kBefore + "  a\r\n  b\r\n  z\r\n  y" + kAfter, kDefaultTimeout,
                     "the typed lines indented and pasted");

    run.Note("25 typed into the count becomes 16 as the field is left; Down makes 15; Enter presses OK");
    LoadAndSelect(d.editor, "x");
    dlg = OpenIndent(run, d);
    ClickOn(run, Item(run, dlg, fid::spin1));
    PressKeys(run, {"End", "BackSpace", "2", "5", "Tab"});
    run.Expect(WaitUntil([&] { return ItemText(run, dlg, fid::spin1) == "16"; }, kDefaultTimeout),
               "the field holds 16 after losing the focus, now " + Show(ItemText(run, dlg, fid::spin1)));
    ClickOn(run, Item(run, dlg, fid::spin1));
    PressKeys(run, {"Down"});
    run.Expect(WaitUntil([&] { return ItemText(run, dlg, fid::spin1) == "15"; }, kDefaultTimeout),
               "Down takes the count to 15, now " + Show(ItemText(run, dlg, fid::spin1)));
    PressKeys(run, {"Return"});
    WaitHidden(run, dlg, "Enter");
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
        PressKeys(run, s.keys);
        ExpectLongText(run, d.editor, kBefore + s.pasted + kAfter, s.name);
    }

    for (const bool indent : {true, false}) {
        const std::string selection = indent ? line : "   " + line;
        const std::string pasted = indent ? "  " + line : " " + line;
        run.Note(indent ? "&Indent / unindent: Indent 2" : "&Indent / unindent: Unindent 2");
        LoadAndSelect(d.editor, selection);
        OpenFormatMenu(run, d.toolbar);
        PressKeys(run, {"i"});
        HWND dlg = d.toolbar.WaitDialog(run, L"TfrmIndent");
        run.ExpectEq("the memo holds the whole line", static_cast<long long>(selection.size()),
                     static_cast<long long>(ItemText(run, dlg, fid::Memo1).size()));
        ChooseDirection(run, dlg, indent);
        CloseWith(run, dlg, ids::butOK);
        ExpectLongText(run, d.editor, kBefore + pasted + kAfter, "the line shifted whole");
    }
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

}  // namespace e2e
