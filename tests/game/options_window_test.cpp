#include "game/settings.h"

#include "game/options_window.h"

#include "tests/runtime/gui/gui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace {

// A gadget of the options window and where the game asks for it.
struct AskedGadget {
    int32_t number;
    GdkRectangle asked;
};

constexpr int32_t Frame = 1;
constexpr int32_t StartGame = 7;
constexpr int32_t HardwareShadows = 3;
const AskedGadget FrameGadget = {Frame, {8, 8, 173, 142}};
const AskedGadget GadgetsInFrame[] = {
    {5, {22, 44, 75, 17}},  {6, {106, 44, 70, 17}},  {2, {30, 75, 149, 17}},
    {3, {30, 95, 149, 17}}, {4, {30, 115, 149, 17}},
};
constexpr int AskedWindowWidth = 192;
constexpr int AskedWindowHeight = 190;
constexpr int MostRoomBesideGadgets = 8;  // the frame's own distance from the edge

GtkAllocation AllocationOf(GtkWidget* widget)
{
    GtkAllocation allocation;
    gtk_widget_get_allocation(widget, &allocation);
    return allocation;
}

GtkAllocation AllocationOf(int32_t gadget)
{
    return AllocationOf(QV_Gadget.objects[gadget].widget);
}

int Right(const GtkAllocation& box)
{
    return box.x + box.width;
}

int Bottom(const GtkAllocation& box)
{
    return box.y + box.height;
}

bool Overlap(const GtkAllocation& a, const GtkAllocation& b)
{
    return a.x < Right(b) && b.x < Right(a) && a.y < Bottom(b) && b.y < Bottom(a);
}

bool Inside(const GtkAllocation& inner, const GtkAllocation& outer)
{
    return outer.x <= inner.x && outer.y <= inner.y && Right(inner) <= Right(outer) && Bottom(inner) <= Bottom(outer);
}

// The options window as start-up runs it, with the desktop's text scaled by
// the parameter, as a "large text" setting does.
class OptionsWindowLayoutTest : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override
    {
        QV_InitGadget();
        QV_InitWindow();
        ASSERT_TRUE(QV_ToolkitRunning()) << "these tests need an X display";
        g_object_get(gtk_settings_get_default(), "gtk-xft-dpi", &normalDpi, nullptr);
        g_object_set(gtk_settings_get_default(), "gtk-xft-dpi", static_cast<int>(GetParam() * 96 * 1024), nullptr);
        Settings.UseKeys = Settings.UseAudio = Settings.Use3D = Settings.UseWindow = 0;
    }

    void TearDown() override
    {
        QV_FreeWindows();
        g_object_set(gtk_settings_get_default(), "gtk-xft-dpi", normalDpi, nullptr);
    }

    // Runs the window, checking it once it waits for the player, then starts.
    void RunWindowAndCheck()
    {
        g_timeout_add(
            5,
            [](gpointer test) -> gboolean {
                GtkWidget* start = QV_Gadget.objects[StartGame].widget;
                if (!start || !gtk_widget_is_focus(start))
                    return G_SOURCE_CONTINUE;
                Settle();
                static_cast<OptionsWindowLayoutTest*>(test)->CheckLayout();
                gtk_button_clicked(GTK_BUTTON(start));
                return G_SOURCE_REMOVE;
            },
            this);
        ASSERT_EQ(RunOptionsWindow(), 1);
    }

    void CheckLayout() const
    {
        GtkWidget* const window = gtk_widget_get_toplevel(QV_Gadget.objects[StartGame].widget);
        const GtkAllocation inner = AllocationOf(window);
        const GtkAllocation frame = AllocationOf(Frame);
        const GtkAllocation start = AllocationOf(StartGame);
        GtkWidget* const frameTitle = gtk_frame_get_label_widget(GTK_FRAME(QV_Gadget.objects[Frame].widget));
        const GtkAllocation title = AllocationOf(frameTitle);

        std::vector<int32_t> all = {Frame, StartGame};
        for (const AskedGadget& gadget : GadgetsInFrame) {
            const GtkAllocation box = AllocationOf(gadget.number);
            EXPECT_TRUE(Inside(box, frame) && box.y >= Bottom(title)) << "gadget " << gadget.number;
            EXPECT_FALSE(Overlap(box, start)) << "gadget " << gadget.number;
            for (const AskedGadget& other : GadgetsInFrame) {
                if (other.number != gadget.number) {
                    EXPECT_FALSE(Overlap(box, AllocationOf(other.number)))
                        << "gadgets " << gadget.number << " and " << other.number;
                }
            }
            all.push_back(gadget.number);
        }
        EXPECT_FALSE(Overlap(frame, start));
        int right = 0;
        int bottom = 0;
        for (int32_t number : all) {
            GtkWidget* const gadget = QV_Gadget.objects[number].widget;
            const GtkAllocation box = AllocationOf(gadget);
            GtkRequisition needed;
            gtk_widget_get_preferred_size(gadget, &needed, nullptr);
            EXPECT_TRUE(box.width >= needed.width && box.height >= needed.height) << "gadget " << number;
            EXPECT_TRUE(Inside(box, inner)) << "gadget " << number;
            right = std::max(right, Right(box));
            bottom = std::max(bottom, Bottom(box));
        }

        // The window grows only when the gadgets need it to; below them the
        // room grows with the rows.
        const double rowScale = AllocationOf(HardwareShadows).height / 17.0;
        EXPECT_LE(inner.width, std::max(AskedWindowWidth, right + MostRoomBesideGadgets));
        EXPECT_LE(inner.height, std::max(AskedWindowHeight, bottom + int(MostRoomBesideGadgets * rowScale) + 1));
        EXPECT_GE(inner.width, AskedWindowWidth);
        EXPECT_GE(inner.height, AskedWindowHeight);

        EXPECT_LE(std::abs((2 * start.x + start.width) - (2 * frame.x + frame.width)), 1) << "Start Game centred";
        EXPECT_GT(start.y, Bottom(frame));
        EXPECT_TRUE(gtk_window_get_focus_visible(GTK_WINDOW(window)));

        if (GetParam() == 1.0) {
            // Where the texts fit, the game's own layout stands.
            EXPECT_EQ(inner.width, AskedWindowWidth);
            EXPECT_EQ(inner.height, AskedWindowHeight);
            for (const AskedGadget& gadget : GadgetsInFrame) {
                EXPECT_EQ(AllocationOf(gadget.number).x, gadget.asked.x) << "gadget " << gadget.number;
                EXPECT_EQ(AllocationOf(gadget.number).y, gadget.asked.y) << "gadget " << gadget.number;
            }
            EXPECT_TRUE(gdk_rectangle_equal(&frame, &FrameGadget.asked));
            EXPECT_EQ(start.y, 162);
        } else {
            // The text really is larger than the game's sizes allow for, and
            // the window grows down as well as across, the rows as far apart
            // as the text is larger.
            EXPECT_GT(AllocationOf(HardwareShadows).width, 149);
            EXPECT_GT(inner.height, AskedWindowHeight);
            EXPECT_GE(AllocationOf(HardwareShadows).y - Bottom(AllocationOf(2)), int(3 * rowScale) - 1);
        }
    }

    int normalDpi = 0;
};

TEST_P(OptionsWindowLayoutTest, GadgetsNeitherOverlapNorCrossTheFrameAndStartGameIsCentredWithItsFocusShown)
{
    RunWindowAndCheck();
}

INSTANTIATE_TEST_SUITE_P(TextScales, OptionsWindowLayoutTest, ::testing::Values(1.0, 1.25, 1.5, 2.0));

}  // namespace
