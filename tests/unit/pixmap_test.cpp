#include <gtest/gtest.h>

#include <cstring>
#include <set>
#include <stdexcept>
#include <string>

#include "toolbar/pictures/app_icon.h"
#include "toolbar/pictures/but_format.h"
#include "toolbar/pictures/but_help.h"
#include "toolbar/pictures/but_load.h"
#include "toolbar/pictures/but_menu.h"
#include "toolbar/pictures/but_stash.h"
#include "toolbar/pictures/but_text.h"
#include "ui/pixmap.h"

namespace snipkit {
namespace {

struct PictureCase {
    const PixelArt& art;
    const char* name;
    int width;
    int height;
};

// The program's pictures: the toolbar's, at the sizes their buttons are laid
// out for, and the icon.
const PictureCase kPictures[] = {
    {pictures::kButMenu, "butMenu", 19, 23},
    {pictures::kButText, "butText", 22, 20},
    {pictures::kButFormat, "butFormat", 16, 18},
    {pictures::kButStash, "butStash", 18, 18},
    {pictures::kButLoad, "butLoad", 18, 18},
    {pictures::kButHelp, "butHelp", 32, 16},
    {pictures::kAppIcon, "appIcon", 32, 32},
};

bool InLegend(char c) {
    for (const LegendEntry& e : kPixelLegend) {
        if (e.symbol == c) return true;
    }
    return false;
}

TEST(Pixmap, LegendSymbolsAreUniqueAndCoverTheWholePalette) {
    std::set<char> symbols;
    std::set<int> colours;
    int transparent = 0;
    for (const LegendEntry& e : kPixelLegend) {
        EXPECT_TRUE(symbols.insert(e.symbol).second) << "duplicate symbol " << e.symbol;
        if (e.transparent) {
            ++transparent;
        } else {
            EXPECT_TRUE(colours.insert(static_cast<int>(e.colour)).second) << "colour twice: " << e.symbol;
        }
    }
    EXPECT_EQ(transparent, 1);
    EXPECT_EQ(colours.size(), 16u);
}

TEST(Pixmap, PicturesHaveTheirSizesAndOnlyLegendCharacters) {
    for (const PictureCase& c : kPictures) {
        SCOPED_TRACE(c.name);
        EXPECT_STREQ(c.art.name, c.name);
        EXPECT_EQ(c.art.width, c.width);
        EXPECT_EQ(c.art.height, c.height);
        ASSERT_EQ(c.art.rowCount, static_cast<std::size_t>(c.height));
        for (std::size_t y = 0; y < c.art.rowCount; ++y) {
            const char* row = c.art.rows[y];
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(std::strlen(row), static_cast<std::size_t>(c.width)) << "row " << y;
            for (const char* p = row; *p; ++p) EXPECT_TRUE(InLegend(*p)) << "row " << y << " char '" << *p << "'";
        }
    }
}

TEST(Pixmap, PicturesParseIntoTheSixteenColoursAndSomeTransparency) {
    const std::set<std::uint32_t> palette(kVgaRgb.begin(), kVgaRgb.end());
    for (const PictureCase& c : kPictures) {
        SCOPED_TRACE(c.name);
        const Pixmap map = ParsePixelArt(c.art);
        EXPECT_EQ(map.width, c.width);
        EXPECT_EQ(map.height, c.height);
        ASSERT_EQ(map.pixels.size(), static_cast<std::size_t>(c.width * c.height));
        std::set<std::uint32_t> used;
        int transparent = 0;
        for (std::uint32_t px : map.pixels) {
            if (px == kTransparentPixel) {
                ++transparent;
                continue;
            }
            EXPECT_EQ(px >> 24, 0xFFu);
            EXPECT_EQ(palette.count(px & 0xFFFFFFu), 1u) << std::hex << px;
            used.insert(px);
        }
        // A picture lets what lies beneath show around its motif and draws
        // in more than one colour.
        EXPECT_GT(transparent, 0);
        EXPECT_GE(used.size(), 2u);
    }
}

TEST(Pixmap, HelpPictureHoldsTwoSquareImagesTheSecondWithoutColour) {
    const Pixmap strip = ParsePixelArt(pictures::kButHelp);
    ASSERT_EQ(strip.width, 2 * strip.height);
    const Pixmap normal = CropPixmap(strip, 0, 0, strip.height, strip.height);
    const Pixmap greyed = CropPixmap(strip, strip.height, 0, strip.height, strip.height);
    const std::set<std::uint32_t> greys = {0xFF000000u | kVgaRgb[static_cast<int>(VgaColour::Black)],
                                          0xFF000000u | kVgaRgb[static_cast<int>(VgaColour::Gray)],
                                          0xFF000000u | kVgaRgb[static_cast<int>(VgaColour::Silver)],
                                          0xFF000000u | kVgaRgb[static_cast<int>(VgaColour::White)],
                                          kTransparentPixel};
    bool normalHasColour = false;
    for (std::uint32_t px : normal.pixels) normalHasColour |= greys.count(px) == 0;
    EXPECT_TRUE(normalHasColour);
    for (std::uint32_t px : greyed.pixels) EXPECT_EQ(greys.count(px), 1u) << std::hex << px;
}

TEST(Pixmap, EachLegendSymbolParsesToItsColour) {
    const struct {
        const char* row;
        std::uint32_t expected;
    } cases[] = {
        {".", kTransparentPixel}, {"k", 0xFF000000}, {"r", 0xFF800000}, {"g", 0xFF008000}, {"o", 0xFF808000},
        {"n", 0xFF000080},        {"p", 0xFF800080}, {"t", 0xFF008080}, {"s", 0xFFC0C0C0}, {"d", 0xFF808080},
        {"R", 0xFFFF0000},        {"G", 0xFF00FF00}, {"Y", 0xFFFFFF00}, {"B", 0xFF0000FF}, {"M", 0xFFFF00FF},
        {"C", 0xFF00FFFF},        {"W", 0xFFFFFFFF},
    };
    for (const auto& c : cases) {
        const char* rows[] = {c.row};
        const Pixmap map = ParsePixelArt(MakePixelArt("one", 1, 1, rows));
        ASSERT_EQ(map.pixels.size(), 1u);
        EXPECT_EQ(map.At(0, 0), c.expected) << c.row;
    }
}

TEST(Pixmap, PixelsRunRowByRowFromTheTop) {
    const char* rows[] = {"kW.", "RGB"};
    const Pixmap map = ParsePixelArt(MakePixelArt("order", 3, 2, rows));
    EXPECT_EQ(map.At(0, 0), 0xFF000000u);
    EXPECT_EQ(map.At(1, 0), 0xFFFFFFFFu);
    EXPECT_TRUE(map.IsTransparent(2, 0));
    EXPECT_FALSE(map.IsTransparent(0, 1));
    EXPECT_EQ(map.At(0, 1), 0xFFFF0000u);
    EXPECT_EQ(map.At(1, 1), 0xFF00FF00u);
    EXPECT_EQ(map.At(2, 1), 0xFF0000FFu);
}

TEST(Pixmap, MalformedPicturesAreRejectedWithTheirName) {
    const char* ragged[] = {"kkk", "kk"};
    const char* foreign[] = {"kxk"};
    const char* shortRows[] = {"kk"};
    const char* nullRow[] = {nullptr};
    const struct {
        PixelArt art;
        const char* fault;
    } cases[] = {
        {MakePixelArt("ragged", 3, 2, ragged), "row 1 is 2 wide"},
        {MakePixelArt("foreign", 3, 1, foreign), "'x'"},
        {MakePixelArt("tooFewRows", 2, 2, shortRows), "has 1 rows"},
        {MakePixelArt("narrowerThanStated", 3, 1, shortRows), "row 0 is 2 wide"},
        {MakePixelArt("nullRow", 1, 1, nullRow), "row 0 is 0 wide"},
        {MakePixelArt("empty", 0, 1, shortRows), "size must be positive"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.art.name);
        try {
            ParsePixelArt(c.art);
            ADD_FAILURE() << "accepted";
        } catch (const std::invalid_argument& e) {
            const std::string what = e.what();
            EXPECT_NE(what.find(c.art.name), std::string::npos) << what;
            EXPECT_NE(what.find(c.fault), std::string::npos) << what;
        }
    }
}

TEST(Pixmap, CropTakesTheRectangleAndRefusesToLeaveThePicture) {
    const char* rows[] = {"kWRG", "BYnd"};
    const Pixmap map = ParsePixelArt(MakePixelArt("crop", 4, 2, rows));
    const Pixmap part = CropPixmap(map, 1, 0, 2, 2);
    ASSERT_EQ(part.width, 2);
    ASSERT_EQ(part.height, 2);
    EXPECT_EQ(part.At(0, 0), 0xFFFFFFFFu);
    EXPECT_EQ(part.At(1, 0), 0xFFFF0000u);
    EXPECT_EQ(part.At(0, 1), 0xFFFFFF00u);
    EXPECT_EQ(part.At(1, 1), 0xFF000080u);
    EXPECT_THROW(CropPixmap(map, 3, 0, 2, 1), std::out_of_range);
    EXPECT_THROW(CropPixmap(map, 0, 1, 1, 2), std::out_of_range);
    EXPECT_THROW(CropPixmap(map, -1, 0, 1, 1), std::out_of_range);
    EXPECT_THROW(CropPixmap(map, 0, 0, 0, 1), std::out_of_range);
}

}  // namespace
}  // namespace snipkit
