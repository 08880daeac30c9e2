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
        state_.SourceWindow = state_.LockedWindow;
        state_.EditorControl = state_.LockedWindow;
        return;
    }
    const Hwnd w = ws_.ForegroundWindow();
    // Our own dialogs and message boxes must never become the window we paste
    // back into, or the user would land in a hidden dialog instead of the editor.
    if (w != state_.SourceWindow && (w == 0 || !ws_.IsOwnProcessWindow(w))) {
        state_.SourceWindow = w;
    }
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

bool EditorBridge::WaitClipboardFree(bool afterOwnChange) {
    if (afterOwnChange) ws_.Wait(kListenerWakeMs);
    return Patiently([this] { return ws_.ClipboardFree(); });
}

// The editor opens the clipboard itself to copy and copies nothing while
// another program holds it, which leaves the sequence number as unchanged as
// an empty selection does. So the copy goes to a free clipboard, and an
// unchanged number means "nothing selected" only when the clipboard is still
// free afterwards; otherwise the copy is sent once more when it is free again.
EditorBridge::CopyOutcome EditorBridge::CopyFromEditor(Hwnd control, bool afterOwnChange) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        if (!WaitClipboardFree(afterOwnChange && attempt == 0)) return CopyOutcome::Busy;
        const std::uint32_t before = ws_.ClipboardSequence();
        ws_.Send(control, EditMessage::Copy);
        if (ws_.ClipboardSequence() != before) return CopyOutcome::Copied;
        if (ws_.ClipboardFree()) return CopyOutcome::NothingSelected;
    }
    return CopyOutcome::Busy;
}

bool EditorBridge::CaptureSelection(bool readText) {
    bool emptied = false;
    if (state_.EditorControl == 0 || !ws_.IsWindow(state_.EditorControl)) {
        if (state_.SourceWindow == 0) return false;
        // Emptied before the class test, so a stale text is never taken for
        // the selection. Without reading, nothing depends on it.
        emptied = Patiently([this] { return ws_.EmptyClipboard(); });
        if (!emptied && readText) {
            boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
            return false;
        }
        if (!FindEditorControl()) return false;
    }
    const Hwnd control = state_.EditorControl;
    if (!readText) {
        // The copy only has to reach the editor; nothing waits for it.
        if (control != 0) ws_.Send(control, EditMessage::Copy);
        return control != 0;
    }
    if (control == 0) {
        // An editor window without its control: the emptied clipboard offers nothing.
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

bool EditorBridge::ReplaceSelection(const std::string& text) {
    // Pasting without our text on the clipboard would insert whatever it held
    // before; pasting while another program holds it pastes nothing, as the
    // editor opens the clipboard itself. Our own write has just woken every
    // clipboard listener (history tools), which now opens it to read.
    const bool free = Patiently([&] { return ws_.WriteClipboardText(text); }) &&
                      (state_.EditorControl == 0 || WaitClipboardFree(true));
    if (!free) {
        boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
    } else if (state_.EditorControl != 0) {
        ws_.Send(state_.EditorControl, EditMessage::Paste);
    }
    ws_.RaiseWindow(state_.SourceWindow);
    return free;
}

void EditorBridge::mnuUndoClick() {
    if (state_.EditorControl != 0 && ws_.IsWindow(state_.EditorControl)) {
        ws_.Send(state_.EditorControl, EditMessage::Undo);
    }
}

}  // namespace snipkit
