#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
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

int16_t LeftSample(const QV_SoundObject& sound, int32_t frame)
{
    int16_t sample;
    std::memcpy(&sample, sound.samples + frame * DeviceFrameBytes, sizeof sample);
    return sample;
}

int16_t RightSample(const QV_SoundObject& sound, int32_t frame)
{
    int16_t sample;
    std::memcpy(&sample, sound.samples + frame * DeviceFrameBytes + 2, sizeof sample);
    return sample;
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

TEST_F(SoundLoading, ConversionKeepsEachSampleAtItsMoment)
{
    // 8000 Hz has no power-of-two ratio to 44100 Hz: output frame j must
    // sound input frame j * 8000 / 44100, not run faster.
    std::vector<int16_t> ramp(800);
    for (size_t i = 0; i < ramp.size(); ++i)
        ramp[i] = int16_t(i * 40 - 16000);
    ASSERT_EQ(Catch(0, wave::Image({8000, 1, 16}, wave::Samples16(ramp))), 1);
    const QV_SoundObject& slow = QV_Sound_ObjectsArea[0];
    ASSERT_EQ(slow.length, 4410 * DeviceFrameBytes);
    for (int32_t frame = 0; frame < 4410; frame += 7) {
        ASSERT_EQ(LeftSample(slow, frame), ramp[size_t(frame) * 8000 / 44100]) << frame;
        ASSERT_EQ(RightSample(slow, frame), LeftSample(slow, frame)) << frame;
    }

    // Unsigned 8-bit mono at a quarter of the rate: each sample becomes four
    // stereo frames of the signed 16-bit value.
    ASSERT_EQ(Catch(1, wave::Image({11025, 1, 8}, Bytes{0x80, 0xC0, 0x00, 0xFF})), 1);
    const QV_SoundObject& bytes = QV_Sound_ObjectsArea[1];
    ASSERT_EQ(bytes.length, 16 * DeviceFrameBytes);
    const std::vector<int16_t> expected{0, 0x4000, -0x8000, 0x7F00};
    for (int32_t frame = 0; frame < 16; ++frame) {
        EXPECT_EQ(LeftSample(bytes, frame), expected[size_t(frame / 4)]) << frame;
        EXPECT_EQ(RightSample(bytes, frame), expected[size_t(frame / 4)]) << frame;
    }

    // Stereo at twice the rate keeps every second frame, both sides apart.
    ASSERT_EQ(Catch(2, wave::Image({88200, 2, 16}, wave::Samples16({1, -1, 2, -2, 3, -3, 4, -4}))), 1);
    const QV_SoundObject& fast = QV_Sound_ObjectsArea[2];
    ASSERT_EQ(fast.length, 2 * DeviceFrameBytes);
    EXPECT_EQ(LeftSample(fast, 1), 3);
    EXPECT_EQ(RightSample(fast, 1), -3);
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

} // namespace
