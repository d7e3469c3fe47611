// The aircraft, seen from above: the player's fighter, the five enemy types,
// their shadows and the bomber that serves as the first two bosses.
//
// A plane is described by a handful of measures and drawn nose up around the
// origin, then turned to the direction it flies in. Light always comes from
// the top left of the screen, whatever the heading.
#include "art.h"

#include "canvas.h"
#include "damage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

struct PlaneDesign {
    double length;     // nose to tail
    double bodyWidth;  // widest part of the fuselage
    double span;       // wing tip to wing tip
    double wingY;      // leading edge of the wing root, from the nose
    double rootChord, tipChord;
    double sweep;  // how far the tip's leading edge lies behind the root's
    double tailSpan, tailChord;
    double engineX;       // 0: one engine in the nose; else the distance of the two (or four) wing engines
    double outerEngineX;  // 0, or the distance of a second pair of engines
    int blades;
    Rgb body, wing, accent, canopy;
    enum class Marking { Roundel, Chevron, Band, Star } marking;
};

Rgb shade(Rgb c, double f)
{
    auto ch = [&](uint8_t v) { return uint8_t(std::clamp(v * f, 0.0, 255.0)); };
    return {ch(c.r), ch(c.g), ch(c.b)};
}

double noseY(const PlaneDesign& d)
{
    return -d.length / 2;
}

void wingPath(cairo_t* cr, double rootX, double rootY, double rootChord, double span, double sweep, double tipChord)
{
    for (int side : {-1, 1}) {
        const double tipX = side * span / 2;
        cairo_move_to(cr, side * rootX, rootY);
        cairo_line_to(cr, tipX - side * 2, rootY + sweep);
        cairo_curve_to(cr, tipX + side * 0.5, rootY + sweep, tipX + side * 0.5, rootY + sweep + tipChord,
                       tipX - side * 2, rootY + sweep + tipChord);
        cairo_line_to(cr, side * rootX, rootY + rootChord);
        cairo_close_path(cr);
    }
}

void fuselagePath(cairo_t* cr, const PlaneDesign& d)
{
    const double n = noseY(d), t = d.length / 2, w = d.bodyWidth / 2;
    cairo_move_to(cr, 0, n);
    cairo_curve_to(cr, w * 0.9, n, w, n + d.length * 0.12, w, n + d.length * 0.3);
    cairo_curve_to(cr, w, n + d.length * 0.6, w * 0.4, t - 4, w * 0.3, t);
    cairo_line_to(cr, -w * 0.3, t);
    cairo_curve_to(cr, -w * 0.4, t - 4, -w, n + d.length * 0.6, -w, n + d.length * 0.3);
    cairo_curve_to(cr, -w, n + d.length * 0.12, -w * 0.9, n, 0, n);
    cairo_close_path(cr);
}

void nacellePaths(cairo_t* cr, const PlaneDesign& d)
{
    const double front = noseY(d) + d.wingY - 6;
    for (double x : {d.engineX, d.outerEngineX}) {
        if (x == 0)
            continue;
        for (int side : {-1, 1}) {
            const double cx = side * x, w = d.bodyWidth * 0.32;
            cairo_move_to(cr, cx, front);
            cairo_curve_to(cr, cx + w, front, cx + w, front + 3, cx + w, front + 6);
            cairo_line_to(cr, cx + w * 0.6, front + d.rootChord + 6);
            cairo_line_to(cr, cx - w * 0.6, front + d.rootChord + 6);
            cairo_line_to(cr, cx - w, front + 6);
            cairo_curve_to(cr, cx - w, front + 3, cx - w, front, cx, front);
            cairo_close_path(cr);
        }
    }
}

void outlinePaths(cairo_t* cr, const PlaneDesign& d)
{
    const double n = noseY(d);
    wingPath(cr, d.bodyWidth * 0.4, n + d.wingY, d.rootChord, d.span, d.sweep, d.tipChord);
    wingPath(cr, d.bodyWidth * 0.2, d.length / 2 - d.tailChord - 1, d.tailChord, d.tailSpan, d.tailChord * 0.25,
             d.tailChord * 0.6);
    fuselagePath(cr, d);
    nacellePaths(cr, d);
}

