// The frame around the playfield, the status panel with its marker and
// digits, and the pictures with lettering: banners, title, credits and the
// level-complete screen.
//
// The panel's boxes and bars sit where the game draws over them: score
// digits at x 512-607, y 204-219; progress marker at x 490-627, y 248-272;
// damage marker at x 490-628, y 281-305; hi-score digits at x 512-607,
// y 399-414 (screen coordinates; the panel starts at x 480).
#include "art.h"

#include "canvas.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <stdexcept>
#include <string>

namespace {

constexpr int PanelX = 480;

const Rgb Gold{226, 186, 84};
const Rgb Steel{74, 80, 92};
const Rgb Ink{14, 16, 22};
const Rgb DigitBackground{12, 18, 14};

// ---- The cockpit: frame and panel, drawn as one screen -----------------------

void rivet(cairo_t* cr, double x, double y)
{
    cairo_arc(cr, x + 0.6, y + 0.6, 1.8, 0, 2 * M_PI);
    setColour(cr, {20, 22, 26});
    cairo_fill(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x - 0.6, y - 0.6, 0.2, x, y, 1.8);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.85, 0.87, 0.9);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.35, 0.37, 0.42);
    cairo_arc(cr, x, y, 1.8, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

// A bevelled steel plate: light on its top and left edges, dark on the others.
void plate(cairo_t* cr, double x, double y, double w, double h, Rgb colour)
{
    cairo_rectangle(cr, x, y, w, h);
    cairo_pattern_t* p = cairo_pattern_create_linear(x, y, x + w * 0.3, y + h);
    cairo_pattern_add_color_stop_rgb(p, 0, colour.r / 220.0, colour.g / 220.0, colour.b / 220.0);
    cairo_pattern_add_color_stop_rgb(p, 1, colour.r / 300.0, colour.g / 300.0, colour.b / 300.0);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_width(cr, 1);
    cairo_move_to(cr, x + 0.5, y + h - 0.5);
    cairo_line_to(cr, x + 0.5, y + 0.5);
    cairo_line_to(cr, x + w - 0.5, y + 0.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.35);
    cairo_stroke(cr);
    cairo_move_to(cr, x + w - 0.5, y + 0.5);
    cairo_line_to(cr, x + w - 0.5, y + h - 0.5);
    cairo_line_to(cr, x + 0.5, y + h - 0.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_stroke(cr);
}

// A recess cut into the plate: dark inside, lit on its lower and right rim.
void recess(cairo_t* cr, double x, double y, double w, double h, Rgb inside)
{
    cairo_rectangle(cr, x - 2, y - 2, w + 4, h + 4);
    setColour(cr, {18, 20, 24});
    cairo_fill(cr);
    cairo_move_to(cr, x + w + 1.5, y - 1.5);
    cairo_line_to(cr, x + w + 1.5, y + h + 1.5);
    cairo_line_to(cr, x - 1.5, y + h + 1.5);
    cairo_set_line_width(cr, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_stroke(cr);
    cairo_rectangle(cr, x, y, w, h);
    setColour(cr, inside);
    cairo_fill(cr);
}

void label(cairo_t* cr, const std::string& text, double x, double baseline, double size)
{
    selectFace(cr, Face::SansBold, size);
    cairo_new_path(cr);
    centredTextPath(cr, text, x + 1, baseline + 1);
    setColour(cr, {10, 10, 12});
    cairo_fill(cr);
    centredTextPath(cr, text, x, baseline);
    setColour(cr, Gold);
    cairo_fill(cr);
}

void frame(cairo_t* cr)
{
    // The bezel around the playfield (32..447 on both axes).
    cairo_rectangle(cr, 0, 0, PanelX, 480);
    cairo_rectangle(cr, 32, 32, 416, 416);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_EVEN_ODD);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 480, 480);
    cairo_pattern_add_color_stop_rgb(p, 0, 0.40, 0.43, 0.49);
    cairo_pattern_add_color_stop_rgb(p, 1, 0.22, 0.24, 0.29);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
    cairo_set_fill_rule(cr, CAIRO_FILL_RULE_WINDING);
    // Brushed metal streaks along each side.
    for (int i = 0; i < 480; i += 3) {
        const double a = 0.04 + 0.04 * std::sin(i * 0.37) * std::sin(i * 0.11);
        cairo_set_source_rgba(cr, 1, 1, 1, a);
        cairo_rectangle(cr, i, 2, 1.5, 28);
        cairo_rectangle(cr, i, 450, 1.5, 28);
        cairo_fill(cr);
        if (i >= 32 && i < 448) {
            cairo_rectangle(cr, 2, i, 28, 1.5);
            cairo_rectangle(cr, 450, i, 28, 1.5);
            cairo_fill(cr);
        }
    }
    // Outer edge lit from the top left.
    cairo_set_line_width(cr, 2);
    cairo_move_to(cr, 1, 479);
    cairo_line_to(cr, 1, 1);
    cairo_line_to(cr, 479, 1);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.4);
    cairo_stroke(cr);
    cairo_move_to(cr, 1, 479);
    cairo_line_to(cr, 479, 479);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.5);
    cairo_stroke(cr);
    // The window's rim: a dark lip and a groove stepping down into the field.
    for (int i = 0; i < 5; ++i) {
        const double inset = 27.5 + i;
        const double shade = 0.08 + 0.05 * i;
        cairo_rectangle(cr, inset, inset, 480 - 2 * inset, 480 - 2 * inset);
        cairo_set_source_rgb(cr, shade, shade * 1.05, shade * 1.2);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }
    cairo_move_to(cr, 26.5, 453.5);
    cairo_line_to(cr, 453.5, 453.5);
    cairo_line_to(cr, 453.5, 26.5);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.3);
    cairo_stroke(cr);
    // Rivets along every side, and corner plates.
    for (int i = 48; i < 440; i += 48) {
        rivet(cr, i, 13);
        rivet(cr, i, 466);
        rivet(cr, 13, i);
        rivet(cr, 466, i);
    }
    for (double cx : {0.0, 448.0})
        for (double cy : {0.0, 448.0}) {
            plate(cr, cx + 4, cy + 4, 24, 24, {120, 126, 138});
            rivet(cr, cx + 16, cy + 16);
        }
}

