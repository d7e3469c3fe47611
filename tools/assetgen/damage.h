// Battle damage drawn over aircraft and ships: fire, smoke and scorch marks.
#pragma once

#include <cairo.h>

#include <cstdint>

// A cluster of flames of about radius r around (x, y).
void fire(cairo_t* cr, double x, double y, double r, uint64_t seed);

// A trail of puffs from (x, y) along (dx, dy), growing and paling.
void smoke(cairo_t* cr, double x, double y, double dx, double dy, int puffs, uint64_t seed);

// A soot mark of radius r, only over what has already been drawn.
void scorch(cairo_t* cr, double x, double y, double r);
