// The map tiles. The ground is painted pixel by pixel from noise that repeats
// every tile, and where two grounds meet the border follows a field that
// depends only on the corners of the shared edge; so any two tiles whose
// corners agree join without a seam. Features are drawn on top with Cairo,
// inside the tile, except hedgerows, which continue across tile edges.
#include "terrain.h"

#include "canvas.h"
#include "random.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

using G = Ground;
using F = Feature;

}  // namespace

const std::array<TileKind, TileCount> TileKinds = {{
    {G::Grass, G::Grass, G::Grass, G::Grass, F::None},           // 1
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Flowers},        // 2
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Tufts},          // 3
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Rocks},          // 4
    {G::Sand, G::Sand, G::Sand, G::Sand, F::None},               // 5
    {G::Sand, G::Sand, G::Sand, G::Sand, F::Dunes},              // 6
    {G::Sand, G::Sand, G::Sand, G::Sand, F::Stones},             // 7
    {G::Sand, G::Sand, G::Sand, G::Sand, F::DryShrub},           // 8
    {G::Grass, G::Grass, G::Sand, G::Sand, F::None},             // 9
    {G::Sand, G::Sand, G::Grass, G::Grass, F::None},             // 10
    {G::Grass, G::Sand, G::Grass, G::Sand, F::None},             // 11
    {G::Water, G::Water, G::Water, G::Water, F::None},           // 12
    {G::Water, G::Water, G::Water, G::Water, F::Waves},          // 13
    {G::Grass, G::Water, G::Grass, G::Water, F::None},           // 14
    {G::Grass, G::Grass, G::Water, G::Water, F::None},           // 15
    {G::Water, G::Water, G::Grass, G::Grass, F::None},           // 16
    {G::Water, G::Grass, G::Water, G::Grass, F::Reeds},          // 17
    {G::Grass, G::Water, G::Grass, G::Water, F::Reeds},          // 18
    {G::Water, G::Grass, G::Water, G::Grass, F::None},           // 19
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Tree},           // 20
    {G::Jungle, G::Jungle, G::Jungle, G::Jungle, F::None},       // 21
    {G::Sand, G::Grass, G::Sand, G::Grass, F::None},             // 22
    {G::Grass, G::Grass, G::Grass, G::Grass, F::TreePair},       // 23
    {G::Grass, G::Grass, G::Grass, G::Grass, F::TreeRowRight},   // 24
    {G::Sand, G::Grass, G::Grass, G::Grass, F::None},            // 25
    {G::Grass, G::Sand, G::Grass, G::Grass, F::None},            // 26
    {G::Grass, G::Grass, G::Sand, G::Grass, F::None},            // 27
    {G::Grass, G::Grass, G::Grass, G::Sand, F::None},            // 28
    {G::Grass, G::Sand, G::Sand, G::Sand, F::None},              // 29
    {G::Sand, G::Grass, G::Sand, G::Sand, F::None},              // 30
    {G::Sand, G::Sand, G::Grass, G::Sand, F::None},              // 31
    {G::Sand, G::Sand, G::Sand, G::Grass, F::None},              // 32
    {G::Jungle, G::Jungle, G::Grass, G::Grass, F::None},         // 33
    {G::Grass, G::Grass, G::Jungle, G::Jungle, F::None},         // 34
    {G::Jungle, G::Grass, G::Jungle, G::Grass, F::None},         // 35
    {G::Grass, G::Grass, G::Grass, G::Grass, F::TreeRowLeft},    // 36
    {G::Grass, G::Grass, G::Grass, G::Grass, F::TreeRowMiddle},  // 37
    {G::Grass, G::Jungle, G::Grass, G::Jungle, F::None},         // 38
    {G::Water, G::Grass, G::Grass, G::Grass, F::None},           // 39
    {G::Grass, G::Water, G::Grass, G::Grass, F::None},           // 40
    {G::Grass, G::Grass, G::Water, G::Grass, F::None},           // 41
    {G::Grass, G::Grass, G::Grass, G::Water, F::None},           // 42
    {G::Grass, G::Water, G::Water, G::Water, F::None},           // 43
    {G::Water, G::Grass, G::Water, G::Water, F::None},           // 44
    {G::Water, G::Water, G::Grass, G::Water, F::None},           // 45
    {G::Water, G::Water, G::Water, G::Grass, F::None},           // 46
    {G::Jungle, G::Grass, G::Grass, G::Grass, F::None},          // 47
    {G::Grass, G::Jungle, G::Grass, G::Grass, F::None},          // 48
    {G::Grass, G::Grass, G::Jungle, G::Grass, F::None},          // 49
    {G::Grass, G::Grass, G::Grass, G::Jungle, F::None},          // 50
    {G::Grass, G::Jungle, G::Jungle, G::Jungle, F::None},        // 51
    {G::Jungle, G::Grass, G::Jungle, G::Jungle, F::None},        // 52
    {G::Jungle, G::Jungle, G::Grass, G::Jungle, F::None},        // 53
    {G::Jungle, G::Jungle, G::Jungle, G::Grass, F::None},        // 54
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Crater},         // 55
    {G::Sand, G::Sand, G::Sand, G::Sand, F::Crater},             // 56
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Hut},            // 57
    {G::Water, G::Water, G::Water, G::Water, F::Islet},          // 58
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Field},          // 59
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Orchard},        // 60
    {G::Sand, G::Sand, G::Sand, G::Sand, F::Palm},               // 61
    {G::Grass, G::Grass, G::Grass, G::Grass, F::Ruins},          // 62
    {G::Sand, G::Sand, G::Sand, G::Sand, F::Ruins},              // 63
}};

