// Small 16-colour pictures kept as text, one character per pixel, so that a
// picture can be reviewed and changed in a diff. The shell turns a parsed
// pixmap into a bitmap; nothing here needs Windows.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace snipkit {

// The 16 colours of the standard VGA palette, in palette order.
enum class VgaColour : std::uint8_t {
    Black, Maroon, Green, Olive, Navy, Purple, Teal, Silver,
    Gray, Red, Lime, Yellow, Blue, Fuchsia, Aqua, White,
};

inline constexpr std::array<std::uint32_t, 16> kVgaRgb = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

struct LegendEntry {
    char symbol;
    bool transparent;  // shows whatever lies beneath (for buttons: the button face)
    VgaColour colour;  // meaningful only when not transparent
};

// The one legend every picture is drawn with. Lower case for the dark half of
// the palette, upper case for the bright half.
inline constexpr std::array<LegendEntry, 17> kPixelLegend = {{
    {'.', true, VgaColour::Black},
    {'k', false, VgaColour::Black},
    {'r', false, VgaColour::Maroon},
    {'g', false, VgaColour::Green},
    {'o', false, VgaColour::Olive},
    {'n', false, VgaColour::Navy},
    {'p', false, VgaColour::Purple},
    {'t', false, VgaColour::Teal},
    {'s', false, VgaColour::Silver},
    {'d', false, VgaColour::Gray},
    {'R', false, VgaColour::Red},
    {'G', false, VgaColour::Lime},
    {'Y', false, VgaColour::Yellow},
    {'B', false, VgaColour::Blue},
    {'M', false, VgaColour::Fuchsia},
    {'C', false, VgaColour::Aqua},
    {'W', false, VgaColour::White},
}};

// A picture as written in source: `height` rows of `width` legend characters.
struct PixelArt {
    const char* name;
    int width;
    int height;
    const char* const* rows;
    std::size_t rowCount;
};

template <std::size_t N>
constexpr PixelArt MakePixelArt(const char* name, int width, int height, const char* const (&rows)[N]) {
    return PixelArt{name, width, height, rows, N};
}

// Pixels as 0xAARRGGBB: alpha 0xFF for a colour, the whole pixel 0 where the
// picture is transparent.
inline constexpr std::uint32_t kTransparentPixel = 0;

struct Pixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // row by row, top row first

    std::uint32_t At(int x, int y) const { return pixels[static_cast<std::size_t>(y * width + x)]; }
    bool IsTransparent(int x, int y) const { return At(x, y) == kTransparentPixel; }
};

// Throws std::invalid_argument, naming the picture, when the rows do not match
// the stated size or use a character outside the legend.
Pixmap ParsePixelArt(const PixelArt& art);

// The part of a pixmap at x, y of the given size; throws std::out_of_range
// when it does not lie wholly inside.
Pixmap CropPixmap(const Pixmap& source, int x, int y, int width, int height);

}  // namespace snipkit
