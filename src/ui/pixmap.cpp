#include "ui/pixmap.h"

#include <cstring>
#include <stdexcept>

namespace snipkit {
namespace {

const LegendEntry* FindLegendEntry(char symbol) {
    for (const LegendEntry& entry : kPixelLegend) {
        if (entry.symbol == symbol) return &entry;
    }
    return nullptr;
}

[[noreturn]] void Reject(const PixelArt& art, const std::string& fault) {
    throw std::invalid_argument(std::string("picture ") + (art.name ? art.name : "(unnamed)") + ": " + fault);
}

}  // namespace

Pixmap ParsePixelArt(const PixelArt& art) {
    if (art.width <= 0 || art.height <= 0) Reject(art, "size must be positive");
    if (art.rows == nullptr || art.rowCount != static_cast<std::size_t>(art.height)) {
        Reject(art, "has " + std::to_string(art.rowCount) + " rows, expected " + std::to_string(art.height));
    }
    Pixmap map;
    map.width = art.width;
    map.height = art.height;
    map.pixels.reserve(static_cast<std::size_t>(art.width) * static_cast<std::size_t>(art.height));
    for (int y = 0; y < art.height; ++y) {
        const char* row = art.rows[y];
        const std::size_t length = row ? std::strlen(row) : 0;
        if (length != static_cast<std::size_t>(art.width)) {
            Reject(art, "row " + std::to_string(y) + " is " + std::to_string(length) + " wide, expected " +
                            std::to_string(art.width));
        }
        for (int x = 0; x < art.width; ++x) {
            const LegendEntry* entry = FindLegendEntry(row[x]);
            if (entry == nullptr) {
                Reject(art, std::string("row ") + std::to_string(y) + " uses '" + row[x] + "', which is not in the legend");
            }
            map.pixels.push_back(entry->transparent
                                     ? kTransparentPixel
                                     : 0xFF000000u | kVgaRgb[static_cast<std::size_t>(entry->colour)]);
        }
    }
    return map;
}

Pixmap CropPixmap(const Pixmap& source, int x, int y, int width, int height) {
    if (x < 0 || y < 0 || width <= 0 || height <= 0 || x + width > source.width || y + height > source.height) {
        throw std::out_of_range("crop rectangle lies outside the picture");
    }
    Pixmap part;
    part.width = width;
    part.height = height;
    part.pixels.reserve(static_cast<std::size_t>(width) * static_cast<std::size_t>(height));
    for (int row = y; row < y + height; ++row) {
        for (int col = x; col < x + width; ++col) part.pixels.push_back(source.At(col, row));
    }
    return part;
}

}  // namespace snipkit
