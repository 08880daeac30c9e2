// The butStash button ("Stash clip for later use"): a green funnel pouring
// into a grey box.
// One character per pixel; see kPixelLegend in ui/pixmap.h ('.' is the button face).
#pragma once

#include "ui/pixmap.h"

namespace snipkit::pictures {

inline constexpr const char* kButStashRows[] = {
    ".kkkkkkkkkkkkkkkk.",
    ".kGGGGGGGGGGGGGgk.",
    "..kGGGGGGGGGGGgk..",
    "...kGGGGGGGGGgk...",
    "....kGGGGGGGgk....",
    ".....kGGGGGgk.....",
    "......kGGGgk......",
    ".......kGgk.......",
    ".......kGgk.......",
    "k......kGgk......k",
    "kk.....kGgk.....kk",
    "kWk....kGgk....kdk",
    "kWsk....kk....ksdk",
    "kWsskkkkkkkkkkssdk",
    "kWssssssssssssssdk",
    "kWssssssssssssssdk",
    "kWssssssssssssssdk",
    "kddddddddddddddddk",
};

inline constexpr PixelArt kButStash = MakePixelArt("butStash", 18, 18, kButStashRows);

}  // namespace snipkit::pictures
