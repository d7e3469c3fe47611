// Where gadgets go when their texts need more room than they were asked for.
//
// Gadgets are asked for at pixel positions and sizes, but large text makes
// labels wider and taller than those sizes. When a text is taller than its
// gadget was asked, the window is first made taller by that ratio (the
// largest of all gadgets'): heights, rows and the gaps between them alike,
// so the rows keep their proportions instead of being squeezed together.
// Across, positions stay as asked. Then a gadget that still needs more room
// grows right and down. Its growth first uses up the gap
// beyond it (to the next gadget, to the border of a frame around it, to the
// window's edge) down to QV_GadgetMinimumGap, or to the asked gap when that
// is narrower; only what is left moves the gadgets after it along, widens
// the frame around it and widens the window. Gadgets inside a frame move
// with the frame. Where the texts fit, every gadget stays where and as large
// as it was asked.
#pragma once

#include <cstdint>
#include <vector>

inline constexpr int64_t QV_GadgetMinimumGap = 4;

struct QV_GadgetBox {
    int64_t x = 0;
    int64_t y = 0;
    int64_t width = 0;
    int64_t height = 0;
};

// One gadget: where it was asked for, the size its text needs, and whether
// it is a frame (which holds the gadgets asked for inside it).
struct QV_GadgetRequest {
    QV_GadgetBox asked;
    int64_t neededWidth = 0;
    int64_t neededHeight = 0;
    bool frame = false;
};

struct QV_GadgetLayout {
    std::vector<QV_GadgetBox> boxes;  // one per request, in the same order
    int64_t width = 0;                // room the gadgets need, the window's
    int64_t height = 0;               // asked edges' gaps included
};

// Lays out `gadgets` in a window asked to be askedWidth x askedHeight.
QV_GadgetLayout QV_LayOutGadgets(const std::vector<QV_GadgetRequest>& gadgets, int64_t askedWidth, int64_t askedHeight);
