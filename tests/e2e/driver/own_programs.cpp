#include "own_programs.h"

#include <cstring>

#include "../e2e_protocol.h"

namespace e2e {

// ---------------------------------------------------------------- the quick editor

QuickEditor::QuickEditor(Run& run, const std::string& text) : text_(FromUtf8(text)) {
    InitializeCriticalSection(&lock_);
    ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, &QuickEditor::Main, this, 0, nullptr);
    WaitForSingleObject(ready_, kDefaultTimeout);
    run.Require(frame_ != nullptr, "the driver's editor window is there");
}

QuickEditor::~QuickEditor() {
    if (frame_) PostMessageW(frame_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, kDefaultTimeout);
    CloseHandle(thread_);
    CloseHandle(ready_);
    DeleteCriticalSection(&lock_);
}

void QuickEditor::OnCopied(std::function<void()> fn) {
    EnterCriticalSection(&lock_);
    onCopied_ = std::move(fn);
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

namespace {

bool OpenClipboardFor(HWND w) {
    return WaitUntil([&] { return OpenClipboard(w) != FALSE; }, kDefaultTimeout, 1);
}

}  // namespace

void QuickEditor::Copy(HWND w) {
    EnterCriticalSection(&lock_);
    const std::size_t bytes = (text_.size() + 1) * sizeof(wchar_t);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, bytes);
    if (block) {
        std::memcpy(GlobalLock(block), text_.c_str(), bytes);
        GlobalUnlock(block);
    }
    LeaveCriticalSection(&lock_);
    if (block && OpenClipboardFor(w)) {
        EmptyClipboard();
        if (!SetClipboardData(CF_UNICODETEXT, block)) GlobalFree(block);
        CloseClipboard();
    } else if (block) {
        GlobalFree(block);
    }
    EnterCriticalSection(&lock_);
    const std::function<void()> then = onCopied_;
    LeaveCriticalSection(&lock_);
    if (then) then();
    ++copies_;
}

void QuickEditor::Paste(HWND w) {
    if (OpenClipboardFor(w)) {
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
            if (const auto* chars = static_cast<const wchar_t*>(GlobalLock(data))) {
                EnterCriticalSection(&lock_);
                text_ = chars;
                LeaveCriticalSection(&lock_);
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
    }
    ++pastes_;
}

DWORD WINAPI QuickEditor::Main(void* p) {
    auto* self = static_cast<QuickEditor*>(p);
    const HINSTANCE inst = GetModuleHandleW(nullptr);
    WNDCLASSEXW frame{};
    frame.cbSize = sizeof frame;
    frame.lpfnWndProc = FrameProc;
    frame.hInstance = inst;
    frame.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    frame.lpszClassName = kEditWindowClass;
    RegisterClassExW(&frame);
    WNDCLASSEXW control = frame;
    control.lpfnWndProc = ControlProc;
    control.lpszClassName = kEditControlClass;
    RegisterClassExW(&control);
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

// ---------------------------------------------------------------- the clipboard holder

ClipboardHolder::ClipboardHolder(double holdMs) : holdMs_(holdMs) {
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
    WaitForSingleObject(opened_, kDefaultTimeout);
}

void ClipboardHolder::Release() { SetEvent(release_); }

DWORD WINAPI ClipboardHolder::Main(void* p) {
    static_cast<ClipboardHolder*>(p)->Hold();
    return 0;
}

void ClipboardHolder::Hold() {
    WaitForSingleObject(start_, INFINITE);
    if (WaitForSingleObject(release_, 0) == WAIT_OBJECT_0) return;
    grabbed_ = WaitUntil([] { return OpenClipboard(nullptr) != FALSE; }, kDefaultTimeout, 1);
    SetEvent(opened_);
    if (!grabbed_) return;
    if (holdMs_ > 0) {
        // A busy wait: a sleep of a few milliseconds may last far longer.
        LARGE_INTEGER from, now, freq;
        QueryPerformanceFrequency(&freq);
        QueryPerformanceCounter(&from);
        do {
            QueryPerformanceCounter(&now);
        } while (static_cast<double>(now.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(freq.QuadPart) <
                 holdMs_);
    } else {
        WaitForSingleObject(release_, kDefaultTimeout);
    }
    CloseClipboard();
    released_ = true;
}

}  // namespace e2e
