// The editor bridge: tracks the window the user works in, copies the editor's
// selection out through the clipboard and pastes text back over it.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "bridge/window_system.h"

namespace snipkit {

inline constexpr const char* kEditWindowClass = "TEditWindow";
inline constexpr const char* kEditControlClass = "TEditControl";

inline constexpr const char* kMsgNotEditWindow = "Source window was not a Delphi TEditWindow.";
inline constexpr const char* kCapNotEditWindow = "Could not copy";
inline constexpr const char* kMsgNoData = "No data found on clipboard.";
inline constexpr const char* kCapNoData = "Empty clipboard?";
inline constexpr const char* kMsgClipboardBusy =
    "The clipboard is in use by another program; nothing was pasted.";
inline constexpr const char* kCapClipboardBusy = "Clipboard busy";
inline constexpr const char* kMsgEditorClosed =
    "The editor window was closed, so nothing was pasted. The text is left on the clipboard.";
inline constexpr const char* kCapEditorClosed = "Editor closed";

// How long, in all, one step of a command waits for another program to let
// go of the clipboard before kMsgClipboardBusy. Clipboard history tools open
// it after every change, the editor's copy and our own write included, and
// keep it for up to a hundred milliseconds or so.
inline constexpr unsigned kClipboardPatienceMs = 500;
// The waits between tries: from the first, doubling up to the longest, so a
// short hold costs little and a long one few tries.
inline constexpr unsigned kClipboardFirstRetryMs = 1;
inline constexpr unsigned kClipboardLongestRetryMs = 50;
// After a change of our own, and before every paste: how long the clipboard
// must stay free, time for the listeners our change woke to open it, and for
// a program that opens it often to show itself.
inline constexpr unsigned kListenerWakeMs = 10;
// A copy that leaves the clipboard as it was means "nothing selected" only
// when no other program can have had the clipboard during it: so many copies
// in a row, each followed by this long with the clipboard free. A program
// that opens the clipboard for a moment and lets go again would otherwise
// pass for an empty selection.
inline constexpr int kUnchangedCopiesForNothingSelected = 3;
inline constexpr unsigned kQuietAfterCopyMs = 10;

// The program-wide state the commands share.
struct BridgeState {
    std::string WorkText;    // UTF-8, lines separated by CR LF
    Hwnd SourceWindow = 0;   // last foreground window outside this program
    Hwnd EditorControl = 0;  // the editing control found by the last search
    Hwnd LockedWindow = 0;   // when set, the bridge works with this control alone
    bool CopyDone = false;   // true only inside one capture
    Hwnd PastedControl = 0;  // where the last paste went, for Undo
};

class EditorBridge {
public:
    EditorBridge(WindowSystem& ws, MessageBoxes& boxes) : ws_(ws), boxes_(boxes) {}

    // Reset done when the toolbar form is created.
    void Reset();

    void Timer1Timer();

    // Makes the editor copy its selection; with readText, reads it into
    // WorkText (empty when nothing is selected). False means the command
    // ends here: with readText, no selection could be read (a message has
    // been shown, or no editor is known) and WorkText is unchanged; without,
    // a message has been shown.
    bool CaptureSelection(bool readText);

    // Puts text on the clipboard, makes the editor paste it and raises
    // SourceWindow. Returns false when nothing was pasted and the user has
    // been told why: another program kept the clipboard (kMsgClipboardBusy),
    // or the editor control is gone (kMsgEditorClosed; the text stays on the
    // clipboard).
    bool ReplaceSelection(const std::string& text);

    void mnuUndoClick();

    BridgeState& State() { return state_; }
    const BridgeState& State() const { return state_; }

private:
    enum class CopyOutcome { Copied, NothingSelected, Busy };

    bool NeedsSearch();
    bool FindEditorControl();
    CopyOutcome CopyFromEditor(Hwnd control, bool afterOwnChange);
    bool Patiently(const std::function<bool()>& attempt);
    bool WaitClipboardQuiet(unsigned quietMs);
    bool PasteIntoEditor(Hwnd control);

    WindowSystem& ws_;
    MessageBoxes& boxes_;
    BridgeState state_;
};

}  // namespace snipkit
