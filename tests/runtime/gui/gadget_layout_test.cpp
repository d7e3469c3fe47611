#include "runtime/gui/gadget_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

QV_GadgetRequest Gadget(QV_GadgetBox asked, int64_t neededWidth, int64_t neededHeight, bool frame = false)
{
    return {asked, neededWidth, neededHeight, frame};
}

// The options window covers growth along rows, down columns and out of a
// frame; these are the rules it never reaches.
TEST(GadgetLayoutTest, APushedFrameCarriesItsGadgetsAndDegenerateLayoutsEnd)
{
    // A tall label above a frame pushes the frame down, and the frame takes
    // its gadget along at the same distance from its corner.
    const QV_GadgetLayout pushed = QV_LayOutGadgets(
        {Gadget({10, 10, 100, 20}, 100, 50), Gadget({10, 40, 100, 60}, 0, 0, true), Gadget({20, 60, 50, 20}, 0, 0)},
        120, 110);
    EXPECT_EQ(pushed.boxes[1].y, 64);  // 10 + 50 + the 4 of the 10-pixel gap growth may not take
    EXPECT_EQ(pushed.boxes[2].y, 84);
    EXPECT_EQ(pushed.boxes[2].x, 20);
    EXPECT_EQ(pushed.height, 128);

    // Two boxes asked with no width at one place are each beside the other,
    // so each pushes the other on for ever; the layout still ends.
    const QV_GadgetLayout endless =
        QV_LayOutGadgets({Gadget({5, 5, 0, 10}, 3, 10), Gadget({5, 5, 0, 10}, 3, 10)}, 10, 20);
    EXPECT_EQ(endless.boxes.size(), 2u);

    // Sizes far beyond any screen are carried without overflowing.
    const QV_GadgetLayout huge =
        QV_LayOutGadgets({Gadget({32767, 0, INT_MAX, 10}, INT_MAX, 10), Gadget({32767, 20, 10, 10}, 10, 10)},
                         INT_MAX, INT_MAX);
    EXPECT_EQ(huge.width, int64_t{32767} + INT_MAX);
    EXPECT_EQ(huge.boxes[1].y, 20);
}

}  // namespace
