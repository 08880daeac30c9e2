#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "bridge/bridge.h"
#include "fake_window_system.h"
#include "format/case_commands.h"
#include "format/format_commands.h"

namespace snipkit::testing {
namespace {

const ShownBox kNotEditWindow{kMsgNotEditWindow, kCapNotEditWindow};
const ShownBox kNoData{kMsgNoData, kCapNoData};
const ShownBox kBusy{kMsgClipboardBusy, kCapClipboardBusy};

struct CaptureCase {
    const char* name;
    std::function<void(Desk&, EditorBridge&)> arrange;
    bool readText;
    bool expectResult;
    bool expectClipboardEmptied;  // the old clipboard text is gone before the copy
    bool expectCopyToControl;     // WM_COPY reached the editor control
    const char* expectWorkText;
    std::vector<ShownBox> expectBoxes;
    bool expectControlKnown;
};

TEST(Bridge, CaptureOutcomes) {
    const std::vector<CaptureCase> cases = {
        {"known control copies without a search",
         [](Desk& d, EditorBridge& b) {
             b.State().EditorControl = d.editControl;
             b.State().SourceWindow = d.otherApp;  // not consulted
         },
         true, true, false, true, "sel", {}, true},
        {"editor window in front: search finds the control",
         [](Desk& d, EditorBridge& b) { b.State().SourceWindow = d.editWindow; },
         true, true, true, true, "sel", {}, true},
        {"gone control: a new search through the editor window",
         [](Desk& d, EditorBridge& b) {
             const Hwnd dead = d.ws.AddWindow("TEditControl", d.editWindow);
             d.ws.Destroy(dead);
             b.State().EditorControl = dead;
             b.State().SourceWindow = d.editWindow;
         },
         true, true, true, true, "sel", {}, true},
        {"another application in front and no control known: the clipboard is left alone",
         [](Desk& d, EditorBridge& b) { b.State().SourceWindow = d.otherApp; },
         true, false, false, false, "earlier", {kNotEditWindow}, false},
        {"another application in front also stops a capture without reading",
         [](Desk& d, EditorBridge& b) { b.State().SourceWindow = d.otherApp; },
         false, false, false, false, "earlier", {kNotEditWindow}, false},
        {"no foreground window seen yet: nothing happens",
         [](Desk&, EditorBridge&) {}, true, false, false, false, "earlier", {}, false},
        {"readText false still copies but leaves WorkText",
         [](Desk& d, EditorBridge& b) { b.State().EditorControl = d.editControl; },
         false, true, false, true, "earlier", {}, true},
        {"readText false with the clipboard held during the search: the copy still goes",
         [](Desk& d, EditorBridge& b) {
             b.State().SourceWindow = d.editWindow;
             d.ws.clipboardBusy = true;
         },
         false, true, false, true, "earlier", {}, true},
        {"readText false on an editor window without its control: no copy, no box, the clipboard kept",
         [](Desk& d, EditorBridge& b) { b.State().SourceWindow = d.ws.AddWindow("TEditWindow"); },
         false, true, false, false, "earlier", {}, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().WorkText = "earlier";
        d.ws.SetSelection(d.editControl, "a sel b", 2, 5);
        d.ws.SetClipboard("old clip");
        c.arrange(d, b);

        EXPECT_EQ(b.CaptureSelection(c.readText), c.expectResult);
        EXPECT_EQ(b.State().WorkText, c.expectWorkText);
        EXPECT_EQ(d.boxes.shown, c.expectBoxes);
        EXPECT_EQ(b.State().EditorControl == d.editControl, c.expectControlKnown);
        const bool copied = !d.ws.sent.empty() && d.ws.sent.back() == SentMessage{d.editControl, EditMessage::Copy};
        EXPECT_EQ(copied, c.expectCopyToControl);
        if (!c.expectCopyToControl) {
            EXPECT_EQ(d.ws.clipHasText() ? d.ws.clipText() : "", c.expectClipboardEmptied ? "" : "old clip");
        }
    }
}

TEST(Bridge, EditorWindowWithoutDirectEditControl) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    const Hwnd lonely = d.ws.AddWindow("TEditWindow");
    const Hwnd panel = d.ws.AddWindow("TPanel", lonely);
    d.ws.AddWindow("TEditControl", panel);  // a grandchild is not searched
    b.State().SourceWindow = lonely;
    b.State().WorkText = "earlier";
    d.ws.SetClipboard("old clip");

    EXPECT_FALSE(b.CaptureSelection(true));
    EXPECT_EQ(b.State().WorkText, "earlier");
    EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{kNoData});
    EXPECT_EQ(b.State().EditorControl, 0u);
    EXPECT_EQ(d.ws.clipText(), "old clip");  // nothing was copied, so nothing was emptied

