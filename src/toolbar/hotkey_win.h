// The keyboard key on Win32: its registration, the hook that follows the
// foreground window, and where the key's menu opens.
#pragma once

#include <windows.h>

#include "toolbar/hotkey.h"

namespace snipkit::win {

// The id of the one hotkey, in WM_HOTKEY's wParam.
inline constexpr int kEditorKeyId = 1;

class Win32HotKeys : public HotKeys {
public:
    // WM_HOTKEY goes to this window.
    void SetOwner(HWND owner) { owner_ = owner; }
    bool Register(const HotKey& key) override;
    void Unregister() override;

private:
    HWND owner_ = nullptr;
};

// Calls `proc` on this thread, from its message loop, each time a window
// comes to the front, and each time the focus moves; unhooked with the object.
class ForegroundHook {
public:
    explicit ForegroundHook(WINEVENTPROC proc);
    ~ForegroundHook();
    ForegroundHook(const ForegroundHook&) = delete;
    ForegroundHook& operator=(const ForegroundHook&) = delete;

private:
    HWINEVENTHOOK foreground_ = nullptr;
    HWINEVENTHOOK focus_ = nullptr;
};

// Just below the caret of the thread that owns `window`, in screen
// coordinates; the pointer's place when that thread shows no caret.
POINT CaretOrPointer(HWND window);

}  // namespace snipkit::win
