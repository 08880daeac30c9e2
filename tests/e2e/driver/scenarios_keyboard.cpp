// The keyboard key: held while the editor is in front, it opens every
// command at the editor's caret; other programs keep it otherwise.
#include "toolbar/command_ids.h"
#include "desk.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;

const std::string kText = "unit Unit1;\r\n\r\nprocedure Grüße;\r\nbegin\r\nend;\r\n";
const std::string kSelected = "procedure Grüße;\r\nbegin";
const std::string kUpper = "unit Unit1;\r\n\r\nPROCEDURE GRüßE;\r\nBEGIN\r\nend;\r\n";
const char* const kDefaultKey = "ctrl+alt+shift+space";
constexpr UINT kDefaultMods = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
const std::string kCaption = "Snipkit key";
// Far from where any menu opens: a menu that appears under the pointer
// opens a submenu by hover under Wine.
constexpr POINT kPointerAside{1270, 1015};

// Whether any program holds the key: the driver can take it for a moment.
bool KeyIsFree(UINT mods, UINT vk) {
    constexpr int kProbe = 0x7FFF;
    if (!RegisterHotKey(nullptr, kProbe, mods, vk)) return false;
    UnregisterHotKey(nullptr, kProbe);
    return true;
}

// Where the menu belongs: just below the caret of the editor's thread.
POINT BelowCaret(const Editor& editor) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    POINT at{-1, -1};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(editor.frame, nullptr), &info) && info.hwndCaret != nullptr) {
        at = {info.rcCaret.left, info.rcCaret.bottom};
        ClientToScreen(info.hwndCaret, &at);
    }
    return at;
}

// The key pressed in the editor; returns once the key's menu is open, alone.
void OpenKeyMenu(Run& run, const Desk& d, const char* key) {
    const DWORD pid = d.toolbar.process->pid();
    MovePointer(run, kPointerAside);
    PressKeys(run, d.editor.frame, {key});
    run.Require(WaitUntil([&] { return !OpenMenus(pid).empty(); }, kDefaultTimeout),
                std::string("the key ") + key + " opened Snipkit's menu");
    run.ExpectEq("menus open", 1, static_cast<long long>(OpenMenus(pid).size()));
}

bool MenusClosed(const Toolbar& t) {
    return WaitUntil([&] { return OpenMenus(t.process->pid()).empty(); }, kDefaultTimeout);
}

}  // namespace

E2E_SCENARIO("keyboard", "menu", "the key's menu: every toolbar menu and command, with access keys, at the caret") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kText));
    d.editor.SelectText(run, kSelected);
    MovePointer(run, kPointerAside);
    const POINT caret = BelowCaret(d.editor);
    run.Require(caret.x >= 0, "the editor shows a caret");
    const OpenedMenu menu = ReadMenuOpenedBy(
        run, d.toolbar, [&] { PressKeys(run, d.editor.frame, {kDefaultKey}); }, "the key");
    const bool atCaret = menu.rect.left == caret.x && menu.rect.top == caret.y;
    if (!atCaret) {
        run.Note("the menu opened at " + RectText(menu.rect) + ", the caret's foot is at " + std::to_string(caret.x) +
                 "," + std::to_string(caret.y));
    }
    ExpectLayout(run, "TForm1.keymenu",
                 std::string("opens below the caret: ") + (atCaret ? "yes" : "no") + "\n" + Outline(menu.items, true));
    run.Expect(d.toolbar.NoMessageBoxFor(0), "opening and closing the menu ran no command");
    run.ExpectEq("copies the editor was asked for", 0, d.editor.CopyCount());
}

