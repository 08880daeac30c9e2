// Turns the text pictures into GDI bitmaps and draws the picture buttons.
#pragma once

#include <windows.h>

#include "ui/handles_win.h"
#include "ui/pixmap.h"

namespace snipkit::win {

// A 32-bit bitmap of the pixmap, its transparent pixels filled with `background`.
BitmapHandle MakeBitmap(const Pixmap& pixmap, COLORREF background);

// An icon of the pixmap, transparent where the pixmap is.
IconHandle MakeIcon(const Pixmap& pixmap);

// Draws a raised push button (sunken while pressed) with the picture centred
// on it. The picture never paints over the button's edges.
void DrawPictureButton(const DRAWITEMSTRUCT& item, HBITMAP picture, int width, int height);

}  // namespace snipkit::win
