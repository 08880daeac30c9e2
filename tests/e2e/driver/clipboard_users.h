// Other programs at the clipboard, each run by a thread of the driver's own:
// an editor that takes a paste in milliseconds, one that holds the clipboard
// open for a while, one that opens it briefly and often, and a clipboard
// history tool that opens it after every change, as Windows' own (Win+V) and
// others do.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "steps.h"

namespace e2e {

// Each runs a thread of its own, which a copy could not share.
struct NotCopied {
    NotCopied() = default;
    NotCopied(const NotCopied&) = delete;
    NotCopied& operator=(const NotCopied&) = delete;
};

// An editor window with the IDE's class names. Its whole text is always the
// selection; WM_COPY and WM_PASTE move it through the clipboard. It takes a
// paste in milliseconds, where the system edit control under Wine takes
// seconds per megabyte, so that hundreds of commands fit in a test run.
class QuickEditor : NotCopied {
public:
    // Fails the step when the window does not come up.
    QuickEditor(Run& run, const std::string& text);
    ~QuickEditor();

    HWND frame() const { return frame_; }
    // Runs on the editor's thread at every WM_COPY, once the copy is on the
    // clipboard and before the program that asked for it goes on.
    void OnCopied(std::function<void()> fn);
    // Runs on the editor's thread at every WM_COPY before the editor opens
    // the clipboard. While one is set, the copy opens the clipboard once, as
    // an edit control does, and copies nothing when another program has it.
    void OnCopying(std::function<void()> fn);
    void SetText(const std::string& utf8);
    std::string Text();
    int copies() const { return copies_; }
    int pastes() const { return pastes_; }

private:
    static LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static LRESULT CALLBACK ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
    static DWORD WINAPI Main(void* self);
    void Copy(HWND w);
    void Paste(HWND w);

    CRITICAL_SECTION lock_;
    std::wstring text_;
    std::function<void()> onCopied_;
    std::function<void()> onCopying_;
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND frame_ = nullptr;
    std::atomic<int> copies_{0};
    std::atomic<int> pastes_{0};
};

// Opens the clipboard when told to and keeps it for holdMs, or, with holdMs
// 0, until released.
class ClipboardHolder : NotCopied {
public:
    explicit ClipboardHolder(DWORD holdMs);
    ~ClipboardHolder();

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

// A program that opens the clipboard briefly and often, as clipboard
// pollers and the clipboard sync of remote desktops and virtual machines do:
// every periodUs it opens it (trying again while another program has it),
// keeps it for holdUs and lets go. Times are kept by spinning, as sleeps
// are longer than a millisecond.
class ClipboardPoller : NotCopied {
public:
    ClipboardPoller(DWORD holdUs, DWORD periodUs);
    ~ClipboardPoller();

    // Times it had the clipboard open, so far.
    int opens() const { return opens_; }

private:
    static DWORD WINAPI Main(void* self);
    void Poll();

    DWORD holdUs_;
    DWORD periodUs_;
    HANDLE thread_ = nullptr;
    std::atomic<bool> stop_{false};
    std::atomic<int> opens_{0};
};

// A clipboard history tool: a hidden window registered with
// AddClipboardFormatListener. At every WM_CLIPBOARDUPDATE it opens the
// clipboard (trying again while another program has it), reads the formats
// and the text on offer, and keeps the clipboard open for holdMs.
class ClipboardHistoryTool : NotCopied {
public:
    explicit ClipboardHistoryTool(DWORD holdMs);
    ~ClipboardHistoryTool();

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
