#include "game/settings.h"

#include "game/options_window.h"

#include "tests/game/settings_fixture.h"
#include "tests/runtime/gui/gui_test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
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

// The options window, driven from inside its own event loop.
class OptionsWindowTest : public SettingsTest {
protected:
    void SetUp() override
    {
        SettingsTest::SetUp();
        QV_InitGadget();
        QV_InitWindow();
        ASSERT_TRUE(QV_ToolkitRunning()) << "these tests need an X display";
    }

    void TearDown() override
    {
        QV_FreeWindows();
        SettingsTest::TearDown();
    }

    // Reads the file, runs the window with `player` acting in it once it
    // waits for events, and writes the settings when "Start Game" was
    // pressed, as start-up does. Returns what the window returned.
    static int32_t RunWindow(std::function<void()> player)
    {
        ReadSettings();
        WhenWaiting(std::move(player));
        const int32_t started = RunOptionsWindow();
        if (started)
            WriteSettings();
        return started;
    }

    static GtkWidget* Gadget(int32_t number) { return QV_Gadget.objects[number].widget; }

    // Runs `action` once the window is set up: the focus on "Start Game" is
    // the last thing done before its event loop starts. Opening the window
    // dispatches pending work itself, so plain idle work would run too soon.
    static void WhenWaiting(std::function<void()> action)
    {
        auto* heldAction = new std::function<void()>(std::move(action));
        g_timeout_add_full(
            G_PRIORITY_LOW, 5,
            [](gpointer data) -> gboolean {
                GtkWidget* start = Gadget(7);
                if (!start || !gtk_widget_is_focus(start))
                    return G_SOURCE_CONTINUE;
                (*static_cast<std::function<void()>*>(data))();
                return G_SOURCE_REMOVE;
            },
            heldAction, [](gpointer data) { delete static_cast<std::function<void()>*>(data); });
    }

    static void Click(int32_t number) { gtk_button_clicked(GTK_BUTTON(Gadget(number))); }
};

TEST_F(OptionsWindowTest, WithoutAFileItShowsTheDefaultsAndWritesThem)
{
    const int32_t started = RunWindow([] {
        EXPECT_EQ(QV_GetGadgetState(5), 1);  // Keyboard
        EXPECT_EQ(QV_GetGadgetState(6), 0);  // Joystick
        EXPECT_EQ(QV_GetGadgetState(2), 1);  // Use Audio
        EXPECT_EQ(QV_GetGadgetState(3), 0);  // Hardware Shadows
        EXPECT_FALSE(gtk_widget_get_sensitive(Gadget(3)));
        EXPECT_EQ(QV_GetGadgetState(4), 0);  // Window Mode
        EXPECT_TRUE(gtk_widget_is_focus(Gadget(7)));
        Click(7);
    });
    EXPECT_EQ(started, 1);
    EXPECT_EQ(FileBytes(), DefaultFile);
}

TEST_F(OptionsWindowTest, ItIsTheSmallCentredTervaneWindowWithItsSevenGadgets)
{
    RunWindow([] {
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(OptionsWindowHandle())), "Tervane");
        EXPECT_EQ(QV_WindowID2(0), OptionsWindowHandle());
        EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(OptionsWindowHandle())));
        Settle();
        const struct {
            int32_t number;
            int x, y;
            const char* text;
        } expected[] = {{5, 22, 44, "Keyboard"},
                        {6, 106, 44, "Joystick"},
                        {2, 30, 75, "Use Audio"},
                        {3, 30, 95, "Hardware Shadows"},
                        {4, 30, 115, "Window Mode"}};
        for (const auto& gadget : expected) {
            int x = -1;
            int y = -1;
            gtk_widget_translate_coordinates(Gadget(gadget.number), GTK_WIDGET(OptionsWindowHandle()), 0, 0, &x, &y);
            EXPECT_EQ(x, gadget.x) << gadget.text;
            EXPECT_EQ(y, gadget.y) << gadget.text;
            EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(Gadget(gadget.number))), gadget.text);
        }
        EXPECT_STREQ(gtk_frame_get_label(GTK_FRAME(Gadget(1))), "Game Options");
        // "Start Game" stands centred under the frame (OptionsWindowLayoutTest).
        EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(Gadget(7))), "Start Game");

        // Everything fits the window at its laid-out size (a label may make
        // its gadget wider, depending on the fonts at hand).
        GtkAllocation button;
        gtk_widget_get_allocation(Gadget(7), &button);
        EXPECT_GE(button.width, 65);
        EXPECT_LE(button.x + button.width, 192);
        EXPECT_EQ(button.y, 162);
        EXPECT_EQ(button.height, 21);
        EXPECT_EQ(QV_WindowWidth(), 192);
        EXPECT_EQ(QV_WindowHeight(), 190);
        Click(7);
    });
}