    // A paste then goes nowhere but leaves the text on the clipboard and raises the window.
    EXPECT_TRUE(b.ReplaceSelection("new"));
    EXPECT_EQ(d.ws.clipText(), "new");
    EXPECT_EQ(d.ws.raised, std::vector<Hwnd>{lonely});
    EXPECT_TRUE(d.ws.sent.empty());
}

TEST(Bridge, NothingSelectedGivesEmptyTextNotTheOldClipboard) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().EditorControl = d.editControl;
    b.State().WorkText = "earlier";
    d.ws.SetSelection(d.editControl, "abc", 1, 1);
    d.ws.SetClipboard("old clip");

    EXPECT_TRUE(b.CaptureSelection(true));
    EXPECT_EQ(b.State().WorkText, "");
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST(Bridge, BusyClipboardPastesNothing) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().EditorControl = d.editControl;
    b.State().SourceWindow = d.editWindow;
    d.ws.SetSelection(d.editControl, "abc", 0, 3);
    d.ws.SetClipboard("held by someone else");
    d.ws.clipboardBusy = true;

    EXPECT_FALSE(b.ReplaceSelection("NEW"));
    EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{kBusy});
    EXPECT_EQ(d.ws.Window(d.editControl).text, "abc");
    EXPECT_EQ(d.ws.raised, std::vector<Hwnd>{d.editWindow});
    EXPECT_TRUE(d.ws.sent.empty());
}

TEST(Bridge, BusyClipboardWhenReading) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().SourceWindow = d.editWindow;
    b.State().WorkText = "earlier";
    d.ws.SetClipboard("held by someone else");
    d.ws.clipboardBusy = true;

    EXPECT_FALSE(b.CaptureSelection(true));
    EXPECT_EQ(b.State().WorkText, "earlier");
    EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{kBusy});
}

// Other programs at the clipboard around one capture: one that holds it for
// a while, or a history tool that opens it after every change.
struct HeldCaptureCase {
    const char* name;
    bool controlKnown;  // else found by a search, which empties the clipboard first
    std::size_t selStart, selEnd;
    std::vector<FakeWindowSystem::Hold> holds;
    unsigned listenerWakeMs, listenerHoldMs;
    bool expectResult;
    const char* expectWorkText;
    std::vector<ShownBox> expectBoxes;
    std::size_t expectCopies;
};

