// The runtime's own primitives against SDL_gfx's, pixel for pixel and result
// for result: seeded random shapes at and beyond every edge of the surface
// and of the 16-bit range, under random clip rectangles, on 8, 16, 24 and
// 32-bit surfaces, and the degenerate shapes on their own.
#include "runtime/screen/primitives.h"

#include <SDL_gfxPrimitives.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace own = tervane::primitives;

// Odd sizes, so that 8 and 24-bit rows end in padding, which must stay as it was.
constexpr int Width = 37;
constexpr int Height = 29;

struct Format {
    const char* name;
    int bits;
    Uint32 red, green, blue, alpha;
};
constexpr Format Formats[] = {
    {"8-bit", 8, 0, 0, 0, 0},
    {"16-bit", 16, 0xF800, 0x07E0, 0x001F, 0},
    {"24-bit", 24, 0xFF0000, 0x00FF00, 0x0000FF, 0},
    {"32-bit", 32, 0xFF0000, 0x00FF00, 0x0000FF, 0},
    {"32-bit with alpha", 32, 0xFF000000, 0x00FF0000, 0x0000FF00, 0x000000FF},
};

void PrintTo(const Format& format, std::ostream* out)
{
    *out << format.name;
}

enum class Kind { Pixel, Line, Box, Circle, Ellipse, Text };

struct Shape {
    Kind kind;
    Sint16 a, b, c = 0, d = 0;  // x, y, then the far corner or the radii
    std::string text{};
    Uint32 color = 0x5A3CF0FF;
};

// Which call, with what, under which clip rectangle: the message of a mismatch.
std::string Describe(const Shape& shape, const SDL_Rect& clip)
{
    static const char* const names[] = {"pixel", "line", "box", "circle", "ellipse", "string"};
    std::ostringstream out;
    out << names[static_cast<int>(shape.kind)] << "Color(" << shape.a << ", " << shape.b << ", " << shape.c << ", "
        << shape.d << ", \"" << shape.text.substr(0, 16) << (shape.text.size() > 16 ? "...\"" : "\"") << ", 0x"
        << std::hex << shape.color << std::dec << ") clipped to " << clip.x << ", " << clip.y << " " << clip.w << " x "
        << clip.h;
    return out.str();
}

template <class Primitives>
int Draw(SDL_Surface* surface, const Shape& s)
{
    switch (s.kind) {
    case Kind::Pixel: return Primitives::pixel(surface, s.a, s.b, s.color);
    case Kind::Line: return Primitives::line(surface, s.a, s.b, s.c, s.d, s.color);
    case Kind::Box: return Primitives::box(surface, s.a, s.b, s.c, s.d, s.color);
    case Kind::Circle: return Primitives::circle(surface, s.a, s.b, s.c, s.color);
    case Kind::Ellipse: return Primitives::ellipse(surface, s.a, s.b, s.c, s.d, s.color);
    case Kind::Text: return Primitives::string(surface, s.a, s.b, s.text.c_str(), s.color);
    }
    return 0;
}

struct SdlGfx {
    static constexpr auto pixel = ::pixelColor;
    static constexpr auto line = ::lineColor;
    static constexpr auto box = ::boxColor;
    static constexpr auto circle = ::circleColor;
    static constexpr auto ellipse = ::ellipseColor;
    static constexpr auto string = ::stringColor;
};
struct Own {
    static constexpr auto pixel = own::pixelColor;
    static constexpr auto line = own::lineColor;
    static constexpr auto box = own::boxColor;
    static constexpr auto circle = own::circleColor;
    static constexpr auto ellipse = own::ellipseColor;
    static constexpr auto string = own::stringColor;
};

SDL_Surface* NewSurface(const Format& format)
{
    SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, Width, Height, format.bits, format.red, format.green,
                                                format.blue, format.alpha);
    if (surface && format.bits == 8) {
        // A 3-3-2 palette, so that colours map to many different entries.
        SDL_Color colors[256];
        for (int i = 0; i < 256; ++i)
            colors[i] = {static_cast<Uint8>((i >> 5) * 255 / 7), static_cast<Uint8>(((i >> 2) & 7) * 255 / 7),
                         static_cast<Uint8>((i & 3) * 255 / 3), 0};
        SDL_SetColors(surface, colors, 0, 256);
    }
    return surface;
}

