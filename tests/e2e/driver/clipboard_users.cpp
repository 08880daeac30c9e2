#include "clipboard_users.h"

#include <initializer_list>
#include <optional>

#include "../e2e_protocol.h"

namespace e2e {
namespace {

constexpr DWORD kPatienceMs = 10000;

// Another program that wants the clipboard keeps trying until it gets it.
bool OpenClipboardPatiently(HWND owner) {
    const ULONGLONG until = GetTickCount64() + kPatienceMs;
    while (!OpenClipboard(owner)) {
        if (GetTickCount64() >= until) return false;
        Sleep(1);
    }
    return true;
}

// A window class of the driver's own; registering it again fails harmlessly.
void RegisterOwnClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = name;
    RegisterClassExW(&wc);
}

}  // namespace

// ---------------------------------------------------------------- QuickEditor

QuickEditor::QuickEditor(Run& run, const std::string& text) : text_(FromUtf8(text)) {
    InitializeCriticalSection(&lock_);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &QuickEditor::Main, this, 0, nullptr);
    WaitForSingleObject(ready_, kPatienceMs);
    run.Require(frame_ != nullptr, "the driver's editor window is there");
}

QuickEditor::~QuickEditor() {
    if (frame_) PostMessageW(frame_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, kPatienceMs);
    CloseHandle(thread_);
    CloseHandle(ready_);
    DeleteCriticalSection(&lock_);
}

void QuickEditor::OnCopied(std::function<void()> fn) {
    EnterCriticalSection(&lock_);
    onCopied_ = std::move(fn);
    LeaveCriticalSection(&lock_);
}

void QuickEditor::OnCopying(std::function<void()> fn) {
    EnterCriticalSection(&lock_);
    onCopying_ = std::move(fn);
    LeaveCriticalSection(&lock_);
}

void QuickEditor::SetText(const std::string& utf8) {
    EnterCriticalSection(&lock_);
    text_ = FromUtf8(utf8);
    LeaveCriticalSection(&lock_);
}

std::string QuickEditor::Text() {
    EnterCriticalSection(&lock_);
    const std::string s = ToUtf8(text_);
    LeaveCriticalSection(&lock_);
    return s;
}

LRESULT CALLBACK QuickEditor::FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

LRESULT CALLBACK QuickEditor::ControlProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<QuickEditor*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    if (self && msg == WM_COPY) {
        self->Copy(w);
        return 0;
    }
    if (self && msg == WM_PASTE) {
        self->Paste(w);
        return 0;
    }
    return DefWindowProcW(w, msg, wp, lp);
}

void QuickEditor::Copy(HWND w) {
    EnterCriticalSection(&lock_);
    const std::wstring text = text_;
    const std::function<void()> then = onCopied_;
    const std::function<void()> first = onCopying_;
    LeaveCriticalSection(&lock_);
    if (first) first();
    if (first ? OpenClipboard(w) != FALSE : OpenClipboardPatiently(w)) {
        PutOnOpenClipboard(text);
        CloseClipboard();
    }
    if (then) then();
    ++copies_;
}

void QuickEditor::Paste(HWND w) {
    if (OpenClipboardPatiently(w)) {
        if (std::optional<std::wstring> text = OpenClipboardText()) {
            EnterCriticalSection(&lock_);
            text_ = std::move(*text);
            LeaveCriticalSection(&lock_);
        }
        CloseClipboard();
    }
    ++pastes_;
}

DWORD WINAPI QuickEditor::Main(void* p) {
    auto* self = static_cast<QuickEditor*>(p);
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    RegisterOwnClass(kEditWindowClass, FrameProc);
    RegisterOwnClass(kEditControlClass, ControlProc);
    self->frame_ = CreateWindowExW(0, kEditWindowClass, L"Quick.pas", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 300, 40, 500,
                                   300, nullptr, nullptr, inst, nullptr);
    HWND edit = CreateWindowExW(0, kEditControlClass, L"", WS_CHILD | WS_VISIBLE, 0, 0, 480, 260, self->frame_,
                                nullptr, inst, nullptr);
    SetWindowLongPtrW(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    SetEvent(self->ready_);
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}

// ---------------------------------------------------------------- ClipboardHolder

ClipboardHolder::ClipboardHolder(DWORD holdMs) : holdMs_(holdMs) {
    start_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    opened_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    release_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &ClipboardHolder::Main, this, 0, nullptr);
}