TEST(Bridge, CaptureBesideOtherClipboardUsers) {
    const unsigned past = kClipboardPatienceMs + 1000;
    const std::vector<HeldCaptureCase> cases = {
        {"held just while the editor copies: copied once more", true, 2, 5, {{1, 200}}, 0, 0, true, "sel", {}, 2},
        {"held from the copy on past the budget: busy", true, 2, 5, {{1, past}}, 0, 0, false, "earlier", {kBusy}, 1},
        {"held from the copy on, nothing selected: still busy", true, 2, 2, {{1, past}}, 0, 0, false, "earlier",
         {kBusy}, 1},
        {"held when the command starts: one copy once it is free", true, 2, 5, {{0, 300}}, 0, 0, true, "sel", {}, 1},
        {"held from the start past the budget: busy, no copy", true, 2, 5, {{0, past}}, 0, 0, false, "earlier",
         {kBusy}, 0},
        {"let go again during the second copy, nothing selected", true, 2, 2, {{1, 150}}, 0, 0, true, "",
         {}, 1 + kUnchangedCopiesForNothingSelected},
        {"held again during the second copy: busy", true, 2, 5, {{1, 2}, {3, past}}, 0, 0, false, "earlier",
         {kBusy}, 2},
        {"a history tool keeps it 100 ms after the editor's copy", true, 2, 5, {}, 0, 100, true, "sel", {}, 1},
        {"a history tool that keeps it 2 s: busy", true, 2, 5, {}, 0, 2000, false, "earlier", {kBusy}, 1},
        {"nothing selected beside a history tool", true, 2, 2, {}, 0, 100, true, "", {},
         kUnchangedCopiesForNothingSelected},
        {"search: held while emptying, within the budget", false, 2, 5, {{0, 300}}, 0, 0, true, "sel", {}, 1},
        {"search: held while emptying, past the budget: busy, no copy", false, 2, 5, {{0, past}}, 0, 0, false,
         "earlier", {kBusy}, 0},
        {"search: our emptying wakes a history tool", false, 2, 5, {}, 1, 100, true, "sel", {}, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().WorkText = "earlier";
        b.State().SourceWindow = d.editWindow;
        if (c.controlKnown) b.State().EditorControl = d.editControl;
        d.ws.SetSelection(d.editControl, "a sel b", c.selStart, c.selEnd);
        d.ws.SetClipboard("old clip");
        d.ws.holds = c.holds;
        d.ws.listenerWakeMs = c.listenerWakeMs;
        d.ws.listenerHoldMs = c.listenerHoldMs;

        EXPECT_EQ(b.CaptureSelection(true), c.expectResult);
        EXPECT_EQ(b.State().WorkText, c.expectWorkText);
        EXPECT_EQ(d.boxes.shown, c.expectBoxes);
        EXPECT_EQ(std::count(d.ws.sent.begin(), d.ws.sent.end(), SentMessage{d.editControl, EditMessage::Copy}),
                  static_cast<std::ptrdiff_t>(c.expectCopies));
        // However it ends, the capture gives up within one budget per wait.
        EXPECT_LE(d.ws.now, 3u * (kClipboardPatienceMs + kListenerWakeMs) + 10u);
    }
}

// The editor pastes nothing while another program holds the clipboard, and
// the toolbar's own write wakes every history tool.
struct HeldReplaceCase {
    const char* name;
    std::vector<FakeWindowSystem::Hold> holds;
    unsigned listenerWakeMs, listenerHoldMs;
    const char* expectEditorText;
    std::vector<ShownBox> expectBoxes;
    std::size_t expectPastes;
    unsigned editorDelayMs = 1;  // how long the editor takes to get to the paste
};

TEST(Bridge, ReplaceBesideOtherClipboardUsers) {
    const std::vector<HeldReplaceCase> cases = {
        {"held 150 ms when writing: written, then pasted", {{0, 150}}, 0, 0, "a NEW b", {}, 1},
        {"held just when the editor pastes: pasted again", {{kListenerWakeMs + 1, kListenerWakeMs + 2}}, 0, 0,
         "a NEW b", {}, 2},
        {"held for good: busy, nothing pasted", {{0, 100000}}, 0, 0, "a sel b", {kBusy}, 0},
        {"a history tool wakes at our write and keeps it 100 ms", {}, 1, 100, "a NEW b", {}, 1},
        // Seen only by waiting for it: the slow editor would paste while it holds the clipboard.
        {"a history tool that wakes 10 ms late, a slow editor", {}, 10, 100, "a NEW b", {}, 1, 10},
        {"a history tool that keeps it 2 s: busy, nothing pasted", {}, 1, 2000, "a sel b", {kBusy}, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().EditorControl = d.editControl;
        b.State().SourceWindow = d.editWindow;
        d.ws.SetSelection(d.editControl, "a sel b", 2, 5);
        d.ws.holds = c.holds;
        d.ws.listenerWakeMs = c.listenerWakeMs;
        d.ws.listenerHoldMs = c.listenerHoldMs;
        d.ws.editorDelayMs = c.editorDelayMs;

        EXPECT_EQ(b.ReplaceSelection("NEW"), c.expectBoxes.empty());
        EXPECT_EQ(d.ws.Window(d.editControl).text, c.expectEditorText);
        EXPECT_EQ(d.boxes.shown, c.expectBoxes);
        EXPECT_EQ(d.ws.sent.size(), c.expectPastes);
        EXPECT_EQ(d.ws.raised, std::vector<Hwnd>{d.editWindow});
    }
}

TEST(Bridge, BusyClipboardWaitsTheBudgetInGrowingSteps) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    d.ws.clipboardBusy = true;
    EXPECT_FALSE(b.ReplaceSelection("NEW"));
    ASSERT_FALSE(d.ws.waits.empty());
    EXPECT_EQ(d.ws.now, kClipboardPatienceMs);
    EXPECT_EQ(d.ws.waits.front(), kClipboardFirstRetryMs);
    for (std::size_t i = 1; i < d.ws.waits.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_LE(d.ws.waits[i], kClipboardLongestRetryMs);
        EXPECT_LE(d.ws.waits[i], 2 * d.ws.waits[i - 1]);
        if (i + 1 < d.ws.waits.size()) {
            EXPECT_GE(d.ws.waits[i], d.ws.waits[i - 1]);
        }
    }
    // Few enough tries that waiting costs nothing worth naming.
    EXPECT_LE(d.ws.waits.size(), 20u);
}

TEST(Bridge, CommandsInARowBesideAHistoryTool) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().EditorControl = d.editControl;
    b.State().SourceWindow = d.editWindow;
    d.ws.listenerWakeMs = 1;
    d.ws.listenerHoldMs = 100;
    d.ws.SetSelection(d.editControl, "hello there", 0, 11);
    RunCaseCommand(b, CaseRule::Upper);
    ASSERT_EQ(d.ws.Window(d.editControl).text, "HELLO THERE");
    d.ws.SetSelection(d.editControl, "HELLO THERE", 0, 11);
    mnuCommentSlashClick(b);
    EXPECT_EQ(d.ws.Window(d.editControl).text, "//HELLO THERE");
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST(Bridge, ReplaceSelectionPastesAndRaises) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().EditorControl = d.editControl;
    b.State().SourceWindow = d.otherApp;
    d.ws.SetSelection(d.editControl, "a sel b", 2, 5);

    EXPECT_TRUE(b.ReplaceSelection("NEW"));
    EXPECT_EQ(d.ws.Window(d.editControl).text, "a NEW b");
    EXPECT_EQ(d.ws.clipText(), "NEW");
    EXPECT_EQ(d.ws.raised, std::vector<Hwnd>{d.otherApp});
    EXPECT_TRUE(d.boxes.shown.empty());
}