// Two equal surfaces, one drawn on by SDL_gfx and one by the runtime.
class PrimitivesTest : public ::testing::TestWithParam<Format> {
protected:
    void SetUp() override
    {
        theirs = NewSurface(GetParam());
        ours = NewSurface(GetParam());
        ASSERT_NE(theirs, nullptr);
        ASSERT_NE(ours, nullptr);
        noise.resize(Bytes());
        for (uint8_t& byte : noise)
            byte = static_cast<uint8_t>(random());
    }
    void TearDown() override
    {
        SDL_FreeSurface(theirs);
        SDL_FreeSurface(ours);
    }

    size_t Bytes() const { return static_cast<size_t>(theirs->pitch) * Height; }

    // Both surfaces filled with the same noise and clipped alike, the shape
    // drawn on each, and any difference reported; true when they agree.
    bool Agree(const Shape& shape, const SDL_Rect* clip)
    {
        std::memcpy(theirs->pixels, noise.data(), Bytes());
        std::memcpy(ours->pixels, noise.data(), Bytes());
        SDL_SetClipRect(theirs, clip);
        SDL_SetClipRect(ours, clip);
        const int expected = Draw<SdlGfx>(theirs, shape);
        const int actual = Draw<Own>(ours, shape);
        EXPECT_EQ(actual, expected) << Describe(shape, theirs->clip_rect);
        const auto* want = static_cast<const uint8_t*>(theirs->pixels);
        const auto* got = static_cast<const uint8_t*>(ours->pixels);
        if (std::memcmp(want, got, Bytes()) != 0) {
            const size_t at = std::mismatch(want, want + Bytes(), got).first - want;
            ADD_FAILURE() << Describe(shape, theirs->clip_rect) << ": first differs at x "
                          << at % theirs->pitch / theirs->format->BytesPerPixel << ", y " << at / theirs->pitch;
            return false;
        }
        return actual == expected;
    }

    std::mt19937 random{20261208};
    std::vector<uint8_t> noise;
    SDL_Surface* theirs = nullptr;
    SDL_Surface* ours = nullptr;
};

// Mostly around the surface, now and then at the ends of the 16-bit range or
// anywhere in it.
Sint16 Coordinate(std::mt19937& random, int extent)
{
    constexpr Sint16 limits[] = {-32768, -32767, 32766, 32767};
    switch (random() % 8) {
    case 0: return limits[random() % 4];
    case 1: return static_cast<Sint16>(random());
    default: return static_cast<Sint16>(static_cast<int>(random() % (extent + 24)) - 12);
    }
}

// Mostly small, now and then zero or negative, rarely huge (a huge one costs
// thousands of steps).
Sint16 Radius(std::mt19937& random)
{
    switch (random() % 32) {
    case 0:
    case 1:
    case 2: return static_cast<Sint16>(static_cast<int>(random() % 4) - 2);
    case 3: return static_cast<Sint16>(random() % 32768);
    default: return static_cast<Sint16>(random() % 40);
    }
}

TEST_P(PrimitivesTest, RandomShapesUnderRandomClipsMatchSdlGfx)
{
    for (int round = 0; round < 3000; ++round) {
        Shape shape{static_cast<Kind>(random() % 6), Coordinate(random, Width), Coordinate(random, Height)};
        shape.color = static_cast<Uint32>(random()) | 0xFF;
        // A second point often next to the first: single pixels, rows, columns.
        const bool near = random() % 3 == 0;
        shape.c = near ? static_cast<Sint16>(shape.a + static_cast<int>(random() % 5) - 2) : Coordinate(random, Width);
        shape.d = near ? static_cast<Sint16>(shape.b + static_cast<int>(random() % 5) - 2) : Coordinate(random, Height);
        if (shape.kind == Kind::Circle || shape.kind == Kind::Ellipse) {
            shape.c = Radius(random);
            shape.d = Radius(random);
        }
        for (size_t length = random() % 7; length > 0; --length)
            shape.text += static_cast<char>(random() % 255 + 1);
        SDL_Rect clip{static_cast<Sint16>(random() % Width), static_cast<Sint16>(random() % Height),
                      static_cast<Uint16>(random() % (Width + 1)), static_cast<Uint16>(random() % (Height + 1))};
        if (!Agree(shape, random() % 3 == 0 ? nullptr : &clip))
            return;
    }
}

