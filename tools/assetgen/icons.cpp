#include "icons.h"

#include "art.h"
#include "canvas.h"

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace {

// The sea of the level, lit from the top left like every picture of the game.
const Rgb SeaLight{44, 104, 172};
const Rgb SeaDeep{26, 72, 140};
const Rgb Rim{14, 40, 84};
const Rgb Crest{190, 222, 240};

// A few crests like those of the wave tiles; below 48 pixels they would be
// specks that only blur the plane's outline.
void waveCrests(cairo_t* cr, int size)
{
    if (size < 48)
        return;
    const struct {
        double x, y;
    } crests[] = {{0.22, 0.16}, {0.76, 0.22}, {0.14, 0.70}, {0.80, 0.78}, {0.50, 0.90}};
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, size / 64.0);
    setColour(cr, Crest, 0.75);
    for (auto [x, y] : crests) {
        cairo_arc(cr, x * size, y * size + size / 32.0, size / 22.0, -2.4, -0.7);
        cairo_stroke(cr);
    }
}

}  // namespace

void paintIcon(cairo_t* cr, int size)
{
    // Themes leave a small margin around application icons; at 16 pixels a
    // half pixel is all that can be spared.
    const double margin = size <= 24 ? 0.5 : size / 24.0;
    const double side = size - 2 * margin;
    const double radius = side * 0.18;
    roundedRectangle(cr, margin, margin, side, side, radius);
    verticalGradient(cr, margin, SeaLight, size - margin, SeaDeep);
    cairo_save(cr);
    cairo_fill_preserve(cr);
    cairo_clip(cr);
    waveCrests(cr, size);
    cairo_restore(cr);
    roundedRectangle(cr, margin, margin, side, side, radius);
    cairo_set_line_width(cr, std::max(1.0, size / 48.0));
    setColour(cr, Rim);
    cairo_stroke(cr);

    // The plane fills most of the square, its shadow falling on the sea
    // below and to the right, as the light comes from the top left.
    const double scale = side * 0.86 / 54.0;
    cairo_save(cr);
    cairo_translate(cr, size / 2.0 + side * 0.07, size / 2.0 + side * 0.09);
    cairo_scale(cr, scale * 0.82, scale * 0.82);
    playerOutlinePath(cr);
    cairo_set_source_rgba(cr, 0.02, 0.06, 0.12, 0.38);
    cairo_fill(cr);
    cairo_restore(cr);

    cairo_save(cr);
    cairo_translate(cr, size / 2.0, size / 2.0 - side * 0.02);
    cairo_scale(cr, scale, scale);
    paintPlayerPlane(cr);
    cairo_restore(cr);
}

std::string iconFileName(int size)
{
    const std::string edge = std::to_string(size);
    return "icons/hicolor/" + edge + "x" + edge + "/apps/tervane.png";
}

void writeIcons(const std::string& dir)
{
    for (int size : IconSizes) {
        const std::filesystem::path path = dir + "/" + iconFileName(size);
        std::filesystem::create_directories(path.parent_path());
        Canvas canvas(size, size);
        paintIcon(canvas.cr(), size);
        if (cairo_surface_write_to_png(canvas.surface(), path.c_str()) != CAIRO_STATUS_SUCCESS)
            throw std::runtime_error("cannot write " + path.string());
    }
}
