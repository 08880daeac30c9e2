// The butText button ("Insert new blocks of code"): a white label reading
// "if...".
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButTextRows[] = {
    "......................",
    "......................",
    "......................",
    "..kkkkkkkkkkkkkkkkkkk.",
    "..kWWWWWWWWWWWWWWWWWkd",
    "..kWWWWWWWWWWWWWWWWWkd",
    "..kWnnWWnnnWWWWWWWWWkd",
    "..kWWWWnnWWWWWWWWWWWkd",
    "..kWnnWnnnnWWWWWWWWWkd",
    "..kWnnWWnnWWWWWWWWWWkd",
    "..kWnnWWnnWWWWWWWWWWkd",
    "..kWnnWWnnWnnWnnWnnWkd",
    "..kWnnWWnnWnnWnnWnnWkd",
    "..kWWWWWWWWWWWWWWWWWkd",
    "..kWWWWWWWWWWWWWWWWWkd",
    "..kkkkkkkkkkkkkkkkkkkd",
    "...ddddddddddddddddddd",
    "......................",
    "......................",
    "......................",
};

inline constexpr PixelArt kButText = MakePixelArt("butText", 22, 20, kButTextRows);

}  // namespace snipkit::pictures
