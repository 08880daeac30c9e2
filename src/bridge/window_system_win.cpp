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

Hwnd Win32WindowSystem::Parent(Hwnd w) {
    if (w == 0) return 0;
    // GetParent would give a top-level window's owner; a top-level window's
    // ancestor is the desktop.
    const HWND parent = GetAncestor(ToHwnd(w), GA_PARENT);
    return parent == GetDesktopWindow() ? 0 : FromHwnd(parent);
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

bool Win32WindowSystem::ClipboardStaysFree(unsigned ms) {
    // A look every tenth of a millisecond: looks a millisecond apart could
    // all fall between the moments of a program that opens the clipboard
    // for half a millisecond every two.
    LARGE_INTEGER frequency, start, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    const LONGLONG span = frequency.QuadPart * ms / 1000;
    const LONGLONG step = frequency.QuadPart / 10000;
    for (LONGLONG next = step;; next += step) {
        if (!ClipboardFree()) return false;
        QueryPerformanceCounter(&now);
        if (now.QuadPart - start.QuadPart >= span) return true;
        // Sent messages are answered meanwhile, as in Wait.
        MSG m;
        PeekMessageW(&m, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
        do {
            YieldProcessor();
            QueryPerformanceCounter(&now);
        } while (now.QuadPart - start.QuadPart < next);
    }
}

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

// The text is offered and handed over when first asked for, so that a
// paste the editor could not make (another program had the clipboard at
// that moment) shows as a text nobody took.
bool Win32WindowSystem::WriteClipboardText(const std::string& text) {
    std::wstring wide = Utf8ToWide(text);
    ClipboardScope clipboard(clipboardOwner_);
    // Emptying tells the old owner, which may be us, to forget its text.
    if (!clipboard.IsOpen() || !::EmptyClipboard()) return false;
    SetClipboardData(CF_UNICODETEXT, nullptr);
    pending_ = std::move(wide);
    taken_ = false;
    return true;
}

void Win32WindowSystem::RenderText() {
    const std::size_t bytes = (pending_.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block == nullptr) return;
    {
        GlobalLockScope lock(block);
        if (lock.Data() == nullptr) {
            GlobalFree(block);
            return;
        }
        std::memcpy(lock.Data(), pending_.c_str(), bytes);
    }
    if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
        GlobalFree(block);
        return;
    }
    taken_ = true;  // the clipboard owns the block now
}

void Win32WindowSystem::KeepClipboardText() {
    if (taken_) return;
    ClipboardScope clipboard(clipboardOwner_);
    if (clipboard.IsOpen() && GetClipboardOwner() == clipboardOwner_) RenderText();
}

bool Win32WindowSystem::OnClipboardMessage(UINT msg, WPARAM wp) {
    switch (msg) {
        case WM_RENDERFORMAT:
            // The asking program has the clipboard open.
            if (wp == CF_UNICODETEXT) RenderText();
            return true;
        case WM_RENDERALLFORMATS:
            KeepClipboardText();
            return true;
        case WM_DESTROYCLIPBOARD:
            pending_.clear();
            taken_ = true;
            return true;
        default:
            return false;
    }
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