void wingsEmblem(cairo_t* cr, double cx, double cy, double scale)
{
    cairo_save(cr);
    cairo_translate(cr, cx, cy);
    cairo_scale(cr, scale, scale);
    for (int side : {-1, 1})
        for (int feather = 0; feather < 5; ++feather) {
            const double y = feather * 6;
            cairo_move_to(cr, side * 8, y);
            cairo_curve_to(cr, side * 30, y - 8, side * 50, y - 10 + feather * 2, side * (66 - feather * 9),
                           y - 14 + feather * 5);
            cairo_line_to(cr, side * 8, y + 4);
            cairo_close_path(cr);
        }
    cairo_set_line_width(cr, 3 / scale);
    setColour(cr, {10, 10, 16});
    cairo_stroke_preserve(cr);
    verticalGradient(cr, -14, {250, 226, 140}, 30, {150, 104, 30});
    cairo_fill(cr);
    cairo_arc(cr, 0, 8, 10, 0, 2 * M_PI);
    setColour(cr, {180, 40, 36});
    cairo_fill_preserve(cr);
    setColour(cr, Gold);
    cairo_set_line_width(cr, 2.5 / scale);
    cairo_stroke(cr);
    cairo_restore(cr);
}

void panel(cairo_t* cr)
{
    cairo_save(cr);
    cairo_translate(cr, PanelX, 0);
    cairo_rectangle(cr, 0, 0, 160, 480);
    cairo_clip(cr);
    plate(cr, 0, 0, 160, 480, {96, 102, 116});
    cairo_move_to(cr, 0.5, 0);
    cairo_line_to(cr, 0.5, 480);
    setColour(cr, {16, 18, 22});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // The logo, over a dark recess, with a pair of wings beneath.
    recess(cr, 8, 12, 144, 150, {22, 28, 44});
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 12, 0, 162);
    cairo_pattern_add_color_stop_rgb(sky, 0, 0.10, 0.16, 0.30);
    cairo_pattern_add_color_stop_rgb(sky, 1, 0.05, 0.07, 0.13);
    cairo_rectangle(cr, 8, 12, 144, 150);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
    wingsEmblem(cr, 80, 106, 0.9);
    selectFaceToFit(cr, Face::SerifBold, 33, "TERVANE", 128);
    letter(cr, "TERVANE", 80, 70, 24, {{236, 242, 255}, {110, 140, 200}, {8, 10, 20}, 4});
    label(cr, "AIR STRIKE", 80, 150, 10);

    // Score box (digits at 32..127, 204..219).
    label(cr, "SCORE", 80, 196, 13);
    recess(cr, 28, 200, 104, 24, DigitBackground);
    // Progress bar (marker at 10..147, 248..272) and damage bar (10..148, 281..305).
    label(cr, "PROGRESS", 80, 240, 13);
    recess(cr, 9, 247, 143, 27, {20, 30, 40});
    for (int i = 0; i <= 10; ++i) {
        const double x = 11.5 + i * 13.5;
        cairo_move_to(cr, x, 249);
        cairo_line_to(cr, x, i % 5 == 0 ? 258 : 253);
        cairo_move_to(cr, x, 271);
        cairo_line_to(cr, x, i % 5 == 0 ? 262 : 267);
    }
    cairo_set_source_rgba(cr, 0.5, 0.7, 0.9, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_pattern_t* danger = cairo_pattern_create_linear(10, 0, 150, 0);
    cairo_pattern_add_color_stop_rgb(danger, 0, 0.10, 0.42, 0.16);
    cairo_pattern_add_color_stop_rgb(danger, 0.55, 0.56, 0.52, 0.10);
    cairo_pattern_add_color_stop_rgb(danger, 1, 0.62, 0.10, 0.08);
    recess(cr, 9, 280, 144, 27, {20, 20, 20});
    cairo_rectangle(cr, 9, 280, 144, 27);
    cairo_set_source(cr, danger);
    cairo_fill(cr);
    cairo_pattern_destroy(danger);
    for (double x = 12; x < 152; x += 6) {
        cairo_move_to(cr, x, 281);
        cairo_line_to(cr, x, 306);
    }
    cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    label(cr, "DAMAGE", 80, 322, 13);

    // Hi-score box (digits at 32..127, 399..414).
    label(cr, "HI-SCORE", 80, 391, 13);
    recess(cr, 28, 395, 104, 24, DigitBackground);

    // Screws and the maker's notice.
    for (double y : {176.0, 340.0, 432.0}) {
        rivet(cr, 10, y);
        rivet(cr, 150, y);
    }
    cairo_move_to(cr, 20, 340.5);
    cairo_line_to(cr, 140, 340.5);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_stroke(cr);
    selectFace(cr, Face::Sans, 9.5);
    cairo_new_path(cr);
    centredTextPath(cr, "\u00A9 2026 The Tervane Project", 80, 452);
    centredTextPath(cr, "All rights reserved", 80, 465);
    setColour(cr, {26, 28, 34});
    cairo_fill(cr);
    cairo_restore(cr);
}

