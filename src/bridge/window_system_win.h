// The window-system and clipboard calls of the editor bridge, on Win32.
#pragma once

#include <windows.h>

#include <string>

#include "bridge/window_system.h"

namespace snipkit::win {

// The clipboard, open for as long as the scope lives. Opening is tried once;
// how long to wait for another program that holds it is the bridge's matter.
class ClipboardScope {
public:
    explicit ClipboardScope(HWND owner);
    ~ClipboardScope();
    ClipboardScope(const ClipboardScope&) = delete;
    ClipboardScope& operator=(const ClipboardScope&) = delete;
    ClipboardScope(ClipboardScope&& other) noexcept;
    ClipboardScope& operator=(ClipboardScope&&) = delete;

    bool IsOpen() const { return open_; }

private:
    bool open_ = false;
};

// A locked global memory block, unlocked when the scope ends.
class GlobalLockScope {
public:
    explicit GlobalLockScope(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockScope() {
        if (data_ != nullptr) GlobalUnlock(block_);
    }
    GlobalLockScope(const GlobalLockScope&) = delete;
    GlobalLockScope& operator=(const GlobalLockScope&) = delete;
    GlobalLockScope(GlobalLockScope&& other) noexcept : block_(other.block_), data_(other.data_) {
        other.data_ = nullptr;
    }
    GlobalLockScope& operator=(GlobalLockScope&&) = delete;

    void* Data() const { return data_; }

private:
    HGLOBAL block_;
    void* data_;
};

class Win32WindowSystem : public WindowSystem {
public:
    // The window that owns the clipboard while this program writes it.
    void SetClipboardOwner(HWND owner) { clipboardOwner_ = owner; }

    Hwnd ForegroundWindow() override;
    bool IsWindow(Hwnd w) override;
    bool IsOwnProcessWindow(Hwnd w) override;
    std::string ClassName(Hwnd w) override;
    std::string WindowTitle(Hwnd w, std::size_t maxChars) override;
    Hwnd Parent(Hwnd w) override;
    Hwnd FirstChild(Hwnd w) override;
    Hwnd NextSibling(Hwnd w) override;
    Hwnd TopLevelOf(Hwnd w) override;
    void Send(Hwnd w, EditMessage m) override;
    void RaiseWindow(Hwnd w) override;

    std::uint32_t ClipboardSequence() override;
    bool ClipboardStaysFree(unsigned ms) override;
    bool EmptyClipboard() override;
    ClipboardText ReadClipboardText() override;
    bool WriteClipboardText(const std::string& text) override;
    bool ClipboardTextTaken() override { return taken_; }
    void KeepClipboardText() override;
    // The clipboard owner's messages (WM_RENDERFORMAT, WM_RENDERALLFORMATS,
    // WM_DESTROYCLIPBOARD), for the owner window to pass on; true when handled.
    bool OnClipboardMessage(UINT msg, WPARAM wp);

    std::uint64_t Milliseconds() override;
    void Wait(unsigned ms) override;

private:
    // One look: the clipboard opened and closed again.
    bool ClipboardFree();
    void RenderText();

    HWND clipboardOwner_ = nullptr;
    std::wstring pending_;  // our text on the clipboard, until asked for
    bool taken_ = true;
};

}  // namespace snipkit::win
