#include "game/settings.h"

#include "game/frame_loop.h"
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"
#include "tests/runtime/gui/gui_test_support.h"
#include "tests/runtime/prefs/unprivileged.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>

namespace {

namespace fs = std::filesystem;

constexpr const char* DefaultFile = "UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 0\r\n";

// Each test runs in an empty working folder of its own, where the settings
// file is looked for, with the runtime layers the settings need started.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char pattern[] = "/tmp/tervane-settings-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        folder = pattern;
        previous = fs::current_path();
        fs::current_path(folder);
        ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1);
        QV_InitPreference();
        UseKeys = UseAudio = Use3D = UseWindow = HiScore = -1;
    }

    void TearDown() override
    {
        QV_FreePreferences();
        QV_FreeStrings();
        fs::current_path(previous);
        fs::remove_all(folder);
    }

    static void WriteFile(const std::string& bytes)
    {
        std::ofstream("Tervane.ini", std::ios::binary) << bytes;
    }

    static std::string FileBytes()
    {
        std::ifstream in("Tervane.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder;
    fs::path previous;
};

TEST_F(SettingsTest, WithoutAFileTheDefaultsApply)
{
    ReadSettings();
    EXPECT_EQ(UseKeys, 0);
    EXPECT_EQ(UseAudio, 1);
    EXPECT_EQ(Use3D, 0);
    EXPECT_EQ(UseWindow, 0);
    EXPECT_EQ(HiScore, 0);
}

TEST_F(SettingsTest, ValuesReadAsNumbersAndMissingKeysTakeTheirDefaults)
{
    WriteFile("HiScore = abc\r\nUse3D = 1\r\nUseWindow = 7 modes\r\nUseKeys = -3\r\n");
    ReadSettings();
    EXPECT_EQ(HiScore, 0);
    EXPECT_EQ(Use3D, 1);
    EXPECT_EQ(UseWindow, 7);
    EXPECT_EQ(UseKeys, -3);
    EXPECT_EQ(UseAudio, 1);
}

TEST_F(SettingsTest, ReadingLeavesTheStringAreaAsItWas)
{
    WriteFile(DefaultFile);
    char* const base = QV_StringBase;
    ReadSettings();
    EXPECT_EQ(QV_StringBase, base);
}

TEST_F(SettingsTest, WritingGivesTheFiveLinesInOrder)
{
    UseKeys = 1;
    UseAudio = 0;
    Use3D = 0;
    UseWindow = 1;
    HiScore = 123456;
    WriteSettings();
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 0\r\nUseWindow = 1\r\nHiScore = 123456\r\n");
}

TEST_F(SettingsTest, WrittenSettingsReadBackUnchanged)
{
    UseKeys = 0;
    UseAudio = 1;
    Use3D = 1;
    UseWindow = 0;
    HiScore = 2147483647;
    WriteSettings();
    UseKeys = UseAudio = Use3D = UseWindow = HiScore = -1;
    ReadSettings();
    EXPECT_EQ(UseKeys, 0);
    EXPECT_EQ(UseAudio, 1);
    EXPECT_EQ(Use3D, 1);
    EXPECT_EQ(UseWindow, 0);
    EXPECT_EQ(HiScore, 2147483647);
}

TEST_F(SettingsTest, AFileThatCannotBeCreatedIsSkipped)
{
    // Not even root can make a file in a folder that is gone.
    const fs::path gone = folder / "gone";
    fs::create_directory(gone);
    fs::current_path(gone);
    fs::remove(gone);
    char* const base = QV_StringBase;
    HiScore = 99;
    WriteSettings();
    EXPECT_EQ(QV_StringBase, base);
    fs::current_path(folder);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 0);
}

TEST_F(SettingsTest, TheHiScoreWrittenIsTheHigherOfThisRunsAndTheFiles)
{
    // Another copy of the game, playing in the same folder, saved 9000.
    WriteFile("UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 9000\r\n");
    UseKeys = 1;
    UseAudio = 0;
    Use3D = 1;
    UseWindow = 1;
    HiScore = 500;
    WriteSettings();
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 1\r\nUseWindow = 1\r\nHiScore = 9000\r\n");
    HiScore = 9001;
    WriteSettings();
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nUseAudio = 0\r\nUse3D = 1\r\nUseWindow = 1\r\nHiScore = 9001\r\n");
}