// The whole 640 x 480 screen of frame and panel, with the playfield black.
Picture cockpit()
{
    Canvas canvas(640, 480);
    cairo_t* cr = canvas.cr();
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    frame(cr);
    panel(cr);
    return canvas.opaque();
}

Picture cut(const Picture& from, int x, int y, int w, int h)
{
    Picture part(w, h);
    for (int row = 0; row < h; ++row)
        for (int col = 0; col < w; ++col)
            part.at(col, row) = from.at(x + col, y + row);
    return part;
}

// ---- Lettering screens ------------------------------------------------------

const LetteringStyle Prompt{{255, 255, 255}, {200, 220, 255}, {10, 12, 30}, 3};

// A dark plate with a gold rim, for text that must stay readable over the map.
void banner(cairo_t* cr, double x, double y, double w, double h)
{
    roundedRectangle(cr, x, y, w, h, std::min(10.0, h / 3));
    verticalGradient(cr, y, {30, 40, 70}, y + h, {12, 16, 32});
    cairo_fill_preserve(cr);
    setColour(cr, Gold);
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    roundedRectangle(cr, x + 3, y + 3, w - 6, h - 6, std::min(8.0, h / 3 - 2));
    setColour(cr, {120, 96, 40});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// The plate along the bottom of a 340-wide screen that asks for the S key.
void pressSPrompt(cairo_t* cr, const char* text, double x, double width)
{
    banner(cr, x, 146, width, 40);
    selectFace(cr, Face::SansBold, 17);
    letter(cr, text, 170, 172, 12, Prompt);
}

Picture bannerPicture(const std::string& text, Rgb top, Rgb bottom)
{
    Canvas canvas(201, 40);
    cairo_t* cr = canvas.cr();
    banner(cr, 2, 2, 197, 36);
    selectFace(cr, Face::SansBold, 24);
    letter(cr, text, 100.5, 29, 18, {top, bottom, {8, 8, 12}, 3.5});
    return canvas.keyed();
}

}  // namespace

