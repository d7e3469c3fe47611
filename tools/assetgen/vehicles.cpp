// Ships and ground units, seen from above, each pointing the way it moves
// over the ground, and the battleship that is the third boss.
#include "art.h"

#include "canvas.h"
#include "damage.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

// ---- Ships ------------------------------------------------------------------

// A hull of the given length and beam, bow up, around the origin.
void hullPath(cairo_t* cr, double length, double beam)
{
    const double b = -length / 2, s = length / 2, w = beam / 2;
    cairo_move_to(cr, 0, b);
    cairo_curve_to(cr, w * 0.5, b + length * 0.12, w, b + length * 0.3, w, b + length * 0.45);
    cairo_line_to(cr, w, s - 5);
    cairo_curve_to(cr, w, s - 1, w * 0.6, s, 0, s);
    cairo_curve_to(cr, -w * 0.6, s, -w, s - 1, -w, s - 5);
    cairo_line_to(cr, -w, b + length * 0.45);
    cairo_curve_to(cr, -w, b + length * 0.3, -w * 0.5, b + length * 0.12, 0, b);
    cairo_close_path(cr);
}

void turret(cairo_t* cr, double x, double y, double r, double barrel, int barrels, double direction)
{
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_rotate(cr, direction);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int i = 0; i < barrels; ++i) {
        const double bx = (i - (barrels - 1) / 2.0) * r * 0.55;
        cairo_move_to(cr, bx, 0);
        cairo_line_to(cr, bx, -r - barrel);
    }
    cairo_set_line_width(cr, std::max(1.2, r * 0.32));
    setColour(cr, {52, 54, 58});
    cairo_stroke(cr);
    cairo_arc(cr, 0, 0, r + 0.8, 0, 2 * M_PI);
    setColour(cr, {40, 42, 46});
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(-r * 0.4, -r * 0.4, 0.5, 0, 0, r);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.78, 0.80, 0.82);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.42, 0.44, 0.48);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_restore(cr);
}

// The bow wave: two white lines that spread back from the stem.
void bowWave(cairo_t* cr, double length, double beam)
{
    const double b = -length / 2;
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 0, b - 1.5);
        cairo_curve_to(cr, side * beam * 0.45, b + 5, side * beam * 0.62, b + 12, side * beam * 0.72, b + 20);
    }
    cairo_set_line_width(cr, 2.0);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    setColour(cr, {226, 238, 242});
    cairo_stroke(cr);
}

struct ShipDesign {
    double length, beam;
    Rgb hull, deck;
    int turrets;
};

void drawShipBody(cairo_t* cr, const ShipDesign& d)
{
    bowWave(cr, d.length, d.beam);
    hullPath(cr, d.length, d.beam);
    setColour(cr, {30, 34, 40});
    cairo_set_line_width(cr, 2.0);
    cairo_stroke_preserve(cr);
    setColour(cr, d.hull);
    cairo_fill(cr);
    hullPath(cr, d.length - 5, d.beam - 4);
    setColour(cr, d.deck);
    cairo_fill(cr);
    // Bridge and funnel amidships.
    cairo_rectangle(cr, -d.beam * 0.28, -3, d.beam * 0.56, 10);
    setColour(cr, {196, 198, 196});
    cairo_fill(cr);
    cairo_rectangle(cr, -d.beam * 0.28, -3, d.beam * 0.56, 2);
    setColour(cr, {110, 150, 180});
    cairo_fill(cr);
    cairo_arc(cr, 0, 11, d.beam * 0.18, 0, 2 * M_PI);
    setColour(cr, {60, 60, 62});
    cairo_fill(cr);
    turret(cr, 0, -d.length * 0.27, d.beam * 0.2, 6, 1, 0);
    if (d.turrets > 1)
        turret(cr, 0, d.length * 0.33, d.beam * 0.18, 5, 1, M_PI);
}

// ---- Ground units -----------------------------------------------------------

