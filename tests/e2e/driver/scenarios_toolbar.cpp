// The toolbar window as the user meets it: where it opens, how it looks, its
// popup menus, and one command chosen with the mouse and the keyboard.
#include "toolbar/command_ids.h"
#include "desk.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;

// The buttons that open a popup menu, the others open dialogs.
struct MenuButton {
    const char* name;
    int id;
};

const MenuButton kMenuButtons[] = {
    {"popMain (butMenu)", ids::butMenu},
    {"popText (butText)", ids::butText},
    {"popFormat (butFormat)", ids::butFormat},
    {"popHelp (butHelp)", ids::butHelp},
};

}  // namespace

E2E_SCENARIO("toolbar", "window", "caption, place, size, styles and controls of the toolbar window") {
    Toolbar t = LaunchToolbar(run);
    ExpectLayout(run, "TForm1", LayoutOf(t.window));

    run.Expect(IsDirectory(t.folder + L"\\stash"), "start-up made the stash folder beside the program");
    run.ExpectEq("files in the new stash folder", "", Joined(EntriesOf(t.folder + L"\\stash")));
    run.Expect(NoMessageBoxAfterTick(run, t), "start-up shows no message");

    run.Expect(t.Close(), "closing the toolbar ends the program");
    run.ExpectEq("exit code", 0, static_cast<long long>(t.process->ExitCode()));
}

E2E_SCENARIO("toolbar", "startup_stash", "start-up leaves an existing stash alone and a plain file named stash too") {
    run.Note("a stash folder with a snippet in it");
    {
        ToolbarOptions o;
        o.prepare = [&](const std::wstring& folder) {
            CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
            PutFile(run, folder + L"\\stash\\keep.pas", "//SNIPKIT:kept\r\nx := 1;\r\n");
        };
        Toolbar t = LaunchToolbar(run, o);
        Pump(300);
        run.ExpectEq("the snippet is untouched", "//SNIPKIT:kept\r\nx := 1;\r\n",
                     ReadFileBytes(t.folder + L"\\stash\\keep.pas").value_or("<cannot open>"));
        run.ExpectEq("files in the stash folder", "keep.pas", Joined(EntriesOf(t.folder + L"\\stash")));
        run.Expect(NoMessageBoxAfterTick(run, t), "no message");
        run.Expect(t.Close(), "the toolbar closes");
    }
    run.Note("a plain file named stash");
    {
        const std::wstring folder = run.dir() + L"\\app";
        DeleteFileW((folder + L"\\stash\\keep.pas").c_str());
        RemoveDirectoryW((folder + L"\\stash").c_str());
        ToolbarOptions o;
        o.prepare = [&](const std::wstring& f) { PutFile(run, f + L"\\stash", "not a folder"); };
        Toolbar t = LaunchToolbar(run, o);
        Pump(300);
        run.Expect(!IsDirectory(t.folder + L"\\stash"), "no folder was made in place of the file");
        run.ExpectEq("the file named stash", "not a folder",
                     ReadFileBytes(t.folder + L"\\stash").value_or("<cannot open>"));
        run.Expect(NoMessageBoxAfterTick(run, t), "no message");
    }
}

E2E_SCENARIO("toolbar", "menus", "the four popup menus: captions, access keys, check marks, ids and where they open") {
    Toolbar t = LaunchToolbar(run);
    // Where each opens, as well as what it holds: one button height lower for
    // popHelp than for the others.
    std::string menus;
    for (const MenuButton& button : kMenuButtons) {
        const OpenedMenu menu = ReadButtonMenu(run, t, button.id);
        menus += std::string(button.name) + " #" + std::to_string(button.id) + " opens at " +
                 std::to_string(menu.rect.left) + "," + std::to_string(menu.rect.top) + "\n" +
                 Outline(menu.items, true, 1);
    }
    ExpectLayout(run, "TForm1.menus", menus);
    run.Expect(t.NoMessageBoxFor(0), "opening and closing the menus ran no command");
}

E2E_SCENARIO("toolbar", "mouse_and_keys", "UPPER CASE picked with a real click on butText and the access keys c, u") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    const std::string text = "unit Unit1;\r\n\r\nprocedure Grüße;\r\nbegin\r\nend;\r\n";
    Desk d = OpenDesk(run, WithText(text));
    d.editor.SelectText(run, "procedure Grüße;\r\nbegin");

    ClickMenuButton(run, d.toolbar, ids::butText);
    PressMenuKeys(run, d.toolbar, {"c", "u"});
    ExpectEditorText(run, d.editor, "unit Unit1;\r\n\r\nPROCEDURE GRüßE;\r\nBEGIN\r\nend;\r\n", kDefaultTimeout,
                     "after &Case / &UPPER CASE");

    // Undo the same way: butMenu, then &Undo.
    ClickMenuButton(run, d.toolbar, ids::butMenu);
    PressMenuKeys(run, d.toolbar, {"u"});
    ExpectEditorText(run, d.editor, text, kDefaultTimeout, "after &Undo");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

}  // namespace e2e
