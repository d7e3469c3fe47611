#include "gui_test_support.h"

#include "runtime/gui/gadgets.h"

namespace {

class GadgetsTest : public GuiTest {
protected:
    void SetUp() override
    {
        GuiTest::SetUp();
        window = QV_OpenWindow(0, 0, 0, 200, 200, QV_WindowSystemMenu, "Gadgets");
        ASSERT_NE(window, nullptr);
        ASSERT_NE(QV_CreateGadgetList(window), nullptr);
    }

    GtkWidget* window = nullptr;
};

TEST_F(GadgetsTest, ConsecutiveOptionsFormOneGroupAndOtherGadgetsSplitGroups)
{
    ASSERT_NE(QV_OptionGadget(5, 10, 10, 80, 20, "Keyboard"), nullptr);
    ASSERT_NE(QV_OptionGadget(6, 100, 10, 80, 20, "Joystick"), nullptr);
    EXPECT_EQ(QV_GetGadgetState(5), 1);  // the first of a group starts selected
    EXPECT_EQ(QV_GetGadgetState(6), 0);

    QV_SetGadgetState(6, 1);
    EXPECT_EQ(QV_GetGadgetState(5), 0);
    EXPECT_EQ(QV_GetGadgetState(6), 1);
    QV_SetGadgetState(5, 1);
    EXPECT_EQ(QV_GetGadgetState(5), 1);
    EXPECT_EQ(QV_GetGadgetState(6), 0);

    ASSERT_NE(QV_CheckBoxGadget(2, 10, 40, 80, 20, "Box"), nullptr);
    ASSERT_NE(QV_OptionGadget(8, 10, 70, 80, 20, "New group"), nullptr);
    ASSERT_NE(QV_OptionGadget(9, 100, 70, 80, 20, "Same group"), nullptr);
    EXPECT_EQ(QV_GetGadgetState(8), 1);
    EXPECT_EQ(QV_GetGadgetState(5), 1);
    QV_SetGadgetState(9, 1);
    EXPECT_EQ(QV_GetGadgetState(8), 0);
    EXPECT_EQ(QV_GetGadgetState(5), 1);
}

TEST_F(GadgetsTest, OnlyTogglingGadgetsHaveAState)
{
    ASSERT_NE(QV_Frame3DGadget2(1, 0, 0, 150, 150, "Frame"), nullptr);
    ASSERT_NE(QV_ButtonGadget(7, 10, 10, 60, 25, "Plain"), nullptr);
    ASSERT_NE(QV_ButtonGadget2(8, 10, 40, 60, 25, "Toggle", QV_ButtonToggle), nullptr);
    ASSERT_NE(QV_CheckBoxGadget(2, 10, 70, 100, 20, "Box"), nullptr);
    for (int32_t number : {1, 7})
        QV_SetGadgetState(number, 1);
    EXPECT_EQ(QV_GetGadgetState(1), 0);
    EXPECT_EQ(QV_GetGadgetState(7), 0);

    EXPECT_EQ(QV_GetGadgetState(8), 0);
    QV_SetGadgetState(8, 1);
    EXPECT_EQ(QV_GetGadgetState(8), 1);
    EXPECT_EQ(QV_GetGadgetState(2), 0);
    QV_SetGadgetState(2, 1);
    EXPECT_EQ(QV_GetGadgetState(2), 1);
    QV_SetGadgetState(2, 0);
    EXPECT_EQ(QV_GetGadgetState(2), 0);

    EXPECT_EQ(QV_Gadget.objects[1].kind, QV_GadgetFrame);
    EXPECT_EQ(QV_Gadget.objects[7].kind, QV_GadgetButton);
    EXPECT_EQ(QV_Gadget.objects[2].kind, QV_GadgetCheckBox);
}

TEST_F(GadgetsTest, NumbersOutsideTheTableAndMissingGadgetsAreRefused)
{
    EXPECT_EQ(QV_ButtonGadget(-1, 0, 0, 10, 10, "Low"), nullptr);
    EXPECT_EQ(QV_ButtonGadget(QV_GadgetCount, 0, 0, 10, 10, "High"), nullptr);
    EXPECT_NE(QV_ButtonGadget(QV_GadgetCount - 1, 0, 0, 10, 10, "Last"), nullptr);
    for (int32_t number : {-1, 3, QV_GadgetCount}) {
        QV_SetGadgetState(number, 1);
        QV_DisableGadget(number, 1);
        EXPECT_EQ(QV_GetGadgetState(number), 0);
        EXPECT_EQ(QV_ActivateGadget(number), 1);
    }
    EXPECT_EQ(QV_CreateGadgetList(nullptr), nullptr);
}

TEST_F(GadgetsTest, GadgetsAreSizedAndPlacedInTheirWindow)
{
    GtkWidget* box = QV_CheckBoxGadget(4, 30, 115, 149, 17, "Window Mode");
    ASSERT_NE(box, nullptr);
    int width = 0;
    int height = 0;
    gtk_widget_get_size_request(box, &width, &height);
    EXPECT_EQ(width, 149);
    EXPECT_EQ(height, 17);
    Settle();
    int x = -1;
    int y = -1;
    gtk_widget_translate_coordinates(box, window, 0, 0, &x, &y);
    EXPECT_EQ(x, 30);
    EXPECT_EQ(y, 115);
    EXPECT_EQ(QV_Gadget_GetRootWindowID(box), 0);
    EXPECT_EQ(QV_Gadget_GetRootWindowID(gtk_button_new()), -1);
}

TEST_F(GadgetsTest, LabelsFollowTheAlignmentFlags)
{
    auto xalign = [](GtkWidget* gadget) { return gtk_label_get_xalign(GTK_LABEL(gtk_bin_get_child(GTK_BIN(gadget)))); };
    EXPECT_EQ(xalign(QV_CheckBoxGadget2(2, 0, 0, 150, 20, "Right", QV_GadgetAlignRight)), 1.0f);
    EXPECT_EQ(xalign(QV_CheckBoxGadget2(3, 0, 30, 150, 20, "Centre", QV_CheckBoxAlignCenter)), 0.5f);
    EXPECT_EQ(xalign(QV_ButtonGadget2(7, 0, 60, 150, 25, "Right", QV_GadgetAlignRight)), 1.0f);
    EXPECT_EQ(xalign(QV_ButtonGadget2(8, 0, 90, 150, 25, "Left", QV_ButtonAlignLeft)), 0.0f);
}

TEST_F(GadgetsTest, StatesSetOutsideAnEventCallAreNotReportedButInsideOneAre)
{
    ASSERT_NE(QV_CheckBoxGadget(2, 10, 10, 120, 20, "Box"), nullptr);
    QV_SetGadgetState(2, 1);
    Settle();
    EXPECT_EQ(QV_WindowEvent(), QV_EventNone);

    WhenIdle([] { QV_SetGadgetState(2, 0); });
    EXPECT_EQ(NextWindowEvent(), QV_EventGadget);
    EXPECT_EQ(QV_EventGadgetID(), 2);
    EXPECT_EQ(QV_EventWindowID(), 0);
}

TEST_F(GadgetsTest, ADisabledCheckBoxIgnoresRealClicks)
{
    GtkWidget* box = QV_CheckBoxGadget(3, 10, 10, 150, 20, "Hardware Shadows");
    ASSERT_NE(box, nullptr);
    QV_DisableGadget(3, 1);
    EXPECT_FALSE(gtk_widget_get_sensitive(box));
    RealClick(box);
    EXPECT_EQ(NextWindowEvent(20), QV_EventNone);
    EXPECT_EQ(QV_GetGadgetState(3), 0);

    QV_DisableGadget(3, 0);
    // Far enough apart that the two clicks are not one double click.
    gint doubleClickTime = 0;
    g_object_get(gtk_settings_get_default(), "gtk-double-click-time", &doubleClickTime, nullptr);
    g_usleep(static_cast<gulong>(doubleClickTime + 100) * 1000);
    RealClick(box);
    EXPECT_EQ(NextWindowEvent(), QV_EventGadget);
    EXPECT_EQ(QV_EventGadgetID(), 3);
    EXPECT_EQ(QV_GetGadgetState(3), 1);
}

TEST_F(GadgetsTest, TheActivatedButtonTakesTheKeyboard)
{
    ASSERT_NE(QV_CheckBoxGadget(2, 10, 10, 120, 20, "Box"), nullptr);
    GtkWidget* button = QV_ButtonGadget(7, 60, 150, 80, 25, "Start Game");
    ASSERT_NE(button, nullptr);
    gtk_window_present(GTK_WINDOW(window));
    EXPECT_EQ(QV_ActivateGadget(7), 1);
    EXPECT_TRUE(gtk_widget_is_focus(button));
    RealKey("space");
    EXPECT_EQ(NextWindowEvent(), QV_EventGadget);
    EXPECT_EQ(QV_EventGadgetID(), 7);
}

TEST_F(GadgetsTest, ClosingTheWindowForgetsItsGadgets)
{
    ASSERT_NE(QV_OptionGadget(5, 10, 10, 80, 20, "One"), nullptr);
    QV_CloseWindow(0);
    EXPECT_EQ(QV_Gadget.objects[5].widget, nullptr);
    EXPECT_EQ(QV_GetGadgetState(5), 0);
    // With its container gone there is nowhere to put a gadget...
    EXPECT_EQ(QV_OptionGadget(6, 10, 10, 80, 20, "Two"), nullptr);

    // ...and an option in a new window does not join the dead group.
    GtkWidget* next = QV_OpenWindow(0, 0, 0, 200, 100, 0, "Next");
    ASSERT_NE(QV_CreateGadgetList(next), nullptr);
    ASSERT_NE(QV_OptionGadget(6, 10, 10, 80, 20, "Two"), nullptr);
    EXPECT_EQ(QV_GetGadgetState(6), 1);
}

}  // namespace
