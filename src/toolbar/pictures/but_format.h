// The butFormat button ("Format text"): a page of text lines, the middle
// ones indented.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButFormatRows[] = {
    ".kkkkkkkkkk.....",
    ".kWWWWWWWWkk..d.",
    ".kWWWWWWWWkWk.d.",
    ".kWnnnnnnWkkkkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWnnnnnnnnnWkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWWWnnnnnnnWkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWWWnnnnnnWWkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWWWnnnnnnnnkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWnnnnnnnnWWkd.",
    ".kWWWWWWWWWWWkd.",
    ".kWnnnnnWWWWWkd.",
    ".kkkkkkkkkkkkkd.",
    "..ddddddddddddd.",
};

inline constexpr PixelArt kButFormat = MakePixelArt("butFormat", 16, 18, kButFormatRows);

}  // namespace snipkit::pictures