Picture drawFrameStrip(int sprite)
{
    const Picture screen = cockpit();
    switch (sprite) {
    case 1: return cut(screen, 0, 0, 480, 32);
    case 2: return cut(screen, 0, 448, 480, 32);
    case 3: return cut(screen, 0, 32, 32, 416);
    case 4: return cut(screen, 448, 32, 32, 416);
    }
    throw std::invalid_argument("no frame strip " + std::to_string(sprite));
}

Picture drawPanel()
{
    return cut(cockpit(), PanelX, 0, 160, 480);
}

Picture drawGaugeMarker()
{
    Picture marker(4, 25);
    const Rgb columns[4] = {{90, 40, 10}, {255, 244, 170}, {255, 204, 60}, {90, 40, 10}};
    for (int y = 0; y < 25; ++y)
        for (int x = 0; x < 4; ++x)
            marker.at(x, y) = (y == 0 || y == 24) ? Rgb{40, 20, 8} : columns[x];
    return marker;
}

Picture drawDigit(int digit)
{
    // Seven segments: a, b, c, d, e, f, g; lit ones glow amber, the others
    // stay faintly visible as on a real display.
    static const int segmentsOf[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};
    const double l = 4, r = 12, t = 1.5, m = 8, b = 14.5, w = 2.5;
    const double segments[7][4] = {
        {l + 1, t, r - 1, t}, {r, t + 1, r, m - 1}, {r, m + 1, r, b - 1}, {l + 1, b, r - 1, b},
        {l, m + 1, l, b - 1}, {l, t + 1, l, m - 1}, {l + 1, m, r - 1, m},
    };
    Canvas canvas(16, 16);
    cairo_t* cr = canvas.cr();
    setColour(cr, DigitBackground);
    cairo_paint(cr);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, w);
    for (int s = 0; s < 7; ++s) {
        const bool lit = segmentsOf[digit] & (1 << s);
        // Italic slant: shift by height.
        auto sx = [](double x, double y) { return x - (y - 8) * 0.12; };
        cairo_move_to(cr, sx(segments[s][0], segments[s][1]), segments[s][1]);
        cairo_line_to(cr, sx(segments[s][2], segments[s][3]), segments[s][3]);
        lit ? setColour(cr, {255, 190, 52}) : setColour(cr, {30, 28, 17});
        cairo_stroke(cr);
    }
    return canvas.opaque();
}