// A file the player cannot read, met as a player meets it: as an unprivileged
// user in a child (root reads every file), in a folder that user owns.
TEST_F(SettingsTest, AnUnreadableFileGivesTheDefaultsOneLineWhyAndIsNeverReplaced)
{
    ASSERT_TRUE(GiveToUnprivilegedUser(folder));
    EXPECT_EXIT(
        {
            BecomeUnprivileged();
            WriteFile("UseKeys = 1\r\nHiScore = 5000\r\n");
            chmod("Tervane.ini", 0);
            ReadSettings();
            const bool defaults = UseKeys == 0 && UseAudio == 1 && Use3D == 0 && UseWindow == 0 && HiScore == 0;
            WriteSettings();  // after "Start Game"
            HiScore = 300;
            WriteSettings();  // at the end of the game
            std::_Exit(defaults ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "^tervane: cannot read Tervane.ini \\(Permission denied\\)[^\n]*\n$");
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nHiScore = 5000\r\n");
    EXPECT_EQ(fs::status("Tervane.ini").permissions(), fs::perms::none);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

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

    static GtkWidget* Gadget(int32_t number)
    {
        return QV_Gadget.objects[number].widget;
    }

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

    static void Click(int32_t number)
    {
        gtk_button_clicked(GTK_BUTTON(Gadget(number)));
    }
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
    EXPECT_EQ(QuitFlag, 1);
    EXPECT_EQ(FileBytes(), DefaultFile);
}

TEST_F(OptionsWindowTest, ItIsTheSmallCentredTervaneWindowWithItsSevenGadgets)
{
    RunWindow([] {
        EXPECT_STREQ(gtk_window_get_title(GTK_WINDOW(OptionsWindow)), "Tervane");
        EXPECT_EQ(QV_WindowID2(0), OptionsWindow);
        EXPECT_FALSE(gtk_window_get_resizable(GTK_WINDOW(OptionsWindow)));
        Settle();
        const struct {
            int32_t number;
            int x, y;
            const char* text;
        } expected[] = {{5, 22, 44, "Keyboard"},     {6, 106, 44, "Joystick"},
                        {2, 30, 75, "Use Audio"},    {3, 30, 95, "Hardware Shadows"},
                        {4, 30, 115, "Window Mode"}};
        for (const auto& gadget : expected) {
            int x = -1;
            int y = -1;
            gtk_widget_translate_coordinates(Gadget(gadget.number), OptionsWindow, 0, 0, &x, &y);
            EXPECT_EQ(x, gadget.x) << gadget.text;
            EXPECT_EQ(y, gadget.y) << gadget.text;
            EXPECT_STREQ(gtk_button_get_label(GTK_BUTTON(Gadget(gadget.number))), gadget.text);
        }
        EXPECT_STREQ(gtk_frame_get_label(GTK_FRAME(Gadget(1))), "Game Options");
        // "Start Game" stands centred under the frame (options_window_test.cpp).
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
    EXPECT_EQ(FileBytes(), "UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 1\r\nUseWindow = 0\r\nHiScore = 4200\r\n");
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
    EXPECT_EQ(UseKeys, 0);
    EXPECT_EQ(UseAudio, 1);
    EXPECT_EQ(UseWindow, 0);
    EXPECT_EQ(FileBytes(), DefaultFile);
}

TEST_F(OptionsWindowTest, ChoosingTheJoystickWithTheMouseStoresUseKeysAsOne)
{
    RunWindow([] {
        RealClick(Gadget(6));
        RealClick(Gadget(7));
    });
    EXPECT_EQ(UseKeys, 1);
    EXPECT_EQ(FileBytes(), "UseKeys = 1\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 0\r\n");
}

TEST_F(OptionsWindowTest, OtherGadgetsDoNotEndTheWindow)
{
    int clicksSeen = 0;
    RunWindow([&] {
        Click(2);
        // Still waiting: the next gadget event decides.
        WhenIdle([&] {
            ++clicksSeen;
            EXPECT_EQ(QuitFlag, 0);
            Click(7);
        });
    });
    EXPECT_EQ(clicksSeen, 1);
    EXPECT_EQ(UseAudio, 0);
}

TEST_F(OptionsWindowTest, ClosingTheWindowLeavesTheFileUntouched)
{
    const std::string before = "UseKeys = 1\r\nHiScore = 777\r\n";
    WriteFile(before);
    const int32_t started = RunWindow([] {
        Click(4);
        gtk_window_close(GTK_WINDOW(OptionsWindow));
    });
    EXPECT_EQ(started, 0);
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(QV_WindowID2(0), nullptr);
    EXPECT_EQ(UseWindow, 0) << "the closed window's choices are not taken";
}

}  // namespace