void tracks(cairo_t* cr, double halfWidth, double length, Rgb colour)
{
    for (int side : {-1, 1}) {
        cairo_rectangle(cr, side * halfWidth - (side > 0 ? 4 : 0), -length / 2, 4, length);
        setColour(cr, colour);
        cairo_fill(cr);
        for (double y = -length / 2 + 1.5; y < length / 2; y += 3) {
            cairo_move_to(cr, side * halfWidth - (side > 0 ? 4 : 0), y);
            cairo_rel_line_to(cr, 4, 0);
        }
        cairo_set_line_width(cr, 0.8);
        setColour(cr, {30, 30, 28});
        cairo_stroke(cr);
    }
}

void tank(cairo_t* cr, Rgb body)
{
    // Outline first, then tracks, hull and turret.
    cairo_rectangle(cr, -10.5, -12.5, 21, 25);
    setColour(cr, {26, 28, 22});
    cairo_fill(cr);
    tracks(cr, 10, 24, {58, 56, 48});
    cairo_rectangle(cr, -6.5, -11, 13, 22);
    verticalGradient(cr, -11, {std::uint8_t(body.r + 30), std::uint8_t(body.g + 30), std::uint8_t(body.b + 24)}, 11,
                     body);
    cairo_fill(cr);
    cairo_rectangle(cr, -6.5, 8, 13, 3);
    setColour(cr, {60, 62, 48});
    cairo_fill(cr);
    turret(cr, 0, 1, 5.2, 8, 1, 0);
}

void scoutCar(cairo_t* cr, Rgb body)
{
    for (double y : {-7.0, 6.0})
        for (int side : {-1, 1}) {
            cairo_rectangle(cr, side * 8 - 2.5, y - 3.5, 5, 7);
            setColour(cr, {34, 34, 30});
            cairo_fill(cr);
        }
    roundedRectangle(cr, -7.5, -12.5, 15, 25, 3);
    setColour(cr, {26, 28, 22});
    cairo_fill(cr);
    roundedRectangle(cr, -6.5, -11.5, 13, 23, 2.5);
    verticalGradient(cr, -11, {std::uint8_t(body.r + 34), std::uint8_t(body.g + 34), std::uint8_t(body.b + 26)}, 11,
                     body);
    cairo_fill(cr);
    cairo_rectangle(cr, -5, -9, 10, 3);
    setColour(cr, {90, 130, 150});
    cairo_fill(cr);
    turret(cr, 0, 3, 3.6, 6, 1, 0);
}

void flakEmplacement(cairo_t* cr)
{
    // A ring of sandbags around a twin gun that looks down the screen.
    for (int i = 0; i < 12; ++i) {
        const double a = i * 2 * M_PI / 12;
        cairo_save(cr);
        cairo_translate(cr, std::cos(a) * 10.5, std::sin(a) * 10.5);
        cairo_rotate(cr, a + M_PI / 2);
        roundedRectangle(cr, -3.4, -2.2, 6.8, 4.4, 1.6);
        cairo_restore(cr);
    }
    setColour(cr, {50, 44, 30});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke_preserve(cr);
    setColour(cr, {176, 156, 108});
    cairo_fill(cr);
    cairo_arc(cr, 0, 0, 8, 0, 2 * M_PI);
    setColour(cr, {70, 64, 46});
    cairo_fill(cr);
    turret(cr, 0, 0, 4, 7, 2, M_PI * 0.9);
}

struct GroundUnit {
    int sprite;
    double dx, dy;
    enum class Kind { Tank, ScoutCar, Flak } kind;
    Rgb body;
};

const GroundUnit GroundUnits[] = {
    {32, -1, 0, GroundUnit::Kind::Tank, {112, 116, 74}}, {33, -1, 1, GroundUnit::Kind::Tank, {150, 130, 84}},
    {34, 0, 1, GroundUnit::Kind::Tank, {96, 108, 70}},   {35, 1, 1, GroundUnit::Kind::ScoutCar, {140, 124, 86}},
    {36, 0, 1, GroundUnit::Kind::Flak, {0, 0, 0}},
};

// ---- The battleship ---------------------------------------------------------

