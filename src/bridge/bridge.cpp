#include "bridge/bridge.h"

#include <algorithm>

namespace snipkit {

void EditorBridge::Reset() {
    state_.CopyDone = false;
    state_.EditorControl = 0;
    state_.LockedWindow = 0;
}

void EditorBridge::Timer1Timer() {
    if (state_.LockedWindow != 0) {
        if (ws_.IsWindow(state_.LockedWindow)) {
            state_.SourceWindow = state_.LockedWindow;
            state_.EditorControl = state_.LockedWindow;
            return;
        }
        // The locked editor was closed: a lock on nothing would only refuse
        // every command, so it is let go and the foreground followed again.
        state_.LockedWindow = 0;
    }
    const Hwnd w = ws_.ForegroundWindow();
    // Our own dialogs and message boxes must never become the window we paste
    // back into, or the user would land in a hidden dialog instead of the editor.
    if (w != state_.SourceWindow && (w == 0 || !ws_.IsOwnProcessWindow(w))) {
        state_.SourceWindow = w;
    }
}

// The known control serves whichever program is in front, but another
// editor window of the IDE in front is where the user wants the command.
bool EditorBridge::NeedsSearch() {
    const Hwnd control = state_.EditorControl;
    if (control == 0 || !ws_.IsWindow(control)) return true;
    const Hwnd source = state_.SourceWindow;
    return source != 0 && source != ws_.Parent(control) && ws_.ClassName(source) == kEditWindowClass;
}

// Searches the direct children of SourceWindow for the editing control.
// Returns false (after telling the user) when SourceWindow is no editor window.
bool EditorBridge::FindEditorControl() {
    if (ws_.ClassName(state_.SourceWindow) != kEditWindowClass) {
        boxes_.MsgBox(kMsgNotEditWindow, kCapNotEditWindow);
        return false;
    }
    state_.EditorControl = 0;
    for (Hwnd child = ws_.FirstChild(state_.SourceWindow); child != 0; child = ws_.NextSibling(child)) {
        if (ws_.ClassName(child) == kEditControlClass) {
            state_.EditorControl = child;
            break;
        }
    }
    return true;
}

bool EditorBridge::Patiently(const std::function<bool()>& attempt) {
    const std::uint64_t start = ws_.Milliseconds();
    unsigned pause = kClipboardFirstRetryMs;
    for (;;) {
        if (attempt()) return true;
        const std::uint64_t spent = ws_.Milliseconds() - start;
        if (spent >= kClipboardPatienceMs) return false;
        ws_.Wait(static_cast<unsigned>(std::min<std::uint64_t>(pause, kClipboardPatienceMs - spent)));
        pause = std::min(pause * 2, kClipboardLongestRetryMs);
    }
}

// Free for `quietMs` on end, tried within the budget. After a change of our
// own that is long enough for the listeners it woke to show up; before a
// paste it also keeps a program that opens the clipboard often from being
// there when the editor opens it, which would lose the paste unseen.
bool EditorBridge::WaitClipboardQuiet(unsigned quietMs) {
    return Patiently([&] { return ws_.ClipboardStaysFree(quietMs); });
}

// The editor opens the clipboard itself to copy and copies nothing while
// another program holds it, which leaves the sequence number as unchanged as
// an empty selection does. So the copy goes to a free clipboard, and an
// unchanged number is believed to mean "nothing selected" only after several
// copies, each with the clipboard seen free just before and for a while
// after: a program that opened it during the copy and let go at once is
// seen at its next opening. Without that evidence within the budget the
// clipboard counts as busy.
EditorBridge::CopyOutcome EditorBridge::CopyFromEditor(Hwnd control, bool afterOwnChange) {
    const std::uint64_t start = ws_.Milliseconds();
    unsigned pause = kClipboardFirstRetryMs;
    int unchangedQuietCopies = 0;
    for (bool first = true;; first = false) {
        if (!WaitClipboardQuiet(afterOwnChange && first ? kListenerWakeMs : 0)) return CopyOutcome::Busy;
        const std::uint32_t before = ws_.ClipboardSequence();
        ws_.Send(control, EditMessage::Copy);
        if (ws_.ClipboardSequence() != before) return CopyOutcome::Copied;
        if (ws_.ClipboardStaysFree(kQuietAfterCopyMs)) {
            if (++unchangedQuietCopies == kUnchangedCopiesForNothingSelected) return CopyOutcome::NothingSelected;
        } else {
            unchangedQuietCopies = 0;
            // Someone opens the clipboard now and then: copy again, but not
            // in a tight loop.
            ws_.Wait(pause);
            pause = std::min(pause * 2, kClipboardLongestRetryMs);
        }
        if (ws_.Milliseconds() - start >= kClipboardPatienceMs) return CopyOutcome::Busy;
    }
}

bool EditorBridge::CaptureSelection(bool readText) {
    bool emptied = false;
    if (NeedsSearch()) {
        if (state_.SourceWindow == 0) return !readText;
        if (!FindEditorControl()) return false;
        // Emptied only once the copy is sure to follow: a refused command
        // leaves the user's clipboard alone. Without reading, nothing
        // depends on it.
        if (state_.EditorControl != 0) {
            emptied = Patiently([this] { return ws_.EmptyClipboard(); });
            if (!emptied && readText) {
                boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
                return false;
            }
        }
    }
    const Hwnd control = state_.EditorControl;
    if (!readText) {
        // The copy only has to reach the editor; nothing waits for it.
        if (control != 0) ws_.Send(control, EditMessage::Copy);
        return true;
    }
    if (control == 0) {
        // An editor window without its control: nothing to copy from.
        boxes_.MsgBox(kMsgNoData, kCapNoData);
        return false;
    }

    state_.CopyDone = true;
    const CopyOutcome outcome = CopyFromEditor(control, emptied);
    ClipboardText clip;
    const bool read =
        outcome == CopyOutcome::Copied && Patiently([&] { return !(clip = ws_.ReadClipboardText()).busy; });
    state_.CopyDone = false;

    if (outcome == CopyOutcome::NothingSelected) {
        state_.WorkText.clear();
        return true;
    }
    if (!read) {
        boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
        return false;
    }
    if (!clip.hasText) {
        boxes_.MsgBox(kMsgNoData, kCapNoData);
        return false;
    }
    state_.WorkText = std::move(clip.text);
    return true;
}

// The editor opens the clipboard itself to paste and pastes nothing when
// another program has it at that moment. Our text is handed over only when
// asked for, so such a paste shows as a text nobody took, and is sent again
// once the clipboard is quiet. A text another program took first leaves
// nothing to see; the paste is then trusted.
bool EditorBridge::PasteIntoEditor(Hwnd control) {
    const std::uint64_t start = ws_.Milliseconds();
    for (;;) {
        if (!WaitClipboardQuiet(kListenerWakeMs)) return false;
        const bool takenBefore = ws_.ClipboardTextTaken();
        ws_.Send(control, EditMessage::Paste);
        if (takenBefore || ws_.ClipboardTextTaken()) return true;
        if (ws_.Milliseconds() - start >= kClipboardPatienceMs) return false;
    }
}

bool EditorBridge::ReplaceSelection(const std::string& text) {
    // Pasting without our text on the clipboard would insert whatever it held
    // before; pasting while another program holds it pastes nothing, as the
    // editor opens the clipboard itself. Our own write has just woken every
    // clipboard listener (history tools), which now opens it to read.
    const Hwnd control = state_.EditorControl;
    bool pasted = false;
    if (!Patiently([&] { return ws_.WriteClipboardText(text); })) {
        boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
    } else if (control != 0 && !ws_.IsWindow(control)) {
        // Closed while the command ran (a dialog was open, say): the text is
        // not lost, and the user should know where it is.
        boxes_.MsgBox(kMsgEditorClosed, kCapEditorClosed);
    } else if (control != 0 && !PasteIntoEditor(control)) {
        boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
    } else {
        if (control != 0) state_.PastedControl = control;
        pasted = true;
    }
    // Whatever became of the paste, the text now stays on the clipboard for
    // good; the user may want it elsewhere.
    ws_.KeepClipboardText();
    ws_.RaiseWindow(state_.SourceWindow);
    return pasted;
}

void EditorBridge::mnuUndoClick() {
    // Undo takes back our last paste, so it goes where that paste went,
    // whichever editor window is in front by now.
    const Hwnd target = state_.PastedControl != 0 ? state_.PastedControl : state_.EditorControl;
    if (target != 0 && ws_.IsWindow(target)) {
        ws_.Send(target, EditMessage::Undo);
    }
}

}  // namespace snipkit
