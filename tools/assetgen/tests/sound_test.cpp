// The WAVE writer and the synthesizer's building blocks.
#include "sounds.h"
#include "synth.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

uint32_t U32(const std::vector<uint8_t>& b, size_t at)
{
    return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

}  // namespace

TEST(Wave, AnOddDataChunkIsPaddedWithoutCountingThePad)
{
    const SoundEntry entry{1, 11025, 1, 8, 5, "odd"};
    Track track(11025, 1, 5);
    track.add(2, 1.0);
    const std::vector<uint8_t> wave = encodeWave(track, entry);
    ASSERT_EQ(wave.size(), 44u + 5 + 1);
    EXPECT_EQ(U32(wave, 4), wave.size() - 8);
    EXPECT_EQ(U32(wave, 40), 5u);
    // 8-bit samples are unsigned around 128.
    EXPECT_EQ(wave[44], 128);
    EXPECT_EQ(wave[44 + 2], 255);
    EXPECT_EQ(wave.back(), 0);
}

TEST(Wave, SixteenBitStereoSamplesAreSignedAndInterleaved)
{
    const SoundEntry entry{7, 22050, 2, 16, 8, "stereo"};
    Track track(22050, 2, 2);
    track.add(0, 0.5, -1.0);  // hard left
    const std::vector<uint8_t> wave = encodeWave(track, entry);
    ASSERT_EQ(wave.size(), 44u + 8);
    EXPECT_EQ(U32(wave, 28), 22050u * 4);  // bytes per second
    const int16_t left = int16_t(wave[44] | wave[45] << 8);
    const int16_t right = int16_t(wave[46] | wave[47] << 8);
    EXPECT_NEAR(left, 0.5 * M_SQRT2 * 32767, 2);
    EXPECT_EQ(right, 0);
}

TEST(Track, FadedEndsStartAndFinishAtSilence)
{
    Track track(8000, 1, 800);
    for (int i = 0; i < 800; ++i)
        track.add(i, 0.8);
    track.fadeEnds(0.01);
    EXPECT_EQ(track.at(0, 0), 0.0);
    EXPECT_NEAR(track.at(799, 0), 0.0, 1e-9);
    EXPECT_NEAR(track.at(400, 0), 0.8, 1e-9);
}

TEST(Track, NormaliseBringsTheLoudestSampleToThePeak)
{
    Track track(8000, 2, 10);
    track.add(3, -0.2, -1.0);
    track.add(5, 0.1, -1.0);
    track.normalise(0.5);
    EXPECT_NEAR(track.at(3, 0), -0.5, 1e-9);
    EXPECT_NEAR(track.at(5, 0), 0.25, 1e-9);
}

TEST(Envelope, RisesHoldsAndDiesAway)
{
    const Envelope e{0.1, 0.1, 0.5, 0.2};
    EXPECT_NEAR(e.level(0.05, 1.0), 0.5, 1e-9);
    EXPECT_NEAR(e.level(0.1, 1.0), 1.0, 1e-9);
    EXPECT_NEAR(e.level(0.5, 1.0), 0.5, 1e-9);
    EXPECT_NEAR(e.level(1.1, 1.0), 0.25, 1e-9);
    EXPECT_NEAR(e.level(1.2, 1.0), 0.0, 1e-9);
    EXPECT_EQ(e.level(1.3, 1.0), 0.0);
    EXPECT_EQ(e.level(-0.1, 1.0), 0.0);
}

TEST(Oscillator, ASawWaveHasItsPitchAndStaysInRange)
{
    // 441 Hz at 44100 Hz: one rising ramp every 100 samples.
    Oscillator saw(44100, Waveform::Saw);
    // The smoothed drop back down may take two samples: count its starts.
    int drops = 0;
    bool falling = false;
    double previous = saw.next(441), peak = 0;
    for (int i = 1; i < 44100; ++i) {
        const double v = saw.next(441);
        peak = std::max(peak, std::fabs(v));
        drops += v < previous && !falling;
        falling = v < previous;
        previous = v;
    }
    EXPECT_NEAR(drops, 441, 2);
    EXPECT_LT(peak, 1.2);
}

TEST(Synthesizer, EverySoundRendersToItsCatalogueLengthAndPeak)
{
    for (const SoundEntry& entry : Sounds) {
        const Track track = synthesizeSound(entry);
        EXPECT_EQ(track.frames() * entry.channels * entry.bits / 8, entry.dataBytes) << entry.name;
        double peak = 0;
        for (int i = 0; i < track.frames(); ++i)
            for (int c = 0; c < track.channels(); ++c)
                peak = std::max(peak, std::fabs(track.at(i, c)));
        EXPECT_GT(peak, 0.3) << entry.name;
        EXPECT_LE(peak, 0.86) << entry.name;
    }
}
