// Hostile inputs through the real toolbar: a 10 MB selection and a single
// line of 1 MB, a clipboard that another program keeps open, an editor that
// goes away between commands, every character a clipboard text can carry,
// and a long run of commands watched for memory growth. Nothing may be lost
// and every failure must end in a clear message.
#include "toolbar/command_ids.h"
#include "clipboard_users.h"
#include "desk.h"
#include "format/findent_ids.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>

namespace e2e {

namespace {

namespace ids = snipkit::ids;
namespace fid = snipkit::ids::findent;

// ---------------------------------------------------------------- texts

// One line of about `bytes` bytes: statements one after another, no line break.
std::string OneLine(std::size_t bytes) {
    std::string s = "begin";
    for (unsigned n = 0; s.size() < bytes; ++n) {
        s += " x_Max" + std::to_string(n) + " := Grüße('Ω{" + std::to_string(n) + "}');";
    }
    return s + " end;";
}

std::string MapAscii(std::string s, bool lowerToUpper, bool upperToLower) {
    for (char& c : s) {
        if (lowerToUpper && c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 0x20);
        } else if (upperToLower && c >= 'A' && c <= 'Z') {
            c = static_cast<char>(c + 0x20);
        }
    }
    return s;
}
std::string Upper(const std::string& s) { return MapAscii(s, true, false); }
std::string Lower(const std::string& s) { return MapAscii(s, false, true); }
std::string Flip(const std::string& s) { return MapAscii(s, true, true); }

// `prefix` at the start of every line; the empty line after a final CR LF
// is no line of its own and gets nothing.
std::string PrefixLines(const std::string& text, const std::string& prefix) {
    if (text.empty()) return text;
    std::string out = prefix;
    out.reserve(text.size() + text.size() / 8);
    for (std::size_t i = 0; i < text.size(); ++i) {
        out += text[i];
        if (text[i] == '\n' && i > 0 && text[i - 1] == '\r' && i + 1 < text.size()) out += prefix;
    }
    return out;
}

// ---------------------------------------------------------------- the Indent dialog

// Indent or Unindent by `columns` through the dialog, as the user does it;
// the toolbar may be slow to answer while the dialog holds megabytes.
void IndentThroughDialog(Run& run, const Desk& d, bool indent, int columns, int expectedMemoLength) {
    const Dialog dlg = OpenDialog(run, d.toolbar, ids::mnuIndent, L"TfrmIndent", kBigTimeout);
    run.ExpectEq("the dialog's memo holds the whole selection (UTF-16 units)", expectedMemoLength,
                 SendPatiently(dlg.Ctl(fid::Memo1), WM_GETTEXTLENGTH, 0, 0, kBigTimeout));
    const int choice = indent ? fid::chkIndent : fid::chkUnindent;
    dlg.Click(choice);
    run.Require(WaitUntil([&] { return SendPatiently(dlg.Ctl(choice), BM_GETCHECK, 0, 0, kBigTimeout) == BST_CHECKED; },
                          kDefaultTimeout),
                indent ? "Indent is chosen" : "Unindent is chosen");
    const std::wstring count = std::to_wstring(columns);
    SendPatiently(dlg.Ctl(fid::spin1), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(count.c_str()), kBigTimeout);
    dlg.Close(ids::butOK, kBigTimeout);
}

// ---------------------------------------------------------------- big selections

struct ChainStep {
    const char* name;
    int command;         // a menu command, or mnuIndent for the dialog
    bool indent;         // with mnuIndent: Indent, else Unindent
    std::string result;  // what the selection must become
};

// Runs the steps one after another on the selection between a fixed head
// and tail, each step on the text the one before left, and checks after each
// that the editor holds head + result + tail byte for byte.
void RunChain(Run& run, const std::string& selection, const std::vector<ChainStep>& steps) {
    constexpr DWORD kSettle = 5000;
    const std::string head = "unit Big;\r\n\r\ninterface\r\n\r\n";
    const std::string tail = "\r\n\r\nend.\r\n";
    Desk d = OpenDesk(run, WithBigText(head + selection + tail));
    const int start = Utf16Length(head);
    int length = Utf16Length(selection);
    int pastes = 0;
    for (const ChainStep& step : steps) {
        const DWORD t0 = GetTickCount();
        SendPatiently(d.editor.control, EM_SETSEL, start, start + length, kBigTimeout);
        if (step.command == ids::mnuIndent) {
            IndentThroughDialog(run, d, step.indent, 4, length);
        } else {
            d.toolbar.Command(step.command);
        }
        run.Require(WaitPastes(d.editor, ++pastes, kBigTimeout), std::string(step.name) + ": the editor got its paste");
        // Read again for a while before calling it wrong: a megabyte read is
        // cheap against a run that fails for the moment a text was read.
        const std::string expected = head + step.result + tail;
        std::optional<std::string> text;
        WaitUntil([&] { return (text = BigText(d.editor.control)) && *text == expected; }, kSettle, 500);
        run.Require(text.has_value(), std::string(step.name) + ": the editor's text can be read");
        if (!ExpectSameText(run, step.name, expected, *text)) NotePasteTrouble(run, d.editor, step.name);
        run.ExpectEq(std::string(step.name) + ": pastes so far", pastes, d.editor.PasteCount());
        run.Expect(d.toolbar.NoMessageBoxFor(0), std::string(step.name) + ": no message box");
        run.Note(std::string(step.name) + ": " + std::to_string(step.result.size()) + " bytes in " +
                 std::to_string(GetTickCount() - t0) + " ms");
        length = Utf16Length(step.result);
    }
    run.Expect(d.toolbar.process->Running(), "the toolbar is still running");
}

// Every formatting command over the selection, and back: each step's result
// is known from the text alone.
std::vector<ChainStep> FormattingChain(const std::string& text) {
    const std::string upper = Upper(text);
    return {
        {"UPPER CASE", ids::mnuUpper, false, upper},
        {"comment //", ids::mnuCommentSlash, false, PrefixLines(upper, "//")},
        {"Uncomment the // lines", ids::mnuUncomment, false, upper},
        {"comment {...}", ids::mnuCommentBrace, false, "{ " + upper + " }"},
        {"Uncomment the braces", ids::mnuUncomment, false, upper},
        {"Indent 4", ids::mnuIndent, true, PrefixLines(upper, "    ")},
        {"Unindent 4", ids::mnuIndent, false, upper},
    };
}

}  // namespace