std::optional<int32_t> tileNumber(Ground topLeft, Ground topRight, Ground bottomLeft, Ground bottomRight,
                                  Feature feature)
{
    for (int i = 0; i < TileCount; ++i) {
        const TileKind& k = TileKinds[i];
        if (k.topLeft == topLeft && k.topRight == topRight && k.bottomLeft == bottomLeft &&
            k.bottomRight == bottomRight && k.feature == feature)
            return i + 1;
    }
    return std::nullopt;
}

namespace {

struct Colour {
    double r, g, b;
};

Colour mix(Colour a, Colour b, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t};
}

Colour scale(Colour c, double f)
{
    return {c.r * f, c.g * f, c.b * f};
}

double noise(double x, double y, int cells, int octaves, uint32_t seed)
{
    return tileableNoise(x, y, TileSize, cells, octaves, seed);
}

Colour grassAt(double x, double y)
{
    const double patches = noise(x, y, 2, 3, 11);
    const double blades = noise(x, y, 16, 2, 12);
    Colour c = mix({52, 108, 40}, {100, 158, 62}, patches * 1.3 - 0.15);
    return scale(c, 0.88 + 0.24 * blades);
}

Colour sandAt(double x, double y)
{
    const double drift = noise(x, y, 2, 3, 21);
    const double grain = noise(x, y, 16, 1, 22);
    Colour c = mix({206, 178, 118}, {236, 214, 158}, drift);
    return scale(c, 0.94 + 0.1 * grain);
}

Colour waterAt(double x, double y)
{
    const double depth = noise(x, y, 2, 3, 31);
    const double glint = noise(x, y, 8, 2, 32);
    Colour c = mix({26, 72, 140}, {44, 104, 172}, depth);
    if (glint > 0.68)
        c = mix(c, {110, 170, 214}, (glint - 0.68) * 4.0);
    return c;
}

// Tree crowns of the jungle canopy, repeating every tile: centre, radius
// and a tint of their own.
struct Crown {
    double x, y, r, tint;
};

