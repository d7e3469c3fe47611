#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

#include "tests/runtime/sound/sound_fixture.h"

namespace {

using Mixer = SoundLayer;

bool AllEqual(const std::vector<int16_t>& samples, size_t from, size_t to, int16_t value)
{
    return std::all_of(samples.begin() + long(from), samples.begin() + long(to),
                       [value](int16_t sample) { return sample == value; });
}

TEST_F(Mixer, CopiesOfOneSoundPlayFromTheStartAndOneStopEndsThemAll)
{
    LoadConstant(2, 1000, 1000);
    LoadConstant(5, 7, 2000);
    QV_PlaySound(5);
    QV_PlaySound2(2, 0);
    QV_PlaySound2(2, 1);
    QV_PlaySound(2);

    const QV_SoundObject& sound = QV_Sound_ObjectsArea[2];
    for (int index = 1; index <= 3; ++index) {
        EXPECT_EQ(Channel(index).sound, 2);
        EXPECT_EQ(Channel(index).position, sound.samples);
        EXPECT_EQ(Channel(index).remaining, sound.length);
    }
    EXPECT_TRUE(AllEqual(Mix(), 0, StreamBytes / 2, 3 * 1000 + 7));

    QV_StopSound(2);
    EXPECT_EQ(BusyChannels(), 1) << "only sound 5 plays on";
    EXPECT_TRUE(AllEqual(Mix(), 0, StreamBytes / 2, 7));
}

TEST_F(Mixer, AStartFindsNoChannelWhenAll32AreBusyAndTakesTheFirstThatEnds)
{
    LoadConstant(1, 1, 25);  // 100 bytes: ends within one callback
    LoadConstant(2, 1, 10000);
    for (int index = 0; index < QV_SOUND_CHANNELS; ++index)
        QV_PlaySound(index == 5 ? 1 : 2);
    ASSERT_EQ(BusyChannels(), QV_SOUND_CHANNELS);

    std::array<QV_SoundChannel, QV_SOUND_CHANNELS> before;
    std::copy(tervane::sound::Channels().begin(), tervane::sound::Channels().end(), before.begin());
    QV_PlaySound(1);
    for (int index = 0; index < QV_SOUND_CHANNELS; ++index) {
        EXPECT_EQ(Channel(index).sound, before[size_t(index)].sound);
        EXPECT_EQ(Channel(index).remaining, before[size_t(index)].remaining);
    }

    Mix();
    EXPECT_EQ(BusyChannels(), QV_SOUND_CHANNELS - 1);
    QV_PlaySound(1);
    EXPECT_EQ(Channel(5).remaining, 100);
    EXPECT_EQ(Channel(5).position, QV_Sound_ObjectsArea[1].samples);
}

TEST_F(Mixer, ACallbackMixesWhatRemainsUpToTheStreamAndFreesEndedChannels)
{
    LoadConstant(1, 100, 25);     // 100 bytes
    LoadConstant(2, 1000, 2500);  // 10000 bytes
    QV_PlaySound(1);
    QV_PlaySound(2);

    const auto stream = Mix();
    EXPECT_TRUE(AllEqual(stream, 0, 50, 1100));
    EXPECT_TRUE(AllEqual(stream, 50, stream.size(), 1000));
    EXPECT_EQ(Channel(0).remaining, 0);
    EXPECT_EQ(Channel(1).remaining, 7952);
    EXPECT_EQ(Channel(1).position, QV_Sound_ObjectsArea[2].samples + StreamBytes);
}

TEST_F(Mixer, VolumeInPercentBecomesSdlsMixingVolume)
{
    // 12800 at SDL volume v mixes as 100 * v, so the stream shows v.
    LoadConstant(4, 12800, 2000);
    const std::array<std::array<int, 2>, 5> percentToSdl{{{100, 128}, {50, 64}, {1, 1}, {99, 126}, {0, 0}}};
    for (const auto& [percent, sdl] : percentToSdl) {
        QV_SoundVolume(4, percent);
        QV_PlaySound(4);
        EXPECT_EQ(Mix(4)[0], 100 * sdl) << percent << "%";
        QV_StopSound(4);
    }
}

TEST_F(Mixer, VolumeIsClampedAndReachesCopiesAlreadyPlaying)
{
    LoadConstant(4, 12800, 2000);
    QV_SoundVolume(4, 150);
    EXPECT_EQ(QV_Sound_ObjectsArea[4].volume, 100);

    QV_PlaySound(4);
    QV_PlaySound(4);
    QV_SoundVolume(4, 50);
    EXPECT_EQ(Mix(4)[0], 2 * 6400);

    QV_SoundVolume(4, -5);
    EXPECT_EQ(QV_Sound_ObjectsArea[4].volume, 0);
    const int32_t remaining = Channel(0).remaining;
    EXPECT_TRUE(AllEqual(Mix(), 0, StreamBytes / 2, 0));
    EXPECT_EQ(Channel(0).remaining, remaining - StreamBytes) << "a silenced copy still runs its course";
}

TEST_F(Mixer, ReloadingAPlayingSlotStopsItAndTheNextStartPlaysTheNewSamples)
{
    LoadConstant(3, 1000, 5000);
    QV_PlaySound(3);
    Mix();
    LoadConstant(3, 2000, 300);
    EXPECT_EQ(BusyChannels(), 0);
    EXPECT_TRUE(AllEqual(Mix(), 0, StreamBytes / 2, 0));

    QV_PlaySound(3);
    EXPECT_EQ(Channel(0).remaining, 1200);
    EXPECT_TRUE(AllEqual(Mix(), 0, 600, 2000));
}

TEST_F(Mixer, EmptyFreedAndUnknownSlotsPlayNothing)
{
    LoadConstant(6, 1000, 1000);
    QV_PlaySound(6);
    QV_FreeSound(6);
    EXPECT_EQ(BusyChannels(), 0) << "freeing stops the sound first";
    EXPECT_EQ(QV_Sound_ObjectsArea[6].samples, nullptr);

    for (int32_t sound : {6, 7, -1, 50, 1000}) {
        QV_PlaySound(sound);
        QV_SoundVolume(sound, 10);
        QV_FreeSound(sound);
    }
    EXPECT_EQ(BusyChannels(), 0);
    EXPECT_TRUE(AllEqual(Mix(), 0, StreamBytes / 2, 0));
}

}  // namespace