E2E_SCENARIO("hostile", "ten_mb_selection", "a 10 MB selection through case, comment, uncomment and indent, whole") {
    const std::string text = UnitText(10u << 20);
    run.Note("selection: " + std::to_string(text.size()) + " bytes");
    RunChain(run, text, FormattingChain(text));
}

E2E_SCENARIO("hostile", "one_mb_line", "a single line of 1 MB through case, comment, uncomment and indent, whole") {
    const std::string text = OneLine(1u << 20);
    run.Note("line: " + std::to_string(text.size()) + " bytes");
    RunChain(run, text, FormattingChain(text));
}

// ---------------------------------------------------------------- every character

E2E_SCENARIO("hostile", "every_character", "U+0001 to U+00FF survive every case command; only ASCII letters change") {
    // A clipboard text ends at its first NUL, so U+0000 cannot be selected text.
    std::wstring all;
    for (wchar_t c = 1; c <= 0xFF; ++c) all += c;
    // Twice, on two lines, so the lone CR and LF among them sit inside a line.
    const std::string text = ToUtf8(all) + "\r\n" + ToUtf8(all);
    Desk d = OpenDesk(run, WithText(text));
    run.Require(d.editor.Text() == text, "the stand-in editor keeps every character as given");

    struct Row {
        const char* name;
        int command;
        std::string expected;  // empty: Title Case, checked by its property
    };
    const Row rows[] = {
        {"UPPER CASE", ids::mnuUpper, Upper(text)},
        {"lower case", ids::mnuLower, Lower(text)},
        {"Flip Case", ids::mnuFlipCase, Flip(text)},
        {"Title Case", ids::mnuTitle, ""},
    };
    for (const Row& row : rows) {
        d.editor.SetText(text);
        d.editor.SelectAll();
        const int pastes = d.editor.PasteCount();
        d.toolbar.Command(row.command);
        run.Require(WaitPastes(d.editor, pastes + 1, kDefaultTimeout), std::string(row.name) + ": pasted");
        const std::string got = d.editor.Text();
        if (!row.expected.empty()) {
            run.ExpectEq(row.name, row.expected, got);
            continue;
        }
        // Title Case decides which letters it changes; it may change nothing else.
        bool onlyLetterCase = got.size() == text.size();
        for (std::size_t i = 0; onlyLetterCase && i < text.size(); ++i) {
            const char a = text[i];
            const char b = got[i];
            const bool letter = (a >= 'a' && a <= 'z') || (a >= 'A' && a <= 'Z');
            onlyLetterCase = letter ? Lower(std::string(1, a)) == Lower(std::string(1, b)) : a == b;
        }
        if (!run.Expect(onlyLetterCase, "Title Case changes nothing but the case of ASCII letters")) {
            run.ExpectEq(row.name, text, got);
        }
        // A Title Case that did nothing would keep the property too: each run
        // of 26 letters, capitals or small, is one word and comes out titled.
        const std::string titled = "Abcdefghijklmnopqrstuvwxyz";
        std::size_t words = 0;
        for (std::size_t at = got.find(titled); at != std::string::npos; at = got.find(titled, at + 1)) ++words;
        run.ExpectEq("Title Case: the runs of letters titled", 4, static_cast<long long>(words));
    }
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box");
}

