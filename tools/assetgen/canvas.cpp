#include "canvas.h"

#include <cairo-ft.h>
#include <ft2build.h>
#include FT_FREETYPE_H

#include <cmath>
#include <map>
#include <stdexcept>

Canvas::Canvas(int width, int height)
    : surface_(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)), cr_(cairo_create(surface_))
{
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_OFF);
    cairo_set_font_options(cr_, options);
    cairo_font_options_destroy(options);
}

Canvas::~Canvas()
{
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

void setColour(cairo_t* cr, Rgb colour, double alpha)
{
    cairo_set_source_rgba(cr, colour.r / 255.0, colour.g / 255.0, colour.b / 255.0, alpha);
}

namespace {

const char* fileOf(Face face)
{
    switch (face) {
    case Face::Sans: return "DejaVuSans.ttf";
    case Face::SansBold: return "DejaVuSans-Bold.ttf";
    case Face::SerifBold: return "DejaVuSerif-Bold.ttf";
    case Face::MonoBold: return "DejaVuSansMono-Bold.ttf";
    }
    return "";
}

// The faces live for the whole run of the generator.
cairo_font_face_t* fontFace(Face face)
{
    static FT_Library library = [] {
        FT_Library l;
        if (FT_Init_FreeType(&l))
            throw std::runtime_error("cannot start FreeType");
        return l;
    }();
    static std::map<Face, cairo_font_face_t*> faces;
    if (auto found = faces.find(face); found != faces.end())
        return found->second;
    const std::string path = std::string(TERVANE_FONT_DIR) + "/" + fileOf(face);
    FT_Face ftFace;
    if (FT_New_Face(library, path.c_str(), 0, &ftFace))
        throw std::runtime_error("cannot open the font " + path + " (install fonts-dejavu-core)");
    cairo_font_face_t* cairoFace = cairo_ft_font_face_create_for_ft_face(ftFace, 0);
    faces[face] = cairoFace;
    return cairoFace;
}

}  // namespace

void selectFace(cairo_t* cr, Face face, double size)
{
    cairo_set_font_face(cr, fontFace(face));
    cairo_set_font_size(cr, size);
}

void selectFaceToFit(cairo_t* cr, Face face, double size, const std::string& text, double maxWidth)
{
    selectFace(cr, face, size);
    const double width = textWidth(cr, text);
    if (width > maxWidth)
        selectFace(cr, face, size * maxWidth / width);
}

double textWidth(cairo_t* cr, const std::string& text)
{
    cairo_text_extents_t extents;
    cairo_text_extents(cr, text.c_str(), &extents);
    return extents.x_advance;
}

void centredTextPath(cairo_t* cr, const std::string& text, double x, double baseline)
{
    cairo_move_to(cr, x - textWidth(cr, text) / 2, baseline);
    cairo_text_path(cr, text.c_str());
}

void letter(cairo_t* cr, const std::string& text, double x, double baseline, double capHeight,
            const LetteringStyle& style)
{
    cairo_new_path(cr);
    centredTextPath(cr, text, x, baseline);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (style.outlineWidth > 0) {
        setColour(cr, style.outline);
        cairo_set_line_width(cr, style.outlineWidth);
        cairo_stroke_preserve(cr);
    }
    verticalGradient(cr, baseline - capHeight, style.top, baseline, style.bottom);
    cairo_fill(cr);
}

void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius)
{
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + width - radius, y + radius, radius, -M_PI / 2, 0);
    cairo_arc(cr, x + width - radius, y + height - radius, radius, 0, M_PI / 2);
    cairo_arc(cr, x + radius, y + height - radius, radius, M_PI / 2, M_PI);
    cairo_arc(cr, x + radius, y + radius, radius, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

double headingOf(double dx, double dy)
{
    return std::atan2(dx, -dy);
}

void verticalGradient(cairo_t* cr, double y0, Rgb c0, double y1, Rgb c1)
{
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, c0.r / 255.0, c0.g / 255.0, c0.b / 255.0);
    cairo_pattern_add_color_stop_rgb(p, 1, c1.r / 255.0, c1.g / 255.0, c1.b / 255.0);
    cairo_set_source(cr, p);
    cairo_pattern_destroy(p);
}
