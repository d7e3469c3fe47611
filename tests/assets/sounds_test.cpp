// Every built-in sound: the WAVE form the loader expects, the catalogue's
// format and length, and a clean start and end.
#include "game/assets.h"
#include "tests/assets/asset_files.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace asset_test;

namespace {

// The samples of a sound as values from -1 to 1, channels interleaved.
std::vector<double> Samples(int32_t sound, const CatalogueSound& expected)
{
    const uint8_t* data = SoundWave(sound).address + 44;
    std::vector<double> out;
    for (int32_t i = 0; i < expected.dataBytes; i += expected.bits / 8)
        out.push_back(expected.bits == 8 ? (data[i] - 128) / 128.0 : int16_t(Uint16At(data + i)) / 32768.0);
    return out;
}

}  // namespace

TEST(Sounds, EverySoundIsAPlainPcmWaveOfItsCatalogueFormat)
{
    for (const CatalogueSound& expected : CatalogueSounds()) {
        SCOPED_TRACE("sound " + std::to_string(expected.sound));
        const BuiltInFile file = SoundWave(expected.sound);
        ASSERT_NE(file.address, nullptr);
        const uint8_t* p = file.address;
        const int32_t blockAlign = expected.channels * expected.bits / 8;
        EXPECT_EQ(std::string(p, p + 4), "RIFF");
        EXPECT_EQ(Int32At(p + 4), file.size - 8);
        EXPECT_EQ(std::string(p + 8, p + 16), "WAVEfmt ");
        EXPECT_EQ(Int32At(p + 16), 16);
        EXPECT_EQ(Uint16At(p + 20), 1u);  // PCM
        EXPECT_EQ(int32_t(Uint16At(p + 22)), expected.channels);
        EXPECT_EQ(Int32At(p + 24), expected.rate);
        EXPECT_EQ(Int32At(p + 28), expected.rate * blockAlign);
        EXPECT_EQ(int32_t(Uint16At(p + 32)), blockAlign);
        EXPECT_EQ(int32_t(Uint16At(p + 34)), expected.bits);
        EXPECT_EQ(std::string(p + 36, p + 40), "data");
        EXPECT_EQ(Int32At(p + 40), expected.dataBytes);
        // An odd chunk is followed by one pad byte, as RIFF asks.
        EXPECT_EQ(file.size, 44 + expected.dataBytes + expected.dataBytes % 2);
    }
}

TEST(Sounds, EverySoundStartsAndEndsInSilenceAndNeverClips)
{
    for (const CatalogueSound& expected : CatalogueSounds()) {
        SCOPED_TRACE("sound " + std::to_string(expected.sound));
        const std::vector<double> samples = Samples(expected.sound, expected);
        const double limit = expected.bits == 8 ? 1.5 / 128 : 0.002;
        for (int32_t c = 0; c < expected.channels; ++c) {
            EXPECT_LE(std::fabs(samples[c]), limit);
            EXPECT_LE(std::fabs(samples[samples.size() - expected.channels + c]), limit);
        }
        double peak = 0;
        for (double s : samples)
            peak = std::max(peak, std::fabs(s));
        EXPECT_GT(peak, 0.2) << "too quiet to hear";
        EXPECT_LT(peak, 0.95) << "leaves no room when the mixer adds sounds";
    }
}

TEST(Sounds, EverySoundIsCentredOnSilence)
{
    // A DC offset plays as a thump when the sound starts or is cut, and
    // takes headroom from every other sound in the mix.
    for (const CatalogueSound& expected : CatalogueSounds()) {
        SCOPED_TRACE("sound " + std::to_string(expected.sound));
        const std::vector<double> samples = Samples(expected.sound, expected);
        double sum = 0;
        for (double s : samples)
            sum += s;
        EXPECT_LT(std::fabs(sum / samples.size()), 0.02);
    }
}

TEST(Sounds, TheTwoBossLayersPlayedTogetherStayBelowFullScale)
{
    // Sounds 7 (11025 Hz) and 9 (22050 Hz), both stereo, always start
    // together; the mixer adds them after converting both to one rate.
    const std::vector<double> rhythm = Samples(7, CatalogueSounds()[7]);
    const std::vector<double> lead = Samples(9, CatalogueSounds()[9]);
    double peak = 0;
    for (size_t frame = 0; frame * 2 < lead.size(); ++frame)
        for (size_t c = 0; c < 2; ++c) {
            const size_t rhythmIndex = (frame / 2) * 2 + c;
            const double sum = lead[frame * 2 + c] + (rhythmIndex < rhythm.size() ? rhythm[rhythmIndex] : 0.0);
            peak = std::max(peak, std::fabs(sum));
        }
    EXPECT_LT(peak, 1.0);
}