// The clipboard is taken by the other program the moment the editor has
// copied to it, before the toolbar can read the copy: the toolbar meets it
// busy every time, with no race to win. (The driver's own editor window is
// used because the stand-in's copy cannot be hooked.)
E2E_SCENARIO("hostile", "clipboard_held",
             "clipboard held by another program: past the retries Clipboard busy, for a moment no harm") {
    const std::string text = UnitText(4000);
    const std::string upper = Upper(text);
    Toolbar t = LaunchToolbar(run);
    QuickEditor editor(run, text);
    LetToolbarSee(run, editor.frame(), 5);

    struct Row {
        const char* name;
        DWORD holdMs;  // 0: until the toolbar has given up
        int rounds;    // the first round of the first row is the toolbar's first capture
        bool pasted;
    };
    const Row rows[] = {
        {"held past the retries", 0, 2, false},
        // As long as a clipboard history tool keeps it after a change.
        {"held for 100 ms", 100, 3, true},
    };
    for (const Row& row : rows) {
        for (int round = 1; round <= row.rounds; ++round) {
            const std::string what = std::string(row.name) + ", round " + std::to_string(round);
            editor.SetText(text);
            const int copies = editor.copies();
            const int pastes = editor.pastes();
            ClipboardHolder holder(row.holdMs);
            editor.OnCopied([&] { holder.GrabNow(); });
            struct Unhook {
                QuickEditor& e;
                ~Unhook() { e.OnCopied(nullptr); }
            } unhook{editor};
            t.Command(ids::mnuUpper);
            run.Require(WaitUntil([&] { return editor.copies() > copies; }, kDefaultTimeout), what + ": copied");
            run.Require(holder.grabbed(), what + ": the other program got the clipboard");
            if (row.pasted) {
                run.Expect(WaitUntil([&] { return editor.pastes() > pastes; }, kDefaultTimeout), what + ": pasted");
                run.Expect(holder.released(), what + ": the other program had let go before the paste");
                ExpectSameText(run, what + ": editor text", upper, editor.Text());
                ExpectNoMessageBox(run, t, what);
            } else {
                const MessageBoxInfo box = t.WaitMessageBox(run);
                run.Expect(!holder.released(), what + ": the clipboard was still held when the toolbar gave up");
                run.ExpectEq(what + ": message", "The clipboard is in use by another program; nothing was pasted.",
                             box.text);
                run.ExpectEq(what + ": caption", "Clipboard busy", box.caption);
                holder.Release();
                Dismiss(run, box.window, IDOK);
                run.Expect(!WaitUntil([&] { return editor.pastes() > pastes; }, 500), what + ": nothing pasted");
                ExpectSameText(run, what + ": editor text", text, editor.Text());
            }
        }
    }
    run.Expect(t.process->Running(), "the toolbar is still running");
}