// Where the propellers turn: the nose, or the front of each engine.
std::vector<std::pair<double, double>> propellerHubs(const PlaneDesign& d)
{
    if (d.engineX == 0)
        return {{0, noseY(d) - 0.5}};
    std::vector<std::pair<double, double>> hubs;
    for (double x : {d.engineX, d.outerEngineX})
        if (x != 0)
            for (int side : {-1, 1})
                hubs.push_back({side * x, noseY(d) + d.wingY - 6.5});
    return hubs;
}

// Seen from above, a turning propeller is a thin blurred disc edge-on;
// its blades and their painted tips stand at a different place in each
// frame, which makes the flicker.
void propellers(cairo_t* cr, const PlaneDesign& d, int frame, int frames)
{
    const double radius = d.engineX == 0 ? d.bodyWidth * 1.0 : d.bodyWidth * 0.62;
    const double turn = 2 * M_PI / d.blades;
    const double angle = 0.35 + frame * turn / frames;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (auto [hx, hy] : propellerHubs(d)) {
        cairo_save(cr);
        cairo_translate(cr, hx, hy);
        cairo_scale(cr, radius, 1.6);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        cairo_set_source_rgba(cr, 0.78, 0.78, 0.74, 0.6);
        cairo_fill(cr);
        for (int b = 0; b < d.blades; ++b) {
            const double tip = std::cos(angle + b * turn) * radius;
            cairo_move_to(cr, hx, hy);
            cairo_line_to(cr, hx + tip, hy);
            cairo_set_line_width(cr, 2.0);
            setColour(cr, {44, 40, 36});
            cairo_stroke(cr);
            cairo_move_to(cr, hx + tip * 0.8, hy);
            cairo_line_to(cr, hx + tip, hy);
            setColour(cr, {240, 200, 40});
            cairo_stroke(cr);
        }
        cairo_arc(cr, hx, hy, 1.9, 0, 2 * M_PI);
        setColour(cr, d.accent);
        cairo_fill(cr);
    }
}

// Exhaust flames along the engine cowling, flickering from frame to frame.
void exhausts(cairo_t* cr, const PlaneDesign& d, int frame)
{
    const double lengths[] = {2.0, 3.6, 2.6, 4.2};
    const double length = lengths[frame % 4];
    const double y = d.engineX == 0 ? noseY(d) + d.length * 0.15 : noseY(d) + d.wingY - 1;
    std::vector<double> xs;
    if (d.engineX == 0)
        xs = {-d.bodyWidth / 2 - 0.2, d.bodyWidth / 2 + 0.2};
    else
        for (double x : {d.engineX, d.outerEngineX})
            if (x != 0)
                for (int side : {-1, 1})
                    for (int edge : {-1, 1})
                        xs.push_back(side * x + edge * d.bodyWidth * 0.34);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (double x : xs) {
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x + (x < 0 ? -0.4 : 0.4), y + length);
        cairo_set_line_width(cr, 1.6);
        setColour(cr, {255, 150, 40});
        cairo_stroke(cr);
        cairo_move_to(cr, x, y);
        cairo_line_to(cr, x, y + length * 0.45);
        cairo_set_line_width(cr, 0.9);
        setColour(cr, {255, 240, 170});
        cairo_stroke(cr);
    }
}

void markings(cairo_t* cr, const PlaneDesign& d)
{
    const double wingMid = noseY(d) + d.wingY + d.sweep * 0.6 + d.rootChord * 0.45;
    for (int side : {-1, 1}) {
        const double x = side * d.span * 0.3, r = std::min(d.rootChord, d.tipChord) * 0.38;
        switch (d.marking) {
        case PlaneDesign::Marking::Roundel:
            cairo_arc(cr, x, wingMid, r, 0, 2 * M_PI);
            setColour(cr, {236, 236, 228});
            cairo_fill(cr);
            cairo_arc(cr, x, wingMid, r * 0.55, 0, 2 * M_PI);
            setColour(cr, d.accent);
            cairo_fill(cr);
            break;
        case PlaneDesign::Marking::Chevron:
            cairo_move_to(cr, x - r, wingMid + r * 0.6);
            cairo_line_to(cr, x, wingMid - r * 0.6);
            cairo_line_to(cr, x + r, wingMid + r * 0.6);
            cairo_set_line_width(cr, 2.0);
            setColour(cr, d.accent);
            cairo_stroke(cr);
            break;
        case PlaneDesign::Marking::Band:
            cairo_rectangle(cr, x - 1.5, wingMid - r * 1.6, 3, r * 3.2);
            setColour(cr, d.accent);
            cairo_fill(cr);
            break;
        case PlaneDesign::Marking::Star:
            for (int i = 0; i < 5; ++i) {
                const double a = -M_PI / 2 + i * 4 * M_PI / 5;
                i == 0 ? cairo_move_to(cr, x + std::cos(a) * r, wingMid + std::sin(a) * r)
                       : cairo_line_to(cr, x + std::cos(a) * r, wingMid + std::sin(a) * r);
            }
            cairo_close_path(cr);
            setColour(cr, d.accent);
            cairo_fill(cr);
            break;
        }
    }
}