E2E_SCENARIO("keyboard", "upper_case", "the key, then the access keys i, c, u: UPPER CASE on the selection") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kText));
    d.editor.SelectText(run, kSelected);
    run.Expect(!KeyIsFree(kDefaultMods, VK_SPACE), "with the editor in front Snipkit holds the key");

    OpenKeyMenu(run, d, kDefaultKey);
    OpenSubmenuByKey(run, d.toolbar, "i");
    OpenSubmenuByKey(run, d.toolbar, "c");
    run.Require(OpenMenus(d.toolbar.process->pid()).size() == 3, "&Insert and &Case opened their submenus");
    ShotIfAsked(run, "07-key-menu");
    PressMenuKeys(run, d.toolbar, {"u"});
    ExpectEditorText(run, d.editor, kUpper, kDefaultTimeout, "after the key, &Insert, &Case, &UPPER CASE");
    run.Expect(MenusClosed(d.toolbar), "the menu closed");
    ExpectPastes(run, d.editor, 1, "pastes");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("keyboard", "escape", "the key, then Escape: nothing changes and the editor has the focus again") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kText));
    d.editor.SelectText(run, kSelected);
    const RECT toolbarBefore = d.toolbar.OuterRect();

    OpenKeyMenu(run, d, kDefaultKey);
    PressMenuKeys(run, d.toolbar, {"Escape"});
    run.Expect(MenusClosed(d.toolbar), "Escape closed the menu");
    run.Expect(WaitUntil([&] { return d.editor.HasFocus(); }, kDefaultTimeout), "the editor has the focus again");
    ExpectEditorUnchanged(run, d.toolbar, d.editor, kText);
    run.ExpectEq("copies and pastes", "0 0",
                 std::to_string(d.editor.CopyCount()) + " " + std::to_string(d.editor.PasteCount()));
    run.ExpectEq("the toolbar stayed where it is", RectText(toolbarBefore), RectText(d.toolbar.OuterRect()));

    // The editor's keys are its own again: Shift+Down widens the selection.
    const int start = d.editor.Selection().first;
    PressKeys(run, d.editor.frame, {"shift+Down"});
    run.Expect(WaitUntil([&] { return d.editor.Selection().second > start + Utf16Length(kSelected); }, kDefaultTimeout),
               "a key after Escape reaches the editor");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("keyboard", "other_program", "with another program in front the key is that program's, and Snipkit's again at once in the editor") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Desk d = OpenDesk(run, WithText(kText));
    d.editor.SelectText(run, kSelected);
    OwnWindow other(L"Another program", 320, 60, 400, 300);
    LetToolbarSee(run, other.hwnd());
    run.Expect(KeyIsFree(kDefaultMods, VK_SPACE), "with another program in front Snipkit has let the key go");

    MovePointer(run, kPointerAside);
    PressKeys(run, other.hwnd(), {kDefaultKey});
    run.Expect(WaitUntil([&] { return other.KeyDowns(VK_SPACE) > 0; }, kDefaultTimeout),
               "the key reached the program in front");
    run.Expect(OpenMenus(d.toolbar.process->pid()).empty(), "no menu of Snipkit opened");
    run.ExpectEq("copies the editor was asked for", 0, d.editor.CopyCount());

    // No wait for the toolbar's once-a-second look: the key works as soon as
    // the editor is in front.
    OpenKeyMenu(run, d, kDefaultKey);
    PressMenuKeys(run, d.toolbar, {"Escape"});
    run.Expect(MenusClosed(d.toolbar), "Escape closed the menu");
    ExpectEditorUnchanged(run, d.toolbar, d.editor, kText);
}

E2E_SCENARIO("keyboard", "chosen_key", "/key:Ctrl+Shift+F12 opens the menu; the default key is left to others") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    ToolbarOptions o;
    o.args = {L"/key:Ctrl+Shift+F12"};
    Desk d = OpenDesk(run, WithText(kText), o);
    run.Expect(d.toolbar.NoMessageBoxFor(0), "the value was taken without a word");
    d.editor.SelectText(run, kSelected);
    run.Expect(!KeyIsFree(MOD_CONTROL | MOD_SHIFT, VK_F12), "Snipkit holds Ctrl+Shift+F12");
    run.Expect(KeyIsFree(kDefaultMods, VK_SPACE), "and not the default key");

    OpenKeyMenu(run, d, "ctrl+shift+F12");
    PressMenuKeys(run, d.toolbar, {"f", "c", "u"});
    ExpectEditorText(run, d.editor, "unit Unit1;\r\n\r\n//procedure Grüße;\r\n//begin\r\nend;\r\n", kDefaultTimeout,
                     "after the key, &Format text, &Comment out, &use //");
    run.Expect(MenusClosed(d.toolbar), "the menu closed");
}