// A program that opens the clipboard for half a millisecond every two: a copy
// that meets it copies nothing, and it has let go before the toolbar looks.
// Each command rewrites the selection or says the clipboard is busy; none
// takes the selection for empty, none pastes while the poller may be there.
E2E_SCENARIO("hostile", "clipboard_poller",
             "a program at the clipboard 0.5 ms every 2 ms: twelve comment {...} give { keep } or Clipboard busy, never {  }") {
    const std::string text = "x := keep;\r\n";
    Desk d = OpenDesk(run, WithText(text));
    ClipboardPoller poller(500, 2000);
    int rewritten = 0;
    int busy = 0;
    for (int i = 1; i <= 12; ++i) {
        const std::string what = "command " + std::to_string(i);
        d.editor.SetText(text);
        d.editor.SelectText(run, "keep");
        const std::string braced = "x := { keep };\r\n";
        d.toolbar.Command(ids::mnuCommentBrace);
        // A paste the editor could not make (the poller had the clipboard)
        // is sent again, so the command ends in the text or in a box.
        std::vector<MessageBoxInfo> boxes;
        const bool ended = WaitUntil(
            [&] {
                boxes = d.toolbar.MessageBoxes();
                return !boxes.empty() || d.editor.Text() == braced;
            },
            kDefaultTimeout);
        if (!ended) NotePasteTrouble(run, d.editor, what);
        run.Require(ended, what + ": the selection rewritten or a message box");
        if (boxes.empty()) {
            ++rewritten;
            run.Expect(NoMessageBoxAfterTick(run, d.toolbar), what + ": no message box");
            continue;
        }
        ++busy;
        run.ExpectEq(what + ": message", "The clipboard is in use by another program; nothing was pasted.",
                     boxes.front().text);
        run.ExpectEq(what + ": caption", "Clipboard busy", boxes.front().caption);
        Dismiss(run, boxes.front().window, IDOK);
        ExpectEditorUnchanged(run, d.editor, text, 300);
    }
    run.Note(std::to_string(rewritten) + " rewritten, " + std::to_string(busy) + " Clipboard busy; the poller opened the clipboard " +
             std::to_string(poller.opens()) + " times");
    // Half a millisecond every two for the whole run: some thousands of times.
    run.Expect(poller.opens() > 1000, "the poller kept opening the clipboard");
    run.Expect(d.toolbar.NoMessageBoxFor(0), "no message box left");
}

// ---------------------------------------------------------------- the editor goes away

