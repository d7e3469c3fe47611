// Shared set-up of the game's tests: the dummy video driver, a 640 x 480
// 32-bit screen presented unpaced, the real built-in pictures loaded and a
// new game on the attract pages, as after start-up. Helpers drive the real
// keyboard layer through SDL's event queue, run frames and read the pixels
// of the presented screen.
#pragma once

#include "game/assets.h"
#include "game/bosses.h"
#include "game/command_line.h"
#include "game/controls.h"
#include "game/enemy_waves.h"
#include "game/frame_loop.h"
#include "game/game_screen.h"
#include "game/level_map.h"
#include "game/player.h"
#include "game/replay_file.h"
#include "game/score.h"
#include "game/settings.h"
#include "game/shots_explosions.h"
#include "game/sound_cues.h"
#include "game/startup.h"
#include "game/status_panel.h"
#include "runtime/core/random.h"
#include "runtime/core/strings.h"
#include "runtime/input/joystick.h"
#include "runtime/input/keyboard.h"
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "runtime/sound/sound.h"
#include "tests/runtime/input/key_events.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

class GameTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        ASSERT_EQ(QV_InitStrings(QV_StringAreaSize), 1);
        QV_RandomSeed(12345);
        Settings = {};
        ASSERT_EQ(StartDevices(), nullptr);
        ASSERT_EQ(OpenGameScreen(), nullptr);
        QV_SetFrameRate(0);
        InitialiseGameState();
        LoadGame();
    }

    void TearDown() override
    {
        LetGoOfAllKeys();
        QV_FreeJoysticks();
        QV_FreeKeyboards();
        QV_FreeSounds();
        QV_FreeSprites();
    }

    // ---- Driving the game ------------------------------------------------

    static void RunFrames(int count)
    {
        for (int frame = 0; frame < count; ++frame)
            RunFrame();
    }

    // Presses and lets go of a key over two frames, as a player does.
    static void TapKey(int32_t key)
    {
        PushKeyDown(key);
        RunFrame();
        PushKeyUp(key);
        RunFrame();
    }

    // Taps 's' on the attract pages: play starts in the second frame.
    static void StartPlaying()
    {
        RunFrame();
        TapKey(SDLK_s);
        ASSERT_EQ(Flow.Phase, GamePhase::Play);
    }

    // Plays back, from the next frame on, a replay of `frames` frames without
    // input; returns the path of its file, which the caller removes.
    static std::string WatchAnIdleReplay(int32_t frames)
    {
        char path[] = "/tmp/tervane-replay-XXXXXX";
        const int descriptor = mkstemp(path);
        std::FILE* file = descriptor >= 0 ? fdopen(descriptor, "wb") : nullptr;
        EXPECT_NE(file, nullptr);
        if (file == nullptr)
            return path;
        ReplayWriter writer(file);
        EXPECT_TRUE(writer.WriteHeader({VersionText(), 12345, 0, 0}) && writer.Finish(frames));
        std::fclose(file);
        EXPECT_EQ(StartPlayback(path), "");
        BeginControlledFrames({});
        return path;
    }

    // ---- Reading the presented screen -------------------------------------

    // The frame as the game drew it, before any enlargement.
    static Uint32 ScreenPixel(int32_t x, int32_t y) { return PixelOf(QV_Screen_Current, x, y); }

    static Uint32 SpritePixel(int32_t sprite, int32_t x, int32_t y)
    {
        return PixelOf(QV_SpriteRecordOf(sprite)->surface, x, y);
    }

    // True when every pixel of the sprite's clip rectangle that lies on the
    // screen shows at (x, y); with `keyed`, black (transparent) pixels of the
    // sprite are not compared.
    static bool ScreenShows(int32_t sprite, int32_t x, int32_t y, bool keyed)
    {
        const QV_SpriteRecord* record = QV_SpriteRecordOf(sprite);
        if (record == nullptr || record->surface == nullptr)
            return false;
        int compared = 0;
        for (int32_t row = 0; row < record->displayedHeight; ++row) {
            for (int32_t column = 0; column < record->displayedWidth; ++column) {
                const int32_t sx = x + column;
                const int32_t sy = y + row;
                if (sx < 0 || sy < 0 || sx >= 640 || sy >= 480)
                    continue;
                const Uint32 pixel = SpritePixel(sprite, record->clipX + column, record->clipY + row);
                if (keyed && pixel == record->colorKey)
                    continue;
                if (ScreenPixel(sx, sy) != pixel)
                    return false;
                ++compared;
            }
        }
        return compared > 0;
    }

    static bool ScreenShowsOpaque(int32_t sprite, int32_t x, int32_t y) { return ScreenShows(sprite, x, y, false); }

    static bool ScreenShowsKeyed(int32_t sprite, int32_t x, int32_t y) { return ScreenShows(sprite, x, y, true); }

    static bool ScreenIsBlack()
    {
        for (int32_t y = 0; y < 480; ++y) {
            for (int32_t x = 0; x < 640; ++x) {
                if (ScreenPixel(x, y) != 0)
                    return false;
            }
        }
        return true;
    }

    static Uint32 PixelOf(SDL_Surface* surface, int32_t x, int32_t y)
    {
        SDL_LockSurface(surface);
        const auto* row = static_cast<const Uint8*>(surface->pixels) + y * surface->pitch;
        const Uint32 pixel = reinterpret_cast<const Uint32*>(row)[x];
        SDL_UnlockSurface(surface);
        return pixel;
    }

private:
    // Lets every key go and collects the releases still armed.
    static void LetGoOfAllKeys()
    {
        LetGoOfHeldKeys();
        QV_KeyboardReleased(QV_ANY_KEY);
    }
};