TEST(Bridge, TimerTicks) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    const Hwnd toolbar = d.ws.AddWindow("TForm1");
    const Hwnd dialog = d.ws.AddWindow("TfrmIndent");
    d.ws.Window(toolbar).ownProcess = true;
    d.ws.Window(dialog).ownProcess = true;

    d.ws.foreground = d.editWindow;
    b.Timer1Timer();
    EXPECT_EQ(b.State().SourceWindow, d.editWindow);

    for (Hwnd own : {toolbar, dialog}) {
        d.ws.foreground = own;
        b.Timer1Timer();
        EXPECT_EQ(b.State().SourceWindow, d.editWindow) << "own window " << own;
    }

    d.ws.foreground = 0;
    b.Timer1Timer();
    EXPECT_EQ(b.State().SourceWindow, 0u);

    b.State().LockedWindow = d.editControl;
    d.ws.foreground = d.otherApp;
    b.Timer1Timer();
    EXPECT_EQ(b.State().SourceWindow, d.editControl);
    EXPECT_EQ(b.State().EditorControl, d.editControl);
}

TEST(Bridge, ATickLetsGoOfALockOnAClosedEditor) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    const Hwnd secondWindow = d.ws.AddWindow("TEditWindow", 0, "Unit2.pas");
    const Hwnd secondControl = d.ws.AddWindow("TEditControl", secondWindow);
    d.ws.SetSelection(secondControl, "b", 0, 1);
    d.ws.SetClipboard("old clip");
    b.State().LockedWindow = d.editControl;
    b.Timer1Timer();
    d.ws.Destroy(d.editControl);
    d.ws.foreground = secondWindow;
    b.Timer1Timer();

    EXPECT_EQ(b.State().LockedWindow, 0u);
    EXPECT_EQ(b.State().SourceWindow, secondWindow);
    RunCaseCommand(b, CaseRule::Upper);
    EXPECT_EQ(d.ws.Window(secondControl).text, "B");
    EXPECT_TRUE(d.boxes.shown.empty());
}

// Once a second editor window of the IDE is in front, commands go there, not
// to the hidden one found first; Undo follows the paste it takes back.
TEST(Bridge, TheEditorWindowInFrontGetsTheCommand) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    const Hwnd secondWindow = d.ws.AddWindow("TEditWindow", 0, "Unit1.pas (2)");
    const Hwnd secondControl = d.ws.AddWindow("TEditControl", secondWindow);
    d.ws.SetSelection(d.editControl, "a", 0, 1);
    d.ws.SetSelection(secondControl, "b", 0, 1);
    d.ws.foreground = d.editWindow;
    b.Timer1Timer();
    RunCaseCommand(b, CaseRule::Upper);
    ASSERT_EQ(d.ws.Window(d.editControl).text, "A");

    d.ws.foreground = secondWindow;
    b.Timer1Timer();
    RunCaseCommand(b, CaseRule::Upper);
    EXPECT_EQ(d.ws.Window(secondControl).text, "B");
    EXPECT_EQ(d.ws.Window(d.editControl).text, "A");

    // Another program in front keeps the control of the last editor window.
    d.ws.foreground = d.otherApp;
    b.Timer1Timer();
    d.ws.SetSelection(secondControl, "c", 0, 1);
    RunCaseCommand(b, CaseRule::Upper);
    EXPECT_EQ(d.ws.Window(secondControl).text, "C");
    EXPECT_TRUE(d.boxes.shown.empty());

    // The first window in front again, with nothing selected there: no paste,
    // so Undo still takes back the paste in the second window.
    d.ws.SetSelection(d.editControl, "A", 1, 1);
    d.ws.foreground = d.editWindow;
    b.Timer1Timer();
    RunCaseCommand(b, CaseRule::Upper);
    b.mnuUndoClick();
    EXPECT_EQ(d.ws.sent.back(), (SentMessage{secondControl, EditMessage::Undo}));
    EXPECT_EQ(d.ws.Window(secondControl).text, "c");
    EXPECT_EQ(d.ws.Window(d.editControl).text, "A");
}

