// A started sound layer whose callback the test drives by hand: the device
// stays paused, so SDL's audio thread never mixes behind the test's back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "runtime/sound/mixer.h"
#include "runtime/sound/sound.h"
#include "tests/runtime/sound/wave_builder.h"

class SoundLayer : public ::testing::Test {
protected:
    // One callback period of the device: 512 stereo 16-bit frames.
    static constexpr int StreamBytes = 2048;

    void SetUp() override
    {
        ASSERT_NE(QV_InitSound(), nullptr) << SDL_GetError();
        SDL_PauseAudio(1);
        // A callback already under way finishes before the lock is ours.
        SDL_LockAudio();
        SDL_UnlockAudio();
    }

    void TearDown() override
    {
        QV_FreeSounds();
        SDL_Quit();
    }

    // Loads `frames` device-format frames, every sample `value`: no conversion.
    static void LoadConstant(int32_t sound, int16_t value, int32_t frames)
    {
        const auto samples = wave::Samples16(std::vector<int16_t>(size_t(frames) * 2, value));
        const auto image = wave::Image({44100, 2, 16}, samples);
        ASSERT_EQ(QV_CatchSound(sound, image.data(), int32_t(image.size())), 1);
    }

    // One callback on a silent stream of `bytes`, as 16-bit samples.
    static std::vector<int16_t> Mix(int bytes = StreamBytes)
    {
        std::vector<int16_t> stream(size_t(bytes) / 2, 0);
        tervane::sound::FillAudio(nullptr, reinterpret_cast<Uint8*>(stream.data()), bytes);
        return stream;
    }

    static const QV_SoundChannel& Channel(int index) { return tervane::sound::Channels()[size_t(index)]; }

    static int BusyChannels()
    {
        int busy = 0;
        for (const QV_SoundChannel& channel : tervane::sound::Channels())
            busy += channel.remaining != 0;
        return busy;
    }
};
