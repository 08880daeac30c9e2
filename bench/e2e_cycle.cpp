// The editing cycle, timed end to end under Wine: a command from the moment
// the toolbar gets it to the moment the stand-in editor holds the result,
// against the floor of that cycle (the driver itself makes the editor copy,
// reads and writes the clipboard and makes it paste, with no rewrite); and
// the toolbar's start to a visible window against a bare Win32 window
// program. A typical edit, UPPER CASE on twenty lines, is timed from its
// pick in an open menu (the toolbar's, and the keyboard key's) to the
// editor's paste done, by the editor's own notes of when it got what. A benchmark, not a test: it is built with the end-to-end steps
// into a program of its own, e2e_bench.exe, whose group "bench" is what
// bench/e2e_cycle.sh runs.
//
// The table rows are printed as "row: | ... |" for the script to collect.
#include "toolbar/command_ids.h"
#include "driver/desk.h"
#include "e2e_protocol.h"

#include <algorithm>
#include <cstdio>
#include <functional>

namespace e2e {
namespace {

namespace ids = snipkit::ids;

constexpr DWORD kBenchTimeout = 300000;

double Now() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return static_cast<double>(t.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double Median(std::vector<double> v) {
    if (v.empty()) return 0;
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

std::string Fixed(double v, int decimals) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

void Row(const std::string& measure, double ours, double yardstick, double target, const std::string& unit,
         int decimals = 0) {
    const double ratio = yardstick > 0 ? ours / yardstick : 0;
    std::printf("    row: | %s | %s %s | %s %s | %s | <= %s %s |\n", measure.c_str(), Fixed(ours, decimals).c_str(),
                unit.c_str(), Fixed(yardstick, decimals).c_str(), unit.c_str(), Fixed(ratio, 2).c_str(),
                Fixed(target, 1).c_str(), ratio <= target ? "(met)" : "(missed)");
    std::fflush(stdout);
}

// When the editor noted an event (kPropCopyAt, ...), in ms after t0, a time
// in microseconds from MicrosecondsNow.
double StampMs(const Editor& ed, const wchar_t* prop, DWORD t0) {
    const auto at = static_cast<DWORD>(reinterpret_cast<UINT_PTR>(GetPropW(ed.frame, prop)));
    return static_cast<DWORD>(at - t0) / 1000.0;
}

// One cycle's times, in ms from the start: the editor's copy seen, its
// paste seen, the paste finished.
struct Cycle {
    double copied = 0;
    double pasteStarted = 0;
    double done = 0;
};

struct Series {
    std::vector<Cycle> runs;
    double Total() const {
        std::vector<double> v;
        for (const Cycle& c : runs) v.push_back(c.done);
        return Median(v);
    }
    // Medians of the three stretches of a cycle.
    std::string Breakdown(const char* first, const char* second) const {
        std::vector<double> copy, between, paste;
        for (const Cycle& c : runs) {
            copy.push_back(c.copied);
            between.push_back(c.pasteStarted - c.copied);
            paste.push_back(c.done - c.pasteStarted);
        }
        return std::string(first) + " " + Fixed(Median(copy), 1) + " ms; " + second + " " + Fixed(Median(between), 1) +
               " ms; the editor's paste " + Fixed(Median(paste), 1) + " ms";
    }
};

// The toolbar's cycle: the command posted as a menu pick, then the editor
// watched through its message counters. A message sent to the editor after
// its paste count went up is answered once the paste is done.
Cycle ToolbarCycle(Run& run, const Desk& d, int command) {
    SendPatiently(d.editor.control, EM_SETSEL, 0, -1, kBenchTimeout);
    const int copies = d.editor.CopyCount();
    const int pastes = d.editor.PasteCount();
    Cycle c;
    const double t0 = Now();
    d.toolbar.Command(command);
    run.Require(WaitUntil([&] { return d.editor.CopyCount() > copies; }, kBenchTimeout, 1), "the editor copied");
    c.copied = Now() - t0;
    run.Require(WaitUntil([&] { return d.editor.PasteCount() > pastes; }, kBenchTimeout, 1), "the editor pasted");
    c.pasteStarted = Now() - t0;
    run.Require(WaitPastes(d.editor, pastes + 1, kBenchTimeout), "the editor finished its paste");
    c.done = Now() - t0;
    return c;
}

// The floor: the same cycle with nothing in between but moving the text
// from the clipboard to the clipboard; on the whole text unless a selection is given.
// `small`: the end is the editor's own note of its paste done, as for the
// toolbar's small cycles, which are timed by the editor's notes alone.
Cycle FloorCycle(Run& run, const Editor& ed, int start = 0, int end = -1, bool small = false) {
    SendPatiently(ed.control, EM_SETSEL, static_cast<WPARAM>(start), end, kBenchTimeout);
    Cycle c;
    const DWORD t0us = MicrosecondsNow();
    const double t0 = Now();
    SendMessageW(ed.control, WM_COPY, 0, 0);
    c.copied = Now() - t0;
    run.Require(OpenClipboard(nullptr) != FALSE, "the driver opens the clipboard");
    const std::wstring text = OpenClipboardText().value_or(std::wstring());
    CloseClipboard();
    run.Require(!text.empty(), "the editor copied its text");
    run.Require(OpenClipboard(nullptr) != FALSE, "the driver opens the clipboard");
    const bool set = PutOnOpenClipboard(text);
    CloseClipboard();
    run.Require(set, "the driver puts the text on the clipboard");
    c.pasteStarted = Now() - t0;
    SendMessageW(ed.control, WM_PASTE, 0, 0);
    c.done = Now() - t0;
    if (small) c.done = StampMs(ed, kPropPasteDoneAt, t0us);
    return c;
}

struct Size {
    const char* name;
    std::size_t bytes;
    int runs;
};

int Runs(const Size& s) {
    // SNIPKIT_BENCH_RUNS overrides the number of runs per measure.
    wchar_t buf[16];
    const DWORD n = GetEnvironmentVariableW(L"SNIPKIT_BENCH_RUNS", buf, 16);
    const int runs = n > 0 && n < 16 ? _wtoi(buf) : 0;
    return runs > 0 ? runs : s.runs;
}

}  // namespace

E2E_SCENARIO("bench", "cycle", "UPPER CASE and comment // on 1 MB and 10 MB against the floor") {
    const Size sizes[] = {{"1 MB", 1u << 20, 5}, {"10 MB", 10u << 20, 3}};
    struct Command {
        const char* name;
        int id;
    };
    const Command commands[] = {{"UPPER CASE", ids::mnuUpper}, {"comment //", ids::mnuCommentSlash}};
    constexpr double kTarget = 1.3;
    for (const Size& size : sizes) {
        const std::string text = UnitText(size.bytes);
        Desk d = OpenDesk(run, WithBigText(text));
        // The first command finds the editor control; neither is timed.
        ToolbarCycle(run, d, ids::mnuUpper);
        FloorCycle(run, d.editor);
        Series floor;
        Series ours[2];
        // Interleaved, so that a change in the machine's load falls on all alike.
        for (int i = 0; i < Runs(size); ++i) {
            floor.runs.push_back(FloorCycle(run, d.editor));
            for (int k = 0; k < 2; ++k) ours[k].runs.push_back(ToolbarCycle(run, d, commands[k].id));
        }
        run.Note(std::string(size.name) + " (" + std::to_string(text.size()) + " bytes, " + std::to_string(Runs(size)) +
                 " runs)");
        run.Note("  floor: " + floor.Breakdown("WM_COPY answered after", "clipboard read and written in"));
        for (int k = 0; k < 2; ++k) {
            run.Note(
                std::string("  ") + commands[k].name + ": " +
                ours[k].Breakdown("WM_COPY arrived after",
                                  "WM_PASTE arrived (the editor's copy, the toolbar's read, rewrite and write) after"));
        }
        for (int k = 0; k < 2; ++k) {
            Row(std::string(commands[k].name) + ", " + size.name + " selection, command to pasted text",
                ours[k].Total(), floor.Total(), kTarget, "ms");
        }
        // Every run commented out the upper-cased text once more: a sign that
        // the times above are of commands that did their work.
        const std::string after = BigText(d.editor.control).value_or("");
        const std::size_t slashes = after.find_first_not_of('/');
        run.Expect(
            slashes == 2 * static_cast<std::size_t>(Runs(size)) && after.compare(slashes, 14, "IMPLEMENTATION") == 0,
            "the editor holds the upper-case text commented out once per run");
        run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
        run.CloseAll();
    }
}

namespace {

// Twenty lines as they are typed: short, indented, in lower case.
std::string TypicalLines(int from, int count) {
    std::string s;
    for (int i = from; i < from + count; ++i) {
        const std::string k = std::to_string(i);
        s += i % 5 == 0 ? "  if count" + k + " > limit then\r\n"
                        : "    result := result + value" + k + " * 2;  // step " + k + "\r\n";
    }
    return s;
}

std::string Upper(std::string s) {
    for (char& c : s) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return s;
}

// One UPPER CASE from its pick to the editor's paste done. `open`, when
// given, opens a menu and its Case submenu with real input; the pick is then
// the access key u, handed to the toolbar's menu loop at t0. Without a menu
// the pick is the command itself, as the menu would post it.
Cycle PickedCycle(Run& run, const Desk& d, const std::string& before, const std::string& lines,
                  const std::string& after, const std::function<void()>& open) {
    d.editor.SetAndSelect(before, lines, after);
    const DWORD pid = d.toolbar.process->pid();
    if (open) {
        open();
        run.Require(WaitUntil([&] { return OpenMenus(pid).size() >= 2; }, kBenchTimeout), "the Case submenu is open");
    }
    const int copies = d.editor.CopyCount();
    const int pastes = d.editor.PasteCount();
    // The times are the editor's own notes: waiting for them by polling
    // would add its own delay to a cycle of a few milliseconds.
    const DWORD t0 = MicrosecondsNow();
    if (open) {
        PostMessageW(d.toolbar.window, WM_CHAR, 'u', 0);
    } else {
        d.toolbar.Command(ids::mnuUpper);
    }
    run.Require(WaitUntil([&] { return d.editor.CopyCount() > copies; }, kBenchTimeout), "the editor copied");
    run.Require(WaitUntil([&] { return d.editor.PasteCount() > pastes; }, kBenchTimeout), "the editor pasted");
    run.Require(WaitPastes(d.editor, pastes + 1, kBenchTimeout), "the editor finished its paste");
    Cycle c;
    c.copied = StampMs(d.editor, kPropCopyAt, t0);
    c.pasteStarted = StampMs(d.editor, kPropPasteAt, t0);
    c.done = StampMs(d.editor, kPropPasteDoneAt, t0);
    run.Require(d.editor.Text() == before + Upper(lines) + after, "the lines are in upper case");
    run.Require(WaitUntil([&] { return OpenMenus(pid).empty(); }, kBenchTimeout), "the menu closed");
    return c;
}

}  // namespace

E2E_SCENARIO("bench", "typical", "UPPER CASE on 20 lines through the toolbar's menu and the key, against the floor") {
    if (!HaveHost(run)) run.Fail("needs the X display through the runner's host helper");
    const std::string before = TypicalLines(0, 10);
    const std::string lines = TypicalLines(10, 20);
    const std::string after = TypicalLines(30, 10);
    Desk d = OpenDesk(run, WithText(before + lines + after));
    const int start = Utf16Length(before);
    const int end = start + Utf16Length(lines);
    const POINT aside{1270, 1015};
    auto byMenu = [&] {
        ClickMenuButton(run, d.toolbar, ids::butText);
        OpenSubmenuByKey(run, d.toolbar, "c");
    };
    auto byKey = [&] {
        MovePointer(run, aside);
        PressKeys(run, d.editor.frame, {"ctrl+alt+shift+space"});
        OpenSubmenuByKey(run, d.toolbar, "i");
        OpenSubmenuByKey(run, d.toolbar, "c");
    };
    // The first command finds the editor control; neither is timed.
    PickedCycle(run, d, before, lines, after, byMenu);
    d.editor.SetAndSelect(before, lines, after);
    FloorCycle(run, d.editor, start, end);
    Series floor, command, menu, key;
    const int runs = Runs({"20 lines", 0, 11});
    for (int i = 0; i < runs; ++i) {
        d.editor.SetAndSelect(before, lines, after);
        floor.runs.push_back(FloorCycle(run, d.editor, start, end, true));
        command.runs.push_back(PickedCycle(run, d, before, lines, after, nullptr));
        menu.runs.push_back(PickedCycle(run, d, before, lines, after, byMenu));
        key.runs.push_back(PickedCycle(run, d, before, lines, after, byKey));
    }
    run.Note("20 lines (" + std::to_string(lines.size()) + " bytes, " + std::to_string(runs) + " runs)");
    run.Note("  floor: " + floor.Breakdown("WM_COPY answered after", "clipboard read and written in"));
    const char* between = "WM_PASTE arrived (the editor's copy, the toolbar's read, rewrite and write) after";
    run.Note("  the command alone: " + command.Breakdown("WM_COPY arrived after", between));
    run.Note("  toolbar's menu: " + menu.Breakdown("WM_COPY arrived after", between));
    run.Note("  the key's menu: " + key.Breakdown("WM_COPY arrived after", between));
    constexpr double kTarget = 1.2;
    Row("UPPER CASE, 20 lines, the command alone (no menu) to pasted text", command.Total(), floor.Total(), kTarget,
        "ms", 1);
    Row("UPPER CASE, 20 lines, pick in the toolbar's menu to pasted text", menu.Total(), floor.Total(), kTarget, "ms", 1);
    Row("UPPER CASE, 20 lines, pick in the key's menu to pasted text", key.Total(), floor.Total(), kTarget, "ms", 1);
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

namespace {

// From the start of the process to its window being visible, in ms.
double StartToWindow(Run& run, const std::wstring& exe, const std::wstring& cwd, const wchar_t* cls) {
    const double t0 = Now();
    Process& p = run.Track(Launch(run, exe, {}, cwd, "a program"));
    HWND w = nullptr;
    run.Require(WaitUntil([&] { return (w = FindTopWindow(p.pid(), cls)) != nullptr; }, kDefaultTimeout, 1),
                "the program's window shows");
    const double took = Now() - t0;
    run.Require(p.CloseWindows(kDefaultTimeout), "the program closes");
    return took;
}

}  // namespace

E2E_SCENARIO("bench", "startup", "the toolbar's start to a visible window against a bare window") {
    const std::wstring& editor = run.config().editorExe;
    const std::wstring here = editor.substr(0, editor.find_last_of(L"\\/"));
    const std::wstring minimal = here + L"\\minimal_window.exe";
    // A private copy, as the toolbar makes its stash folder beside itself.
    const std::wstring folder = run.dir() + L"\\app";
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring toolbar = folder + L"\\snipkit.exe";
    run.Require(CopyFileW(run.config().snipkitExe.c_str(), toolbar.c_str(), FALSE) != FALSE, "snipkit.exe copied");
    constexpr int kRuns = 9;
    constexpr double kTarget = 1.5;
    // One start each first, to have the files in the cache.
    StartToWindow(run, minimal, here, L"SnipkitMinimalWindow");
    StartToWindow(run, toolbar, folder, L"TForm1");
    std::vector<double> ours, bare;
    for (int i = 0; i < kRuns; ++i) {
        bare.push_back(StartToWindow(run, minimal, here, L"SnipkitMinimalWindow"));
        ours.push_back(StartToWindow(run, toolbar, folder, L"TForm1"));
    }
    std::string list;
    for (std::size_t i = 0; i < ours.size(); ++i) list += Fixed(ours[i], 0) + "/" + Fixed(bare[i], 0) + " ";
    run.Note("toolbar/minimal window, ms: " + list);
    Row("Start to a visible window (vs a minimal Win32 window)", Median(ours), Median(bare), kTarget, "ms");
}

}  // namespace e2e