void battleshipHull(cairo_t* cr, double inset)
{
    const double top = 10 + inset, bottom = 51 - inset, mid = 30.5;
    cairo_move_to(cr, 3 + inset * 2, mid);
    cairo_curve_to(cr, 30, top + 3, 50, top, 80, top);
    cairo_line_to(cr, 210, top);
    cairo_curve_to(cr, 232, top, 243 - inset, top + 8, 243 - inset, mid);
    cairo_curve_to(cr, 243 - inset, bottom - 8, 232, bottom, 210, bottom);
    cairo_line_to(cr, 80, bottom);
    cairo_curve_to(cr, 50, bottom, 30, bottom - 3, 3 + inset * 2, mid);
    cairo_close_path(cr);
}

void lifeboat(cairo_t* cr, double x, double y)
{
    roundedRectangle(cr, x - 4, y - 1.4, 8, 2.8, 1.4);
    setColour(cr, {226, 226, 218});
    cairo_fill(cr);
}

void battleshipBody(cairo_t* cr, int state)
{
    const double dim = state == 2 ? 0.55 : 1.0;
    auto tone = [&](Rgb c) { return Rgb{uint8_t(c.r * dim), uint8_t(c.g * dim), uint8_t(c.b * dim)}; };

    // Foam thrown up at the bow and a short wake at the stern.
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    for (int side : {-1, 1}) {
        cairo_move_to(cr, 1.5, 30.5);
        cairo_curve_to(cr, 16, 30.5 + side * 12, 36, 30.5 + side * 20, 62, 30.5 + side * 23.5);
    }
    cairo_set_line_width(cr, 2.6);
    setColour(cr, {224, 236, 240});
    cairo_stroke(cr);
    for (int i = 0; i < 3; ++i) {
        cairo_arc(cr, 242.5 - i * 0.5, 24 + i * 6.5, 2.2, 0, 2 * M_PI);
        setColour(cr, {224, 236, 240});
        cairo_fill(cr);
    }

    battleshipHull(cr, 0);
    setColour(cr, {22, 26, 32});
    cairo_set_line_width(cr, 2);
    cairo_stroke_preserve(cr);
    verticalGradient(cr, 10, tone({124, 130, 140}), 51, tone({60, 64, 74}));
    cairo_fill(cr);
    battleshipHull(cr, 3);
    verticalGradient(cr, 13, tone({176, 166, 140}), 48, tone({128, 118, 96}));
    cairo_fill(cr);
    // Planking, and the breakwater and anchor chains on the forecastle.
    for (double y = 15.5; y < 47; y += 3) {
        cairo_move_to(cr, 26, y);
        cairo_line_to(cr, 232, y);
    }
    setColour(cr, tone({104, 96, 80}), 0.5);
    cairo_set_line_width(cr, 0.6);
    cairo_stroke(cr);
    cairo_move_to(cr, 44, 18);
    cairo_line_to(cr, 38, 30.5);
    cairo_line_to(cr, 44, 43);
    setColour(cr, tone({90, 92, 96}));
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    for (double y : {27.0, 34.0}) {
        cairo_move_to(cr, 14, y);
        cairo_line_to(cr, 34, y + (y < 30 ? 1.5 : -1.5));
    }
    setColour(cr, {40, 40, 42});
    cairo_set_line_width(cr, 1.0);
    cairo_stroke(cr);

    // Superstructure: stepped decks, the bridge with its windows, the
    // funnels with their black caps, boats alongside.
    roundedRectangle(cr, 100, 16, 66, 29, 4);
    setColour(cr, tone({148, 152, 158}));
    cairo_fill(cr);
    roundedRectangle(cr, 106, 19, 40, 23, 3);
    setColour(cr, tone({178, 182, 188}));
    cairo_fill(cr);
    roundedRectangle(cr, 109, 23, 16, 15, 2);
    setColour(cr, tone({212, 214, 218}));
    cairo_fill(cr);
    cairo_rectangle(cr, 109, 24, 2.5, 13);
    setColour(cr, tone({90, 140, 176}));
    cairo_fill(cr);
    for (double x : {137.0, 153.0}) {
        roundedRectangle(cr, x - 5, 24, 11, 13, 5);
        setColour(cr, tone({96, 98, 102}));
        cairo_fill(cr);
        roundedRectangle(cr, x - 3, 26.5, 7, 8, 3.5);
        setColour(cr, {22, 20, 20});
        cairo_fill(cr);
    }
    for (double x : {128.0, 160.0}) {
        lifeboat(cr, x, 17.5);
        lifeboat(cr, x, 43.5);
    }
    // The mast, seen from above as a cross with its yards.
    cairo_move_to(cr, 128, 22);
    cairo_line_to(cr, 128, 39);
    cairo_move_to(cr, 124, 30.5);
    cairo_line_to(cr, 132, 30.5);
    setColour(cr, tone({60, 60, 64}));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);

    // Main turrets: two forward, the second higher and larger, two aft;
    // anti-aircraft guns along both sides.
    turret(cr, 60, 30.5, 7, 13, 3, -M_PI / 2);
    turret(cr, 84, 30.5, 8, 13, 3, -M_PI / 2);
    turret(cr, 184, 30.5, 8, 13, 3, M_PI / 2);
    turret(cr, 208, 30.5, 7, 12, 3, M_PI / 2);
    for (double x : {96.0, 174.0})
        for (double y : {14.5, 46.5})
            turret(cr, x, y, 3, 4, 2, y < 30 ? 0 : M_PI);
    // A seaplane on its catapult at the stern.
    cairo_move_to(cr, 226, 30.5);
    cairo_line_to(cr, 238, 30.5);
    cairo_move_to(cr, 231, 25);
    cairo_line_to(cr, 231, 36);
    setColour(cr, tone({200, 200, 190}));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
}

}  // namespace

