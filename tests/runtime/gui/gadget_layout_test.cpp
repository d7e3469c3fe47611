#include "runtime/gui/gadget_layout.h"

#include <gtest/gtest.h>

#include <climits>

namespace {

QV_GadgetRequest Gadget(QV_GadgetBox asked, int64_t neededWidth, int64_t neededHeight, bool frame = false)
{
    return {asked, neededWidth, neededHeight, frame};
}

// Text taller than asked makes every row, gap and the window taller by the
// same ratio, so nothing is squeezed; across, growth pushes what lies beyond.
TEST(GadgetLayoutTest, TallTextScalesTheRowsAndWideTextPushesAFrameWithItsGadgets)
{
    const QV_GadgetLayout rows =
        QV_LayOutGadgets({Gadget({10, 10, 100, 20}, 80, 30), Gadget({10, 40, 100, 20}, 80, 24)}, 120, 70);
    EXPECT_EQ(rows.boxes[0].y, 15);
    EXPECT_EQ(rows.boxes[0].height, 30);
    EXPECT_EQ(rows.boxes[1].y, 60);  // the 10-pixel gap is 15 now
    EXPECT_EQ(rows.height, 105);
    EXPECT_EQ(rows.width, 114);  // across, room beyond the gadgets is what it always was
    EXPECT_EQ(rows.boxes[1].x, 10);

    // A wide label beside a frame pushes the frame right, and the frame takes
    // its gadget along at the same distance from its corner.
    const QV_GadgetLayout pushed = QV_LayOutGadgets(
        {Gadget({10, 10, 100, 20}, 150, 20), Gadget({120, 10, 100, 60}, 0, 0, true), Gadget({130, 30, 50, 20}, 0, 0)},
        230, 80);
    EXPECT_EQ(pushed.boxes[1].x, 164);  // 10 + 150 + the 4 of the 10-pixel gap growth may not take
    EXPECT_EQ(pushed.boxes[2].x, 174);
    EXPECT_EQ(pushed.boxes[2].y, 30);
    EXPECT_EQ(pushed.width, 268);
    EXPECT_EQ(pushed.height, 74);

    // Two boxes asked with no width at one place are each beside the other,
    // so each pushes the other on for ever; the layout still ends.
    const QV_GadgetLayout endless =
        QV_LayOutGadgets({Gadget({5, 5, 0, 10}, 3, 10), Gadget({5, 5, 0, 10}, 3, 10)}, 10, 20);
    EXPECT_EQ(endless.boxes.size(), 2u);

    // Sizes far beyond any screen are carried without overflowing.
    const QV_GadgetLayout huge = QV_LayOutGadgets(
        {Gadget({32767, 0, INT_MAX, 10}, INT_MAX, 10), Gadget({32767, 20, 10, 10}, 10, 10)}, INT_MAX, INT_MAX);
    EXPECT_EQ(huge.width, int64_t{32767} + INT_MAX);
    EXPECT_EQ(huge.boxes[1].y, 20);
}

}  // namespace
