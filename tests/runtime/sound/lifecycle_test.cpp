#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "runtime/sound/sound_store.h"
#include "tests/runtime/sound/sound_fixture.h"

namespace {

TEST(SoundLifecycle, EveryCallBeforeTheStartIsHarmless)
{
    const auto image = wave::Image({44100, 2, 16}, wave::Bytes(400, 1));
    EXPECT_EQ(QV_CatchSound(0, image.data(), int32_t(image.size())), 0);
    EXPECT_EQ(QV_Sound_CheckReAlloc(0), 0);
    QV_PlaySound(0);
    QV_StopSound(0);
    QV_SoundVolume(0, 50);
    QV_FreeSound(0);
    QV_FreeSounds();
    EXPECT_EQ(QV_Sound_ObjectsArea, nullptr);
}

TEST(SoundLifecycle, StartsWith50EmptySlotsAndFreeingAllowsAFreshStart)
{
    QV_SoundObject* store = QV_InitSound();
    ASSERT_NE(store, nullptr) << SDL_GetError();
    EXPECT_EQ(QV_InitSound(), store) << "a second start keeps the store";
    EXPECT_EQ(QV_Sound_ObjectsNumber, 50);
    EXPECT_EQ(tervane::sound::DeviceFormat.freq, 44100);
    EXPECT_EQ(tervane::sound::DeviceFormat.format, AUDIO_S16LSB);
    EXPECT_EQ(tervane::sound::DeviceFormat.channels, 2);
    EXPECT_EQ(tervane::sound::DeviceFormat.samples, 512);

    const auto image = wave::Image({44100, 2, 16}, wave::Bytes(400, 1));
    ASSERT_EQ(QV_CatchSound(9, image.data(), int32_t(image.size())), 1);
    QV_PlaySound(9);
    QV_FreeSounds();
    EXPECT_EQ(QV_Sound_ObjectsArea, nullptr);
    EXPECT_EQ(QV_Sound_ObjectsNumber, 0);
    EXPECT_EQ(SDL_GetAudioStatus(), SDL_AUDIO_STOPPED);

    ASSERT_NE(QV_InitSound(), nullptr);
    EXPECT_EQ(QV_Sound_ObjectsArea[9].samples, nullptr);
    QV_FreeSounds();
    SDL_Quit();
}

TEST(SoundLifecycle, FailsWhenTheAudioDeviceCannotBeOpened)
{
    const char* driver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = driver != nullptr ? driver : "";
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    EXPECT_EQ(QV_InitSound(), nullptr);
    EXPECT_EQ(QV_Sound_ObjectsArea, nullptr);
    QV_FreeSounds();
    SDL_Quit();
    setenv("SDL_AUDIODRIVER", saved.c_str(), 1);
}

using SoundStore = SoundLayer;

TEST_F(SoundStore, GrowsToTheNumberPlus50KeepingWhatItHolds)
{
    LoadConstant(3, 1, 10);
    const uint8_t* samples = QV_Sound_ObjectsArea[3].samples;
    LoadConstant(120, 1, 10);
    EXPECT_EQ(QV_Sound_ObjectsNumber, 170);
    EXPECT_EQ(QV_Sound_ObjectsArea[3].samples, samples);
    EXPECT_EQ(QV_Sound_ObjectsArea[169].samples, nullptr);
    EXPECT_EQ(QV_Sound_ObjectsArea[169].length, 0);

    EXPECT_EQ(QV_Sound_CheckReAlloc(169), 1);
    EXPECT_EQ(QV_Sound_ObjectsNumber, 170);
    EXPECT_EQ(QV_Sound_CheckReAlloc(-1), 0);
    EXPECT_EQ(QV_Sound_CheckReAlloc(0x7FFFFFFF), 0) << "a store past 2 GB is refused";
    EXPECT_EQ(QV_Sound_ObjectsNumber, 170);
}

}  // namespace
