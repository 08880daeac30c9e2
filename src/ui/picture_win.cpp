#include "ui/picture_win.h"

#include <cstdint>
#include <vector>

namespace snipkit::win {
namespace {

// A top-down 32-bit DIB section; `bits` receives its pixels (0x00RRGGBB).
HBITMAP CreateTopDownDib(int width, int height, void** bits) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
}

std::uint32_t ColourRefToRgb(COLORREF c) {
    return (static_cast<std::uint32_t>(GetRValue(c)) << 16) | (static_cast<std::uint32_t>(GetGValue(c)) << 8) |
           GetBValue(c);
}

}  // namespace

BitmapHandle MakeBitmap(const Pixmap& pixmap, COLORREF background) {
    void* bits = nullptr;
    BitmapHandle bitmap(CreateTopDownDib(pixmap.width, pixmap.height, &bits));
    if (!bitmap || bits == nullptr) return {};
    const std::uint32_t fill = ColourRefToRgb(background);
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixmap.pixels.size(); ++i) {
        const std::uint32_t px = pixmap.pixels[i];
        out[i] = px == kTransparentPixel ? fill : (px & 0xFFFFFFu);
    }
    GdiFlush();
    return bitmap;
}

IconHandle MakeIcon(const Pixmap& pixmap) {
    void* bits = nullptr;
    BitmapHandle colour(CreateTopDownDib(pixmap.width, pixmap.height, &bits));
    if (!colour || bits == nullptr) return {};
    auto* out = static_cast<std::uint32_t*>(bits);
    for (std::size_t i = 0; i < pixmap.pixels.size(); ++i) out[i] = pixmap.pixels[i];  // alpha carries the shape

    // The AND mask: one bit per pixel, rows padded to 16 bits, set where transparent.
    const int stride = ((pixmap.width + 15) / 16) * 2;
    std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(stride * pixmap.height), 0);
    for (int y = 0; y < pixmap.height; ++y) {
        for (int x = 0; x < pixmap.width; ++x) {
            if (pixmap.IsTransparent(x, y)) {
                maskBits[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    BitmapHandle mask(CreateBitmap(pixmap.width, pixmap.height, 1, 1, maskBits.data()));
    if (!mask) return {};
    GdiFlush();
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = mask.get();
    info.hbmColor = colour.get();
    return IconHandle(CreateIconIndirect(&info));
}

void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture, int width, int height) {
    HDC dc = item.hDC;
    RECT frame = item.rcItem;
    const bool pressed = (item.itemState & ODS_SELECTED) != 0;
    DrawFrameControl(dc, &frame, DFC_BUTTON, DFCS_BUTTONPUSH | (pressed ? DFCS_PUSHED : 0));

    // The face inside the two-pixel edges; a picture larger than the face is
    // cut there rather than painting over the edges.
    RECT face = item.rcItem;
    InflateRect(&face, -2, -2);
    const int shift = pressed ? 1 : 0;
    const int x = item.rcItem.left + (item.rcItem.right - item.rcItem.left - width) / 2 + shift;
    const int y = item.rcItem.top + (item.rcItem.bottom - item.rcItem.top - height) / 2 + shift;
    if (picture != nullptr) {
        HDC source = CreateCompatibleDC(dc);
        if (source != nullptr) {
            HGDIOBJ old = SelectObject(source, picture);
            const int saved = SaveDC(dc);
            IntersectClipRect(dc, face.left, face.top, face.right, face.bottom);
            BitBlt(dc, x, y, width, height, source, 0, 0, SRCCOPY);
            RestoreDC(dc, saved);
            SelectObject(source, old);
            DeleteDC(source);
        }
    }
    if ((item.itemState & ODS_FOCUS) && !(item.itemState & ODS_NOFOCUSRECT)) {
        RECT focus = face;
        InflateRect(&focus, -1, -1);
        DrawFocusRect(dc, &focus);
    }
}

}  // namespace snipkit::win
