// The application icon at each theme size: a shape with transparent corners
// around an opaque picture, and the plane over the sea in its middle.
#include "canvas.h"
#include "icons.h"

#include <gtest/gtest.h>

namespace {

uint32_t PixelAt(cairo_surface_t* surface, int x, int y)
{
    cairo_surface_flush(surface);
    const unsigned char* row = cairo_image_surface_get_data(surface) + y * cairo_image_surface_get_stride(surface);
    return reinterpret_cast<const uint32_t*>(row)[x];
}

uint8_t Alpha(uint32_t argb)
{
    return argb >> 24;
}
uint8_t Blue(uint32_t argb)
{
    return argb & 0xff;
}
uint8_t Red(uint32_t argb)
{
    return (argb >> 16) & 0xff;
}

}  // namespace

TEST(Icon, EverySizeIsARoundedOpaqueSquareWithThePlaneAtItsCentre)
{
    for (int size : IconSizes) {
        SCOPED_TRACE(size);
        Canvas canvas(size, size);
        paintIcon(canvas.cr(), size);
        EXPECT_LT(Alpha(PixelAt(canvas.surface(), 0, 0)), 8);
        EXPECT_LT(Alpha(PixelAt(canvas.surface(), size - 1, size - 1)), 8);
        // The sea between the wing tip and the tail plane, and the fuselage.
        const uint32_t sea = PixelAt(canvas.surface(), size / 8, size * 3 / 4);
        const uint32_t body = PixelAt(canvas.surface(), size / 2, size / 2);
        EXPECT_EQ(Alpha(sea), 255);
        EXPECT_EQ(Alpha(body), 255);
        EXPECT_GT(Blue(sea), Red(sea) + 60);
        EXPECT_GT(Red(body), Red(sea) + 60);
    }
}

TEST(Icon, FilesGoWhereTheHicolorThemeLooksForThem)
{
    EXPECT_EQ(iconFileName(16), "icons/hicolor/16x16/apps/tervane.png");
    EXPECT_EQ(iconFileName(256), "icons/hicolor/256x256/apps/tervane.png");
}
