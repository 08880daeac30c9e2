// The butMenu button ("General options"): a small window with a list of
// lines, the mouse pointer over its lower right.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButMenuRows[] = {
    "...................",
    "kkkkkkkkkkkkkkk....",
    "knnnnnnnnnnnnnk....",
    "knnnnnnnnnnnnnk....",
    "kkkkkkkkkkkkkkk....",
    "kWWWWWWWWWWWWWk....",
    "kWnnnnnnnnnnWWk....",
    "kWWWWWWWWkWWWWk....",
    "kWnnnnnnnkkWWWk....",
    "kWWWWWWWWkWkWWk....",
    "kWnnnnnnnkWWkWk....",
    "kWWWWWWWWkWWWkk....",
    "kWnnnnnnnkWWWWk....",
    "kWWWWWWWWkWWWWWk...",
    "kkkkkkkkkkWWWWWWk..",
    ".........kWWWWkkkk.",
    ".........kWWkWWk...",
    ".........kWk.kWWk..",
    ".........kk..kWWk..",
    ".........k....kWWk.",
    "..............kWWk.",
    "...............kk..",
    "...................",
};

inline constexpr PixelArt kButMenu = MakePixelArt("butMenu", 19, 23, kButMenuRows);

}  // namespace snipkit::pictures
