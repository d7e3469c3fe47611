// A started sprite layer with an open 640 x 480 screen, and the means to read
// the screen's pixels back.
#pragma once

#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "tests/runtime/screen/bmp_builder.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

class ScreenTest : public ::testing::Test {
protected:
    static constexpr int32_t Width = 640;
    static constexpr int32_t Height = 480;

    void SetUp() override
    {
        ASSERT_NE(QV_InitSprite(), nullptr);
        ASSERT_NE(QV_OpenScreen(Width, Height, 32), nullptr);
        QV_SetFrameRate(0);
    }
    void TearDown() override { QV_FreeSprites(); }

    static bmp_test::Rgb PixelOf(SDL_Surface* surface, int32_t x, int32_t y)
    {
        const uint8_t* p =
            static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch + x * surface->format->BytesPerPixel;
        Uint32 value = 0;
        std::memcpy(&value, p, surface->format->BytesPerPixel);
        bmp_test::Rgb c{};
        SDL_GetRGB(value, surface->format, &c.red, &c.green, &c.blue);
        return c;
    }
    static bmp_test::Rgb At(int32_t x, int32_t y) { return PixelOf(QV_Screen_Current, x, y); }

    // Loads a 24-bit picture into `sprite`; fails the test if it does not load.
    static void Load(int32_t sprite, const std::vector<uint8_t>& bmp)
    {
        ASSERT_NE(QV_CatchSprite(sprite, bmp.data(), bmp.size()), nullptr) << "sprite " << sprite;
    }
    static void LoadFilled(int32_t sprite, int32_t width, int32_t height, bmp_test::Rgb colour)
    {
        Load(sprite, bmp_test::BuildBmp24(width, height, [colour](int32_t, int32_t) { return colour; }));
    }

    // Whether the screen holds `inside` exactly on the rectangle and
    // `outside` everywhere else.
    static bool ScreenShowsRect(int32_t left, int32_t top, int32_t width, int32_t height, bmp_test::Rgb inside,
                                bmp_test::Rgb outside)
    {
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) {
                const bool in = x >= left && x < left + width && y >= top && y < top + height;
                if (!(At(x, y) == (in ? inside : outside)))
                    return false;
            }
        return true;
    }

    static bool ScreenIs(bmp_test::Rgb colour) { return ScreenShowsRect(0, 0, 0, 0, colour, colour); }

    // Clears and presents a frame, which makes the screen the display target.
    static void StartFrame(bmp_test::Rgb background = {0, 0, 0})
    {
        QV_ClearScreen(background.red, background.green, background.blue);
        QV_FlipBuffers();
        QV_ClearScreen(background.red, background.green, background.blue);
    }
};