ClipboardHolder::~ClipboardHolder() {
    Release();
    SetEvent(start_);
    WaitForSingleObject(thread_, INFINITE);
    for (HANDLE h : {thread_, start_, opened_, release_}) CloseHandle(h);
}

void ClipboardHolder::GrabNow() {
    SetEvent(start_);
    WaitForSingleObject(opened_, kPatienceMs);
}

DWORD WINAPI ClipboardHolder::Main(void* self) {
    static_cast<ClipboardHolder*>(self)->Hold();
    return 0;
}

void ClipboardHolder::Hold() {
    WaitForSingleObject(start_, INFINITE);
    if (WaitForSingleObject(release_, 0) == WAIT_OBJECT_0) return;
    grabbed_ = OpenClipboardPatiently(nullptr);
    SetEvent(opened_);
    if (!grabbed_) return;
    WaitForSingleObject(release_, holdMs_ > 0 ? holdMs_ : kPatienceMs);
    CloseClipboard();
    released_ = true;
}

// ---------------------------------------------------------------- ClipboardPoller

ClipboardPoller::ClipboardPoller(DWORD holdUs, DWORD periodUs) : holdUs_(holdUs), periodUs_(periodUs) {
    thread_ = CreateThread(nullptr, 0, &ClipboardPoller::Main, this, 0, nullptr);
}

ClipboardPoller::~ClipboardPoller() {
    stop_ = true;
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
}

DWORD WINAPI ClipboardPoller::Main(void* self) {
    static_cast<ClipboardPoller*>(self)->Poll();
    return 0;
}

void ClipboardPoller::Poll() {
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    auto microseconds = [&] {
        QueryPerformanceCounter(&now);
        return now.QuadPart * 1000000 / frequency.QuadPart;
    };
    auto spinUntil = [&](LONGLONG us) {
        while (microseconds() < us && !stop_) YieldProcessor();
    };
    for (LONGLONG start = microseconds(); !stop_; start += periodUs_) {
        // Late after a long stall (a busy machine): the next period starts now.
        if (microseconds() > start + periodUs_) start = microseconds();
        spinUntil(start);
        bool open = false;
        while (!stop_ && !(open = OpenClipboard(nullptr) != FALSE)) YieldProcessor();
        if (!open) break;
        ++opens_;
        spinUntil(microseconds() + holdUs_);
        CloseClipboard();
    }
}

// ---------------------------------------------------------------- ClipboardHistoryTool

ClipboardHistoryTool::ClipboardHistoryTool(DWORD holdMs) : holdMs_(holdMs) {
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &ClipboardHistoryTool::Main, this, 0, nullptr);
    WaitForSingleObject(ready_, kPatienceMs);
}

ClipboardHistoryTool::~ClipboardHistoryTool() {
    if (window_) PostMessageW(window_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(ready_);
}

DWORD WINAPI ClipboardHistoryTool::Main(void* p) {
    auto* self = static_cast<ClipboardHistoryTool*>(p);
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    constexpr const wchar_t* kClass = L"SnipkitE2EClipboardHistory";
    RegisterOwnClass(kClass, WindowProc);
    // Never shown, so it never takes the foreground from the editor.
    self->window_ = CreateWindowExW(0, kClass, L"Clipboard history", WS_POPUP, 0, 0, 1, 1, nullptr,
                                    nullptr, inst, nullptr);
    if (self->window_) {
        SetWindowLongPtrW(self->window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
        self->listening_ = AddClipboardFormatListener(self->window_) != FALSE;
    }
    SetEvent(self->ready_);
    if (!self->window_) return 1;
    MSG m;
    while (GetMessageW(&m, nullptr, 0, 0) > 0) DispatchMessageW(&m);
    return 0;
}

LRESULT CALLBACK ClipboardHistoryTool::WindowProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<ClipboardHistoryTool*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    switch (msg) {
        case WM_CLIPBOARDUPDATE:
            if (self) {
                ++self->updates_;
                self->ReadAndHold(w);
            }
            return 0;
        case WM_DESTROY:
            RemoveClipboardFormatListener(w);
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(w, msg, wp, lp);
    }
}

void ClipboardHistoryTool::ReadAndHold(HWND w) {
    if (!OpenClipboardPatiently(w)) return;
    holding_ = true;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
    }
    OpenClipboardText();
    Sleep(holdMs_);
    CloseClipboard();
    holding_ = false;
    ++holds_;
}

}  // namespace e2e
