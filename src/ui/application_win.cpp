#include "ui/application_win.h"

#include <stdexcept>

#include "ui/form_win.h"
#include "ui/picture_win.h"

namespace snipkit::win {
namespace {

// The one application object, reachable from everywhere like the program's
// other program-wide state.
Application* g_application = nullptr;

// Posted to itself when the application window is activated (from the
// taskbar, or when a message box closes), to pass activation on to a form.
constexpr UINT kMsgActivateLast = WM_APP + 1;

}  // namespace

Application& App() {
    if (g_application == nullptr) throw std::logic_error("no application object");
    return *g_application;
}

HWND ApplicationWindow() { return g_application ? g_application->Handle() : nullptr; }

Application::Application(HINSTANCE instance, const PixelArt& icon) : instance_(instance) {
    if (g_application != nullptr) throw std::logic_error("a second application object");
    icon_ = MakeIcon(ParsePixelArt(icon));

    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance_;
    wc.hIcon = icon_.get();
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kApplicationClass;
    if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
        throw std::runtime_error("Cannot register the application window class");
    }
    // Zero-sized in the middle of the screen: it is seen only as the taskbar
    // button, and message boxes centred on it come up in the screen's centre.
    hwnd_ = CreateWindowExW(0, kApplicationClass, L"", WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                            GetSystemMetrics(SM_CXSCREEN) / 2, GetSystemMetrics(SM_CYSCREEN) / 2, 0, 0, nullptr,
                            nullptr, instance_, this);
    if (hwnd_ == nullptr) throw std::runtime_error("Cannot create the application window");
    g_application = this;
}

Application::~Application() {
    // Forms go in the reverse order of their creation, the main form last.
    while (!forms_.empty()) forms_.pop_back();
    if (hwnd_ != nullptr) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
    }
    g_application = nullptr;
}

void Application::SetTitle(const std::wstring& title) {
    title_ = title;
    SetWindowTextW(hwnd_, title_.c_str());
}

void Application::Adopt(std::unique_ptr<Form> form) {
    Form& f = *form;
    forms_.push_back(std::move(form));
    f.Create(hwnd_);
}

void Application::ShowMainForm() {
    // Once only: showing it again would take the foreground from the window
    // the user went to meanwhile.
    if (MainForm() == nullptr || MainForm()->IsVisible()) return;
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    MainForm()->Show();
}

int Application::Run() {
    if (MainForm() == nullptr) return 0;
    ShowMainForm();
    MSG msg{};
    for (;;) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) break;
        if (got == -1) return 1;
        Form::Dispatch(msg);
    }
    return static_cast<int>(msg.wParam);
}

void Application::Terminate() { PostQuitMessage(0); }

void Application::Minimize() {
    ShowOwnedPopups(hwnd_, FALSE);
    ShowWindow(hwnd_, SW_MINIMIZE);
}

void Application::ActivateLastWindow() {
    if (IsIconic(hwnd_)) return;
    HWND target = GetLastActivePopup(hwnd_);
    if (target == hwnd_ || !IsWindowVisible(target)) target = MainForm() ? MainForm()->Handle() : nullptr;
    if (target != nullptr && target != hwnd_ && IsWindowVisible(target) && IsWindowEnabled(target)) {
        SetActiveWindow(target);
    }
}

LRESULT Application::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
        case WM_ACTIVATE:
            if (LOWORD(wp) != WA_INACTIVE && HIWORD(wp) == 0) PostMessageW(hwnd_, kMsgActivateLast, 0, 0);
            return 0;
        case kMsgActivateLast:
            if (GetActiveWindow() == hwnd_) ActivateLastWindow();
            return 0;
        case WM_SYSCOMMAND:
            switch (wp & 0xFFF0) {
                case SC_MINIMIZE:
                    Minimize();
                    return 0;
                case SC_RESTORE: {
                    const LRESULT result = DefWindowProcW(hwnd_, msg, wp, lp);
                    ShowOwnedPopups(hwnd_, TRUE);
                    ActivateLastWindow();
                    return result;
                }
                default:
                    break;
            }
            break;
        case WM_CLOSE:
            // "Close window" on the taskbar button closes the program like the toolbar's close box.
            if (MainForm() != nullptr) MainForm()->Close();
            return 0;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Application::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        const auto* cs = reinterpret_cast<const CREATESTRUCTW*>(lp);
        auto* created = static_cast<Application*>(cs->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Application*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
    return self->HandleMessage(msg, wp, lp);
}

WindowDisabler::WindowDisabler(HWND keep) : keep_(keep) {
    EnumThreadWindows(GetCurrentThreadId(), Collect, reinterpret_cast<LPARAM>(this));
    for (HWND w : disabled_) EnableWindow(w, FALSE);
}

WindowDisabler::~WindowDisabler() {
    for (auto it = disabled_.rbegin(); it != disabled_.rend(); ++it) {
        if (IsWindow(*it)) EnableWindow(*it, TRUE);
    }
}

BOOL CALLBACK WindowDisabler::Collect(HWND hwnd, LPARAM self) {
    auto* disabler = reinterpret_cast<WindowDisabler*>(self);
    if (hwnd != disabler->keep_ && IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) disabler->disabled_.push_back(hwnd);
    return TRUE;
}

}  // namespace snipkit::win
