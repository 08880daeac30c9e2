// The butLoad button ("Retrieve code from stash"): a green arrow rising out
// of a grey box.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButLoadRows[] = {
    "........kk........",
    ".......kGGk.......",
    "......kGGGgk......",
    ".....kGGGGGgk.....",
    "....kGGGGGGGgk....",
    "...kGGGGGGGGGgk...",
    "..kkkkkGGGgkkkkk..",
    "......kGGGgk......",
    "......kGGGgk......",
    "k.....kGGGgk.....k",
    "kk....kGGGgk....kk",
    "kWk...kGGGgk...kdk",
    "kWsk...kkkk...ksdk",
    "kWsskkkkkkkkkkssdk",
    "kWssssssssssssssdk",
    "kWssssssssssssssdk",
    "kWssssssssssssssdk",
    "kddddddddddddddddk",
};

inline constexpr PixelArt kButLoad = MakePixelArt("butLoad", 18, 18, kButLoadRows);

}  // namespace snipkit::pictures
