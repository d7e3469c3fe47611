// The settings tests' working folder: each test runs in an empty folder of
// its own, where the settings file is looked for (scratch_settings_folder.h).
#pragma once

#include "game/key_map.h"
#include "game/settings.h"
#include "runtime/core/strings.h"
#include "runtime/prefs/preferences.h"
#include "tests/game/scratch_settings_folder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

// What follows the five settings every copy of the game reads, at defaults.
#define NEWER_SETTINGS                                                                                                 \
    "WindowScale = 1\r\nKeyUp = up\r\nKeyDown = down\r\nKeyLeft = left\r\nKeyRight = right\r\n"                        \
    "KeyFire = space\r\nKeyStart = s\r\nJoyStart = 8\r\nJoyPause = 7\r\nMusicVolume = 100\r\nEffectsVolume = 100\r\n"

inline constexpr const char* DefaultFile =
    "UseKeys = 0\r\nUseAudio = 1\r\nUse3D = 0\r\nUseWindow = 0\r\nHiScore = 0\r\n" NEWER_SETTINGS;

// Each test runs in an empty working folder of its own, where the settings
// file is looked for, with the runtime layers the settings need started.
class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1);
        QV_InitPreference();
        Settings.UseKeys = Settings.UseAudio = Settings.Use3D = Settings.UseWindow = Settings.HiScore =
            Settings.WindowScale = -1;
        KeyChoices = {};
    }

    void TearDown() override
    {
        QV_FreePreferences();
        QV_FreeStrings();
    }

    static void WriteFile(const std::string& bytes) { std::ofstream("Tervane.ini", std::ios::binary) << bytes; }

    static std::string FileBytes()
    {
        std::ifstream in("Tervane.ini", std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    ScratchSettingsFolder scratch;
    const std::filesystem::path& folder = scratch.Path();
};