Picture drawGetReady()
{
    return bannerPicture("GET READY", {255, 250, 170}, {255, 160, 30});
}

Picture drawGameOver()
{
    return bannerPicture("GAME OVER", {255, 200, 180}, {210, 30, 24});
}

Picture drawTitle()
{
    Canvas canvas(340, 194);
    cairo_t* cr = canvas.cr();
    wingsEmblem(cr, 170, 30, 1.6);
    selectFaceToFit(cr, Face::SerifBold, 66, "TERVANE", 318);
    letter(cr, "TERVANE", 170, 108, 48, {{240, 246, 255}, {84, 120, 196}, {6, 8, 20}, 6});
    selectFace(cr, Face::SansBold, 14);
    letter(cr, "A I R   S T R I K E", 170, 131, 10, {{255, 230, 140}, {220, 160, 40}, {6, 6, 10}, 3});
    pressSPrompt(cr, "PRESS  S  TO START", 40, 260);
    return canvas.keyed();
}

namespace {

// The credits page's controls: a key name right-aligned before the column,
// what it does after it, a line every 17 pixels.
constexpr double ControlsKeyEdge = 168;
constexpr double ControlsWhatX = 180;
constexpr double ControlsLineStep = 17;
const Rgb ControlsKeyColour{255, 214, 120};
const Rgb ControlsWhatColour{226, 232, 244};

// The banner's ground colour on row y of the credits page.
Rgb creditsGround(double y)
{
    const double t = std::clamp((y + 0.5 - 2) / 353, 0.0, 1.0);
    auto mix = [t](uint8_t a, uint8_t b) { return uint8_t(std::lround(a + (b - a) * t)); };
    return {mix(30, 12), mix(40, 16), mix(70, 32)};
}

// The credits page down to the heading of its controls; returns the
// baseline of the first controls line.
double creditsHead(cairo_t* cr)
{
    banner(cr, 2, 2, 342, 353);
    selectFaceToFit(cr, Face::SerifBold, 34, "TERVANE", 300);
    letter(cr, "TERVANE", 173, 46, 25, {{240, 246, 255}, {84, 120, 196}, {6, 8, 20}, 4});
    selectFace(cr, Face::SansBold, 12);
    letter(cr, "C R E D I T S", 173, 68, 9, {{255, 230, 140}, {220, 160, 40}, {6, 6, 10}, 2});

    const char* lines[][2] = {
        {"GAME DESIGN", "The Tervane Team"},
        {"PROGRAMMING", "The Tervane Team"},
        {"GRAPHICS", "The Tervane Team"},
        {"SOUND AND MUSIC", "The Tervane Team"},
    };
    double y = 96;
    for (auto& line : lines) {
        selectFace(cr, Face::SansBold, 11);
        cairo_new_path(cr);
        cairo_move_to(cr, 30, y);
        cairo_text_path(cr, line[0]);
        setColour(cr, Gold);
        cairo_fill(cr);
        selectFace(cr, Face::Sans, 12);
        cairo_move_to(cr, 316 - textWidth(cr, line[1]), y);
        cairo_text_path(cr, line[1]);
        setColour(cr, {226, 232, 244});
        cairo_fill(cr);
        y += 22;
    }
    cairo_move_to(cr, 30, y - 6);
    cairo_line_to(cr, 316, y - 6);
    setColour(cr, {120, 96, 40});
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    y += 16;
    selectFace(cr, Face::SansBold, 11);
    cairo_new_path(cr);
    centredTextPath(cr, "CONTROLS", 173, y);
    setColour(cr, Gold);
    cairo_fill(cr);
    return y + 20;
}

void controlWhat(cairo_t* cr, const char* what, double y)
{
    selectFace(cr, Face::Sans, 12);
    cairo_move_to(cr, ControlsWhatX, y);
    cairo_text_path(cr, what);
    setColour(cr, ControlsWhatColour);
    cairo_fill(cr);
}

// Where the controls' key names stand, the ground the game writes the
// player's own over: the rows of six lines, the column from the banner's
// rim to past the words.
constexpr int ControlsLeft = 10;
constexpr int ControlsTop = 204;
constexpr int ControlsWidth = 326;
constexpr int ControlsHeight = 107;

}  // namespace