const std::vector<Crown>& canopyCrowns()
{
    static const std::vector<Crown> crowns = [] {
        Random random(4242);
        std::vector<Crown> all;
        // Crowns on a jittered grid, so that they cover the ground evenly.
        for (int gy = 0; gy < 4; ++gy)
            for (int gx = 0; gx < 4; ++gx)
                all.push_back({gx * 8 + 4 + random.between(-2.5, 2.5), gy * 8 + 4 + random.between(-2.5, 2.5),
                               random.between(4.8, 7.2), random.between(-1.0, 1.0)});
        return all;
    }();
    return crowns;
}

Colour jungleAt(double x, double y)
{
    // The highest crown over the point, and its slope towards the light in
    // the top left.
    double best = -1.0, shade = 0.0, tint = 0.0;
    for (const Crown& c : canopyCrowns())
        for (int wy = -1; wy <= 1; ++wy)
            for (int wx = -1; wx <= 1; ++wx) {
                const double dx = x - (c.x + wx * TileSize), dy = y - (c.y + wy * TileSize);
                const double d2 = (dx * dx + dy * dy) / (c.r * c.r);
                if (d2 >= 1.0)
                    continue;
                const double h = std::sqrt(1.0 - d2) * c.r;
                if (h > best) {
                    best = h;
                    shade = (-dx - dy) / (c.r * 1.41);
                    tint = c.tint;
                }
            }
    if (best < 0.0)
        return {14, 40, 18};
    const double leaves = noise(x, y, 16, 1, 41);
    Colour c = mix({20, 66, 26}, {76, 140, 54}, 0.5 + 0.45 * shade);
    c = mix(c, tint > 0 ? Colour{96, 130, 40} : Colour{30, 90, 60}, std::fabs(tint) * 0.25);
    return scale(c, 0.82 + 0.3 * leaves);
}

Colour groundAt(Ground g, double x, double y)
{
    switch (g) {
    case G::Grass: return grassAt(x, y);
    case G::Sand: return sandAt(x, y);
    case G::Water: return waterAt(x, y);
    case G::Jungle: return jungleAt(x, y);
    }
    return {0, 0, 0};
}

// The colour of a pixel of a tile that mixes grass with `other`; t is the
// share of `other` at the pixel, bent by noise, with the border at 0.5.
Colour borderAt(Ground other, double x, double y, double t)
{
    const double d = t - 0.5;
    const Colour grass = grassAt(x, y);
    const Colour beyond = groundAt(other, x, y);
    switch (other) {
    case G::Water:
        if (d < -0.09)
            return grass;
        if (d < -0.03)  // a muddy beach on the grass side
            return mix(grass, {176, 156, 104}, (d + 0.09) / 0.03);
        if (d < 0.0)
            return mix({176, 156, 104}, {196, 178, 126}, (d + 0.03) / 0.03);
        if (d < 0.04)  // surf
            return mix({220, 232, 236}, {120, 186, 200}, d / 0.04);
        return mix({70, 150, 178}, beyond, (d - 0.04) / 0.18);  // shallows
    case G::Sand:
        if (d < -0.06)
            return grass;
        if (d > 0.05)
            return beyond;
        return mix(scale(grass, 0.92), beyond, (d + 0.06) / 0.11);
    case G::Jungle:
        if (d < -0.1)
            return grass;
        if (d < 0.0)  // the canopy's shadow on the grass
            return scale(grass, 0.6 + 0.4 * (-d / 0.1));
        return scale(beyond, 0.75 + 0.25 * std::min(1.0, d / 0.12));
    case G::Grass: break;
    }
    return grass;
}

