#include "runtime/screen/image_decoders.h"

#include "tests/runtime/screen/bmp_builder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using bmp_test::BuildBmp;
using bmp_test::BuildBmp24;
using bmp_test::PutLE;
using bmp_test::Rgb;

namespace {

constexpr uint8_t Untouched = 0xA5;

// The decoded picture plus the padding bytes at the end of each row, which the
// decoder must leave alone.
struct Decoded {
    int32_t width = 0;
    int32_t pitch = 0;
    std::vector<uint8_t> bytes;

    Rgb At(int32_t x, int32_t y) const
    {
        const uint8_t* p = &bytes[static_cast<size_t>(y) * pitch + 3 * x];
        return {p[0], p[1], p[2]};
    }
    bool PaddingUntouched() const
    {
        for (size_t row = 0; row < bytes.size() / pitch; ++row)
            for (int32_t i = 3 * width; i < pitch; ++i)
                if (bytes[row * pitch + i] != Untouched)
                    return false;
        return true;
    }
};

Decoded DecodeBmp(const std::vector<uint8_t>& data, int32_t extraPitch = 4)
{
    Decoded out;
    EXPECT_EQ(QV_BMP_Check(nullptr, data.data(), data.size()), 1);
    out.width = QV_BMP_GetWidth();
    out.pitch = 3 * out.width + extraPitch;
    out.bytes.assign(static_cast<size_t>(out.pitch) * QV_BMP_GetHeight(), Untouched);
    EXPECT_EQ(QV_BMP_Decode(out.bytes.data(), out.pitch), 1);
    return out;
}

const Rgb Red{255, 0, 0}, Green{0, 255, 0}, Blue{0, 0, 255}, White{255, 255, 255}, Black{0, 0, 0};

TEST(BmpReader, TwentyFourBitRowsArePaddedAndComeOutTopFirst)
{
    // Source rows of 3 pixels: 9 bytes and 3 of padding; the first row in the
    // data is the bottom one.
    const std::vector<uint8_t> data =
        BuildBmp(3, 2, 24, {}, {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {1, 2, 3, 4, 5, 6, 7, 8, 9}});
    ASSERT_EQ(data.size(), 54u + 2 * 12);
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 1), Red);
    EXPECT_EQ(out.At(1, 1), Green);
    EXPECT_EQ(out.At(2, 1), Blue);
    EXPECT_EQ(out.At(0, 0), (Rgb{3, 2, 1}));
    EXPECT_EQ(out.At(2, 0), (Rgb{9, 8, 7}));
    EXPECT_TRUE(out.PaddingUntouched());
}

TEST(BmpReader, TwentyFourBitWidthOfFourHasNoPadding)
{
    const std::vector<uint8_t> data = BuildBmp24(4, 3, [](int32_t x, int32_t y) {
        return Rgb{uint8_t(x), uint8_t(y), 7};
    });
    ASSERT_EQ(data.size(), 54u + 3 * 12);
    const Decoded out = DecodeBmp(data);
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x)
            EXPECT_EQ(out.At(x, y), (Rgb{uint8_t(x), uint8_t(y), 7}));
}

TEST(BmpReader, OneBitTakesEachByteMostSignificantBitFirst)
{
    // Width 10: two pixel bytes and two of padding; the second byte gives
    // only two pixels, from its top bits.
    const std::vector<uint8_t> data = BuildBmp(10, 1, 1, {Black, White}, {{0b10110000, 0b01111111}});
    ASSERT_EQ(data.size(), 62u + 4);
    const Decoded out = DecodeBmp(data);
    const Rgb expected[10] = {White, Black, White, White, Black, Black, Black, Black, Black, White};
    for (int32_t x = 0; x < 10; ++x)
        EXPECT_EQ(out.At(x, 0), expected[x]) << "pixel " << x;
    EXPECT_TRUE(out.PaddingUntouched());
}

TEST(BmpReader, FourBitTakesHighNibbleFirstAndIgnoresTheOddLowNibble)
{
    std::vector<Rgb> palette(16, Black);
    palette[1] = Red;
    palette[2] = Green;
    palette[15] = Blue;
    const std::vector<uint8_t> data = BuildBmp(3, 2, 4, palette, {{0x12, 0xFF}, {0xF1, 0x2F}});
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 1), Red);
    EXPECT_EQ(out.At(1, 1), Green);
    EXPECT_EQ(out.At(2, 1), Blue);
    EXPECT_EQ(out.At(0, 0), Blue);
    EXPECT_EQ(out.At(1, 0), Red);
    EXPECT_EQ(out.At(2, 0), Green);
    EXPECT_TRUE(out.PaddingUntouched());
}

