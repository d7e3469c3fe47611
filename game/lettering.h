// Texts of the game's own in the lettering of its pictures, composed from
// the glyph sheets built into it (assets.h): a start key the player chose,
// named as the picture names S.
#pragma once

#include <cstdint>
#include <string>

// The width of `text` in the lettering of glyph sheet `sheet`, in pixels.
int32_t LetteringWidth(int32_t sheet, const std::string& text);

// Draws `text` on the screen in that lettering, the first glyph's origin at
// x on the baseline y. A character the sheet lacks shows as '?'.
void DrawLettering(int32_t sheet, const std::string& text, int32_t x, int32_t baseline);
