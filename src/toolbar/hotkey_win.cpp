#include "toolbar/hotkey_win.h"

namespace snipkit::win {

bool Win32HotKeys::Register(const HotKey& key) {
    return RegisterHotKey(owner_, kEditorKeyId, key.modifiers, key.key) != FALSE;
}

void Win32HotKeys::Unregister() { UnregisterHotKey(owner_, kEditorKeyId); }

// Out of context: the calls come through this thread's message loop, so
// nothing is loaded into other programs. Wine 8 sends no foreground event;
// there the focus event that a control sends when it gets the focus, as an
// editor does when its window comes to the front, serves instead.
ForegroundHook::ForegroundHook(WINEVENTPROC proc)
    : foreground_(SetWinEventHook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND, nullptr, proc, 0, 0,
                                  WINEVENT_OUTOFCONTEXT)),
      focus_(SetWinEventHook(EVENT_OBJECT_FOCUS, EVENT_OBJECT_FOCUS, nullptr, proc, 0, 0, WINEVENT_OUTOFCONTEXT)) {}

ForegroundHook::~ForegroundHook() {
    if (foreground_ != nullptr) UnhookWinEvent(foreground_);
    if (focus_ != nullptr) UnhookWinEvent(focus_);
}

POINT CaretOrPointer(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    POINT at{};
    if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) && info.hwndCaret != nullptr) {
        // Below the caret, so the menu leaves the line being worked on in sight.
        at = {info.rcCaret.left, info.rcCaret.bottom};
        if (ClientToScreen(info.hwndCaret, &at)) return at;
    }
    GetCursorPos(&at);
    return at;
}

}  // namespace snipkit::win