Colour tilePixel(const TileKind& kind, double x, double y)
{
    const Ground corners[] = {kind.topLeft, kind.topRight, kind.bottomLeft, kind.bottomRight};
    Ground other = G::Grass;
    for (Ground g : corners)
        if (g != G::Grass)
            other = g;
    if (std::all_of(std::begin(corners), std::end(corners), [&](Ground g) { return g == other; }))
        return groundAt(other, x, y);
    auto share = [&](Ground g) { return g == other ? 1.0 : 0.0; };
    const double u = x / TileSize, v = y / TileSize;
    const double top = share(kind.topLeft) + (share(kind.topRight) - share(kind.topLeft)) * u;
    const double bottom = share(kind.bottomLeft) + (share(kind.bottomRight) - share(kind.bottomLeft)) * u;
    const double t = top + (bottom - top) * v + 0.38 * (noise(x, y, 4, 2, 51) - 0.5);
    return borderAt(other, x, y, t);
}

void paintGround(cairo_surface_t* surface)
{
    cairo_surface_flush(surface);
    unsigned char* data = cairo_image_surface_get_data(surface);
    const int stride = cairo_image_surface_get_stride(surface);
    for (int tile = 0; tile < TileCount; ++tile)
        for (int y = 0; y < TileSize; ++y)
            for (int x = 0; x < TileSize; ++x) {
                const Colour c = tilePixel(TileKinds[tile], x + 0.5, y + 0.5);
                auto channel = [](double v) { return uint32_t(std::clamp(std::lround(v), 0l, 255l)); };
                const uint32_t argb = 0xFF000000u | channel(c.r) << 16 | channel(c.g) << 8 | channel(c.b);
                std::memcpy(data + size_t(y) * stride + 4 * (tile * TileSize + x), &argb, 4);
            }
    cairo_surface_mark_dirty(surface);
}

// ---- Features -------------------------------------------------------------

void treeShadow(cairo_t* cr, double x, double y, double r)
{
    cairo_arc(cr, x + r * 0.45, y + r * 0.45, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.02, 0.12, 0.02, 0.45);
    cairo_fill(cr);
}

