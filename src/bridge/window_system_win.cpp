#include "bridge/window_system_win.h"

#include <cstring>
#include <string>
#include <string_view>

#include "ui/wide_win.h"

namespace snipkit::win {
namespace {

HWND ToHwnd(Hwnd w) { return reinterpret_cast<HWND>(w); }
Hwnd FromHwnd(HWND w) { return reinterpret_cast<Hwnd>(w); }

}  // namespace

ClipboardScope::ClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}

ClipboardScope::~ClipboardScope() {
    if (open_) CloseClipboard();
}

ClipboardScope::ClipboardScope(ClipboardScope&& other) noexcept : open_(other.open_) { other.open_ = false; }

Hwnd Win32WindowSystem::ForegroundWindow() { return FromHwnd(GetForegroundWindow()); }

bool Win32WindowSystem::IsWindow(Hwnd w) { return w != 0 && ::IsWindow(ToHwnd(w)); }

bool Win32WindowSystem::IsOwnProcessWindow(Hwnd w) {
    DWORD process = 0;
    if (w == 0 || GetWindowThreadProcessId(ToHwnd(w), &process) == 0) return false;
    return process == GetCurrentProcessId();
}

std::string Win32WindowSystem::ClassName(Hwnd w) {
    // A buffer of 100 with a count of 99: at most 98 characters take part.
    wchar_t name[100] = {};
    const int length = GetClassNameW(ToHwnd(w), name, 99);
    return length > 0 ? WideToUtf8(std::wstring_view(name, static_cast<std::size_t>(length))) : std::string();
}

std::string Win32WindowSystem::WindowTitle(Hwnd w, std::size_t maxChars) {
    if (w == 0 || maxChars == 0) return {};
    std::wstring title(maxChars + 1, L'\0');
    const int length = GetWindowTextW(ToHwnd(w), title.data(), static_cast<int>(maxChars + 1));
    if (length <= 0) return {};
    title.resize(static_cast<std::size_t>(length));
    return WideToUtf8(title);
}

Hwnd Win32WindowSystem::FirstChild(Hwnd w) { return w == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(w), GW_CHILD)); }

Hwnd Win32WindowSystem::NextSibling(Hwnd w) { return w == 0 ? 0 : FromHwnd(GetWindow(ToHwnd(w), GW_HWNDNEXT)); }

Hwnd Win32WindowSystem::TopLevelOf(Hwnd w) { return w == 0 ? 0 : FromHwnd(GetAncestor(ToHwnd(w), GA_ROOT)); }

void Win32WindowSystem::Send(Hwnd w, EditMessage m) {
    if (w == 0) return;
    SendMessageW(ToHwnd(w), static_cast<UINT>(m), 0, 0);
}

void Win32WindowSystem::RaiseWindow(Hwnd w) {
    SetWindowPos(ToHwnd(w), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
}

std::uint32_t Win32WindowSystem::ClipboardSequence() { return GetClipboardSequenceNumber(); }

bool Win32WindowSystem::ClipboardFree() { return ClipboardScope(clipboardOwner_).IsOpen(); }

bool Win32WindowSystem::EmptyClipboard() {
    ClipboardScope clipboard(clipboardOwner_);
    return clipboard.IsOpen() && ::EmptyClipboard();
}

ClipboardText Win32WindowSystem::ReadClipboardText() {
    ClipboardText result;
    ClipboardScope clipboard(clipboardOwner_);
    if (!clipboard.IsOpen()) {
        result.busy = true;
        return result;
    }
    // Text put there by an ANSI program is offered as UTF-16 too.
    result.hasText = IsClipboardFormatAvailable(CF_UNICODETEXT) != 0;
    if (!result.hasText) return result;
    HANDLE data = GetClipboardData(CF_UNICODETEXT);
    if (data == nullptr) return result;
    GlobalLockScope lock(data);
    const auto* chars = static_cast<const wchar_t*>(lock.Data());
    if (chars == nullptr) return result;
    // Up to the terminating NUL, but never past the end of the block.
    const std::size_t capacity = GlobalSize(data) / sizeof(wchar_t);
    std::size_t length = 0;
    while (length < capacity && chars[length] != L'\0') ++length;
    result.text = WideToUtf8(std::wstring_view(chars, length));
    return result;
}

bool Win32WindowSystem::WriteClipboardText(const std::string& text) {
    const std::wstring wide = Utf8ToWide(text);
    const std::size_t bytes = (wide.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) return false;
    {
        GlobalLockScope lock(block);
        if (lock.Data() == nullptr) {
            GlobalFree(block);
            return false;
        }
        std::memcpy(lock.Data(), wide.c_str(), bytes);
    }
    ClipboardScope clipboard(clipboardOwner_);
    if (!clipboard.IsOpen() || !::EmptyClipboard() || SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        GlobalFree(block);
        return false;
    }
    return true;  // the clipboard owns the block now
}

std::uint64_t Win32WindowSystem::Milliseconds() {
    // Finer than GetTickCount's 16 ms steps, which are longer than the first waits.
    LARGE_INTEGER frequency, count;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&count);
    return static_cast<std::uint64_t>(count.QuadPart / frequency.QuadPart * 1000 +
                                      count.QuadPart % frequency.QuadPart * 1000 / frequency.QuadPart);
}

void Win32WindowSystem::Wait(unsigned ms) {
    const std::uint64_t until = Milliseconds() + ms;
    for (std::uint64_t now = Milliseconds(); now < until; now = Milliseconds()) {
        // A program that holds the clipboard may be waiting for an answer from
        // us (EmptyClipboard sends WM_DESTROYCLIPBOARD to the owner), so sent
        // messages are handled; posted ones, input and timer ticks stay queued
        // for the message loop.
        if (MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(until - now), QS_SENDMESSAGE) ==
            WAIT_OBJECT_0) {
            MSG m;
            PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        }
    }
}

}  // namespace snipkit::win
