// The General options menu's window commands: Stay on Top, Minimize and
// restore, Lock to Window (the question, its three answers, a lock whose
// control is closed) and Exit.
#include <string>

#include "toolbar/command_ids.h"
#include "desk.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;

const std::string kQuestionStart = "Would you like to lock the Snipkit to the window \"";
const std::string kQuestionEnd = "\"?  Clicking NO will unlock Snipkit from its current window.";

// The check mark of a popMain item, read from the opened menu.
bool MenuChecked(Run& run, const Toolbar& t, int id) {
    const OpenedMenu menu = ReadButtonMenu(run, t, ids::butMenu);
    for (const MenuItem& item : menu.items) {
        if (item.id == id) return item.checked;
    }
    run.Fail("popMain has no item " + std::to_string(id));
}

// The application's own window: the one behind the taskbar button.
HWND ApplicationWindowOf(Run& run, const Toolbar& t) {
    for (HWND w : TopWindowsOf(t.process->pid(), false)) {
        if (ClassOf(w) == L"TApplication") return w;
    }
    run.Fail("the toolbar's process has no TApplication window");
}

// The top-level window the user sees at a screen point.
HWND TopWindowAt(POINT p) {
    HWND w = WindowFromPoint(p);
    return w ? GetAncestor(w, GA_ROOT) : nullptr;
}

POINT ToolbarCentre(const Toolbar& t) {
    const RECT r = t.ClientScreenRect();
    return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

// Asks the Lock question and checks its every character, then answers it.
void AskLock(Run& run, const Toolbar& t, const std::string& title, int answer, const std::string& what) {
    t.Command(ids::mnuLockWin);
    const MessageBoxInfo box = t.WaitMessageBox(run);
    run.ExpectEq(what + ": question", kQuestionStart + title + kQuestionEnd, box.text);
    run.ExpectEq(what + ": caption", "Lock to Window", box.caption);
    std::string buttons;
    for (const auto& b : box.buttons) buttons += std::to_string(b.first) + " ";
    run.ExpectEq(what + ": buttons Yes, No, Cancel", "6 7 2 ", buttons);
    run.Expect(!box.hasIcon, what + ": no icon");
    Dismiss(run, box.window, answer);
}

std::string Letters(std::size_t n) {
    std::string s;
    for (std::size_t i = 0; i < n; ++i) s += static_cast<char>('A' + i % 26);
    return s;
}

}  // namespace

