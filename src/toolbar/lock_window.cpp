#include "toolbar/lock_window.h"

namespace snipkit {

std::string LockQuestion(const std::string& title) {
    return "Would you like to lock the Snipkit to the window \"" + title +
           "\"?  Clicking NO will unlock Snipkit from its current window.";
}

void mnuLockWinClick(EditorBridge& bridge, WindowSystem& ws, MessageBoxes& boxes, bool& lockChecked) {
    bridge.CaptureSelection(false);
    BridgeState& s = bridge.State();
    const std::string title = s.SourceWindow != 0 ? ws.WindowTitle(s.SourceWindow, kLockTitleMaxChars) : "";
    switch (boxes.MsgBoxYesNoCancel(LockQuestion(title), kCapLockToWindow)) {
        case kIdYes:
            // Only a live editor control can be locked to; with none found
            // nothing is locked, and the check mark does not pretend it is.
            s.LockedWindow = ws.IsWindow(s.EditorControl) ? s.EditorControl : 0;
            lockChecked = s.LockedWindow != 0;
            break;
        case kIdNo:
            s.LockedWindow = 0;
            lockChecked = false;
            break;
        default:
            break;
    }
}

}  // namespace snipkit
