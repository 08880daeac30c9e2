// The toolbar window as the user meets it: where it opens, how it looks, its
// popup menus, and one command chosen with the mouse and the keyboard.
#include "app/command_ids.h"
#include "desk.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;

std::string Rect(const RECT& r) {
    return std::to_string(r.left) + "," + std::to_string(r.top) + " " + std::to_string(r.right - r.left) + "x" +
           std::to_string(r.bottom - r.top);
}

// The control's rectangle in the toolbar's client coordinates.
RECT ClientRectIn(HWND control, HWND toolbar) {
    RECT r{};
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, toolbar, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

bool IsDirectory(const std::wstring& p) {
    const DWORD a = GetFileAttributesW(p.c_str());
    return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

std::vector<std::wstring> FilesIn(const std::wstring& dir) {
    std::vector<std::wstring> out;
    WIN32_FIND_DATAW fd;
    HANDLE h = FindFirstFileW((dir + L"\\*").c_str(), &fd);
    if (h == INVALID_HANDLE_VALUE) return out;
    do {
        const std::wstring n = fd.cFileName;
        if (n != L"." && n != L"..") out.push_back(n);
    } while (FindNextFileW(h, &fd));
    FindClose(h);
    return out;
}

std::string ReadAll(const std::wstring& path) {
    std::string s;
    HANDLE f = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "<cannot open>";
    char buf[4096];
    DWORD got = 0;
    while (ReadFile(f, buf, sizeof buf, &got, nullptr) && got > 0) s.append(buf, got);
    CloseHandle(f);
    return s;
}

bool WriteAll(const std::wstring& path, const std::string& bytes) {
    HANDLE f = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD put = 0;
    WriteFile(f, bytes.data(), static_cast<DWORD>(bytes.size()), &put, nullptr);
    CloseHandle(f);
    return put == bytes.size();
}

struct ButtonRow {
    const char* name;
    int id;
    int left;
};

const ButtonRow kButtons[] = {
    {"butMenu", ids::butMenu, 8},     {"butText", ids::butText, 36}, {"butFormat", ids::butFormat, 64},
    {"butStash", ids::butStash, 96},  {"butLoad", ids::butLoad, 122}, {"butHelp", ids::butHelp, 154},
};

struct MenuRow {
    const char* name;
    int button;
    POINT where;  // the menu's top-left corner with the toolbar at 32,426
    std::string outline;
};

std::string Id(int id) { return " #" + std::to_string(id); }

}  // namespace

E2E_SCENARIO("toolbar", "window", "caption, place, size, styles and controls of the toolbar window") {
    Toolbar t = LaunchToolbar(run);
    run.ExpectEq("caption", "Delphi Snipkit", TextOf(t.window));
    run.ExpectEq("outer rectangle (left,top)", "32,426", Rect(t.OuterRect()).substr(0, 6));
    const RECT client = t.ClientScreenRect();
    run.ExpectEq("client size", "184x52", Rect(client).substr(Rect(client).find(' ') + 1));
    const LONG_PTR ex = t.ExStyle();
    const LONG_PTR style = t.Style();
    run.Expect((ex & WS_EX_TOPMOST) != 0, "WS_EX_TOPMOST: the toolbar stays on top");
    run.Expect((ex & WS_EX_TOOLWINDOW) != 0, "WS_EX_TOOLWINDOW: a tool window with a small caption");
    run.Expect((style & WS_CAPTION) == WS_CAPTION, "the toolbar has a caption bar");
    run.Expect((style & WS_SYSMENU) != 0, "the toolbar has a close box");
    run.Expect((style & WS_THICKFRAME) == 0, "the toolbar cannot be resized");
    run.Expect((style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) == 0, "no minimize or maximize box");
    run.Expect((style & (WS_HSCROLL | WS_VSCROLL)) == 0, "no scroll bars");
    run.Expect(GetMenu(t.window) == nullptr, "no main menu");
    run.Expect(IsWindowVisible(t.window) != FALSE, "the toolbar is shown");

    if (HWND panel = t.Control(ids::Panel1)) {
        run.ExpectEq("Panel1 fills the client area", "0,0 184x52", Rect(ClientRectIn(panel, t.window)));
    } else {
        run.Expect(false, "the toolbar has Panel1");
    }
    for (const ButtonRow& b : kButtons) {
        HWND button = t.Control(b.id);
        if (!run.Expect(button != nullptr, std::string("the toolbar has ") + b.name)) continue;
        run.ExpectEq(std::string(b.name) + " place and size", std::to_string(b.left) + ",8 25x25",
                     Rect(ClientRectIn(button, t.window)));
        run.Expect(IsWindowVisible(button) != FALSE, std::string(b.name) + " is shown");
        run.ExpectEq(std::string(b.name) + " shows no text", "", TextOf(button));
    }
    if (HWND memo = t.Control(ids::Memo1)) {
        run.Expect(!IsWindowVisible(memo), "Memo1 is never shown");
    } else {
        run.Expect(false, "the toolbar has Memo1");
    }

    run.Expect(IsDirectory(t.folder + L"\\stash"), "start-up made the stash folder beside the program");
    run.ExpectEq("files in the new stash folder", 0, static_cast<long long>(FilesIn(t.folder + L"\\stash").size()));
    run.Expect(t.NoMessageBoxFor(300), "start-up shows no message");

    run.Expect(t.Close(), "closing the toolbar ends the program");
    run.ExpectEq("exit code", 0, static_cast<long long>(t.process->ExitCode()));
}

E2E_SCENARIO("toolbar", "startup_stash", "start-up leaves an existing stash alone and a plain file named stash too") {
    run.Note("a stash folder with a snippet in it");
    {
        ToolbarOptions o;
        o.prepare = [&](const std::wstring& folder) {
            CreateDirectoryW((folder + L"\\stash").c_str(), nullptr);
            WriteAll(folder + L"\\stash\\keep.pas", "//SNIPKIT:kept\r\nx := 1;\r\n");
        };
        Toolbar t = LaunchToolbar(run, o);
        Pump(300);
        run.ExpectEq("the snippet is untouched", "//SNIPKIT:kept\r\nx := 1;\r\n", ReadAll(t.folder + L"\\stash\\keep.pas"));
        run.ExpectEq("files in the stash folder", 1, static_cast<long long>(FilesIn(t.folder + L"\\stash").size()));
        run.Expect(t.NoMessageBoxFor(300), "no message");
        run.Expect(t.Close(), "the toolbar closes");
    }
    run.Note("a plain file named stash");
    {
        const std::wstring folder = run.dir() + L"\\app";
        DeleteFileW((folder + L"\\stash\\keep.pas").c_str());
        RemoveDirectoryW((folder + L"\\stash").c_str());
        ToolbarOptions o;
        o.prepare = [&](const std::wstring& f) { WriteAll(f + L"\\stash", "not a folder"); };
        Toolbar t = LaunchToolbar(run, o);
        Pump(300);
        run.Expect(!IsDirectory(t.folder + L"\\stash"), "no folder was made in place of the file");
        run.ExpectEq("the file named stash", "not a folder", ReadAll(t.folder + L"\\stash"));
        run.Expect(t.NoMessageBoxFor(300), "no message");
    }
}

E2E_SCENARIO("toolbar", "menus", "the four popup menus: captions, access keys, check marks, ids and where they open") {
    Toolbar t = LaunchToolbar(run);
    const MenuRow rows[] = {
        {"popMain (butMenu)", ids::butMenu, {40, 434},
         "Mi&nimize" + Id(ids::mnuMinimize) + "\n" +
             "&Undo" + Id(ids::mnuUndo) + "\n" +
             "&Stay on Top" + Id(ids::mnuStayOnTop) + " [checked]\n" +
             "Lock to &Window" + Id(ids::mnuLockWin) + "\n" +
             "-\n" +
             "E&xit" + Id(ids::mnuExit) + "\n"},
        {"popText (butText)", ids::butText, {68, 434},
         "&Case\n"
         "  &UPPER CASE" + Id(ids::mnuUpper) + "\n" +
             "  &lower case" + Id(ids::mnuLower) + "\n" +
             "  &Title Case" + Id(ids::mnuTitle) + "\n" +
             "  &Flip Case" + Id(ids::mnuFlipCase) + "\n" +
             "C&ode\n" +
             "  &begin...end" + Id(ids::mnuBeginEnd) + "\n" +
             "  &if...then" + Id(ids::mnuIfthen) + "\n" +
             "  &for...next" + Id(ids::mnuForNext) + "\n" +
             "  &while / repeat / with" + Id(ids::mnuWhile) + "\n" +
             "  pr&ocedure / function" + Id(ids::mnuProc) + "\n" +
             "-\n" +
             "insert &UNIT comment" + Id(ids::mnuUnitHead) + "\n" +
             "insert &PROC comment" + Id(ids::mnuProcHead) + "\n"},
        {"popFormat (butFormat)", ids::butFormat, {96, 434},
         "&Indent / unindent" + Id(ids::mnuIndent) + "\n" +
             "&Comment out\n" +
             "  &use //" + Id(ids::mnuCommentSlash) + "\n" +
             "  u&se {...}" + Id(ids::mnuCommentBrace) + "\n" +
             "  us&e  (*...*)" + Id(ids::mnuCommentPar) + "\n" +
             "U&ncomment" + Id(ids::mnuUncomment) + "\n"},
        // One button height lower than the others.
        {"popHelp (butHelp)", ids::butHelp, {186, 459},
         "&About" + Id(ids::mnuAbout) + "\n" + "&Help" + Id(ids::mnuHelp) + "\n"},
    };
    for (const MenuRow& row : rows) {
        run.Note(row.name);
        const OpenedMenu menu = ReadButtonMenu(run, t, row.button);
        run.ExpectEq(std::string(row.name) + ": items", row.outline, Outline(menu.items, true));
        run.ExpectEq(std::string(row.name) + ": top-left corner on the screen",
                     std::to_string(row.where.x) + "," + std::to_string(row.where.y),
                     std::to_string(menu.rect.left) + "," + std::to_string(menu.rect.top));
    }
    run.Expect(t.NoMessageBoxFor(0), "opening and closing the menus ran no command");
}

E2E_SCENARIO("toolbar", "mouse_and_keys", "UPPER CASE picked with a real click on butText and the access keys c, u") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    const std::string text = "unit Unit1;\r\n\r\nprocedure Grüße;\r\nbegin\r\nend;\r\n";
    Desk d = OpenDesk(run, WithText(text));
    d.editor.SelectText(run, "procedure Grüße;\r\nbegin");

    ClickMenuButton(run, d.toolbar, ids::butText);
    PressKeys(run, {"c", "u"});
    ExpectEditorText(run, d.editor, "unit Unit1;\r\n\r\nPROCEDURE GRüßE;\r\nBEGIN\r\nend;\r\n", kDefaultTimeout,
                     "after &Case / &UPPER CASE");
    run.Expect(WaitUntil([&] { return OpenMenus(d.toolbar.process->pid()).empty(); }, kDefaultTimeout),
               "the menu closed");

    // Undo the same way: butMenu, then &Undo.
    ClickMenuButton(run, d.toolbar, ids::butMenu);
    PressKeys(run, {"u"});
    ExpectEditorText(run, d.editor, text, kDefaultTimeout, "after &Undo");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

}  // namespace e2e
