#include "app/bridge.h"

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
    // Emptied before the class test, so a stale text is never taken for the selection.
    ws_.EmptyClipboard();
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

bool EditorBridge::CaptureSelection(bool readText) {
    std::uint32_t sequenceBeforeCopy = 0;
    bool copySent = false;
    if (state_.EditorControl != 0 && ws_.IsWindow(state_.EditorControl)) {
        sequenceBeforeCopy = ws_.ClipboardSequence();
        ws_.Send(state_.EditorControl, EditMessage::Copy);
        copySent = true;
        state_.CopyDone = true;
    } else if (state_.SourceWindow != 0) {
        if (!FindEditorControl()) return false;
        sequenceBeforeCopy = ws_.ClipboardSequence();
        if (state_.EditorControl != 0) {
            ws_.Send(state_.EditorControl, EditMessage::Copy);
            copySent = true;
        }
        state_.CopyDone = true;
    } else {
        return false;
    }

    if (!readText) {
        state_.CopyDone = false;
        return copySent;
    }
    state_.CopyDone = false;

    // An editor with nothing selected copies nothing; the sequence number tells
    // that apart from an older text still lying on the clipboard.
    if (copySent && ws_.ClipboardSequence() == sequenceBeforeCopy) {
        state_.WorkText.clear();
        return true;
    }
    ClipboardText clip = ws_.ReadClipboardText();
    if (clip.busy) {
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
    const bool onClipboard = ws_.WriteClipboardText(text);
    if (!onClipboard) {
        // Pasting now would insert whatever the clipboard held before.
        boxes_.MsgBox(kMsgClipboardBusy, kCapClipboardBusy);
    } else if (state_.EditorControl != 0) {
        ws_.Send(state_.EditorControl, EditMessage::Paste);
    }
    ws_.RaiseWindow(state_.SourceWindow);
    return onClipboard;
}

void EditorBridge::mnuUndoClick() {
    if (state_.EditorControl != 0 && ws_.IsWindow(state_.EditorControl)) {
        ws_.Send(state_.EditorControl, EditMessage::Undo);
    }
}

}  // namespace snipkit