void treeCrown(cairo_t* cr, double x, double y, double r, Rgb dark, Rgb light)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r * 0.35, y - r * 0.35, r * 0.1, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0.0, light.r / 255.0, light.g / 255.0, light.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1.0, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    // A crown is a ring of leaf clumps rather than a disc.
    for (int i = 0; i < 7; ++i) {
        const double a = i * 2 * M_PI / 7;
        cairo_arc(cr, x + std::cos(a) * r * 0.45, y + std::sin(a) * r * 0.45, r * 0.55, 0, 2 * M_PI);
        cairo_close_path(cr);
    }
    cairo_arc(cr, x, y, r * 0.6, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void tree(cairo_t* cr, double x, double y, double r)
{
    treeShadow(cr, x, y, r);
    treeCrown(cr, x, y, r, {26, 78, 30}, {96, 168, 70});
}

void hedgerow(cairo_t* cr, std::initializer_list<double> xs)
{
    for (double x : xs)
        treeShadow(cr, x, 16, 9);
    for (double x : xs)
        treeCrown(cr, x, 16, 9, {24, 74, 30}, {88, 156, 64});
}

void scatter(cairo_t* cr, uint64_t seed, int count, double radius, Rgb colour, double margin = 4)
{
    Random random(seed);
    for (int i = 0; i < count; ++i) {
        const double x = random.between(margin, TileSize - margin), y = random.between(margin, TileSize - margin);
        const double r = radius * random.between(0.6, 1.2);
        cairo_arc(cr, x, y, r, 0, 2 * M_PI);
        setColour(cr, colour);
        cairo_fill(cr);
    }
}

void stone(cairo_t* cr, double x, double y, double r)
{
    cairo_arc(cr, x + 1, y + 1, r, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - r / 3, y - r / 3, 0.5, x, y, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.82, 0.80, 0.76);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.42, 0.40, 0.38);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void crater(cairo_t* cr, bool sand)
{
    cairo_save(cr);
    cairo_translate(cr, 16, 16);
    cairo_scale(cr, 1.0, 0.85);
    cairo_arc(cr, 0, 0, 11, 0, 2 * M_PI);
    sand ? cairo_set_source_rgb(cr, 0.62, 0.52, 0.34) : cairo_set_source_rgb(cr, 0.34, 0.30, 0.18);
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(-2, -2, 1, 0, 0, 8.5);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.14, 0.11, 0.08);
    cairo_pattern_add_color_stop_rgb(p, 1, sand ? 0.5 : 0.28, sand ? 0.4 : 0.24, sand ? 0.26 : 0.14);
    cairo_arc(cr, 0.5, 0.5, 8.5, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

// A farmhouse seen from above: a gabled roof of red tiles, the ridge
// running across, a chimney, and the shadow it casts.
void hut(cairo_t* cr)
{
    cairo_rectangle(cr, 8, 9, 19, 16);
    cairo_set_source_rgba(cr, 0, 0.08, 0, 0.45);
    cairo_fill(cr);
    const double left = 5, right = 24, top = 6, ridge = 13.5, bottom = 21;
    cairo_rectangle(cr, left, top, right - left, ridge - top);
    cairo_set_source_rgb(cr, 0.76, 0.40, 0.26);
    cairo_fill(cr);
    cairo_rectangle(cr, left, ridge, right - left, bottom - ridge);
    cairo_set_source_rgb(cr, 0.52, 0.24, 0.16);
    cairo_fill(cr);
    // Rows of tiles, parallel to the ridge.
    for (double y = top + 2; y < bottom; y += 2.5) {
        if (std::fabs(y - ridge) < 1)
            continue;
        cairo_move_to(cr, left, y);
        cairo_line_to(cr, right, y);
    }
    cairo_set_source_rgba(cr, 0.25, 0.1, 0.05, 0.35);
    cairo_set_line_width(cr, 0.7);
    cairo_stroke(cr);
    cairo_move_to(cr, left, ridge);
    cairo_line_to(cr, right, ridge);
    cairo_set_source_rgb(cr, 0.86, 0.6, 0.44);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    cairo_rectangle(cr, left + 0.5, top + 0.5, right - left - 1, bottom - top - 1);
    cairo_set_source_rgb(cr, 0.3, 0.14, 0.08);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_rectangle(cr, 18, 8, 3, 3);
    cairo_set_source_rgb(cr, 0.42, 0.38, 0.36);
    cairo_fill(cr);
}

void field(cairo_t* cr)
{
    cairo_rectangle(cr, 3, 3, 26, 26);
    cairo_set_source_rgb(cr, 0.58, 0.50, 0.26);
    cairo_fill(cr);
    for (int y = 5; y < 28; y += 3) {
        cairo_move_to(cr, 4, y + 0.5);
        cairo_line_to(cr, 28, y + 0.5);
    }
    cairo_set_source_rgb(cr, 0.78, 0.70, 0.34);
    cairo_set_line_width(cr, 1.4);
    cairo_stroke(cr);
    cairo_rectangle(cr, 3.5, 3.5, 25, 25);
    cairo_set_source_rgba(cr, 0.3, 0.24, 0.1, 0.6);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void orchard(cairo_t* cr)
{
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 3; ++col) {
            const double x = 7 + col * 9, y = 7 + row * 9;
            treeShadow(cr, x, y, 3.4);
            treeCrown(cr, x, y, 3.4, {40, 96, 36}, {120, 180, 80});
        }
}

void palm(cairo_t* cr)
{
    // The fronds and, offset to the lower right, their shadow; both stay
    // inside the tile.
    const double cx = 15, cy = 14, reach = 10;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int pass = 0; pass < 2; ++pass) {
        const double off = pass == 0 ? 4 : 0;
        for (int i = 0; i < 7; ++i) {
            const double a = i * 2 * M_PI / 7 + 0.3;
            cairo_move_to(cr, cx + off, cy + off);
            cairo_curve_to(cr, cx + off + std::cos(a) * reach * 0.5, cy + off + std::sin(a) * reach * 0.5 - 2,
                           cx + off + std::cos(a) * reach * 0.85, cy + off + std::sin(a) * reach * 0.85,
                           cx + off + std::cos(a) * reach, cy + off + std::sin(a) * reach + 1.5);
        }
        if (pass == 0) {
            cairo_set_source_rgba(cr, 0.3, 0.22, 0.08, 0.45);
            cairo_set_line_width(cr, 3.2);
        } else {
            cairo_set_source_rgb(cr, 0.22, 0.52, 0.18);
            cairo_set_line_width(cr, 3.0);
        }
        cairo_stroke(cr);
    }
    cairo_arc(cr, cx, cy, 2.2, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.45, 0.32, 0.16);
    cairo_fill(cr);
}

void ruins(cairo_t* cr)
{
    // Broken walls of a square building and rubble.
    const double walls[][4] = {{5, 5, 20, 3}, {5, 5, 3, 16}, {22, 8, 3, 11}, {9, 23, 11, 3}, {13, 12, 3, 6}};
    for (const auto& w : walls) {
        cairo_rectangle(cr, w[0] + 2, w[1] + 2, w[2], w[3]);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill(cr);
    }
    for (const auto& w : walls) {
        cairo_rectangle(cr, w[0], w[1], w[2], w[3]);
        cairo_set_source_rgb(cr, 0.66, 0.62, 0.56);
        cairo_fill(cr);
        cairo_rectangle(cr, w[0], w[1], w[2], 1);
        cairo_set_source_rgb(cr, 0.86, 0.83, 0.78);
        cairo_fill(cr);
    }
    scatter(cr, 77, 6, 1.2, {120, 114, 104}, 6);
}

// Reeds along a shore that runs down the middle of the tile.
void reeds(cairo_t* cr)
{
    const double shoreX = 16;
    Random random(91);
    cairo_set_line_width(cr, 1.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < 14; ++i) {
        const double x = shoreX + random.between(-3.0, 3.0), y = random.between(4.0, 28.0);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + random.between(-2.0, 2.0), y - random.between(3.0, 5.0));
        random.chance(0.5) ? cairo_set_source_rgb(cr, 0.42, 0.58, 0.22) : cairo_set_source_rgb(cr, 0.30, 0.46, 0.16);
        cairo_stroke(cr);
    }
}