TEST(BmpReader, EightBitDecodesTheSamePixelsEveryTime)
{
    std::vector<Rgb> palette(256);
    for (int i = 0; i < 256; ++i)
        palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2)};
    const std::vector<uint8_t> data = BuildBmp(5, 2, 8, palette, {{0, 1, 2, 3, 255}, {9, 8, 7, 6, 128}});
    const Decoded first = DecodeBmp(data);
    EXPECT_EQ(first.At(4, 1), (Rgb{255, 0, 127}));
    EXPECT_EQ(first.At(0, 0), (Rgb{9, 246, 4}));
    Decoded again = first;
    std::fill(again.bytes.begin(), again.bytes.end(), Untouched);
    ASSERT_EQ(QV_BMP_Decode(again.bytes.data(), again.pitch), 1);
    EXPECT_EQ(again.bytes, first.bytes);
}

TEST(BmpReader, ShortPaletteOfASmallPictureGivesItsColoursAndBlackPastTheData)
{
    // Writers store only the colours used: here 2 entries, and the data ends
    // long before the 256 an 8-bit picture may index. The pixel row makes a
    // third entry inside the data; index 3 would be the first past its end,
    // which the exact-sized copy lets the address sanitizer see.
    const std::vector<uint8_t> built = BuildBmp(4, 1, 8, {Red, Green}, {{1, 0, 200, 3}});
    const std::vector<uint8_t> data(built.begin(), built.end());
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 0), Green);
    EXPECT_EQ(out.At(1, 0), Red);
    EXPECT_EQ(out.At(2, 0), Black);
    EXPECT_EQ(out.At(3, 0), Black);
    EXPECT_TRUE(out.PaddingUntouched());
}

TEST(BmpReader, SixteenBitIsFiveFiveFiveScaledByEight)
{
    const std::vector<uint8_t> data = BuildBmp(4, 1, 16, {}, {{0xFF, 0x7F, 0x00, 0x80, 0x00, 0x7C, 0x21, 0x04}});
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 0), (Rgb{248, 248, 248}));
    EXPECT_EQ(out.At(1, 0), Black);
    EXPECT_EQ(out.At(2, 0), (Rgb{248, 0, 0}));
    EXPECT_EQ(out.At(3, 0), (Rgb{8, 8, 8}));
}

TEST(BmpReader, ThirtyTwoBitRowsAreExactlyFourBytesAPixel)
{
    const std::vector<uint8_t> data = BuildBmp(
        3, 2, 32, {}, {{1, 2, 3, 99, 4, 5, 6, 99, 7, 8, 9, 99}, {10, 11, 12, 99, 13, 14, 15, 99, 16, 17, 18, 99}});
    ASSERT_EQ(data.size(), 54u + 2 * 12);
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 1), (Rgb{3, 2, 1}));
    EXPECT_EQ(out.At(2, 1), (Rgb{9, 8, 7}));
    EXPECT_EQ(out.At(0, 0), (Rgb{12, 11, 10}));
    EXPECT_EQ(out.At(2, 0), (Rgb{18, 17, 16}));
}

TEST(BmpReader, OtherBitCountsPassTheCheckAndDecodeToBlack)
{
    std::vector<uint8_t> data = BuildBmp(2, 2, 24, {}, {{}, {}});
    PutLE(data, bmp_test::BitsField, 2, 2);
    const Decoded out = DecodeBmp(data);
    EXPECT_EQ(out.At(0, 0), Black);
    EXPECT_EQ(out.At(1, 1), Black);
    EXPECT_TRUE(out.PaddingUntouched());
}

TEST(BmpReader, RefusesDataThatIsNotABmpPicture)
{
    const std::vector<uint8_t> good = BuildBmp24(2, 2, [](int32_t, int32_t) { return Red; });
    std::vector<uint8_t> data = good;
    data[0] = 'X';
    EXPECT_EQ(QV_BMP_Check(nullptr, data.data(), data.size()), 0);
    for (size_t reserved : {6, 7, 8, 9}) {
        data = good;
        data[reserved] = 1;
        EXPECT_EQ(QV_BMP_Check(nullptr, data.data(), data.size()), 0) << "reserved byte " << reserved;
    }
    EXPECT_EQ(QV_BMP_Check(nullptr, nullptr, 100), 0);
}

TEST(BmpReader, RefusesEveryTruncationOfAPicture)
{
    // Cuts through the headers, the palette and the pixel rows alike.
    std::vector<Rgb> palette(16, Green);
    const std::vector<uint8_t> data = BuildBmp(5, 3, 4, palette, {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}});
    ASSERT_EQ(QV_BMP_Check(nullptr, data.data(), data.size()), 1);
    for (size_t size = 0; size < data.size(); ++size)
        EXPECT_EQ(QV_BMP_Check(nullptr, data.data(), size), 0) << size << " bytes";
}

