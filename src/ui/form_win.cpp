#include "ui/form_win.h"

#include <stdexcept>
#include <utility>

#include "ui/application_win.h"
#include "ui/containers_win.h"
#include "ui/modal_win.h"
#include "ui/picture_win.h"
#include "ui/wide_win.h"

namespace snipkit::win {
namespace {

std::wstring WindowText(HWND hwnd) {
    const int length = GetWindowTextLengthW(hwnd);
    if (length <= 0) return {};
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    const int got = GetWindowTextW(hwnd, text.data(), length + 1);
    text.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    return text;
}

}  // namespace

FontHandle MakeFont(const wchar_t* face, int height, int weight, bool underline) {
    LOGFONTW lf{};
    lf.lfHeight = height;
    lf.lfWeight = weight;
    lf.lfUnderline = underline ? TRUE : FALSE;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    // The font mapper substitutes a near face when this one is missing; only
    // a failure outright falls back to the system's GUI font.
    FontHandle font(CreateFontIndirectW(&lf));
    if (!font) {
        LOGFONTW gui{};
        if (GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof gui, &gui)) font.reset(CreateFontIndirectW(&gui));
    }
    return font;
}

Form::Form(FormDef def) : def_(std::move(def)) {}

Form::~Form() {
    if (hwnd_ != nullptr) {
        // Whatever arrives while the window goes must not reach a half-destroyed form.
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

void Form::Create(HWND owner) {
    if (hwnd_ != nullptr) throw std::logic_error("form created twice");
    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterContainerClasses(instance);
    RegisterWindowClass(instance, def_.className, WindowProc, 0);
    font_ = MakeFont(kFormFontFace, kFormFontHeight);

    RECT outer{0, 0, def_.size.width, def_.size.height};
    if (def_.size.client) AdjustWindowRectEx(&outer, def_.frame.style, FALSE, def_.frame.exStyle);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    const int left = def_.placement.centred ? (GetSystemMetrics(SM_CXSCREEN) - width) / 2 : def_.placement.left;
    const int top = def_.placement.centred ? (GetSystemMetrics(SM_CYSCREEN) - height) / 2 : def_.placement.top;

    CreateWindowExW(def_.frame.exStyle, def_.className, def_.caption, def_.frame.style & ~WS_VISIBLE, left, top,
                    width, height, owner, nullptr, instance, this);
    if (hwnd_ == nullptr) throw std::runtime_error("Cannot create window " + WideToUtf8(def_.className));

    if (def_.size.client) {
        // Frames differ between systems; the client area is what the layout needs.
        RECT client;
        GetClientRect(hwnd_, &client);
        const int dw = def_.size.width - client.right;
        const int dh = def_.size.height - client.bottom;
        if (dw != 0 || dh != 0) {
            SetWindowPos(hwnd_, nullptr, 0, 0, width + dw, height + dh, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }
    // Ordinary frames show the program's icon; dialog and tool frames show none.
    if (!(def_.frame.exStyle & (WS_EX_TOOLWINDOW | WS_EX_DLGMODALFRAME)) && ApplicationWindow() != nullptr) {
        const auto icon = GetClassLongPtrW(ApplicationWindow(), GCLP_HICON);
        if (icon != 0) SendMessageW(hwnd_, WM_SETICON, ICON_BIG, static_cast<LPARAM>(icon));
    }
    CreateControls();
    RunHandler([this] { OnCreate(); });
}

void Form::CreateControls() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    HFONT font = font_ ? font_.get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (std::size_t i = 0; i < def_.controls.size(); ++i) {
        const ControlDef& c = def_.controls[i];
        if (c.id != 0 && Item(c.id) != nullptr) throw std::logic_error("control id used twice: " + std::to_string(c.id));
        HWND parent = c.parent == 0 ? hwnd_ : Item(c.parent);
        if (parent == nullptr) {
            throw std::logic_error("control " + std::to_string(c.id) + " sits on " + std::to_string(c.parent) +
                                   ", which the table has not created yet");
        }
        const bool container = IsContainerClass(c.className);
        const DWORD style = WS_CHILD | c.style | (c.visibility == Visibility::Shown ? WS_VISIBLE : 0) |
                            (container ? WS_CLIPCHILDREN : 0);
        const DWORD exStyle = c.exStyle | (container ? WS_EX_CONTROLPARENT : 0);
        HWND hwnd = CreateWindowExW(exStyle, c.className, c.text, style, c.x, c.y, c.width, c.height, parent,
                                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
        if (hwnd == nullptr) {
            throw std::runtime_error("Cannot create control " + std::to_string(c.id) + " of " +
                                     WideToUtf8(def_.className));
        }
        SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
        // Text boxes take as much text as memory allows.
        if (SameClass(c.className, kEditClass)) SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
        controls_.push_back({hwnd, i});
    }
}

HWND Form::Item(int id) const {
    for (const Control& c : controls_) {
        if (def_.controls[c.index].id == id) return c.hwnd;
    }
    return nullptr;
}

HWND Form::RequireItem(int id) const {
    HWND hwnd = Item(id);
    if (hwnd == nullptr) throw std::logic_error("no control " + std::to_string(id) + " on " + WideToUtf8(def_.className));
    return hwnd;
}

const ControlDef* Form::ItemDef(int id) const {
    for (const ControlDef& c : def_.controls) {
        if (c.id == id) return &c;
    }
    return nullptr;
}

std::string Form::Text(int id) const {
    HWND hwnd = RequireItem(id);
    return WideToUtf8(WindowText(hwnd));
}

void Form::SetText(int id, const std::string& text) {
    HWND hwnd = RequireItem(id);
    SetWindowTextW(hwnd, Utf8ToWide(text).c_str());
}

void Form::SetCaption(const std::string& caption) { SetWindowTextW(hwnd_, Utf8ToWide(caption).c_str()); }

bool Form::Checked(int id) const {
    HWND hwnd = Item(id);
    return hwnd != nullptr && SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

void Form::SetChecked(int id, bool checked) {
    HWND hwnd = RequireItem(id);
    SendMessageW(hwnd, BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
}

void Form::SetFont(int id, const wchar_t* face, int height, int weight, bool underline) {
    HWND hwnd = RequireItem(id);
    FontHandle font = MakeFont(face, height, weight, underline);
    if (!font) return;
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    controlFonts_.push_back(std::move(font));
}

void Form::SetPanelColour(int id, COLORREF colour) {
    HWND hwnd = RequireItem(id);
    SetContainerColour(hwnd, colour);
}

void Form::SetButtonPicture(int id, Pixmap normal, Pixmap disabled) {
    HWND hwnd = RequireItem(id);
    Picture* picture = nullptr;
    for (Picture& p : pictures_) {
        if (p.id == id) picture = &p;
    }
    if (picture == nullptr) {
        pictures_.push_back(Picture{id, {}, {}, {}, {}});
        picture = &pictures_.back();
    }
    picture->normal = std::move(normal);
    picture->disabled = std::move(disabled);
    RenderPictures();
    InvalidateRect(hwnd, nullptr, TRUE);
}

void Form::RenderPictures() {
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    for (Picture& p : pictures_) {
        p.normalBitmap = MakeBitmap(p.normal, face);
        p.disabledBitmap = p.disabled.width > 0 ? MakeBitmap(p.disabled, face) : BitmapHandle{};
    }
}

bool Form::DrawItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_BUTTON) return false;
    for (const Picture& p : pictures_) {
        if (Item(p.id) != item.hwndItem) continue;
        // A focus rectangle would cover most of so small a picture; it shows
        // only once the form is worked with the keyboard.
        DRAWITEMSTRUCT drawn = item;
        if (!keyboardUsed_) drawn.itemState |= ODS_NOFOCUSRECT;
        const bool disabled = (item.itemState & ODS_DISABLED) != 0;
        if (disabled && p.disabledBitmap) {
            DrawPictureButton(drawn, p.disabledBitmap.get(), p.disabled.width, p.disabled.height);
        } else {
            DrawPictureButton(drawn, p.normalBitmap.get(), p.normal.width, p.normal.height);
        }
        return true;
    }
    return false;
}

bool Form::IsVisible() const { return hwnd_ != nullptr && IsWindowVisible(hwnd_); }

void Form::PlaceForShowing() {
    if (!def_.placement.centred) return;
    RECT r;
    GetWindowRect(hwnd_, &r);
    const int width = r.right - r.left;
    const int height = r.bottom - r.top;
    SetWindowPos(hwnd_, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form::Show() {
    if (hwnd_ == nullptr) throw std::logic_error("form shown before it was created");
    if (!IsWindowVisible(hwnd_)) {
        RunHandler([this] { OnShow(); });
        PlaceForShowing();
        ShowWindow(hwnd_, SW_SHOW);
    }
    SetForegroundWindow(hwnd_);
}

void Form::Hide() {
    if (hwnd_ != nullptr) ShowWindow(hwnd_, SW_HIDE);
}

int Form::ShowModal() {
    if (hwnd_ == nullptr) throw std::logic_error("form shown before it was created");
    if (modal_ || IsWindowVisible(hwnd_)) throw std::logic_error("Cannot make a visible window modal");
    HWND previous = GetActiveWindow();
    modalResult_ = 0;
    modal_ = true;
    {
        WindowDisabler disabler(hwnd_);
        RunHandler([this] { OnShow(); });
        PlaceForShowing();
        ShowWindow(hwnd_, SW_SHOW);
        SetForegroundWindow(hwnd_);
        MSG msg{};
        while (modalResult_ == 0 && hwnd_ != nullptr) {
            const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
            if (got == 0) {
                // The program is ending: leave the quit request for the outer loop.
                PostQuitMessage(static_cast<int>(msg.wParam));
                modalResult_ = IDCANCEL;
                break;
            }
            if (got == -1) {
                modalResult_ = IDCANCEL;
                break;
            }
            Dispatch(msg);
        }
        if (modalResult_ == 0) modalResult_ = IDCANCEL;
    }
    // The other windows are enabled again before this one hides, so that
    // activation goes back to the program and not to some other application.
    modal_ = false;
    Hide();
    if (previous != nullptr && IsWindow(previous) && IsWindowVisible(previous) && IsWindowEnabled(previous)) {
        SetActiveWindow(previous);
    }
    return modalResult_;
}

void Form::Close() {
    if (hwnd_ != nullptr) SendMessageW(hwnd_, WM_CLOSE, 0, 0);
}

void Form::OnClose() {
    if (modal_) {
        modalResult_ = IDCANCEL;
    } else {
        Hide();
    }
}

Form* Form::FromWindow(HWND hwnd) {
    HWND root = hwnd ? GetAncestor(hwnd, GA_ROOT) : nullptr;
    if (root == nullptr) return nullptr;
    if (reinterpret_cast<WNDPROC>(GetWindowLongPtrW(root, GWLP_WNDPROC)) != &Form::WindowProc) return nullptr;
    return reinterpret_cast<Form*>(GetWindowLongPtrW(root, GWLP_USERDATA));
}

void Form::Dispatch(MSG& msg) {
    if (msg.hwnd != nullptr && msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST) {
        Form* form = FromWindow(msg.hwnd);
        if (form != nullptr && form->hwnd_ != nullptr) {
            if ((msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) && !form->keyboardUsed_) {
                form->keyboardUsed_ = true;
                if (HWND focus = GetFocus(); focus != nullptr) InvalidateRect(focus, nullptr, FALSE);
            }
            if (IsDialogMessageW(form->hwnd_, &msg)) return;
        }
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
}

void Form::FocusFirstControl() {
    HWND target = activeControl_ != 0 ? Item(activeControl_) : nullptr;
    if (target == nullptr || !IsWindowVisible(target) || !IsWindowEnabled(target)) {
        target = GetNextDlgTabItem(hwnd_, nullptr, FALSE);
    }
    SetFocus(target != nullptr ? target : hwnd_);
}

bool Form::IsPushButton(HWND hwnd) const {
    for (const Control& c : controls_) {
        if (c.hwnd != hwnd) continue;
        const ControlDef& def = def_.controls[c.index];
        if (!SameClass(def.className, kButtonClass)) return false;
        const DWORD type = def.style & BS_TYPEMASK;
        return type == BS_PUSHBUTTON || type == BS_DEFPUSHBUTTON || type == BS_OWNERDRAW;
    }
    return false;
}

int Form::DefaultButtonId() const {
    // Enter presses the push button that has the focus, as in any dialog.
    HWND focus = GetFocus();
    if (focus != nullptr && IsPushButton(focus)) return GetDlgCtrlID(focus);
    for (const ControlDef& def : def_.controls) {
        if (SameClass(def.className, kButtonClass) && (def.style & BS_TYPEMASK) == BS_DEFPUSHBUTTON) return def.id;
    }
    return 0;
}

void Form::HandleCommand(int id, int code) {
    HWND item = Item(id);
    if (item == nullptr) {
        // Enter or Esc in a form that has no such button does nothing.
        if (id == IDOK || id == IDCANCEL) return;
        RunHandler([&] { OnCommand(id, code); });  // a menu command
        return;
    }
    const ControlDef& def = *ItemDef(id);
    if (SameClass(def.className, kButtonClass)) {
        // A quick second click on an owner-drawn button arrives as a double-click.
        if (code == BN_DOUBLECLICKED && (def.style & BS_TYPEMASK) == BS_OWNERDRAW) code = BN_CLICKED;
        if (code == BN_CLICKED) {
            if (!IsWindowEnabled(item)) return;
            // The result is set first, so the form closes once the handler is
            // over, whatever the handler did, unless it sets the result back to 0.
            if (id == IDOK || id == IDCANCEL) modalResult_ = id;
        }
    }
    RunHandler([&] { OnCommand(id, code); });
}

LRESULT Form::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    LRESULT result = 0;
    bool handled = false;
    RunHandler([&] { handled = OnMessage(msg, wp, lp, result); });
    if (handled) return result;

    switch (msg) {
        case WM_COMMAND:
            HandleCommand(LOWORD(wp), HIWORD(wp));
            return 0;
        case WM_DRAWITEM:
            if (DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lp))) return TRUE;
            break;
        case WM_TIMER:
            RunHandler([&] { OnTimer(static_cast<UINT_PTR>(wp)); });
            return 0;
        case WM_CLOSE:
            RunHandler([this] { OnClose(); });
            return 0;
        case WM_NEXTDLGCTL: {
            HWND target = LOWORD(lp) ? reinterpret_cast<HWND>(wp) : GetNextDlgTabItem(hwnd_, GetFocus(), wp != 0);
            if (target != nullptr) {
                SetFocus(target);
                if (SendMessageW(target, WM_GETDLGCODE, 0, 0) & DLGC_HASSETSEL) SendMessageW(target, EM_SETSEL, 0, -1);
            }
            return 0;
        }
        case DM_GETDEFID: {
            const int id = DefaultButtonId();
            return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
        }
        case WM_ACTIVATE:
            if (LOWORD(wp) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus != nullptr && IsChild(hwnd_, focus)) lastFocus_ = focus;
            } else if (HIWORD(wp) == 0) {
                if (lastFocus_ != nullptr && IsWindow(lastFocus_) && IsChild(hwnd_, lastFocus_) &&
                    IsWindowVisible(lastFocus_) && IsWindowEnabled(lastFocus_)) {
                    SetFocus(lastFocus_);
                } else {
                    FocusFirstControl();
                }
            }
            return 0;
        case WM_SHOWWINDOW:
            // A form shown again starts at its first control (or the one set
            // for it); coming back from a minimized program keeps its focus.
            if (wp && lp == 0) lastFocus_ = nullptr;
            break;
        case WM_SYSCOLORCHANGE:
            RenderPictures();
            for (const Control& c : controls_) SendMessageW(c.hwnd, WM_SYSCOLORCHANGE, wp, lp);
            InvalidateRect(hwnd_, nullptr, TRUE);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK Form::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* created = static_cast<Form*>(reinterpret_cast<const CREATESTRUCTW*>(lp)->lpCreateParams);
        created->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created));
    }
    auto* self = reinterpret_cast<Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, msg, wp, lp);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->hwnd_ = nullptr;
        self->controls_.clear();
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    return self->HandleMessage(msg, wp, lp);
}

}  // namespace snipkit::win