Picture drawCredits()
{
    Canvas canvas(346, 357);
    cairo_t* cr = canvas.cr();
    double y = creditsHead(cr);
    const char* controls[][2] = {
        {"ARROW KEYS", "fly"}, {"SPACE", "fire"}, {"S", "start a game"}, {"F12", "credits line"}, {"ESC", "quit"},
    };
    for (auto& control : controls) {
        selectFace(cr, Face::MonoBold, 11);
        cairo_new_path(cr);
        cairo_move_to(cr, ControlsKeyEdge - textWidth(cr, control[0]), y);
        cairo_text_path(cr, control[0]);
        setColour(cr, ControlsKeyColour);
        cairo_fill(cr);
        controlWhat(cr, control[1], y);
        y += ControlsLineStep;
    }
    selectFace(cr, Face::Sans, 10);
    cairo_new_path(cr);
    centredTextPath(cr, "Survive three bosses and reach the far shore.", 173, 320);
    setColour(cr, {180, 190, 210});
    cairo_fill(cr);
    centredTextPath(cr, "\u00A9 2026 The Tervane Project", 173, 338);
    setColour(cr, {150, 158, 176});
    cairo_fill(cr);
    return canvas.keyed();
}

Picture drawCreditsControls()
{
    Canvas canvas(346, 357);
    cairo_t* cr = canvas.cr();
    double y = creditsHead(cr);
    for (const char* what : {"fly", "fire", "start a game", "pause", "credits line", "quit"}) {
        controlWhat(cr, what, y);
        y += ControlsLineStep;
    }
    return cut(canvas.opaque(), ControlsLeft, ControlsTop, ControlsWidth, ControlsHeight);
}

namespace {

// ---- Glyph sheets -----------------------------------------------------------

// Space to the backquote: the characters of key names in capitals.
constexpr int FirstGlyph = ' ';
constexpr int GlyphCount = '`' - ' ' + 1;

struct SheetLayout {
    Face face;
    double size;
    int cellWidth, rowHeight, rows, originX, baselineY;
};

// The prompt's lettering over its plate, whose rows the sheet's rows are;
// the credits page's key names on the line of the first control.
constexpr SheetLayout PromptSheet{Face::SansBold, 17, 28, 40, 2, 5, 26};
constexpr SheetLayout CreditsKeySheet{Face::MonoBold, 11, 10, 16, 1, 1, 12};
constexpr double PromptPlateTop = 146;
constexpr double PromptBaseline = 172;
constexpr double FirstControlBaseline = 220;

const SheetLayout& sheetLayout(int sprite)
{
    switch (sprite) {
    case 77: return PromptSheet;
    case 78: return CreditsKeySheet;
    }
    throw std::invalid_argument("no glyph sheet " + std::to_string(sprite));
}

std::string glyph(int index)
{
    return std::string(1, char(FirstGlyph + index));
}

// One row of glyphs: `paint` lays each glyph's path, set at its origin, on
// the canvas; the row is then keyed over `ground`.
template <class Paint>
Picture glyphRow(const SheetLayout& layout, Paint paint, const std::function<Rgb(int)>& ground)
{
    Canvas canvas(GlyphCount * layout.cellWidth, layout.rowHeight);
    cairo_t* cr = canvas.cr();
    selectFace(cr, layout.face, layout.size);
    for (int index = 0; index < GlyphCount; ++index) {
        cairo_new_path(cr);
        cairo_move_to(cr, index * layout.cellWidth + layout.originX, layout.baselineY);
        cairo_text_path(cr, glyph(index).c_str());
        paint(cr);
    }
    return keyedOverGround(canvas.surface(), ground);
}

void paste(Picture& into, const Picture& from, int top)
{
    for (int y = 0; y < from.height(); ++y)
        for (int x = 0; x < from.width(); ++x)
            into.at(x, top + y) = from.at(x, y);
}

}  // namespace