TEST(BmpReader, RefusesInconsistentHeaders)
{
    const std::vector<uint8_t> good = BuildBmp24(2, 2, [](int32_t, int32_t) { return Blue; });
    const auto refused = [](std::vector<uint8_t> data, size_t field, uint32_t value) {
        PutLE(data, field, value, field == bmp_test::BitsField ? 2 : 4);
        return QV_BMP_Check(nullptr, data.data(), data.size()) == 0;
    };
    EXPECT_TRUE(refused(good, bmp_test::WidthField, 0));
    EXPECT_TRUE(refused(good, bmp_test::WidthField, uint32_t(-2)));
    EXPECT_TRUE(refused(good, bmp_test::HeightField, 0));
    EXPECT_TRUE(refused(good, bmp_test::HeightField, uint32_t(-2)));  // top-down
    EXPECT_TRUE(refused(good, bmp_test::WidthField, 3));              // rows no longer fit
    EXPECT_TRUE(refused(good, bmp_test::PixelOffsetField, uint32_t(good.size() + 1)));
    EXPECT_TRUE(refused(good, bmp_test::PixelOffsetField, 0xFFFFFFFFu));

    // The palette must lie inside the data wherever the header says it starts.
    std::vector<uint8_t> indexed = BuildBmp(2, 1, 1, {Black, White}, {{0x40}});
    EXPECT_TRUE(refused(indexed, 14, 0xFFFFFFF0u));
    EXPECT_TRUE(refused(indexed, 14, static_cast<uint32_t>(indexed.size())));

    // With nothing to read for its pixels, a picture of an unknown bit count
    // still may not be too large to decode into.
    std::vector<uint8_t> unknown = good;
    PutLE(unknown, bmp_test::BitsField, 2, 2);
    EXPECT_TRUE(refused(unknown, bmp_test::WidthField, 0x7FFFFFFF));
    PutLE(unknown, bmp_test::WidthField, 40000, 4);
    EXPECT_TRUE(refused(unknown, bmp_test::HeightField, 40000));
    EXPECT_FALSE(refused(unknown, bmp_test::HeightField, 4000));
}

TEST(BmpReader, DecodeNeedsACheckedPictureAndRowsThatFitThePitch)
{
    const std::vector<uint8_t> data = BuildBmp24(4, 1, [](int32_t, int32_t) { return White; });
    std::vector<uint8_t> out(64, Untouched);
    ASSERT_EQ(QV_BMP_Check(nullptr, data.data(), data.size()), 1);
    EXPECT_EQ(QV_BMP_Decode(out.data(), 11), 0);
    EXPECT_EQ(QV_BMP_Decode(out.data(), -12), 0);
    EXPECT_EQ(out, std::vector<uint8_t>(64, Untouched));

    ASSERT_EQ(QV_BMP_Check(nullptr, data.data(), 10), 0);
    EXPECT_EQ(QV_BMP_Decode(out.data(), 12), 0);
    EXPECT_EQ(out, std::vector<uint8_t>(64, Untouched));
}

class BmpFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = std::filesystem::temp_directory_path() /
            ("tervane_bmp_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
             ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".bmp");
    }
    void TearDown() override { std::filesystem::remove(path); }
    void Write(const std::vector<uint8_t>& data, size_t size)
    {
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(size));
    }
    std::filesystem::path path;
};

TEST_F(BmpFile, NamedFileDecodesLikeTheSameDataInMemoryOnce)
{
    const std::vector<uint8_t> data = BuildBmp24(5, 3, [](int32_t x, int32_t y) {
        return Rgb{uint8_t(x * 40), uint8_t(y * 80), 1};
    });
    Write(data, data.size());
    const Decoded fromMemory = DecodeBmp(data);

    ASSERT_EQ(QV_BMP_Check(path.c_str(), nullptr, 0), 1);
    EXPECT_EQ(QV_BMP_GetWidth(), 5);
    EXPECT_EQ(QV_BMP_GetHeight(), 3);
    std::vector<uint8_t> fromFile(fromMemory.bytes.size(), Untouched);
    ASSERT_EQ(QV_BMP_Decode(fromFile.data(), fromMemory.pitch), 1);
    EXPECT_EQ(fromFile, fromMemory.bytes);
    // The file's copy is gone after its decode.
    EXPECT_EQ(QV_BMP_Decode(fromFile.data(), fromMemory.pitch), 0);
}

TEST_F(BmpFile, MissingOrTruncatedFilesAreRefused)
{
    EXPECT_EQ(QV_BMP_Check(path.c_str(), nullptr, 0), 0);
    EXPECT_EQ(QV_ImageDecoder_Check(path.c_str(), nullptr, 0), 0);
    const std::vector<uint8_t> data = BuildBmp24(5, 3, [](int32_t, int32_t) { return Red; });
    Write(data, data.size() - 1);
    EXPECT_EQ(QV_BMP_Check(path.c_str(), nullptr, 0), 0);
    Write(data, 0);
    EXPECT_EQ(QV_BMP_Check(path.c_str(), nullptr, 0), 0);
}

