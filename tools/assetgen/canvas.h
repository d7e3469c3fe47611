// Cairo drawing helpers shared by the pictures: an image surface to draw on,
// colours, and lettering in the DejaVu faces.
#pragma once

#include "picture.h"

#include <cairo.h>

#include <string>

class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_surface_t* surface() { return surface_; }
    cairo_t* cr() { return cr_; }
    Picture keyed() { return keyedPicture(surface_); }
    Picture opaque() { return opaquePicture(surface_); }

private:
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

void setColour(cairo_t* cr, Rgb colour, double alpha = 1.0);

enum class Face { Sans, SansBold, SerifBold, MonoBold };

void selectFace(cairo_t* cr, Face face, double size);

// The face at `size`, or smaller if that is what it takes for the text to
// fit in maxWidth.
void selectFaceToFit(cairo_t* cr, Face face, double size, const std::string& text, double maxWidth);

// Width of the text in the selected face.
double textWidth(cairo_t* cr, const std::string& text);

// Adds the outline of the text to the path, centred on x, on the baseline y.
void centredTextPath(cairo_t* cr, const std::string& text, double x, double baseline);

// Lettering with a vertical gradient from `top` to `bottom` between the
// baseline and the cap height, over an outline of the given width.
struct LetteringStyle {
    Rgb top, bottom, outline;
    double outlineWidth;
};
void letter(cairo_t* cr, const std::string& text, double x, double baseline, double capHeight,
            const LetteringStyle& style);

// A rectangle with rounded corners as a path.
void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);

// The rotation that turns art drawn facing up to face the way (dx, dy)
// points on the screen.
double headingOf(double dx, double dy);

// A linear vertical gradient source between two colours.
void verticalGradient(cairo_t* cr, double y0, Rgb c0, double y1, Rgb c1);
