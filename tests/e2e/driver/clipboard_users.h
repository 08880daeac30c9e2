// Other programs at the clipboard, each run by a thread of the driver's own:
// one that holds the clipboard open for a while, and a clipboard history tool
// that opens it after every change, as Windows' own (Win+V) and others do.
#pragma once

#include <windows.h>

#include <atomic>

namespace e2e {

// Opens the clipboard when told to and keeps it for holdMs, or, with holdMs
// 0, until released.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD holdMs);
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    // Opens the clipboard and returns once it is open.
    void GrabNow();
    bool grabbed() const { return grabbed_; }
    bool released() const { return released_; }
    void Release() { SetEvent(release_); }

private:
    static DWORD WINAPI Main(void* self);
    void Hold();

    DWORD holdMs_;
    HANDLE start_ = nullptr;
    HANDLE opened_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> grabbed_{false};
    std::atomic<bool> released_{false};
};

// A clipboard history tool: a hidden window registered with
// AddClipboardFormatListener. At every WM_CLIPBOARDUPDATE it opens the
// clipboard (trying again while another program has it), reads the formats
// and the text on offer, and keeps the clipboard open for holdMs.
class ClipboardHistoryTool {
public:
    explicit ClipboardHistoryTool(DWORD holdMs);
    ~ClipboardHistoryTool();
    ClipboardHistoryTool(const ClipboardHistoryTool&) = delete;
    ClipboardHistoryTool& operator=(const ClipboardHistoryTool&) = delete;

    // True once the window is registered as a listener.
    bool listening() const { return listening_; }
    // WM_CLIPBOARDUPDATE received so far.
    int updates() const { return updates_; }
    // Times it had the clipboard open for holdMs, so far.
    int holds() const { return holds_; }
    // True while it has the clipboard open.
    bool holding() const { return holding_; }

private:
    static DWORD WINAPI Main(void* self);
    static LRESULT CALLBACK WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    void ReadAndHold(HWND w);

    DWORD holdMs_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND window_ = nullptr;
    std::atomic<bool> listening_{false};
    std::atomic<bool> holding_{false};
    std::atomic<int> updates_{0};
    std::atomic<int> holds_{0};
};

}  // namespace e2e
