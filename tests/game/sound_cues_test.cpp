// The game's sound cues heard through the real sound layer: its device stays
// paused and each frame is followed by a long hand-run mix, so ended sounds
// free their channels and every copy started in a frame is still untouched
// when the frame has run.
#include "game/sound_loading.h"
#include "tests/game/game_fixture.h"

#include "runtime/sound/mixer.h"

#include <vector>

namespace {

// A second of device samples: longer than every effect.
constexpr int MixBytes = 44100 * 4;

class SoundCuesTest : public GameTest {
protected:
    void SetUp() override
    {
        GameTest::SetUp();
        Settings.UseAudio = 1;
        ASSERT_EQ(StartSound(), nullptr);
        SDL_PauseAudio(1);
        SDL_LockAudio();
        SDL_UnlockAudio();
        LoadBuiltInAssets(Settings.UseAudio);
        for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound)
            ASSERT_NE(QV_Sound_ObjectsArea[sound].samples, nullptr) << "sound " << sound;
    }

    // Copies of `sound` started since the last mix.
    static int FreshCopies(int32_t sound)
    {
        const QV_SoundObject& record = QV_Sound_ObjectsArea[sound];
        int fresh = 0;
        for (const QV_SoundChannel& channel : tervane::sound::Channels())
            fresh += channel.sound == sound && channel.remaining == record.length && channel.position == record.samples;
        return fresh;
    }

    static void Mix()
    {
        std::vector<Uint8> stream(MixBytes);
        tervane::sound::FillAudio(nullptr, stream.data(), MixBytes);
    }
};

TEST_F(SoundCuesTest, HeldFireStartsTheGunSoundWithEveryBulletEveryEighthFrame)
{
    StartPlaying();
    Mix();
    PushKeyDown(SDLK_SPACE);

    std::vector<int> fireFrames;
    for (int frame = 1; frame <= 150; ++frame) {
        const int32_t gunSide = Player.GunSide;
        RunFrame();
        const bool fired = Player.GunSide != gunSide;  // every bullet switches guns
        ASSERT_EQ(FreshCopies(GunSound), fired ? 1 : 0) << "frame " << frame;
        if (fired)
            fireFrames.push_back(frame);
        Mix();
    }
    ASSERT_TRUE(PlaneInPlay()) << "the plane must live through the test";

    ASSERT_GE(fireFrames.size(), 3u);
    bool waitedForASlot = false;
    for (size_t shot = 1; shot < fireFrames.size(); ++shot) {
        const int gap = fireFrames[shot] - fireFrames[shot - 1];
        EXPECT_EQ(gap % 8, 0) << "shot " << shot;
        waitedForASlot |= gap > 8;
    }
    EXPECT_EQ(fireFrames[1] - fireFrames[0], 8) << "the second slot is free at once";
    EXPECT_TRUE(waitedForASlot) << "with two slots the third bullet waits";
}

TEST_F(SoundCuesTest, PlayStartsWithThePlayMusicInPlaceOfTheTitleMusic)
{
    RunFrame();
    EXPECT_EQ(FreshCopies(TitleMusic), 1) << "the title music starts with the attract pages";
    TapKey(SDLK_s);
    ASSERT_TRUE(PlaneInPlay());
    EXPECT_EQ(FreshCopies(PlayingMusic), 1);
    for (const QV_SoundChannel& channel : tervane::sound::Channels())
        EXPECT_FALSE(channel.sound == TitleMusic && channel.remaining != 0) << "the title music is stopped";
}

TEST_F(SoundCuesTest, TheMusicAndTheEffectsPlayAtTheirOwnVolumes)
{
    Settings.MusicVolume = 40;
    Settings.EffectsVolume = 70;
    ApplySoundVolumes();
    for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
        const bool music =
            sound == PlayingMusic || sound == BossMusicLow || sound == TitleMusic || sound == BossMusicHigh;
        EXPECT_EQ(QV_Sound_ObjectsArea[sound].volume, music ? 40 : 70) << "sound " << sound;
    }
    RunFrame();
    ASSERT_EQ(FreshCopies(TitleMusic), 1);
    EXPECT_EQ(tervane::sound::Channels()[0].volume, 40);
}

// Sound could not be started: the game runs on silent, every cue skipped.
TEST_F(GameTest, AFailedSoundStartLeavesTheGamePlayingSilently)
{
    setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
    Settings.UseAudio = 1;
    EXPECT_STREQ(StartSound(), "Failed to Initialize Sound Environment");
    EXPECT_EQ(Settings.UseAudio, 0);
    LoadBuiltInAssets(Settings.UseAudio);
    EXPECT_EQ(QV_Sound_ObjectsArea, nullptr);

    StartPlaying();
    PushKeyDown(SDLK_SPACE);
    RunFrames(40);
    EXPECT_TRUE(PlaneInPlay());
    EXPECT_GE(Player.Bullets[1].Active + Player.Bullets[2].Active, 1) << "the guns fire without their sound";
    for (const QV_SoundChannel& channel : tervane::sound::Channels())
        EXPECT_EQ(channel.remaining, 0);
}

}  // namespace
