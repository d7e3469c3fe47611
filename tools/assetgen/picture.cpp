#include "picture.h"

#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace {

void putLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

struct SurfacePixel {
    uint8_t r, g, b, a;
};

SurfacePixel readSurface(cairo_surface_t* surface, int x, int y)
{
    const unsigned char* row =
        cairo_image_surface_get_data(surface) + size_t(y) * cairo_image_surface_get_stride(surface);
    uint32_t argb;
    std::memcpy(&argb, row + 4 * x, 4);
    return {uint8_t(argb >> 16), uint8_t(argb >> 8), uint8_t(argb), uint8_t(argb >> 24)};
}

bool isKey(const Rgb& c)
{
    return c.r == 0 && c.g == 0 && c.b == 0;
}

Rgb lifted(Rgb c)
{
    return c.r < NearBlack.r && c.g < NearBlack.g && c.b < NearBlack.b ? NearBlack : c;
}

// Fills key pixels that no 4-connected path of key pixels joins to the
// border, layer by layer from their edge, with the mean of the filled
// neighbours.
void fillEnclosedKeyPixels(Picture& picture)
{
    const int w = picture.width(), h = picture.height();
    std::vector<uint8_t> reached(size_t(w) * h, 0);
    std::vector<std::pair<int, int>> pending;
    auto visit = [&](int x, int y) {
        if (x < 0 || y < 0 || x >= w || y >= h || reached[size_t(y) * w + x] || !isKey(picture.at(x, y)))
            return;
        reached[size_t(y) * w + x] = 1;
        pending.emplace_back(x, y);
    };
    for (int x = 0; x < w; ++x) {
        visit(x, 0);
        visit(x, h - 1);
    }
    for (int y = 0; y < h; ++y) {
        visit(0, y);
        visit(w - 1, y);
    }
    while (!pending.empty()) {
        auto [x, y] = pending.back();
        pending.pop_back();
        visit(x + 1, y);
        visit(x - 1, y);
        visit(x, y + 1);
        visit(x, y - 1);
    }
    std::vector<std::pair<int, int>> enclosed;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            if (isKey(picture.at(x, y)) && !reached[size_t(y) * w + x])
                enclosed.emplace_back(x, y);
    while (!enclosed.empty()) {
        std::vector<std::pair<int, int>> layer, rest;
        std::vector<Rgb> colours;
        for (auto [x, y] : enclosed) {
            int r = 0, g = 0, b = 0, n = 0;
            const int neighbours[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
            for (auto [nx, ny] : neighbours) {
                const Rgb& c = picture.at(nx, ny);  // never the border: that is reached
                if (!isKey(c)) {
                    r += c.r;
                    g += c.g;
                    b += c.b;
                    ++n;
                }
            }
            if (n) {
                layer.emplace_back(x, y);
                colours.push_back(lifted({uint8_t(r / n), uint8_t(g / n), uint8_t(b / n)}));
            } else {
                rest.emplace_back(x, y);
            }
        }
        for (size_t i = 0; i < layer.size(); ++i)
            picture.at(layer[i].first, layer[i].second) = colours[i];
        enclosed.swap(rest);
    }
}

}  // namespace

std::vector<uint8_t> encodeBmp(const Picture& picture)
{
    const uint32_t stride = (3u * picture.width() + 3u) & ~3u;
    const uint32_t imageBytes = stride * picture.height();
    std::vector<uint8_t> out;
    out.reserve(54 + imageBytes);
    out.push_back('B');
    out.push_back('M');
    putLittleEndian(out, 54 + imageBytes, 4);
    putLittleEndian(out, 0, 4);   // two reserved fields
    putLittleEndian(out, 54, 4);  // pixel data offset
    putLittleEndian(out, 40, 4);  // information header size
    putLittleEndian(out, picture.width(), 4);
    putLittleEndian(out, picture.height(), 4);  // positive: bottom-up
    putLittleEndian(out, 1, 2);                 // planes
    putLittleEndian(out, 24, 2);                // bits per pixel
    putLittleEndian(out, 0, 4);                 // no compression
    putLittleEndian(out, imageBytes, 4);
    putLittleEndian(out, 2835, 4);  // 72 dots per inch, both ways
    putLittleEndian(out, 2835, 4);
    putLittleEndian(out, 0, 4);  // colours used
    putLittleEndian(out, 0, 4);  // important colours
    for (int y = picture.height() - 1; y >= 0; --y) {
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb& c = picture.at(x, y);
            out.push_back(c.b);
            out.push_back(c.g);
            out.push_back(c.r);
        }
        for (uint32_t pad = 3u * picture.width(); pad < stride; ++pad)
            out.push_back(0);
    }
    return out;
}

namespace {

// Copies a finished Cairo surface into a picture, pixel by pixel through
// `convert`, which may leave a pixel as it is (the key colour).
template <class Convert>
Picture pictureFrom(cairo_surface_t* surface, Convert convert)
{
    cairo_surface_flush(surface);
    Picture picture(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            convert(readSurface(surface, x, y), picture.at(x, y));
    return picture;
}

}  // namespace

Picture opaquePicture(cairo_surface_t* surface)
{
    // Premultiplied pixels are already composed over black.
    return pictureFrom(surface, [](const SurfacePixel& p, Rgb& out) { out = {p.r, p.g, p.b}; });
}

Picture keyedPicture(cairo_surface_t* surface)
{
    Picture picture = pictureFrom(surface, [](const SurfacePixel& p, Rgb& out) {
        if (p.a < 128)
            return;
        auto unpremultiply = [&](uint8_t v) { return uint8_t((v * 255 + p.a / 2) / p.a); };
        out = {unpremultiply(p.r), unpremultiply(p.g), unpremultiply(p.b)};
    });
    finishKeyed(picture);
    return picture;
}

Picture keyedOverGround(cairo_surface_t* surface, const std::function<Rgb(int y)>& ground)
{
    cairo_surface_flush(surface);
    Picture picture(cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface));
    for (int y = 0; y < picture.height(); ++y) {
        const Rgb under = ground(y);
        for (int x = 0; x < picture.width(); ++x) {
            const SurfacePixel p = readSurface(surface, x, y);
            if (p.a == 0)
                continue;
            // Premultiplied art over the ground.
            auto over = [&](uint8_t art, uint8_t base) { return uint8_t(art + (base * (255 - p.a) + 127) / 255); };
            picture.at(x, y) = lifted({over(p.r, under.r), over(p.g, under.g), over(p.b, under.b)});
        }
    }
    return picture;
}

void finishKeyed(Picture& picture)
{
    const int w = picture.width(), h = picture.height();
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            Rgb& c = picture.at(x, y);
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1)
                c = {0, 0, 0};
            else if (!isKey(c))
                c = lifted(c);
        }
    fillEnclosedKeyPixels(picture);
}

cairo_surface_t* surfaceOf(const Picture& picture, bool keyed)
{
    cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width(), picture.height());
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x) {
            const Rgb& c = picture.at(x, y);
            const uint32_t argb =
                (keyed && isKey(c)) ? 0u : (0xFF000000u | uint32_t(c.r) << 16 | uint32_t(c.g) << 8 | c.b);
            std::memcpy(data + size_t(y) * stride + 4 * x, &argb, 4);
        }
    cairo_surface_mark_dirty(surface);
    return surface;
}

void writeFile(const std::string& path, const std::vector<uint8_t>& bytes)
{
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        throw std::runtime_error("cannot create " + path);
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    if (std::fclose(file) != 0 || !written)
        throw std::runtime_error("cannot write " + path);
}