void waves(cairo_t* cr)
{
    cairo_set_line_width(cr, 1.3);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    const double crests[][2] = {{6, 8}, {18, 14}, {9, 23}, {22, 26}};
    for (const auto& c : crests) {
        cairo_move_to(cr, c[0], c[1]);
        cairo_curve_to(cr, c[0] + 2, c[1] - 2, c[0] + 4, c[1] - 2, c[0] + 6, c[1]);
        cairo_set_source_rgba(cr, 0.85, 0.93, 0.97, 0.85);
        cairo_stroke(cr);
    }
}

void islet(cairo_t* cr)
{
    cairo_arc(cr, 16, 17, 10, 0, 2 * M_PI);
    cairo_set_source_rgba(cr, 0.85, 0.93, 0.95, 0.7);
    cairo_fill(cr);
    cairo_arc(cr, 16, 17, 8.5, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.76, 0.68, 0.48);
    cairo_fill(cr);
    stone(cr, 13, 15, 5);
    stone(cr, 19, 19, 4);
    cairo_arc(cr, 17, 13, 3, 0, 2 * M_PI);
    cairo_set_source_rgb(cr, 0.3, 0.55, 0.22);
    cairo_fill(cr);
}

void dunes(cairo_t* cr)
{
    cairo_set_line_width(cr, 1.6);
    for (int i = 0; i < 4; ++i) {
        const double y = 7 + i * 6.5;
        cairo_move_to(cr, 3, y + 1);
        cairo_curve_to(cr, 10, y - 3, 20, y + 3, 29, y - 1);
        cairo_set_source_rgba(cr, 0.58, 0.46, 0.26, 0.45);
        cairo_stroke(cr);
        cairo_move_to(cr, 3, y);
        cairo_curve_to(cr, 10, y - 4, 20, y + 2, 29, y - 2);
        cairo_set_source_rgba(cr, 0.98, 0.92, 0.74, 0.6);
        cairo_stroke(cr);
    }
}

