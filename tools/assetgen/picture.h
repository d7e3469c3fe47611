// A picture as the game stores it: 8-bit red, green and blue, no alpha.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct Rgb {
    uint8_t r, g, b;
    bool operator==(const Rgb&) const = default;
};

class Picture {
public:
    Picture(int width, int height) : width_(width), height_(height), pixels_(size_t(width) * height, Rgb{0, 0, 0}) {}

    int width() const { return width_; }
    int height() const { return height_; }
    Rgb& at(int x, int y) { return pixels_[size_t(y) * width_ + x]; }
    const Rgb& at(int x, int y) const { return pixels_[size_t(y) * width_ + x]; }

private:
    int width_, height_;
    std::vector<Rgb> pixels_;
};

// An uncompressed 24-bit Windows bitmap: 14-byte file header, 40-byte
// information header, bottom-up rows padded to 4 bytes.
std::vector<uint8_t> encodeBmp(const Picture& picture);

// The darkest colour that art drawn with the colour key may use: every
// channel below 8 would turn into the key (black) on a 16-bit screen.
constexpr Rgb NearBlack{8, 8, 8};

// A picture drawn opaque: the surface composited over black.
Picture opaquePicture(cairo_surface_t* surface);

// A picture drawn with the colour key. Pixels at least half covered keep
// their own colour (no blending into the black around them, which would
// leave dark fringes); the rest become the key. Then finishKeyed.
Picture keyedPicture(cairo_surface_t* surface);

// Makes black mean "transparent" and nothing else: art darker than
// NearBlack is lifted to it, the border is cleared to the key, and key
// pixels walled off from the border (which would show the ground through
// the middle of the art) take the colour of the art around them.
void finishKeyed(Picture& picture);

// A picture drawn with the colour key for art the game lays over a known
// ground, `ground` giving its colour on each row: every pixel the art
// touches takes the art composed over that ground, as art drawn onto it
// would show; the rest become the key. No hole is filled, so the ground
// shows through the middle of an O.
Picture keyedOverGround(cairo_surface_t* surface, const std::function<Rgb(int y)>& ground);

// Cairo surface of a picture, for composing previews.
cairo_surface_t* surfaceOf(const Picture& picture, bool keyed);

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes);
