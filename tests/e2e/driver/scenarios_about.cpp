// The help menu's two commands: the About box as laid out, modeless, opened
// once however often it is asked for, closed by Enter and not by Esc; and
// Help with no help page beside the program, which says so.
#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "about/about_ids.h"
#include "toolbar/command_ids.h"
#include "about/pictures/program_icon.h"
#include "desk.h"

namespace e2e {
namespace {

namespace ids = snipkit::ids;
namespace about = snipkit::ids::aboutwin;

constexpr const wchar_t* kAboutClass = L"TfrmAbout";
constexpr const char* kAboutForm = "TfrmAbout";

std::vector<HWND> VisibleAboutBoxes(const Toolbar& t) {
    std::vector<HWND> out;
    for (HWND w : TopWindowsOf(t.process->pid())) {
        if (ClassOf(w) == kAboutClass) out.push_back(w);
    }
    return out;
}

// Opens the About box from the help menu and waits until it is in front, so
// that it takes the foreground from nothing the scenario brings up next.
Dialog OpenAbout(Run& run, const Toolbar& t) {
    const Dialog box = OpenDialog(run, t, ids::mnuAbout, kAboutClass);
    run.Require(WaitUntil([&] { return GetForegroundWindow() == box.hwnd; }, kDefaultTimeout),
                "the About box comes to the front");
    return box;
}

// What the screen shows where the picture control is, compared pixel by
// pixel with the picture's source rows ('.' shows the button face).
void ExpectPictureOnScreen(Run& run, HWND control, const snipkit::PixelArt& art) {
    POINT origin{0, 0};
    ClientToScreen(control, &origin);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = art.width;
    info.bmiHeader.biHeight = -art.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP shot = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    run.Require(memory && shot && bits, "a bitmap for the screen's pixels");
    HGDIOBJ old = SelectObject(memory, shot);
    BitBlt(memory, 0, 0, art.width, art.height, screen, origin.x, origin.y, SRCCOPY);
    GdiFlush();
    const auto* shown = static_cast<const std::uint32_t*>(bits);

    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const std::uint32_t faceRgb = (GetRValue(face) << 16) | (GetGValue(face) << 8) | GetBValue(face);
    int mismatches = 0;
    std::string first;
    for (int y = 0; y < art.height; ++y) {
        for (int x = 0; x < art.width; ++x) {
            const char symbol = art.rows[y][x];
            std::uint32_t expected = faceRgb;
            for (const snipkit::LegendEntry& entry : snipkit::kPixelLegend) {
                if (entry.symbol == symbol && !entry.transparent) {
                    expected = snipkit::kVgaRgb[static_cast<std::size_t>(entry.colour)];
                }
            }
            const std::uint32_t got = shown[y * art.width + x] & 0xFFFFFF;
            if (got != expected && mismatches++ == 0) {
                char line[100];
                std::snprintf(line, sizeof line, "at %d,%d ('%c'): expected %06x, shown %06x", x, y, symbol,
                              static_cast<unsigned>(expected), static_cast<unsigned>(got));
                first = line;
            }
        }
    }
    SelectObject(memory, old);
    DeleteObject(shot);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    run.Expect(mismatches == 0, "the picture shows as drawn (" + std::to_string(mismatches) + " of " +
                                    std::to_string(art.width * art.height) + " pixels differ; first " + first + ")");
}

}  // namespace

E2E_SCENARIO("about", "layout", "caption, frame, size, place and controls of the About box; OK has the focus") {
    Toolbar t = LaunchToolbar(run);
    run.Require(VisibleAboutBoxes(t).empty(), "no About box before the command");
    const Dialog box = OpenAbout(run, t);
    ExpectLayout(run, kAboutForm, LayoutOf(box.hwnd));

    Pump(300);  // painted
    ExpectPictureOnScreen(run, box.Ctl(about::ProgramIcon), snipkit::pictures::kProgramIcon);
    run.Expect(box.WaitFocus(ids::butOK), "OK has the focus");
    run.Expect(t.NoMessageBoxFor(0), "no message box");
}

E2E_SCENARIO("about", "modeless", "with the About box open the toolbar's commands still work; OK hides the box") {
    const std::string text = "unit Unit1;\r\nbegin\r\nend.\r\n";
    Desk d = OpenDesk(run, WithText(text));
    const Dialog box = OpenAbout(run, d.toolbar);
    run.Expect(IsWindowEnabled(d.toolbar.window) != FALSE, "the toolbar stays enabled");

    LetToolbarSee(run, d.editor.frame);
    d.editor.Select(0, 4);
    CommandGives(run, d, ids::mnuUpper, "UNIT" + text.substr(4), "UPPER CASE with the About box open");
    run.Expect(IsWindowVisible(box.hwnd) != FALSE, "the About box is still open after the command");

    box.Click(ids::butOK);
    run.Expect(WaitHidden(box.hwnd), "OK hides the box");
    run.Expect(IsWindow(box.hwnd) != FALSE, "the box is hidden, not destroyed");
    run.Expect(d.toolbar.process->Running(), "the toolbar runs on");
    run.Expect(OpenAbout(run, d.toolbar).hwnd == box.hwnd, "the same box opens again");
}

E2E_SCENARIO("about", "twice", "About twice gives one box, in front; the version text is set anew at every opening") {
    Toolbar t = LaunchToolbar(run);
    OwnWindow other(L"Some other program", 300, 300, 600, 400);
    const Dialog box = OpenAbout(run, t);
    run.ExpectEq("labVer at the first opening", "Version 0.96 Beta", box.Field(about::labVer));

    // Something else in front and another text in the label, then About again.
    box.Type(about::labVer, "changed by the test");
    BringToFront(run, other.hwnd());
    t.Command(ids::mnuAbout);
    run.Expect(WaitUntil([&] { return GetForegroundWindow() == box.hwnd; }, kDefaultTimeout),
               "the second About brings the box to the front");
    run.ExpectEq("visible About boxes", 1, static_cast<long long>(VisibleAboutBoxes(t).size()));
    const std::vector<HWND> all = TopWindowsOf(t.process->pid(), false);
    run.ExpectEq("About boxes, shown or not", 1,
                 std::count_if(all.begin(), all.end(), [](HWND w) { return ClassOf(w) == kAboutClass; }));
    run.ExpectEq("labVer when only brought to the front", "changed by the test", box.Field(about::labVer));

    box.Close(ids::butOK);
    box.Type(about::labVer, "left over from before");
    OpenAbout(run, t);
    run.ExpectEq("labVer at the next opening", "Version 0.96 Beta", box.Field(about::labVer));
}

E2E_SCENARIO("about", "keys", "Esc leaves the About box open; Enter closes it") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    Toolbar t = LaunchToolbar(run);
    const Dialog box = OpenAbout(run, t);
    run.Require(box.WaitFocus(ids::butOK), "OK has the focus");

