// Other programs the driver plays itself, each on a thread of its own: an
// editor that takes a paste in milliseconds, and a program that keeps the
// clipboard open.
#pragma once

#include <windows.h>

#include <atomic>
#include <functional>
#include <string>

#include "steps.h"

namespace e2e {

// An editor window with the IDE's class names. Its whole text is always the
// selection; WM_COPY and WM_PASTE move it through the clipboard. It takes a
// paste in milliseconds, where the system edit control under Wine takes
// seconds per megabyte, so that hundreds of commands fit in a test run.
class QuickEditor {
public:
    // Fails the step when the window does not come up.
    QuickEditor(Run& run, const std::string& text);
    ~QuickEditor();
    QuickEditor(const QuickEditor&) = delete;
    QuickEditor& operator=(const QuickEditor&) = delete;

    HWND frame() const { return frame_; }
    // Runs on the editor's thread at every WM_COPY, once the copy is on the
    // clipboard and before the program that asked for it goes on.
    void OnCopied(std::function<void()> fn);
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
    HANDLE ready_ = nullptr;
    HANDLE thread_ = nullptr;
    HWND frame_ = nullptr;
    std::atomic<int> copies_{0};
    std::atomic<int> pastes_{0};
};

// Another program holding the clipboard open: it opens it when told to and
// keeps it for holdMs or, with 0, until released.
class ClipboardHolder {
public:
    explicit ClipboardHolder(double holdMs);
    ~ClipboardHolder();
    ClipboardHolder(const ClipboardHolder&) = delete;
    ClipboardHolder& operator=(const ClipboardHolder&) = delete;

    // Opens the clipboard and returns once it is open.
    void GrabNow();
    bool grabbed() const { return grabbed_; }
    bool released() const { return released_; }
    void Release();

private:
    static DWORD WINAPI Main(void* self);
    void Hold();

    double holdMs_;
    HANDLE start_ = nullptr;
    HANDLE opened_ = nullptr;
    HANDLE release_ = nullptr;
    HANDLE thread_ = nullptr;
    std::atomic<bool> grabbed_{false};
    std::atomic<bool> released_{false};
};

}  // namespace e2e