TEST_F(OptionsWindowTest, ShadowsReadAsOnStayTickedGreyedAndWrittenBack)
{
    WriteFile("Use3D = 1\r\nHiScore = 4200\r\n");
    RunWindow([] {
        EXPECT_EQ(QV_GetGadgetState(3), 1);
        EXPECT_FALSE(gtk_widget_get_sensitive(Gadget(3)));
        Click(7);
    });
    EXPECT_EQ(FileBytes(),
              "UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 1\r\nUseWindow = 0\r\nHiScore = 4200\r\n" NEWER_SETTINGS);
}

TEST_F(OptionsWindowTest, TheStoredChoicesAreShownAndTheNewOnesTaken)
{
    WriteFile("UseKeys = 1\r\nUseAudio = 0\r\nUseWindow = 1\r\n");
    RunWindow([] {
        EXPECT_EQ(QV_GetGadgetState(5), 0);
        EXPECT_EQ(QV_GetGadgetState(6), 1);
        EXPECT_EQ(QV_GetGadgetState(2), 0);
        EXPECT_EQ(QV_GetGadgetState(4), 1);
        Click(5);  // back to the keyboard
        Click(2);  // sound on
        Click(4);  // full screen
        Click(7);
    });
    EXPECT_EQ(Settings.UseKeys, 0);
    EXPECT_EQ(Settings.UseAudio, 1);
    EXPECT_EQ(Settings.UseWindow, 0);
    EXPECT_EQ(FileBytes(), DefaultFile);
}

TEST_F(OptionsWindowTest, ChoosingTheJoystickWithTheMouseStoresUseKeysAsOne)
{
    RunWindow([] {
        RealClick(Gadget(6));
        RealClick(Gadget(7));
    });
    EXPECT_EQ(Settings.UseKeys, 1);
    EXPECT_EQ(FileBytes(),
              "UseKeys = 1\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 0\r\n" NEWER_SETTINGS);
}

TEST_F(OptionsWindowTest, OtherGadgetsDoNotEndTheWindow)
{
    int clicksSeen = 0;
    RunWindow([&] {
        Click(2);
        // Still waiting: the next gadget event decides.
        WhenIdle([&] {
            ++clicksSeen;
            Click(7);
        });
    });
    EXPECT_EQ(clicksSeen, 1);
    EXPECT_EQ(Settings.UseAudio, 0);
}

// Enter starts from anywhere in the window, also on a focused check box,
// where Space still ticks; Escape closes the window and writes nothing.
TEST_F(OptionsWindowTest, EnterStartsFromAnyGadgetSpaceTicksAndEscapeCloses)
{
    // Should a key not end the window, this does, so the test fails instead of waiting.
    const guint deadline = g_timeout_add_seconds(
        5,
        [](gpointer) -> gboolean {
            if (GtkWidget* window = QV_WindowID2(0))
                gtk_window_close(GTK_WINDOW(window));
            return G_SOURCE_CONTINUE;
        },
        nullptr);
    for (const char* enter : {"Return", "KP_Enter"}) {
        const int32_t started = RunWindow([enter] {
            gtk_window_present(GTK_WINDOW(OptionsWindowHandle()));
            gtk_widget_grab_focus(Gadget(4));
            RealKey("space");
            RealKey(enter);
        });
        EXPECT_EQ(started, 1) << enter;
        EXPECT_EQ(Settings.UseWindow, 1) << enter;
        EXPECT_NE(FileBytes().find("UseWindow = 1\r\n"), std::string::npos) << enter;
        std::filesystem::remove("Tervane.ini");
    }

    const std::string before = "UseKeys = 1\r\nHiScore = 777\r\n";
    WriteFile(before);
    const int32_t started = RunWindow([] {
        gtk_window_present(GTK_WINDOW(OptionsWindowHandle()));
        gtk_widget_grab_focus(Gadget(2));
        RealKey("Escape");
    });
    g_source_remove(deadline);
    EXPECT_EQ(started, 0);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    EXPECT_EQ(FileBytes(), before);
}

TEST_F(OptionsWindowTest, ClosingTheWindowLeavesTheFileUntouched)
{
    const std::string before = "UseKeys = 1\r\nHiScore = 777\r\n";
    WriteFile(before);
    const int32_t started = RunWindow([] {
        Click(4);
        gtk_window_close(GTK_WINDOW(OptionsWindowHandle()));
    });
    EXPECT_EQ(started, 0);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    EXPECT_EQ(Settings.UseWindow, 0) << "the closed window's choices are not taken";
}

}  // namespace