TEST(Bridge, EditorClosedBeforeThePaste) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.State().EditorControl = d.editControl;
    b.State().SourceWindow = d.editWindow;
    d.ws.Destroy(d.editControl);

    EXPECT_FALSE(b.ReplaceSelection("result"));
    EXPECT_TRUE(d.ws.sent.empty());
    EXPECT_EQ(d.ws.clipText(), "result");
    EXPECT_TRUE(d.ws.ClipboardTextKept());
    EXPECT_EQ(d.boxes.shown, (std::vector<ShownBox>{{kMsgEditorClosed, kCapEditorClosed}}));
}

// A program that opens the clipboard for a moment, often: a copy that meets
// it copies nothing, and it has let go before the toolbar looks. The
// selection is never taken for empty, and no paste is sent into its way.
TEST(Bridge, AMomentaryHolderIsNoEmptySelection) {
    struct Row {
        const char* name;
        std::size_t selEnd;  // the selection starts at 0 in "keep"
        unsigned period;     // the holder opens the clipboard every `period` ms for 1 ms; 0: only at the first copy
        bool someRewritten;  // else each command ends in Clipboard busy
    };
    const Row rows[] = {
        {"held just while the editor copies", 4, 0, true},
        {"a poller now and then", 4, 23, true},
        {"a poller that leaves no moment for a paste", 4, 3, false},
        {"a poller, nothing selected: no evidence of it, so busy", 0, 3, false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        Desk d;
        EditorBridge b(d.ws, d.boxes);
        b.State().EditorControl = d.editControl;
        b.State().SourceWindow = d.editWindow;
        d.ws.copyMs = 1;
        if (r.period == 0) d.ws.holds = {{1, 2}};
        for (std::uint64_t t = 0; r.period != 0 && t < 100000; t += r.period) d.ws.holds.push_back({t + 1, t + 2});
        int rewritten = 0;
        for (int command = 1; command <= 12; ++command) {
            SCOPED_TRACE(command);
            d.boxes.shown.clear();
            d.ws.SetSelection(d.editControl, "keep", 0, r.selEnd);
            mnuCommentBraceClick(b);
            const std::string text = d.ws.Window(d.editControl).text;
            if (text == "{ keep }") {
                EXPECT_TRUE(d.boxes.shown.empty());
                ++rewritten;
            } else {
                EXPECT_EQ(text, "keep");
                EXPECT_EQ(d.boxes.shown, std::vector<ShownBox>{kBusy});
            }
        }
        EXPECT_EQ(rewritten > 0, r.someRewritten);
    }
}

TEST(Bridge, Undo) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    b.mnuUndoClick();  // no control known yet
    EXPECT_TRUE(d.ws.sent.empty());

    b.State().EditorControl = d.editControl;
    b.mnuUndoClick();
    EXPECT_EQ(d.ws.sent, (std::vector<SentMessage>{{d.editControl, EditMessage::Undo}}));

    d.ws.Destroy(d.editControl);
    b.mnuUndoClick();
    EXPECT_EQ(d.ws.sent.size(), 1u);
    EXPECT_TRUE(d.ws.raised.empty());
}

// Reset runs when the toolbar starts: the next command searches the editor
// window in front again, however the bridge was left.
TEST(Bridge, ResetForgetsTheControlAndTheLock) {
    Desk d;
    EditorBridge b(d.ws, d.boxes);
    const Hwnd oldControl = d.ws.AddWindow("TEditControl", d.ws.AddWindow("TEditWindow"));
    d.ws.SetSelection(oldControl, "old", 0, 3);
    d.ws.SetSelection(d.editControl, "abc", 0, 3);
    b.State().EditorControl = oldControl;
    b.State().LockedWindow = oldControl;
    b.Reset();

    d.ws.foreground = d.editWindow;
    b.Timer1Timer();
    RunCaseCommand(b, CaseRule::Upper);
    EXPECT_EQ(d.ws.Window(d.editControl).text, "ABC");
    EXPECT_EQ(d.ws.Window(oldControl).text, "old");
}

}  // namespace
}  // namespace snipkit::testing