namespace {

// The clipboard's text as an editor that speaks only ANSI reads it: the
// system converts ours, which is handed over when first asked for.
std::string AnsiClipboardText() {
    if (!OpenClipboard(nullptr)) return "<clipboard busy>";
    std::string text = "<no text>";
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        if (const auto* chars = static_cast<const char*>(GlobalLock(data))) {
            text = chars;
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return text;
}

}  // namespace

E2E_SCENARIO("hostile", "editor_closed",
             "the editor closed between commands and during the Indent dialog: messages, no crash") {
    const std::string text = "unit Unit1;\r\n\r\nprocedure A;\r\nbegin\r\nend;\r\n";
    Desk d = OpenDesk(run, WithText(text));
    d.editor.Select(0, 4);
    CommandGives(run, d, ids::mnuUpper, "UNIT" + text.substr(4), "the first command");

    run.Require(d.editor.process->CloseWindows(kDefaultTimeout), "the editor closes");

    struct Row {
        const char* name;
        bool otherWindow;  // another program in front after the editor closed
        int command;
    };
    const Row rows[] = {
        {"nothing else in front, UPPER CASE", false, ids::mnuUpper},
        {"nothing else in front, comment //", false, ids::mnuCommentSlash},
        {"another window in front, lower case", true, ids::mnuLower},
        {"another window in front, comment {...}", true, ids::mnuCommentBrace},
    };
    for (const Row& row : rows) {
        run.Note(row.name);
        std::optional<OwnWindow> other;
        bool nothingInFront = false;
        if (row.otherWindow) {
            other.emplace(L"Some other program", 300, 40, 300, 200);
            LetToolbarSee(run, other->hwnd());
        } else {
            // With nothing else left, Wine gives the foreground to the
            // toolbar, which never takes its own windows for the user's
            // window: it still names the closed editor window, whose class
            // no longer reads as TEditWindow. Only when no window at all is
            // in front does the toolbar forget it and stay silent.
            auto front = [&] {
                const HWND w = GetForegroundWindow();
                return w == nullptr ? 0 : ProcessOf(w) == d.toolbar.process->pid() ? 1 : 2;
            };
            const int before = front();
            run.Require(WaitTickAfterNow(run, d.toolbar), "the toolbar took a timer tick");
            run.Require(before != 2 && front() == before,
                        "after the editor closed, the toolbar or nothing is in front, for a whole timer tick");
            nothingInFront = before == 0;
        }
        run.Require(SetClipboardText("older text"), "the driver can set the clipboard");
        d.toolbar.Command(row.command);
        if (nothingInFront) {
            run.Expect(NoMessageBoxAfterTick(run, d.toolbar), std::string(row.name) + ": no message box");
            run.ExpectEq(std::string(row.name) + ": the clipboard is untouched", "older text",
                         ClipboardText().value_or("<no text>"));
        } else {
            const MessageBoxInfo box = d.toolbar.WaitMessageBox(run);
            run.ExpectEq(std::string(row.name) + ": message", "Source window was not a Delphi TEditWindow.", box.text);
            run.ExpectEq(std::string(row.name) + ": caption", "Could not copy", box.caption);
            // Looked at while the box is up: the command has not gone on yet.
            run.ExpectEq(std::string(row.name) + ": the refused command left the clipboard alone", "older text",
                         ClipboardText().value_or("<no text>"));
            Dismiss(run, box.window, IDOK);
        }
        run.Expect(d.toolbar.process->Running(), std::string(row.name) + ": the toolbar is still running");
    }

    run.Note("a new editor: the toolbar finds it");
    Editor fresh = LaunchEditor(run, WithText(text));
    LetToolbarSee(run, fresh.frame);
    fresh.Select(0, 4);
    d.toolbar.Command(ids::mnuUpper);
    ExpectEditorText(run, fresh, "UNIT" + text.substr(4), kDefaultTimeout, "the new editor after UPPER CASE");

    run.Note("the editor closed while the Indent dialog is open");
    fresh.SelectAll();
    const Dialog dialog = OpenDialog(run, d.toolbar, ids::mnuIndent, L"TfrmIndent");
    run.Require(fresh.process->CloseWindows(kDefaultTimeout), "the editor closes");
    dialog.Close(ids::butOK);
    // Nothing to paste into, but the text is not lost: it is on the clipboard, and the user is told.
    const std::string indented = PrefixLines("UNIT" + text.substr(4), "  ");
    const MessageBoxInfo box = d.toolbar.WaitMessageBox(run);
    run.ExpectEq("message", "The editor window was closed, so nothing was pasted. The text is left on the clipboard.",
                 box.text);
    run.ExpectEq("caption", "Editor closed", box.caption);
    // Read as ANSI first: the system converts the text we hand over on that request.
    run.ExpectEq("the indented text, read as ANSI", indented, AnsiClipboardText());
    run.ExpectEq("the indented text is on the clipboard", indented, ClipboardText().value_or("<no text>"));
    Dismiss(run, box.window, IDOK);
    run.Expect(d.toolbar.process->Running(), "the toolbar is still running");
}

// ---------------------------------------------------------------- memory over a long run

namespace {

struct Memory {
    std::size_t privateBytes = 0;  // committed memory of the process alone
    std::size_t workingSet = 0;
};

Memory MemoryOf(HANDLE process) {
    PROCESS_MEMORY_COUNTERS c{};
    c.cb = sizeof c;
    Memory m;
    if (GetProcessMemoryInfo(process, &c, sizeof c)) {
        m.privateBytes = c.PagefileUsage;
        m.workingSet = c.WorkingSetSize;
    }
    return m;
}

std::string Mb(std::size_t bytes) {
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.1f MB", static_cast<double>(bytes) / (1 << 20));
    return buf;
}

}  // namespace

E2E_SCENARIO("hostile", "memory_flat", "200 commands in a row on 1 MB leave the toolbar's memory flat") {
    const std::string text = UnitText(1u << 20);
    const std::string lower = Lower(text);
    const std::string upper = Upper(text);
    Toolbar t = LaunchToolbar(run);
    QuickEditor editor(run, text);
    LetToolbarSee(run, editor.frame(), 5);

    // One round: every command that rewrites the selection and pastes it,
    // ending on the lower-case text; each step's result is known.
    struct Step {
        int command;
        const std::string* result;
    };
    const std::string slashed = PrefixLines(upper, "//");
    const std::string braced = "{ " + upper + " }";
    const std::string parens = "(* " + upper + " *)";
    const std::string flipped = Flip(lower);
    const Step round[] = {
        {ids::mnuUpper, &upper},         {ids::mnuCommentSlash, &slashed}, {ids::mnuUncomment, &upper},
        {ids::mnuCommentBrace, &braced}, {ids::mnuUncomment, &upper},      {ids::mnuCommentPar, &parens},
        {ids::mnuUncomment, &upper},     {ids::mnuLower, &lower},          {ids::mnuFlipCase, &flipped},
        {ids::mnuFlipCase, &lower},
    };
    constexpr int kCommands = 200;
    constexpr int kWarmUp = 20;
    constexpr std::size_t kAllowedGrowth = 20u << 20;
    Memory base;
    Memory peak;
    const DWORD t0 = GetTickCount();
    for (int i = 0; i < kCommands; ++i) {
        const Step& step = round[i % 10];
        t.Command(step.command);
        if (!WaitUntil([&] { return editor.pastes() > i; }, kDefaultTimeout, 1)) {
            run.Fail("command " + std::to_string(i + 1) + " pasted nothing");
        }
        if (!ExpectSameText(run, "command " + std::to_string(i + 1), *step.result, editor.Text())) break;
        const Memory now = MemoryOf(t.process->handle());
        if (i + 1 == kWarmUp) base = now;
        if (i + 1 > kWarmUp) {
            peak.privateBytes = std::max(peak.privateBytes, now.privateBytes);
            peak.workingSet = std::max(peak.workingSet, now.workingSet);
        }
    }
    const Memory last = MemoryOf(t.process->handle());
    run.Note(std::to_string(kCommands) + " commands in " + std::to_string(GetTickCount() - t0) + " ms");
    run.Note("private bytes after " + std::to_string(kWarmUp) + " commands " + Mb(base.privateBytes) + ", peak " +
             Mb(peak.privateBytes) + ", at the end " + Mb(last.privateBytes));
    run.Note("working set after " + std::to_string(kWarmUp) + " commands " + Mb(base.workingSet) + ", peak " +
             Mb(peak.workingSet) + ", at the end " + Mb(last.workingSet));
    run.Require(base.privateBytes > 0 && base.workingSet > 0, "the toolbar's memory can be read");
    run.Expect(peak.privateBytes < base.privateBytes + kAllowedGrowth,
               "private bytes grow by less than " + Mb(kAllowedGrowth));
    run.Expect(peak.workingSet < base.workingSet + kAllowedGrowth,
               "working set grows by less than " + Mb(kAllowedGrowth));
    run.ExpectEq("copies asked of the editor", kCommands, editor.copies());
    run.Expect(t.NoMessageBoxFor(0), "no message box");
}

}  // namespace e2e