E2E_SCENARIO("keyboard", "no_key", "/key:none holds no key; a bad value says how to write one and holds none") {
    for (const wchar_t* arg : {L"/key:none", L"/key:Shift+Q"}) {
        const bool bad = std::wstring(arg) != L"/key:none";
        run.Note(ToUtf8(arg));
        ToolbarOptions o;
        o.args = {arg};
        Toolbar t = LaunchToolbar(run, o);
        if (bad) {
            ExpectMessageBox(
                run, t,
                "Snipkit does not know the key \"Shift+Q\" given with /key:. Write /key:<modifiers>+<key>, for "
                "example /key:Ctrl+Shift+F12, or /key:none for no key. Modifiers: Ctrl, Alt, Shift, Win, at least "
                "one; a letter, a digit or Space also needs Ctrl, Alt or Win. Keys: A to Z, 0 to 9, F1 to F24, "
                "Space, Insert, Delete, Home, End, PageUp, PageDown, Up, Down, Left, Right. Snipkit starts without "
                "a key.",
                kCaption);
        }
        Editor e = LaunchEditor(run, WithText(kText));
        LetToolbarSee(run, e.frame);
        run.Expect(KeyIsFree(kDefaultMods, VK_SPACE), "with the editor in front no key is held");
        run.Expect(NoMessageBoxAfterTick(run, t), "no (further) message box");
        // The toolbar works as ever.
        e.SelectText(run, kSelected);
        t.Command(ids::mnuUpper);
        ExpectEditorText(run, e, kUpper, kDefaultTimeout, "after UPPER CASE from the toolbar");
        run.CloseAll();
    }
}

E2E_SCENARIO("keyboard", "key_taken", "a key another program holds: the toolbar works, one message box, shown once") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    OwnWindow holder(L"Key holder", 1010, 700, 250, 200);
    run.Require(RegisterHotKey(holder.hwnd(), 1, kDefaultMods, VK_SPACE) != FALSE, "the driver takes the key first");
    Toolbar t = LaunchToolbar(run);
    Editor e = LaunchEditor(run, WithText(kText));
    BringToFront(run, e.frame);
    ExpectMessageBox(run, t,
                     "Another program holds the key Ctrl+Alt+Shift+Space, so it does not open Snipkit's menu; the "
                     "toolbar works as before. To use another key, start Snipkit with /key:<modifiers>+<key>, for "
                     "example /key:Ctrl+Shift+F12.",
                     kCaption);

    // Each time the editor comes to the front the key is tried again, in silence.
    LetToolbarSee(run, holder.hwnd());
    LetToolbarSee(run, e.frame);
    run.Expect(NoMessageBoxAfterTick(run, t), "no second message box");

    PressKeys(run, e.frame, {kDefaultKey});
    run.Expect(WaitUntil([&] { return holder.HotKeys() > 0; }, kDefaultTimeout), "the key went to its holder");
    run.Expect(OpenMenus(t.process->pid()).empty(), "no menu of Snipkit opened");

    e.SelectText(run, kSelected);
    ClickMenuButton(run, t, ids::butText);
    PressMenuKeys(run, t, {"c", "u"});
    ExpectEditorText(run, e, kUpper, kDefaultTimeout, "after &Case / &UPPER CASE from the toolbar");
    run.Expect(t.NoMessageBoxFor(0), "no message box");
    UnregisterHotKey(holder.hwnd(), 1);
}

}  // namespace e2e
