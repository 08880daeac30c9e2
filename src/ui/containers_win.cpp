#include "ui/containers_win.h"

#include <stdexcept>
#include <string>

#include "ui/form_win.h"
#include "ui/wide_win.h"

namespace snipkit::win {
namespace {

// Window extra bytes of the containers.
constexpr int kSlotColour = 0;                       // COLORREF | kColourSet, 0 = button face
constexpr int kSlotFont = sizeof(LONG_PTR);          // HFONT from WM_SETFONT
constexpr int kContainerExtraBytes = 2 * sizeof(LONG_PTR);
constexpr LONG_PTR kColourSet = 0x01000000;

void FillSolid(HDC dc, const RECT& r, COLORREF colour) {
    SetDCBrushColor(dc, colour);
    FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// A one-pixel bevel along the inside of r; r then shrinks past it.
void Bevel(HDC dc, RECT& r, COLORREF topLeft, COLORREF bottomRight) {
    FillSolid(dc, {r.left, r.top, r.right, r.top + 1}, topLeft);
    FillSolid(dc, {r.left, r.top, r.left + 1, r.bottom}, topLeft);
    FillSolid(dc, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
    FillSolid(dc, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
    InflateRect(&r, -1, -1);
}

COLORREF ContainerColour(HWND hwnd) {
    const LONG_PTR stored = GetWindowLongPtrW(hwnd, kSlotColour);
    return (stored & kColourSet) ? static_cast<COLORREF>(stored & 0xFFFFFF) : GetSysColor(COLOR_BTNFACE);
}

void PaintPanel(HWND hwnd, HDC dc) {
    RECT r;
    GetClientRect(hwnd, &r);
    FillSolid(dc, r, ContainerColour(hwnd));
    const DWORD style = static_cast<DWORD>(GetWindowLongW(hwnd, GWL_STYLE));
    const COLORREF light = GetSysColor(COLOR_BTNHIGHLIGHT);
    const COLORREF dark = GetSysColor(COLOR_BTNSHADOW);
    if (style & kBevelOuterRaised) Bevel(dc, r, light, dark);
    if (style & kBevelOuterLowered) Bevel(dc, r, dark, light);
    if (style & kBevelInnerRaised) Bevel(dc, r, light, dark);
    if (style & kBevelInnerLowered) Bevel(dc, r, dark, light);
}

void PaintGroupBox(HWND hwnd, HDC dc) {
    RECT r;
    GetClientRect(hwnd, &r);
    const COLORREF face = ContainerColour(hwnd);
    FillSolid(dc, r, face);
    auto font = reinterpret_cast<HFONT>(GetWindowLongPtrW(hwnd, kSlotFont));
    HGDIOBJ oldFont = SelectObject(dc, font ? static_cast<HGDIOBJ>(font) : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT frame = r;
    frame.top += tm.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);

    const int length = GetWindowTextLengthW(hwnd);
    if (length > 0) {
        std::wstring caption(static_cast<std::size_t>(length) + 1, L'\0');
        GetWindowTextW(hwnd, caption.data(), length + 1);
        caption.resize(static_cast<std::size_t>(length));
        RECT text{8, 0, r.right - 8, tm.tmHeight};
        DrawTextW(dc, caption.c_str(), length, &text, DT_SINGLELINE | DT_CALCRECT);
        FillSolid(dc, text, face);
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, GetSysColor(IsWindowEnabled(hwnd) ? COLOR_BTNTEXT : COLOR_GRAYTEXT));
        DrawTextW(dc, caption.c_str(), length, &text, DT_SINGLELINE);
    }
    SelectObject(dc, oldFont);
}

// Shared by both containers: they hand what their controls report to their
// own parent, so it reaches the form however deep the control sits.
LRESULT ContainerMessage(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp, void (*paint)(HWND, HDC)) {
    switch (msg) {
        case WM_COMMAND:
        case WM_NOTIFY:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_COMPAREITEM:
        case WM_DELETEITEM:
        case WM_VKEYTOITEM:
        case WM_CHARTOITEM:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
        case WM_CTLCOLORSTATIC:
        // What a multi-line edit asks of the dialog it sits in: the next
        // control for Tab, the default button for Enter.
        case WM_NEXTDLGCTL:
        case DM_GETDEFID:
            return SendMessageW(GetParent(hwnd), msg, wp, lp);
        case WM_CLOSE:
            // Esc in a multi-line edit closes its dialog, as the Cancel button would.
            return SendMessageW(GetParent(hwnd), WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        case WM_SETFONT:
            SetWindowLongPtrW(hwnd, kSlotFont, static_cast<LONG_PTR>(wp));
            if (LOWORD(lp)) InvalidateRect(hwnd, nullptr, TRUE);
            return 0;
        case WM_GETFONT:
            return GetWindowLongPtrW(hwnd, kSlotFont);
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT paints every pixel
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            paint(hwnd, dc);
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_PRINTCLIENT:
            paint(hwnd, reinterpret_cast<HDC>(wp));
            return 0;
        case WM_SETTEXT:
        case WM_ENABLE: {
            const LRESULT result = DefWindowProcW(hwnd, msg, wp, lp);
            InvalidateRect(hwnd, nullptr, TRUE);
            return result;
        }
        default:
            return DefWindowProcW(hwnd, msg, wp, lp);
    }
}

LRESULT CALLBACK PanelProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ContainerMessage(hwnd, msg, wp, lp, PaintPanel);
}

LRESULT CALLBACK GroupBoxProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    return ContainerMessage(hwnd, msg, wp, lp, PaintGroupBox);
}

}  // namespace

bool SameClass(const wchar_t* a, const wchar_t* b) { return lstrcmpiW(a, b) == 0; }

bool IsContainerClass(const wchar_t* name) { return SameClass(name, kPanelClass) || SameClass(name, kGroupBoxClass); }

void RegisterWindowClass(HINSTANCE instance, const wchar_t* name, WNDPROC proc, int extraBytes) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, name, &existing)) return;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = proc;
    // Bevels and frames are drawn along the edges: a resize must repaint them whole.
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.cbWndExtra = extraBytes;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    wc.lpszClassName = name;
    if (!RegisterClassExW(&wc)) throw std::runtime_error("Cannot register window class " + WideToUtf8(name));
}

void RegisterContainerClasses(HINSTANCE instance) {
    RegisterWindowClass(instance, kPanelClass, PanelProc, kContainerExtraBytes);
    RegisterWindowClass(instance, kGroupBoxClass, GroupBoxProc, kContainerExtraBytes);
}

void SetContainerColour(HWND hwnd, COLORREF colour) {
    SetWindowLongPtrW(hwnd, kSlotColour, static_cast<LONG_PTR>(colour & 0xFFFFFF) | kColourSet);
    InvalidateRect(hwnd, nullptr, TRUE);
}

}  // namespace snipkit::win
