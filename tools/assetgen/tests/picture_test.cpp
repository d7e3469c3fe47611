// The bitmap writer and the rules that make black mean "transparent".
#include "canvas.h"
#include "picture.h"

#include <gtest/gtest.h>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(Bmp, RowsAreStoredBottomUpInBlueGreenRedPaddedToFourBytes)
{
    Picture picture(3, 2);
    picture.at(0, 0) = {1, 2, 3};     // top left
    picture.at(2, 1) = {10, 20, 30};  // bottom right
    const std::vector<uint8_t> bmp = encodeBmp(picture);
    ASSERT_EQ(bmp.size(), 54u + 2 * 12);  // 9 bytes of pixels and 3 of padding per row
    EXPECT_EQ(U32(bmp, 2), bmp.size());
    EXPECT_EQ(U32(bmp, 10), 54u);
    EXPECT_EQ(U32(bmp, 14), 40u);
    EXPECT_EQ(U32(bmp, 18), 3u);
    EXPECT_EQ(U32(bmp, 22), 2u);
    // The bottom row comes first: its last pixel at bytes 6..8.
    EXPECT_EQ(bmp[54 + 6], 30);
    EXPECT_EQ(bmp[54 + 7], 20);
    EXPECT_EQ(bmp[54 + 8], 10);
    EXPECT_EQ(bmp[54 + 9], 0);  // padding
    // Then the top row.
    EXPECT_EQ(bmp[54 + 12], 3);
    EXPECT_EQ(bmp[54 + 13], 2);
    EXPECT_EQ(bmp[54 + 14], 1);
}

TEST(KeyedPicture, ClearsTheBorderAndLiftsArtThatWouldBeTakenForTheKey)
{
    Picture picture(5, 5);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 5; ++x)
            picture.at(x, y) = {200, 100, 50};
    picture.at(2, 2) = {3, 5, 7};
    finishKeyed(picture);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(picture.at(i, 0), (Rgb{0, 0, 0}));
        EXPECT_EQ(picture.at(0, i), (Rgb{0, 0, 0}));
        EXPECT_EQ(picture.at(i, 4), (Rgb{0, 0, 0}));
        EXPECT_EQ(picture.at(4, i), (Rgb{0, 0, 0}));
    }
    EXPECT_EQ(picture.at(2, 2), NearBlack);
    EXPECT_EQ(picture.at(1, 1), (Rgb{200, 100, 50}));
}

TEST(KeyedPicture, FillsAHoleWalledOffFromTheBorderWithTheArtAroundIt)
{
    // A ring of red around one black pixel, and a black notch open to the
    // border that must stay transparent.
    Picture picture(7, 7);
    for (int y = 1; y <= 5; ++y)
        for (int x = 1; x <= 5; ++x)
            picture.at(x, y) = {180, 20, 20};
    picture.at(3, 3) = {0, 0, 0};
    picture.at(1, 3) = {0, 0, 0};
    finishKeyed(picture);
    EXPECT_EQ(picture.at(3, 3), (Rgb{180, 20, 20}));
    EXPECT_EQ(picture.at(1, 3), (Rgb{0, 0, 0}));
}

TEST(KeyedPicture, KeepsOnlyPixelsAtLeastHalfCoveredAndTheirOwnColour)
{
    Canvas canvas(6, 6);
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 1, 1, 2, 4);
    cairo_set_source_rgba(cr, 0.0, 0.5, 1.0, 1.0);
    cairo_fill(cr);
    cairo_rectangle(cr, 3, 1, 2, 4);
    cairo_set_source_rgba(cr, 1.0, 1.0, 1.0, 0.3);
    cairo_fill(cr);
    const Picture picture = canvas.keyed();
    const Rgb solid = picture.at(1, 2);
    EXPECT_EQ(solid.r, 0);
    EXPECT_GE(solid.g, 127);
    EXPECT_EQ(solid.b, 255);
    EXPECT_EQ(picture.at(3, 2), (Rgb{0, 0, 0}));
}

TEST(KeyedOverGround, ComposesEveryTouchedPixelOverItsRowsGroundAndKeepsHoles)
{
    // A white ring, half covering its outer column, around an untouched hole.
    Canvas canvas(6, 5);
    cairo_t* cr = canvas.cr();
    cairo_rectangle(cr, 1, 1, 3, 3);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill(cr);
    cairo_rectangle(cr, 4, 1, 1, 3);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, 2, 2, 1, 1);
    cairo_fill(cr);
    const Picture picture = keyedOverGround(canvas.surface(), [](int y) { return Rgb{uint8_t(40 * y), 0, 100}; });
    EXPECT_EQ(picture.at(1, 1), (Rgb{255, 255, 255}));
    EXPECT_EQ(picture.at(4, 3), (Rgb{uint8_t(64 + 120 * 3 / 4), 64, 64 + 75})) << "a quarter white over row 3";
    EXPECT_EQ(picture.at(2, 2), (Rgb{0, 0, 0})) << "the hole stays the key";
    EXPECT_EQ(picture.at(0, 0), (Rgb{0, 0, 0}));
}