Picture drawShip(int sprite)
{
    const double heading = sprite == 29 ? headingOf(-1, 0) : sprite == 31 ? headingOf(1, 0) : headingOf(0, 1);
    const ShipDesign design = sprite == 30 ? ShipDesign{58, 18, {86, 94, 104}, {140, 138, 128}, 2}
                                           : ShipDesign{54, 15, {96, 100, 92}, {150, 146, 130}, 1};
    Canvas canvas(64, 64);
    cairo_t* cr = canvas.cr();
    cairo_translate(cr, 32, 32);
    cairo_rotate(cr, heading);
    drawShipBody(cr, design);
    return canvas.keyed();
}

Picture drawGroundUnit(int sprite)
{
    for (const GroundUnit& unit : GroundUnits) {
        if (unit.sprite != sprite)
            continue;
        Canvas canvas(32, 32);
        cairo_t* cr = canvas.cr();
        cairo_translate(cr, 16, 16);
        switch (unit.kind) {
        case GroundUnit::Kind::Tank:
            cairo_rotate(cr, headingOf(unit.dx, unit.dy));
            tank(cr, unit.body);
            break;
        case GroundUnit::Kind::ScoutCar:
            cairo_rotate(cr, headingOf(unit.dx, unit.dy));
            scoutCar(cr, unit.body);
            break;
        case GroundUnit::Kind::Flak: flakEmplacement(cr); break;
        }
        return canvas.keyed();
    }
    throw std::invalid_argument("no ground unit " + std::to_string(sprite));
}

Picture drawBattleship(int state)
{
    Canvas canvas(247, 61);
    cairo_t* cr = canvas.cr();
    battleshipBody(cr, state);
    if (state >= 1) {
        scorch(cr, 70, 26, 10);
        scorch(cr, 196, 36, 9);
        fire(cr, 196, 34, 7, 11);
        smoke(cr, 198, 30, 40, -12, 7, 12);
        fire(cr, 64, 22, 5, 13);
    }
    if (state == 2) {
        scorch(cr, 124, 30, 20);
        scorch(cr, 84, 30, 12);
        fire(cr, 126, 30, 10, 14);
        fire(cr, 88, 40, 7, 15);
        fire(cr, 214, 28, 7, 16);
        smoke(cr, 128, 28, 60, -16, 8, 17);
        smoke(cr, 90, 38, 50, -20, 7, 18);
        // She is settling by the bow: the sea breaks over the forecastle.
        for (int i = 0; i < 5; ++i) {
            cairo_arc(cr, 14 + i * 7, 30.5 + (i % 2 ? 5 : -4), 4 + i * 0.6, 0, 2 * M_PI);
            cairo_set_source_rgba(cr, 0.86, 0.92, 0.95, 0.9);
            cairo_fill(cr);
        }
    }
    return canvas.keyed();
}
