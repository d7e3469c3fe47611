// The picture on the screen as a PNG file: the screen's pixels as 8-bit red,
// green and blue, whatever their format, as the frame digest reads them.
#pragma once

#include <cstdio>

// Writes the open screen's picture to `file` as an RGB PNG, without closing
// it. Returns 1, or 0 with no screen open or when libpng or the stream fails.
int QV_WriteScreenPng(std::FILE* file);
