#include "clipboard_users.h"

#include <initializer_list>

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

}  // namespace

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
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = inst;
    wc.lpszClassName = L"SnipkitE2EClipboardHistory";
    RegisterClassExW(&wc);  // fails harmlessly when an earlier tool registered it
    // Never shown, so it never takes the foreground from the editor.
    self->window_ = CreateWindowExW(0, wc.lpszClassName, L"Clipboard history", WS_POPUP, 0, 0, 1, 1, nullptr,
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
    if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
        if (GlobalLock(data)) GlobalUnlock(data);
    }
    Sleep(holdMs_);
    CloseClipboard();
    holding_ = false;
    ++holds_;
}

}  // namespace e2e
