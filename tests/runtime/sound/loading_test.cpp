#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "tests/runtime/sound/sound_fixture.h"

namespace {

using SoundLoading = SoundLayer;
using wave::Builder;
using wave::Bytes;
using wave::FormatBody;

constexpr int32_t DeviceFrameBytes = 4;

int32_t Catch(int32_t sound, const Bytes& image)
{
    return QV_CatchSound(sound, image.data(), int32_t(image.size()));
}

constexpr int Left = 0;
constexpr int Right = 1;

int16_t Sample(const QV_SoundObject& sound, int64_t frame, int side)
{
    int16_t sample;
    std::memcpy(&sample, sound.samples + frame * DeviceFrameBytes + side * 2, sizeof sample);
    return sample;
}

int64_t Frames(const QV_SoundObject& sound)
{
    return sound.length / DeviceFrameBytes;
}

// `seconds` of a sine tone of `amplitude` per side, as 16-bit samples.
Bytes Tones(wave::Format format, const std::vector<double>& hertz, double amplitude, double seconds)
{
    std::vector<int16_t> samples;
    const auto frames = int64_t(format.rate * seconds);
    for (int64_t frame = 0; frame < frames; ++frame) {
        const double time = double(frame) / format.rate;
        for (int32_t side = 0; side < format.channels; ++side)
            samples.push_back(int16_t(std::lround(amplitude * std::sin(2 * M_PI * hertz[size_t(side)] * time))));
    }
    return wave::Samples16(samples);
}

// One side of a converted sound over `frames` frames from `first`, holding a
// whole number of periods of `hertz`: the tone's amplitude, and how far
// everything else (images, noise, a tone at another pitch) lies below it.
struct ToneAnalysis {
    double amplitude;
    double restBelowToneDb;
};

ToneAnalysis AnalyseTone(const QV_SoundObject& sound, int side, int64_t first, int64_t frames, double hertz)
{
    // Goertzel's recurrence for the tone's DFT bin; Parseval for the rest.
    const double coefficient = 2 * std::cos(2 * M_PI * hertz / 44100);
    double previous = 0;
    double beforePrevious = 0;
    double energy = 0;
    for (int64_t frame = first; frame < first + frames; ++frame) {
        const double x = Sample(sound, frame, side);
        energy += x * x;
        const double next = x + coefficient * previous - beforePrevious;
        beforePrevious = previous;
        previous = next;
    }
    const double binPower =
        previous * previous + beforePrevious * beforePrevious - coefficient * previous * beforePrevious;
    const double toneEnergy = 2 * binPower / double(frames);
    const double restEnergy = std::max(energy - toneEnergy, 1e-9);
    return {2 * std::sqrt(binPower) / double(frames), 10 * std::log10(toneEnergy / restEnergy)};
}

TEST_F(SoundLoading, EveryCatalogueFormatBecomesDeviceFramesOfTheSameDuration)
{
    int32_t number = 0;
    for (const wave::CatalogueEntry& entry : wave::Catalogue()) {
        ASSERT_EQ(Catch(number, wave::CatalogueImage(entry)), 1) << "sound " << number;
        const int64_t frames = entry.dataBytes / (entry.format.channels * entry.format.bits / 8);
        EXPECT_EQ(QV_Sound_ObjectsArea[number].length, frames * 44100 / entry.format.rate * DeviceFrameBytes)
            << "sound " << number;
        EXPECT_EQ(QV_Sound_ObjectsArea[number].volume, 100);
        ++number;
    }
}

TEST_F(SoundLoading, AConvertedToneKeepsItsPitchAndLevelWithEverythingElse60dBBelow)
{
    // Samples merely held for the faster rate leave images of a tone about
    // 20 dB below it. Each tone makes a whole number of periods in the 0.1 s
    // looked at, so its energy falls into one DFT bin.
    struct Case {
        wave::Format format;
        std::vector<double> hertz;  // per side of the source
    };
    const std::vector<Case> cases{
        {{8000, 1, 16}, {1000}},
        {{11025, 2, 16}, {1000, 2000}},
        {{22050, 1, 16}, {3000}},
        {{88200, 2, 16}, {2000, 1000}},
    };
    constexpr double Amplitude = 16000;
    for (const Case& tone : cases) {
        ASSERT_EQ(Catch(0, wave::Image(tone.format, Tones(tone.format, tone.hertz, Amplitude, 0.5))), 1);
        const QV_SoundObject& sound = QV_Sound_ObjectsArea[0];
        for (int side : {Left, Right}) {
            const double hertz = tone.hertz[size_t(std::min(side, tone.format.channels - 1))];
            const ToneAnalysis analysis = AnalyseTone(sound, side, 4410, 4410, hertz);
            EXPECT_NEAR(analysis.amplitude, Amplitude, Amplitude * 0.01) << tone.format.rate << " Hz, side " << side;
            EXPECT_GE(analysis.restBelowToneDb, 60) << tone.format.rate << " Hz, side " << side;
        }
    }
}

TEST_F(SoundLoading, AClickStillSoundsAtItsMoment)
{
    std::vector<int16_t> click(800, 0);
    click[400] = 20000;
    ASSERT_EQ(Catch(0, wave::Image({8000, 1, 16}, wave::Samples16(click))), 1);
    const QV_SoundObject& sound = QV_Sound_ObjectsArea[0];
    int64_t loudest = 0;
    for (int64_t frame = 0; frame < Frames(sound); ++frame) {
        if (std::abs(Sample(sound, frame, Left)) > std::abs(Sample(sound, loudest, Left)))
            loudest = frame;
    }
    EXPECT_EQ(loudest, 400 * 44100 / 8000);
}

TEST_F(SoundLoading, OvershootOfAFullScaleSquareWaveSaturates)
{
    // Between the samples of a full-scale square wave the smooth curve
    // swings past 16 bits; wrapped, it would turn into loud clicks of the
    // opposite sign.
    std::vector<int16_t> square(800);
    for (size_t i = 0; i < square.size(); ++i)
        square[i] = i / 8 % 2 == 0 ? 32767 : -32768;
    ASSERT_EQ(Catch(0, wave::Image({8000, 1, 16}, wave::Samples16(square))), 1);
    const QV_SoundObject& sound = QV_Sound_ObjectsArea[0];
    int16_t highest = 0;
    for (int64_t frame = 0; frame < Frames(sound); ++frame) {
        const size_t source = size_t(frame * 8000 / 44100);
        highest = std::max(highest, Sample(sound, frame, Left));
        if (source % 8 >= 2 && source % 8 <= 5) {
            ASSERT_EQ(Sample(sound, frame, Left) > 0, square[source] > 0) << frame;
        }
    }
    EXPECT_EQ(highest, 32767);
}

TEST_F(SoundLoading, SampleFormatsConvertExactlyAtTheDeviceRate)
{
    // Unsigned 8-bit mono: each sample becomes a stereo frame of the signed
    // 16-bit value.
    ASSERT_EQ(Catch(0, wave::Image({44100, 1, 8}, Bytes{0x80, 0xC0, 0x00, 0xFF})), 1);
    const QV_SoundObject& sound = QV_Sound_ObjectsArea[0];
    ASSERT_EQ(Frames(sound), 4);
    const std::vector<int16_t> expected{0, 0x4000, -0x8000, 0x7F00};
    for (int64_t frame = 0; frame < 4; ++frame) {
        EXPECT_EQ(Sample(sound, frame, Left), expected[size_t(frame)]) << frame;
        EXPECT_EQ(Sample(sound, frame, Right), expected[size_t(frame)]) << frame;
    }
}

TEST_F(SoundLoading, ChunksAroundTheDataAndLongerFormatChunksAreAccepted)
{
    const Bytes samples(400, 0x80);
    const Bytes image = Builder()
                            .Chunk("fmt ", FormatBody({22050, 1, 8}, 1, 2))
                            .Chunk("fact", Bytes{0x90, 1, 0, 0})
                            .Chunk("LIST", Bytes(9, 'x'))
                            .Chunk("data", samples)
                            .Chunk("LIST", Bytes(30, 'y'))
                            .Image();
    ASSERT_EQ(Catch(0, image), 1);
    EXPECT_EQ(QV_Sound_ObjectsArea[0].length, 800 * DeviceFrameBytes);

    // Less than one frame: a sound that plays nothing, not a broken one.
    ASSERT_EQ(Catch(1, wave::Image({44100, 2, 16}, Bytes{1})), 1);
    EXPECT_EQ(QV_Sound_ObjectsArea[1].length, 0);
    QV_PlaySound(1);
    EXPECT_EQ(BusyChannels(), 0);
}

// A well-formed image of 100 frames, and ways to spoil it.
struct Spoiled {
    const char* what;
    std::function<void(Bytes&)> spoil;
};

void PutU32At(Bytes& image, size_t offset, uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        image[offset + size_t(i)] = uint8_t(value >> (8 * i));
}

void PutU16At(Bytes& image, size_t offset, uint16_t value)
{
    image[offset] = uint8_t(value);
    image[offset + 1] = uint8_t(value >> 8);
}

TEST_F(SoundLoading, MalformedImagesAreRefusedAndLeaveTheSlotAsItWas)
{
    const Bytes good = wave::Image({11025, 2, 16}, Bytes(400, 3));
    constexpr size_t FormatBodyAt = 20;
    constexpr size_t DataSizeAt = 40;
    const std::vector<Spoiled> spoilers{
        {"not RIFF", [](Bytes& b) { b[0] = 'X'; }},
        {"not WAVE", [](Bytes& b) { b[8] = 'X'; }},
        {"no format chunk first", [](Bytes& b) { b[12] = 'X'; }},
        {"format chunk of 14 bytes", [](Bytes& b) { PutU32At(b, 16, 14); }},
        {"format chunk past the end", [](Bytes& b) { PutU32At(b, 16, 0xFFFFFFF0); }},
        {"compressed", [](Bytes& b) { PutU16At(b, FormatBodyAt, 2); }},
        {"no channels", [](Bytes& b) { PutU16At(b, FormatBodyAt + 2, 0); }},
        {"three channels", [](Bytes& b) { PutU16At(b, FormatBodyAt + 2, 3); }},
        {"rate 0", [](Bytes& b) { PutU32At(b, FormatBodyAt + 4, 0); }},
        {"rate 999", [](Bytes& b) { PutU32At(b, FormatBodyAt + 4, 999); }},
        {"rate past 32 bits signed", [](Bytes& b) { PutU32At(b, FormatBodyAt + 4, 0x80000000); }},
        {"24 bits", [](Bytes& b) { PutU16At(b, FormatBodyAt + 14, 24); }},
        {"no data chunk", [](Bytes& b) { b[36] = 'X'; }},
        {"data chunk past the end", [](Bytes& b) { PutU32At(b, DataSizeAt, 401); }},
        {"data size near 4 GB", [](Bytes& b) { PutU32At(b, DataSizeAt, 0xFFFFFFFF); }},
        {"cut short", [](Bytes& b) { b.resize(b.size() - 1); }},
        {"only the RIFF header", [](Bytes& b) { b.resize(12); }},
        {"empty", [](Bytes& b) { b.clear(); }},
    };

    ASSERT_EQ(Catch(4, wave::Image({44100, 2, 16}, Bytes(40, 1))), 1);
    const QV_SoundObject before = QV_Sound_ObjectsArea[4];
    for (const Spoiled& spoiled : spoilers) {
        Bytes image = good;
        spoiled.spoil(image);
        EXPECT_EQ(Catch(4, image), 0) << spoiled.what;
        EXPECT_EQ(QV_Sound_ObjectsArea[4].samples, before.samples) << spoiled.what;
        EXPECT_EQ(QV_Sound_ObjectsArea[4].length, before.length) << spoiled.what;
    }
    EXPECT_EQ(QV_CatchSound(4, nullptr, 100), 0);
    EXPECT_EQ(QV_CatchSound(4, good.data(), -1), 0);
    EXPECT_EQ(QV_CatchSound(-1, good.data(), int32_t(good.size())), 0);
    EXPECT_EQ(Catch(4, good), 1) << "the unspoiled image loads";
}

TEST_F(SoundLoading, TheRiffSizeFieldIsNotTrusted)
{
    // Writers that stream their output leave the RIFF size 0 or too large;
    // the chunks themselves say where the samples are.
    const Bytes good = wave::Image({22050, 1, 8}, Bytes(100, 0x80));
    for (uint32_t riffSize : {0u, 4u, uint32_t(good.size()), 0xFFFFFFFFu}) {
        Bytes image = good;
        PutU32At(image, 4, riffSize);
        EXPECT_EQ(Catch(0, image), 1) << riffSize;
        EXPECT_EQ(QV_Sound_ObjectsArea[0].length, 200 * DeviceFrameBytes) << riffSize;
    }
}

TEST_F(SoundLoading, FilesLoadByNameWithBackslashesTakenAsSlashes)
{
    const auto folder = std::filesystem::temp_directory_path() / ("tervane_sound_" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "sounds");
    const Bytes image = wave::Image({11025, 1, 8}, Bytes(100, 0x80));
    std::ofstream(folder / "sounds" / "shot.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(image.data()), std::streamsize(image.size()));

    EXPECT_EQ(QV_LoadSound(7, (folder.string() + "\\sounds\\shot.wav").c_str()), 1);
    EXPECT_EQ(QV_Sound_ObjectsArea[7].length, 400 * DeviceFrameBytes);
    EXPECT_EQ(QV_LoadSound(8, (folder / "sounds" / "missing.wav").c_str()), 0);
    EXPECT_EQ(QV_LoadSound(8, (folder / "sounds").c_str()), 0) << "a folder";
    EXPECT_EQ(QV_LoadSound(8, nullptr), 0);
    EXPECT_EQ(QV_Sound_ObjectsArea[8].samples, nullptr);
    std::filesystem::remove_all(folder);
}

}  // namespace
