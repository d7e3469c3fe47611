// The application icon for the desktop's hicolor theme: the player's fighter
// over the sea, drawn anew at each size so that small icons stay sharp.
#pragma once

#include <cairo.h>

#include <array>
#include <string>

constexpr std::array<int, 8> IconSizes{16, 22, 24, 32, 48, 64, 128, 256};

// Paints the icon into the top-left size x size pixels of a transparent surface.
void paintIcon(cairo_t* cr, int size);

// "icons/hicolor/48x48/apps/tervane.png", relative to the assets folder.
std::string iconFileName(int size);

// Writes the icon at every size of IconSizes under the assets folder `dir`.
void writeIcons(const std::string& dir);