void canopy(cairo_t* cr, const PlaneDesign& d)
{
    const double cy = noseY(d) + d.length * 0.36, rx = d.bodyWidth * 0.26, ry = d.length * 0.09;
    cairo_save(cr);
    cairo_translate(cr, 0, cy);
    cairo_scale(cr, rx, ry);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* glass = cairo_pattern_create_linear(-rx, cy - ry, rx, cy + ry);
    cairo_pattern_add_color_stop_rgb(glass, 0, 0.85, 0.95, 1.0);
    cairo_pattern_add_color_stop_rgb(glass, 0.4, d.canopy.r / 255.0, d.canopy.g / 255.0, d.canopy.b / 255.0);
    cairo_pattern_add_color_stop_rgb(glass, 1, d.canopy.r / 510.0, d.canopy.g / 510.0, d.canopy.b / 510.0);
    cairo_set_source(cr, glass);
    cairo_fill(cr);
    cairo_pattern_destroy(glass);
}

// Draws the plane nose up around the origin of the current transformation,
// as animation frame `frame` of `frames`.
void drawPlane(cairo_t* cr, const PlaneDesign& d, int frame, int frames)
{
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    // A dark rim keeps the plane readable over any ground.
    outlinePaths(cr, d);
    cairo_set_line_width(cr, 2.2);
    setColour(cr, shade(d.body, 0.3));
    cairo_stroke(cr);

    const double n = noseY(d);
    wingPath(cr, d.bodyWidth * 0.4, n + d.wingY, d.rootChord, d.span, d.sweep, d.tipChord);
    setColour(cr, d.wing);
    cairo_fill(cr);
    // Flaps and ailerons along the trailing edge.
    for (int side : {-1, 1}) {
        cairo_move_to(cr, side * d.bodyWidth * 0.6, n + d.wingY + d.rootChord - 2.5);
        cairo_line_to(cr, side * (d.span / 2 - 3), n + d.wingY + d.sweep + d.tipChord - 2);
    }
    cairo_set_line_width(cr, 0.8);
    setColour(cr, shade(d.wing, 0.7));
    cairo_stroke(cr);
    wingPath(cr, d.bodyWidth * 0.2, d.length / 2 - d.tailChord - 1, d.tailChord, d.tailSpan, d.tailChord * 0.25,
             d.tailChord * 0.6);
    setColour(cr, shade(d.wing, 0.92));
    cairo_fill(cr);
    markings(cr, d);

    nacellePaths(cr, d);
    setColour(cr, shade(d.body, 0.85));
    cairo_fill(cr);

    fuselagePath(cr, d);
    cairo_pattern_t* round = cairo_pattern_create_linear(-d.bodyWidth / 2, 0, d.bodyWidth / 2, 0);
    const Rgb light = shade(d.body, 1.25), dark = shade(d.body, 0.7);
    cairo_pattern_add_color_stop_rgb(round, 0, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_pattern_add_color_stop_rgb(round, 0.4, light.r / 255.0, light.g / 255.0, light.b / 255.0);
    cairo_pattern_add_color_stop_rgb(round, 1, dark.r / 255.0, dark.g / 255.0, dark.b / 255.0);
    cairo_set_source(cr, round);
    cairo_fill(cr);
    cairo_pattern_destroy(round);
    // Engine cowling in the accent colour.
    if (d.engineX == 0) {
        cairo_save(cr);
        fuselagePath(cr, d);
        cairo_clip(cr);
        cairo_rectangle(cr, -d.bodyWidth, n, 2 * d.bodyWidth, d.length * 0.13);
        setColour(cr, d.accent);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    canopy(cr, d);
    exhausts(cr, d, frame);
    propellers(cr, d, frame, frames);
}

// Light from the top left of the screen over whatever has been drawn.
void screenLight(cairo_t* cr, double size)
{
    cairo_save(cr);
    cairo_identity_matrix(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, size, size);
    cairo_pattern_add_color_stop_rgba(p, 0, 1, 1, 0.9, 0.22);
    cairo_pattern_add_color_stop_rgba(p, 0.5, 1, 1, 1, 0.0);
    cairo_pattern_add_color_stop_rgba(p, 1, 0, 0, 0.05, 0.25);
    cairo_set_source(cr, p);
    cairo_paint(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

const Rgb ShadowColour{30, 38, 36};

// The plane's silhouette, half size, centred in a 32 x 32 picture.
Picture shadowOf(const PlaneDesign& d, double heading)
{
    Canvas canvas(32, 32);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 16, 16);
    cairo_scale(cr, 0.5, 0.5);
    cairo_rotate(cr, heading);
    outlinePaths(cr, d);
    setColour(cr, ShadowColour);
    cairo_set_line_width(cr, 1.0);
    cairo_stroke_preserve(cr);
    cairo_fill(cr);
    return canvas.keyed();
}

Picture planePicture(const PlaneDesign& d, int size, double heading, int frame, int frames)
{
    Canvas canvas(size, size);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, size / 2.0, size / 2.0);
    cairo_rotate(cr, heading);
    drawPlane(cr, d, frame, frames);
    screenLight(cr, size);
    return canvas.keyed();
}

// ---- The player -------------------------------------------------------------

const PlaneDesign Player{.length = 48,
                         .bodyWidth = 9,
                         .span = 54,
                         .wingY = 14,
                         .rootChord = 14,
                         .tipChord = 8,
                         .sweep = 3,
                         .tailSpan = 20,
                         .tailChord = 7,
                         .engineX = 0,
                         .outerEngineX = 0,
                         .blades = 3,
                         .body = {178, 190, 200},
                         .wing = {160, 174, 186},
                         .accent = {40, 84, 170},
                         .canopy = {90, 150, 200},
                         .marking = PlaneDesign::Marking::Roundel};

// ---- Enemies ----------------------------------------------------------------

struct EnemyType {
    int sprite;
    PlaneDesign design;
    double dx, dy;  // the way it flies, for its heading
};

const EnemyType Enemies[] = {
    {14,
     {.length = 46,
      .bodyWidth = 8,
      .span = 56,
      .wingY = 13,
      .rootChord = 14,
      .tipChord = 8,
      .sweep = 2,
      .tailSpan = 20,
      .tailChord = 7,
      .engineX = 12,
      .outerEngineX = 0,
      .blades = 3,
      .body = {150, 126, 80},
      .wing = {138, 116, 74},
      .accent = {196, 52, 40},
      .canopy = {70, 110, 120},
      .marking = PlaneDesign::Marking::Band},
     -1,
     0},
    {17,
     {.length = 44,
      .bodyWidth = 8,
      .span = 52,
      .wingY = 12,
      .rootChord = 13,
      .tipChord = 7,
      .sweep = 7,
      .tailSpan = 18,
      .tailChord = 7,
      .engineX = 0,
      .outerEngineX = 0,
      .blades = 3,
      .body = {84, 96, 118},
      .wing = {74, 86, 108},
      .accent = {226, 190, 48},
      .canopy = {120, 160, 170},
      .marking = PlaneDesign::Marking::Chevron},
     -1,
     1.5},
    {20,
     {.length = 40,
      .bodyWidth = 8,
      .span = 44,
      .wingY = 12,
      .rootChord = 12,
      .tipChord = 7,
      .sweep = 1,
      .tailSpan = 16,
      .tailChord = 6,
      .engineX = 0,
      .outerEngineX = 0,
      .blades = 2,
      .body = {72, 100, 62},
      .wing = {64, 90, 56},
      .accent = {214, 60, 44},
      .canopy = {110, 150, 150},
      .marking = PlaneDesign::Marking::Roundel},
     0,
     1},
    {23,
     {.length = 44,
      .bodyWidth = 8,
      .span = 48,
      .wingY = 14,
      .rootChord = 12,
      .tipChord = 6,
      .sweep = 9,
      .tailSpan = 17,
      .tailChord = 6,
      .engineX = 0,
      .outerEngineX = 0,
      .blades = 4,
      .body = {128, 128, 134},
      .wing = {116, 116, 122},
      .accent = {200, 40, 48},
      .canopy = {80, 120, 150},
      .marking = PlaneDesign::Marking::Star},
     1,
     1.5},
    {26,
     {.length = 50,
      .bodyWidth = 10,
      .span = 58,
      .wingY = 15,
      .rootChord = 13,
      .tipChord = 8,
      .sweep = 3,
      .tailSpan = 22,
      .tailChord = 7,
      .engineX = 13,
      .outerEngineX = 0,
      .blades = 3,
      .body = {132, 52, 46},
      .wing = {118, 46, 42},
      .accent = {232, 210, 150},
      .canopy = {100, 140, 160},
      .marking = PlaneDesign::Marking::Band},
     1,
     0},
};

const EnemyType& enemyType(int sprite)
{
    for (const EnemyType& e : Enemies)
        if (e.sprite == sprite)
            return e;
    throw std::invalid_argument("no enemy aircraft type " + std::to_string(sprite));
}

// ---- The bomber -------------------------------------------------------------

const PlaneDesign Bomber{.length = 90,
                         .bodyWidth = 14,
                         .span = 86,
                         .wingY = 28,
                         .rootChord = 24,
                         .tipChord = 12,
                         .sweep = 4,
                         .tailSpan = 34,
                         .tailChord = 11,
                         .engineX = 17,
                         .outerEngineX = 31,
                         .blades = 3,
                         .body = {96, 104, 92},
                         .wing = {88, 96, 86},
                         .accent = {190, 48, 40},
                         .canopy = {110, 160, 190},
                         .marking = PlaneDesign::Marking::Star};

}  // namespace

Picture drawPlayer(int frame)
{
    return planePicture(Player, 60, 0.0, frame, 4);
}

void paintPlayerPlane(cairo_t* cr)
{
    drawPlane(cr, Player, 0, 4);
}

void playerOutlinePath(cairo_t* cr)
{
    outlinePaths(cr, Player);
}

Picture drawPlayerShadow(int)
{
    // The propeller casts no shadow worth drawing: all four frames match.
    return shadowOf(Player, 0.0);
}

Picture drawEnemyPlane(int type, int frame)
{
    const EnemyType& e = enemyType(type);
    return planePicture(e.design, 64, headingOf(e.dx, e.dy), frame, 2);
}

Picture drawEnemyShadow(int type)
{
    const EnemyType& e = enemyType(type);
    return shadowOf(e.design, headingOf(e.dx, e.dy));
}

Picture drawBomber(int state)
{
    Canvas canvas(90, 98);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 45, 48);
    cairo_rotate(cr, M_PI);  // it faces down, towards the player
    PlaneDesign d = Bomber;
    if (state == 2) {
        d.body = shade(d.body, 0.45);
        d.wing = shade(d.wing, 0.4);
        d.accent = shade(d.accent, 0.5);
        d.canopy = {40, 40, 44};
    }
    drawPlane(cr, d, 0, 1);
    if (state >= 1) {
        scorch(cr, 20, 6, 9);
        scorch(cr, -8, -20, 6);
        scorch(cr, -28, 10, 7);
        fire(cr, d.outerEngineX, noseY(d) + d.wingY + 2, 6, 3);
        smoke(cr, d.outerEngineX + 1, noseY(d) + d.wingY + 10, 2, 30, 6, 4);
    }
    if (state == 2) {
        scorch(cr, 0, 10, 14);
        scorch(cr, -30, 8, 10);
        fire(cr, -d.engineX, noseY(d) + d.wingY + 4, 7, 5);
        fire(cr, 2, 8, 8, 6);
        smoke(cr, 0, 14, -4, 26, 6, 7);
        smoke(cr, -d.engineX, noseY(d) + d.wingY + 12, -2, 28, 6, 8);
    }
    screenLight(cr, 98);
    return canvas.keyed();
}