Picture drawPromptPlate()
{
    Canvas canvas(420, 44);
    banner(canvas.cr(), 2, 2, 416, 40);
    return canvas.keyed();
}

Picture drawGlyphSheet(int sprite)
{
    const SheetLayout& layout = sheetLayout(sprite);
    Picture sheet(GlyphCount * layout.cellWidth, layout.rows * layout.rowHeight);
    if (sprite == 78) {
        const auto ground = [&](int row) { return creditsGround(FirstControlBaseline - layout.baselineY + row); };
        paste(sheet,
              glyphRow(
                  layout, [](cairo_t* cr) { setColour(cr, ControlsKeyColour), cairo_fill(cr); }, ground),
              0);
        return sheet;
    }
    // The plate's ground, as banner() paints it, under the outlines; the
    // outline colour under the fills.
    const auto plate = [](int row) {
        const double t = (row + 0.5) / 40;
        auto mix = [t](uint8_t a, uint8_t b) { return uint8_t(std::lround(a + (b - a) * t)); };
        return Rgb{mix(30, 12), mix(40, 16), mix(70, 32)};
    };
    const double baseline = layout.baselineY;
    static_assert(PromptBaseline - PromptPlateTop == 26);
    const auto outline = [&](cairo_t* cr) {
        cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
        setColour(cr, Prompt.outline);
        cairo_set_line_width(cr, Prompt.outlineWidth);
        cairo_stroke(cr);
    };
    const auto fill = [&](cairo_t* cr) {
        verticalGradient(cr, baseline - 12, Prompt.top, baseline, Prompt.bottom);
        cairo_fill(cr);
    };
    paste(sheet, glyphRow(layout, outline, plate), 0);
    paste(sheet, glyphRow(layout, fill, [](int) { return Prompt.outline; }), layout.rowHeight);
    return sheet;
}

std::vector<uint8_t> encodeGlyphMeasures(int sprite)
{
    const SheetLayout& layout = sheetLayout(sprite);
    std::vector<int32_t> values = {FirstGlyph,  GlyphCount,     layout.cellWidth, layout.rowHeight,
                                   layout.rows, layout.originX, layout.baselineY};
    Canvas canvas(1, 1);
    selectFace(canvas.cr(), layout.face, layout.size);
    for (int index = 0; index < GlyphCount; ++index)
        values.push_back(int32_t(std::lround(textWidth(canvas.cr(), glyph(index)) * 64)));
    std::vector<uint8_t> bytes;
    for (const int32_t value : values)
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(uint32_t(value) >> shift));
    return bytes;
}

Picture drawLevelComplete()
{
    Canvas canvas(340, 194);
    cairo_t* cr = canvas.cr();
    selectFaceToFit(cr, Face::SerifBold, 50, "COMPLETE", 318);
    letter(cr, "LEVEL", 170, 56, 36, {{255, 250, 200}, {230, 150, 30}, {12, 8, 4}, 5});
    letter(cr, "COMPLETE", 170, 108, 36, {{255, 250, 200}, {230, 150, 30}, {12, 8, 4}, 5});
    selectFace(cr, Face::SansBold, 13);
    letter(cr, "THE FAR SHORE IS YOURS", 170, 132, 9, {{220, 236, 255}, {150, 180, 230}, {6, 8, 16}, 3});
    pressSPrompt(cr, "PRESS  S  TO RESTART", 30, 280);
    return canvas.keyed();
}