E2E_SCENARIO("placement", "stay_on_top", "Stay on Top off lets another window cover the toolbar; on again puts it above") {
    Toolbar t = LaunchToolbar(run);
    // A window that covers the whole toolbar when it is in front.
    OwnWindow other(L"Some other program", 0, 360, 500, 300);
    const POINT centre = ToolbarCentre(t);

    struct Row {
        const char* name;
        bool click;    // pick Stay on Top first
        bool topmost;  // what follows
    };
    const Row rows[] = {
        {"at start", false, true},
        {"after the first click", true, false},
        {"after the second click", true, true},
    };
    for (const Row& row : rows) {
        run.Note(row.name);
        if (row.click) {
            t.Command(ids::mnuStayOnTop);
            run.Expect(WaitUntil([&] { return ((t.ExStyle() & WS_EX_TOPMOST) != 0) == row.topmost; }, kDefaultTimeout),
                       std::string(row.name) + ": WS_EX_TOPMOST is " + (row.topmost ? "set" : "clear"));
        } else {
            run.Expect(((t.ExStyle() & WS_EX_TOPMOST) != 0) == row.topmost, std::string(row.name) + ": WS_EX_TOPMOST");
        }
        run.ExpectEq(std::string(row.name) + ": check mark of Stay on Top", row.topmost,
                     MenuChecked(run, t, ids::mnuStayOnTop));
        // As a click on it would: in front and on top of the other windows.
        BringToFront(run, other.hwnd());
        SetWindowPos(other.hwnd(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        run.Expect(TopWindowAt(centre) == (row.topmost ? t.window : other.hwnd()),
                   std::string(row.name) + ": " + (row.topmost ? "the toolbar stays above the window in front"
                                                               : "the window in front covers the toolbar"));
        run.Expect(IsWindowVisible(t.window) != FALSE, std::string(row.name) + ": the toolbar is shown");
    }
    run.Expect(t.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("placement", "minimize_restore", "Minimize hides every window of the program, the timer runs on; restoring brings them back") {
    const std::string text = "unit Unit1;\r\n";
    Toolbar t = LaunchToolbar(run);
    Editor ed = LaunchEditor(run, WithText(text));
    OwnWindow other(L"Some other program", 300, 700, 400, 200);
    t.Command(ids::mnuAbout);
    HWND about = t.WaitDialog(run, L"TfrmAbout");
    HWND app = ApplicationWindowOf(run, t);
    run.ExpectEq("the taskbar button's text", "Delphi Snipkit", TextOf(app));
    LetToolbarSee(run, other.hwnd());

    t.Command(ids::mnuMinimize);
    run.Expect(WaitUntil([&] { return !IsWindowVisible(t.window); }, kDefaultTimeout), "the toolbar is hidden");
    run.Expect(WaitUntil([&] { return !IsWindowVisible(about); }, kDefaultTimeout), "the About box is hidden too");
    run.Expect(WaitUntil([&] { return IsIconic(app) != FALSE; }, kDefaultTimeout), "the application is minimized");

    // The timer has to have seen the editor while minimized, or the command
    // would take the other window for the source.
    LetToolbarSee(run, ed.frame);
    ed.Select(0, 4);
    t.Command(ids::mnuUpper);
    ExpectEditorText(run, ed, "UNIT" + text.substr(4), kDefaultTimeout, "UPPER CASE while minimized");
    run.Expect(NoMessageBoxAfterTick(run, t), "no message box");
    run.Expect(!IsWindowVisible(t.window), "the command left the toolbar hidden");

    // A click on the taskbar button.
    PostMessageW(app, WM_SYSCOMMAND, SC_RESTORE, 0);
    run.Expect(WaitUntil([&] { return IsWindowVisible(t.window) != FALSE; }, kDefaultTimeout), "the toolbar is back");
    run.Expect(WaitUntil([&] { return IsWindowVisible(about) != FALSE; }, kDefaultTimeout), "the About box is back");
    run.Expect(!IsIconic(app), "the application is restored");
    run.Expect((t.ExStyle() & WS_EX_TOPMOST) != 0, "the toolbar is still on top");
    run.ExpectEq("the toolbar's place", "32,426",
                 std::to_string(t.OuterRect().left) + "," + std::to_string(t.OuterRect().top));
}

E2E_SCENARIO("placement", "lock_question", "the Lock question quotes the source window's title, cut at 127 characters") {
    const std::string longTitle = Letters(200);
    EditorOptions o = WithText("unit Unit1;\r\n");
    o.file = run.dir() + L"\\Unit1.pas";
    o.caption = FromUtf8(longTitle);
    // LaunchEditor names its file after the caption unless given one.
    PutFile(run, o.file, o.text);
    Desk d = OpenDesk(run, o);

    struct Row {
        const char* name;
        std::string title;     // the editor window's caption
        std::string question;  // what the question quotes of it
    };
    const Row rows[] = {
        {"200 characters", longTitle, longTitle.substr(0, 127)},
        {"exactly 127", Letters(127), Letters(127)},
        {"128", Letters(128), Letters(127)},
        {"empty", "", ""},
        {"a usual title", "Unit1.pas", "Unit1.pas"},
    };
    for (const Row& row : rows) {
        run.Note(row.name);
        if (row.title != longTitle) SetWindowTextW(d.editor.frame, FromUtf8(row.title).c_str());
        run.RequireEq(std::string(row.name) + ": the editor's caption", row.title, TextOf(d.editor.frame));
        AskLock(run, d.toolbar, row.question, IDCANCEL, row.name);
        run.Expect(d.toolbar.NoMessageBoxFor(0), std::string(row.name) + ": no other message box");
    }
    run.Expect(!MenuChecked(run, d.toolbar, ids::mnuLockWin), "Cancel left Lock to Window unchecked");
}

E2E_SCENARIO("placement", "lock_answers", "Yes locks to the editor control, No unlocks, Cancel changes nothing") {
    EditorOptions o = WithText("unit LockA;");
    o.caption = L"LockA.pas";
    Toolbar t = LaunchToolbar(run);
    Editor ed = LaunchEditor(run, o);
    OwnWindow other(L"Some other program", 300, 700, 400, 200);

    // Locked, the source is the editor control itself, so the question quotes
    // the control's own window text, read here the same way from outside.
    wchar_t buffer[129] = {};
    GetWindowTextW(ed.control, buffer, 128);
    const std::string controlTitle = ToUtf8(buffer);
    run.Require(controlTitle != "Some other program", "the control's title differs from the window in front");

    struct Row {
        const char* name;
        HWND front;         // brought to the front for a timer tick first
        std::string title;  // what the question quotes
        int answer;
        bool checked;       // the check mark of Lock to Window after the answer
        bool tryCommand;    // then UPPER CASE with the other window in front
    };
    const Row rows[] = {
        {"editor in front, Cancel", ed.frame, "LockA.pas", IDCANCEL, false, false},
        // Cancel locked nothing: the source follows the foreground window.
        {"other window in front, Cancel", other.hwnd(), "Some other program", IDCANCEL, false, false},
        {"other window in front, Yes", other.hwnd(), "Some other program", IDYES, true, false},
        {"locked, Cancel", other.hwnd(), controlTitle, IDCANCEL, true, true},
        {"locked, No", other.hwnd(), controlTitle, IDNO, false, false},
        {"unlocked again, Cancel", other.hwnd(), "Some other program", IDCANCEL, false, false},
    };
    for (const Row& row : rows) {
        run.Note(row.name);
        LetToolbarSee(run, row.front);
        AskLock(run, t, row.title, row.answer, row.name);
        run.ExpectEq(std::string(row.name) + ": check mark of Lock to Window", row.checked,
                     MenuChecked(run, t, ids::mnuLockWin));
        if (row.tryCommand) {
            BringToFront(run, other.hwnd());
            ed.Select(5, 11);
            t.Command(ids::mnuUpper);
            ExpectEditorText(run, ed, "unit LOCKA;", kDefaultTimeout, "UPPER CASE on the locked control");
            ed.SetText("unit LockA;");
        }
    }
    run.Expect(t.NoMessageBoxFor(0), "no message box left");
}

E2E_SCENARIO("placement", "lock_dead_control",
             "the locked editor closed: the lock and its check mark go; Yes with no editor found locks nothing") {
    const std::string textB = "unit LockB;";
    EditorOptions a = WithText("unit LockA;");
    a.caption = L"LockA.pas";
    EditorOptions b = WithText(textB);
    b.caption = L"LockB.pas";
    b.y = 80;
    Toolbar t = LaunchToolbar(run);
    Editor edA = LaunchEditor(run, a);
    Editor edB = LaunchEditor(run, b);

    LetToolbarSee(run, edA.frame);
    AskLock(run, t, "LockA.pas", IDYES, "lock onto LockA");
    run.Expect(MenuChecked(run, t, ids::mnuLockWin), "locked: Lock to Window is checked");
    run.Require(edA.process->CloseWindows(kDefaultTimeout), "the locked editor closes");

    run.Note("a tick lets the lock go; the toolbar follows the editor in front again");
    LetToolbarSee(run, edB.frame);
    run.Expect(!MenuChecked(run, t, ids::mnuLockWin), "the check mark went with the lock");
    edB.Select(0, 4);
    t.Command(ids::mnuUpper);
    ExpectEditorText(run, edB, "UNIT LockB;", kDefaultTimeout, "UPPER CASE on the editor in front");
    run.Expect(NoMessageBoxAfterTick(run, t), "no message box");

    run.Note("that editor closed too, another window in front: Yes locks nothing");
    run.Require(edB.process->CloseWindows(kDefaultTimeout), "the other editor closes");
    OwnWindow other(L"Some other program", 300, 700, 400, 200);
    LetToolbarSee(run, other.hwnd());
    t.Command(ids::mnuLockWin);
    ExpectMessageBox(run, t, "Source window was not a Delphi TEditWindow.", "Could not copy");
    const MessageBoxInfo box = t.WaitMessageBox(run);
    run.ExpectEq("the question quotes the window in front", kQuestionStart + "Some other program" + kQuestionEnd,
                 box.text);
    Dismiss(run, box.window, IDYES);
    run.Expect(!MenuChecked(run, t, ids::mnuLockWin), "Yes locked nothing: Lock to Window stays unchecked");
    run.Expect(NoMessageBoxAfterTick(run, t), "no message box left");
}

E2E_SCENARIO("placement", "exit", "Exit ends the program, with the About box open too") {
    Toolbar t = LaunchToolbar(run);
    t.Command(ids::mnuAbout);
    t.WaitDialog(run, L"TfrmAbout");
    t.process->ExpectEnd();
    t.Command(ids::mnuExit);
    run.Expect(t.process->WaitExit(kDefaultTimeout), "the process ends");
    if (!t.process->Running()) run.ExpectEq("exit code", 0, static_cast<long long>(t.process->ExitCode()));
}

}  // namespace e2e