void dryShrub(cairo_t* cr)
{
    Random random(55);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 12; ++i) {
        const double a = random.between(0.0, 2 * M_PI), l = random.between(4.0, 8.0);
        cairo_move_to(cr, 16, 16);
        cairo_line_to(cr, 16 + std::cos(a) * l, 16 + std::sin(a) * l);
    }
    cairo_set_source_rgb(cr, 0.45, 0.36, 0.18);
    cairo_stroke(cr);
    scatter(cr, 56, 5, 1.6, {110, 120, 50}, 11);
}

void tufts(cairo_t* cr)
{
    Random random(33);
    cairo_set_line_width(cr, 1.0);
    for (int i = 0; i < 7; ++i) {
        const double x = random.between(5.0, 27.0), y = random.between(7.0, 28.0);
        for (int b = -1; b <= 1; ++b) {
            cairo_move_to(cr, x, y);
            cairo_line_to(cr, x + b * 2, y - 4);
        }
        cairo_set_source_rgb(cr, 0.22, 0.42, 0.14);
        cairo_stroke(cr);
    }
}

void drawFeature(cairo_t* cr, Feature feature)
{
    switch (feature) {
    case F::None: break;
    case F::Flowers:
        scatter(cr, 1, 7, 1.1, {236, 226, 90});
        scatter(cr, 2, 6, 1.1, {240, 240, 240});
        scatter(cr, 3, 4, 1.1, {220, 90, 100});
        break;
    case F::Tufts: tufts(cr); break;
    case F::Rocks:
        stone(cr, 10, 11, 4.5);
        stone(cr, 21, 19, 3.5);
        stone(cr, 12, 23, 2.5);
        break;
    case F::Dunes: dunes(cr); break;
    case F::Stones: scatter(cr, 7, 9, 1.4, {150, 136, 110}); break;
    case F::DryShrub: dryShrub(cr); break;
    case F::Waves: waves(cr); break;
    case F::Reeds: reeds(cr); break;
    case F::Tree: tree(cr, 15, 14, 10); break;
    case F::TreePair:
        tree(cr, 10, 10, 7);
        tree(cr, 20, 19, 7.5);
        break;
    case F::TreeRowLeft: hedgerow(cr, {16, 32}); break;
    case F::TreeRowMiddle: hedgerow(cr, {0, 16, 32}); break;
    case F::TreeRowRight: hedgerow(cr, {0, 16}); break;
    case F::Crater: break;  // depends on the ground, drawn per tile
    case F::Hut: hut(cr); break;
    case F::Islet: islet(cr); break;
    case F::Field: field(cr); break;
    case F::Orchard: orchard(cr); break;
    case F::Palm: palm(cr); break;
    case F::Ruins: ruins(cr); break;
    }
}

}  // namespace

Picture drawTileStrip()
{
    Canvas canvas(TileCount * TileSize, TileSize);
    paintGround(canvas.surface());
    cairo_t* cr = canvas.cr();
    for (int tile = 0; tile < TileCount; ++tile) {
        const TileKind& kind = TileKinds[tile];
        cairo_save(cr);
        cairo_rectangle(cr, tile * TileSize, 0, TileSize, TileSize);
        cairo_clip(cr);
        cairo_translate(cr, tile * TileSize, 0);
        if (kind.feature == F::Crater)
            crater(cr, kind.topLeft == G::Sand);
        else
            drawFeature(cr, kind.feature);
        cairo_restore(cr);
    }
    return opaquePicture(canvas.surface());
}