// A decoder that accepts data starting with its tag and records its calls.
struct FakeDecoderLog {
    std::string lastFileStart;
    int32_t decodePitch = 0;
    int32_t decodeFlags = 0;
};
FakeDecoderLog fakeLog;

char FirstByte(std::FILE* file, const void* memory, size_t size)
{
    char first[4] = {};
    if (file != nullptr) {
        const size_t got = std::fread(first, 1, sizeof first, file);
        fakeLog.lastFileStart.assign(first, got);
    } else if (size >= 1) {
        first[0] = *static_cast<const char*>(memory);
    }
    return first[0];
}

const QV_ImageDecoder DecoderA{
    [](std::FILE* file, const void* memory, size_t size, const char*) {
        return int32_t{FirstByte(file, memory, size) == 'A'};
    },
    [](void*, int32_t pitch, int32_t flags) {
        fakeLog.decodePitch = pitch;
        fakeLog.decodeFlags = flags;
        return int32_t{7};
    },
    [] { return int32_t{11}; },
    [] { return int32_t{12}; },
};
const QV_ImageDecoder DecoderAB{
    [](std::FILE* file, const void* memory, size_t size, const char*) {
        const char first = FirstByte(file, memory, size);
        return int32_t{first == 'A' || first == 'B'};
    },
    [](void*, int32_t, int32_t) { return int32_t{8}; },
    [] { return int32_t{21}; },
    [] { return int32_t{22}; },
};

class DecoderRegistry : public BmpFile {
protected:
    void SetUp() override
    {
        BmpFile::SetUp();
        QV_InitImageDecoder();
        fakeLog = {};
    }
};

TEST_F(DecoderRegistry, EmptyRegistryAcceptsNothing)
{
    const std::vector<uint8_t> bmp = BuildBmp24(1, 1, [](int32_t, int32_t) { return Red; });
    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, bmp.data(), bmp.size()), 0);
    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, "A", 1), 0);
    EXPECT_EQ(QV_ImageDecoder_GetWidth(), 0);
    EXPECT_EQ(QV_ImageDecoder_Decode(nullptr, 0, 0), 0);
}

TEST_F(DecoderRegistry, FirstAcceptingDecoderInRegistrationOrderIsChosen)
{
    ASSERT_EQ(QV_ImageDecoder_Register(&DecoderA), &DecoderA);
    ASSERT_EQ(QV_ImageDecoder_Register(&DecoderAB), &DecoderAB);

    ASSERT_EQ(QV_ImageDecoder_Check(nullptr, "A", 1), 1);
    EXPECT_EQ(QV_ImageDecoder_GetWidth(), 11);
    EXPECT_EQ(QV_ImageDecoder_GetHeight(), 12);
    EXPECT_EQ(QV_ImageDecoder_Decode(nullptr, 36, 5), 7);
    EXPECT_EQ(fakeLog.decodePitch, 36);
    EXPECT_EQ(fakeLog.decodeFlags, 5);

    ASSERT_EQ(QV_ImageDecoder_Check(nullptr, "B", 1), 1);
    EXPECT_EQ(QV_ImageDecoder_GetWidth(), 21);
    EXPECT_EQ(QV_ImageDecoder_Decode(nullptr, 0, 0), 8);

    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, "C", 1), 0);
    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, nullptr, 0), 0);
    EXPECT_EQ(QV_ImageDecoder_Decode(nullptr, 0, 0), 0);

    QV_InitImageDecoder();
    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, "A", 1), 0);
}

TEST_F(DecoderRegistry, EveryDecoderSeesANamedFileFromItsStart)
{
    QV_ImageDecoder_Register(&DecoderA);
    QV_ImageDecoder_Register(&DecoderAB);
    Write({'B', 'x', 'y', 'z'}, 4);
    ASSERT_EQ(QV_ImageDecoder_Check(path.c_str(), nullptr, 0), 1);
    EXPECT_EQ(fakeLog.lastFileStart, "Bxyz");
    EXPECT_EQ(QV_ImageDecoder_GetWidth(), 21);
    EXPECT_EQ(QV_ImageDecoder_Decode(nullptr, 0, 0), 8);
}

TEST_F(DecoderRegistry, HoldsAtMostItsCapacity)
{
    for (int32_t i = 0; i < QV_ImageDecoder_Capacity; ++i)
        ASSERT_EQ(QV_ImageDecoder_Register(&DecoderAB), &DecoderAB);
    EXPECT_EQ(QV_ImageDecoder_Register(&DecoderA), nullptr);
    EXPECT_EQ(QV_ImageDecoder_Register(nullptr), nullptr);
    EXPECT_EQ(QV_ImageDecoder_Check(nullptr, "B", 1), 1);
}

}  // namespace
