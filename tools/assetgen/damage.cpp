#include "damage.h"

#include "random.h"

#include <cmath>

void fire(cairo_t* cr, double x, double y, double r, uint64_t seed)
{
    Random random(seed);
    for (int i = 0; i < 6; ++i) {
        const double fx = x + random.between(-r, r) * 0.6, fy = y + random.between(-r, r) * 0.6;
        const double fr = r * random.between(0.4, 0.8);
        cairo_pattern_t* p = cairo_pattern_create_radial(fx, fy, 0, fx, fy, fr);
        cairo_pattern_add_color_stop_rgb(p, 0, 1.0, 0.95, 0.6);
        cairo_pattern_add_color_stop_rgb(p, 0.5, 1.0, 0.55, 0.1);
        cairo_pattern_add_color_stop_rgba(p, 1, 0.8, 0.15, 0.05, 0.6);
        cairo_arc(cr, fx, fy, fr, 0, 2 * M_PI);
        cairo_set_source(cr, p);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

void smoke(cairo_t* cr, double x, double y, double dx, double dy, int puffs, uint64_t seed)
{
    Random random(seed);
    for (int i = 0; i < puffs; ++i) {
        const double t = double(i) / puffs;
        const double px = x + dx * t + random.between(-2.0, 2.0), py = y + dy * t + random.between(-2.0, 2.0);
        const double grey = 0.18 + 0.2 * t;
        cairo_arc(cr, px, py, 3 + 4 * t, 0, 2 * M_PI);
        cairo_set_source_rgba(cr, grey, grey, grey * 1.05, 0.9);
        cairo_fill(cr);
    }
}

void scorch(cairo_t* cr, double x, double y, double r)
{
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, r);
    cairo_pattern_add_color_stop_rgba(p, 0, 0.06, 0.05, 0.04, 0.95);
    cairo_pattern_add_color_stop_rgba(p, 0.6, 0.15, 0.12, 0.1, 0.7);
    cairo_pattern_add_color_stop_rgba(p, 1, 0.2, 0.18, 0.15, 0.0);
    cairo_set_operator(cr, CAIRO_OPERATOR_ATOP);
    cairo_arc(cr, x, y, r, 0, 2 * M_PI);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_OVER);
    cairo_pattern_destroy(p);
}