    // Proven by the key's arrival and a tick after it, not by a wait: a lost
    // Escape would leave the box open just the same.
    const long keys = KeysTaken(run, t);
    PressKeys(run, box.hwnd, {"Escape"});
    run.Require(WaitUntil([&] { return KeysTaken(run, t) > keys; }, kDefaultTimeout), "the Escape reached the box");
    run.Require(WaitTickAfterNow(run, t), "the toolbar took a tick after the Escape");
    run.Expect(IsWindowVisible(box.hwnd) != FALSE, "Esc does nothing");
    run.Expect(t.NoMessageBoxFor(0), "no message box");

    PressKeys(run, box.hwnd, {"Return"});
    run.Expect(WaitHidden(box.hwnd), "Enter closes the box");
    run.Expect(t.process->Running(), "the toolbar runs on");
}

E2E_SCENARIO("about", "help_page_missing",
             "Help without snipkit.htm beside the program: the error box names the page, the toolbar stays") {
    Toolbar t = LaunchToolbar(run);
    run.Require(GetFileAttributesW((t.folder + L"\\snipkit.htm").c_str()) == INVALID_FILE_ATTRIBUTES,
                "no help page beside this copy of the program");
    Pump(300);
    const std::vector<HWND> before = TopWindowsOf(t.process->pid());
    RECT r0 = t.OuterRect();

    t.Command(ids::mnuHelp);
    ExpectMessageBox(run, t, "Cannot open file " + ToUtf8(t.folder) + "\\snipkit.htm.", "Delphi Snipkit", true);
    run.Expect(NoMessageBoxAfterTick(run, t), "one box only");
    run.Expect(t.process->Running(), "the toolbar runs on");
    run.Expect(IsWindowVisible(t.window) != FALSE, "the toolbar is still shown");
    run.ExpectEq("the toolbar's place and size", RectText(r0), RectText(t.OuterRect()));
    const std::vector<HWND> after = TopWindowsOf(t.process->pid());
    run.ExpectEq("visible windows of the toolbar's process", static_cast<long long>(before.size()),
                 static_cast<long long>(after.size()));
    run.Expect((t.ExStyle() & WS_EX_TOPMOST) != 0, "still on top");

    // The help command left the toolbar working.
    t.Command(ids::mnuAbout);
    run.Expect(WaitTopWindow(run, t.process->pid(), kAboutClass, nullptr, kDefaultTimeout, "About box") != nullptr,
               "the next command works");
}

// For the README: the About box over the editor and the toolbar.
E2E_SCENARIO("demo", "about_box", "a screenshot of the About box beside the toolbar and the editor") {
    run.Require(!run.config().shotsDir.empty(), "a folder for the screenshots (--shots)");
    run.Require(HaveHost(run), "the runner's host helper for the screenshots");
    EditorOptions e;
    e.file = run.config().repoRoot + L"\\tests\\e2e\\sample\\Unit1.pas";
    Desk d = OpenDesk(run, e);
    OpenAbout(run, d.toolbar);
    Pump(500);
    std::printf("screenshot: %s\n", Screenshot(run, run.config().shotsDir, "06-about-box").c_str());
}

}  // namespace e2e