TEST_P(PrimitivesTest, DegenerateShapesMatchSdlGfx)
{
    const std::string alphabet = "Tervane 0123456789 \x01\x7F\x80\xFF";
    const std::vector<Shape> shapes = {
        {Kind::Circle, 10, 10, 0},
        {Kind::Circle, 10, 10, -1},
        // The right edge wraps round to the far left: nothing is drawn.
        {Kind::Circle, 32767, 0, 32767},
        {Kind::Ellipse, 32767, 5, 32767, 5},
        {Kind::Circle, 18, 14, 32767},
        {Kind::Ellipse, 10, 10, 0, 0},
        {Kind::Ellipse, 10, 10, 0, 6},
        {Kind::Ellipse, 10, 10, 6, 0},
        {Kind::Ellipse, 10, 10, -1, 4},
        {Kind::Ellipse, 10, 10, 4, -1},
        {Kind::Ellipse, 18, 14, 32767, 3},
        {Kind::Ellipse, 18, 14, 3, 32767},
        {Kind::Box, 5, 5, 5, 5},
        {Kind::Box, 20, 9, 3, 2},
        {Kind::Box, -32768, -32768, 32767, 32767},
        {Kind::Box, Width, 0, Width + 5, 5},
        {Kind::Line, 7, 7, 7, 7},
        {Kind::Line, 30, 2, 3, 20},
        {Kind::Line, -32768, -32768, 32767, 32767},
        {Kind::Line, -32768, 32767, 32767, -32768},
        {Kind::Line, -5, 3, Width + 5, 3},
        {Kind::Pixel, -1, 0},
        {Kind::Pixel, Width - 1, Height - 1},
        {Kind::Text, -4, -4, 0, 0, alphabet},
        {Kind::Text, Width - 4, Height - 4, 0, 0, alphabet},
        {Kind::Text, -8, 0, 0, 0, "x"},
        {Kind::Text, 0, Height, 0, 0, "x"},
        {Kind::Text, 5, 5, 0, 0, ""},
        // Far past 32767 the characters wrap round onto the surface again.
        {Kind::Text, 32700, 3, 0, 0, std::string(8200, 'W')},
    };
    const SDL_Rect inner{3, 4, 20, 15};
    const SDL_Rect empty{3, 4, 0, 15};
    for (const SDL_Rect* clip : {static_cast<const SDL_Rect*>(nullptr), &inner, &empty})
        for (const Shape& shape : shapes)
            Agree(shape, clip);
}

INSTANTIATE_TEST_SUITE_P(Surfaces, PrimitivesTest, ::testing::ValuesIn(Formats), [](const auto& info) {
    std::string name = info.param.name;
    std::erase(name, '-');
    std::erase(name, ' ');
    return name;
});

// A run-length encoded surface must be locked for drawing: each primitive
// takes and lets go of the lock itself, and draws what SDL_gfx draws.
TEST(PrimitivesLockTest, ASurfaceThatMustBeLockedIsLockedAroundTheDrawing)
{
    const auto encoded = [] {
        SDL_Surface* surface = NewSurface(Formats[3]);
        SDL_SetColorKey(surface, SDL_SRCCOLORKEY | SDL_RLEACCEL, 0);
        SDL_Surface* target = NewSurface(Formats[3]);
        SDL_BlitSurface(surface, nullptr, target, nullptr);
        SDL_FreeSurface(target);
        return surface;
    };
    SDL_Surface* theirs = encoded();
    SDL_Surface* ours = encoded();
    ASSERT_TRUE(SDL_MUSTLOCK(ours));
    const std::vector<Shape> shapes = {{Kind::Pixel, 1, 2},           {Kind::Line, 0, 0, 30, 9},
                                       {Kind::Box, 4, 4, 9, 9},       {Kind::Circle, 9, 9, 6},
                                       {Kind::Ellipse, 20, 14, 9, 5}, {Kind::Text, 2, 18, 0, 0, "Hi"}};
    for (const Shape& shape : shapes) {
        EXPECT_EQ(Draw<Own>(ours, shape), Draw<SdlGfx>(theirs, shape));
        EXPECT_EQ(ours->locked, 0u);
    }
    ASSERT_EQ(SDL_LockSurface(theirs), 0);
    ASSERT_EQ(SDL_LockSurface(ours), 0);
    EXPECT_EQ(std::memcmp(theirs->pixels, ours->pixels, static_cast<size_t>(ours->pitch) * Height), 0);
    SDL_UnlockSurface(theirs);
    SDL_UnlockSurface(ours);
    SDL_FreeSurface(theirs);
    SDL_FreeSurface(ours);
}

}  // namespace
