#include "runtime/screen/image_decoders.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <optional>

namespace {

struct FreeDeleter {
    void operator()(uint8_t* block) const { std::free(block); }
};
using OwnedBlock = std::unique_ptr<uint8_t, FreeDeleter>;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using OpenFile = std::unique_ptr<std::FILE, FileCloser>;

// Where the parts of a checked BMP picture lie, every one inside its data.
struct BmpLayout {
    int32_t width;
    int32_t height;
    uint16_t bitsPerPixel;
    size_t paletteOffset;
    uint32_t paletteEntries;  // palette entries inside the data, at most 2^bits
    size_t pixelOffset;
    size_t rowStride;  // source row length, padded to whole 4-byte words
};

struct ImageDecoderState {
    const QV_ImageDecoder* decoders[QV_ImageDecoder_Capacity];
    int32_t decoderCount;
    const QV_ImageDecoder* chosen;
    OpenFile openFile;  // the file the chosen decoder accepted, until the decode

    const uint8_t* bmpData;  // the current BMP picture, 0 when there is none
    BmpLayout bmp;
    OwnedBlock bmpBlock;  // the copy of a named file that bmpData points into
};

ImageDecoderState state;

// The header fields the reader uses end with the bit count at offset 28.
constexpr size_t BmpFieldsEnd = 30;
constexpr size_t BmpFileHeaderSize = 14;

uint16_t ReadU16(const uint8_t* data, size_t offset)
{
    return static_cast<uint16_t>(data[offset] | data[offset + 1] << 8);
}

uint32_t ReadU32(const uint8_t* data, size_t offset)
{
    return static_cast<uint32_t>(data[offset]) | static_cast<uint32_t>(data[offset + 1]) << 8 |
        static_cast<uint32_t>(data[offset + 2]) << 16 | static_cast<uint32_t>(data[offset + 3]) << 24;
}

int32_t ReadS32(const uint8_t* data, size_t offset)
{
    return static_cast<int32_t>(ReadU32(data, offset));
}

bool IsDecodedBitCount(uint16_t bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// The row pitch the sprite store decodes into: 3 bytes a pixel, whole words.
uint64_t OutputPitch(int32_t width)
{
    return (3 * static_cast<uint64_t>(width) + 3) & ~uint64_t{3};
}

std::optional<BmpLayout> ReadBmpLayout(const uint8_t* data, size_t size)
{
    if (data == nullptr || size < BmpFieldsEnd)
        return std::nullopt;
    if (data[0] != 'B' || data[1] != 'M' || ReadU16(data, 6) != 0 || ReadU16(data, 8) != 0)
        return std::nullopt;

    BmpLayout layout{};
    layout.width = ReadS32(data, 18);
    layout.height = ReadS32(data, 22);
    layout.bitsPerPixel = ReadU16(data, 28);
    if (layout.width <= 0 || layout.height <= 0)
        return std::nullopt;
    if (OutputPitch(layout.width) * static_cast<uint64_t>(layout.height) > INT32_MAX)
        return std::nullopt;

    const uint64_t pixelOffset = ReadU32(data, 10);
    if (pixelOffset > size)
        return std::nullopt;
    layout.pixelOffset = pixelOffset;
    if (!IsDecodedBitCount(layout.bitsPerPixel))
        return layout;

    // Writers may store only the colours a small picture uses, so its data
    // can end before the 2^bits entries the reader takes.
    const uint64_t paletteOffset = BmpFileHeaderSize + uint64_t{ReadU32(data, 14)};
    if (layout.bitsPerPixel <= 8) {
        if (paletteOffset > size)
            return std::nullopt;
        layout.paletteOffset = paletteOffset;
        const uint64_t entriesInData = (size - paletteOffset) / 4;
        layout.paletteEntries = static_cast<uint32_t>(std::min(uint64_t{1} << layout.bitsPerPixel, entriesInData));
    }

    const uint64_t rowBits = static_cast<uint64_t>(layout.width) * layout.bitsPerPixel;
    layout.rowStride = (rowBits + 31) / 32 * 4;
    if ((size - pixelOffset) / layout.rowStride < static_cast<uint64_t>(layout.height))
        return std::nullopt;
    return layout;
}

void WritePixel(uint8_t* row, int32_t x, uint8_t red, uint8_t green, uint8_t blue)
{
    row[3 * x] = red;
    row[3 * x + 1] = green;
    row[3 * x + 2] = blue;
}

// 1, 4 and 8 bits per pixel: palette indices packed from the most
// significant bit of each byte; palette entries are blue, green, red, unused.
// An index past the entries inside the data is black.
void DecodeIndexedRow(const uint8_t* source, uint8_t* row, int32_t width, uint16_t bits, const uint8_t* palette,
                      uint32_t paletteEntries)
{
    const unsigned mask = (1u << bits) - 1;
    for (int32_t x = 0; x < width; ++x) {
        const uint64_t bit = static_cast<uint64_t>(x) * bits;
        const unsigned shift = 8 - bits - bit % 8;
        const unsigned index = (source[bit / 8] >> shift) & mask;
        if (index < paletteEntries) {
            const uint8_t* entry = palette + 4 * index;
            WritePixel(row, x, entry[2], entry[1], entry[0]);
        } else {
            WritePixel(row, x, 0, 0, 0);
        }
    }
}

// 16 bits per pixel, little-endian 5-5-5 with red highest and bit 15 unused.
void Decode555Row(const uint8_t* source, uint8_t* row, int32_t width)
{
    for (int32_t x = 0; x < width; ++x) {
        const unsigned value = ReadU16(source, 2 * static_cast<size_t>(x));
        WritePixel(row, x, static_cast<uint8_t>((value >> 10 & 31) << 3), static_cast<uint8_t>((value >> 5 & 31) << 3),
                   static_cast<uint8_t>((value & 31) << 3));
    }
}

// 24 and 32 bits per pixel: blue, green, red, then an unused byte for 32.
void DecodeDirectRow(const uint8_t* source, uint8_t* row, int32_t width, size_t bytesPerPixel)
{
    for (int32_t x = 0; x < width; ++x) {
        const uint8_t* pixel = source + bytesPerPixel * x;
        WritePixel(row, x, pixel[2], pixel[1], pixel[0]);
    }
}

void DecodeBmpRow(const uint8_t* data, const BmpLayout& layout, int32_t sourceRow, uint8_t* row)
{
    const uint8_t* source = data + layout.pixelOffset + layout.rowStride * sourceRow;
    switch (layout.bitsPerPixel) {
    case 1:
    case 4:
    case 8:
        DecodeIndexedRow(source, row, layout.width, layout.bitsPerPixel, data + layout.paletteOffset,
                         layout.paletteEntries);
        break;
    case 16: Decode555Row(source, row, layout.width); break;
    case 24:
    case 32: DecodeDirectRow(source, row, layout.width, layout.bitsPerPixel / 8); break;
    default: std::memset(row, 0, 3 * static_cast<size_t>(layout.width)); break;
    }
}

// Reads a whole file into a block of its own; an empty result when it cannot.
OwnedBlock ReadWholeFile(const char* fileName, size_t& size)
{
    OpenFile file(std::fopen(fileName, "rb"));
    if (!file || std::fseek(file.get(), 0, SEEK_END) != 0)
        return nullptr;
    const long length = std::ftell(file.get());
    if (length <= 0 || std::fseek(file.get(), 0, SEEK_SET) != 0)
        return nullptr;
    OwnedBlock block(static_cast<uint8_t*>(std::malloc(static_cast<size_t>(length))));
    if (!block || std::fread(block.get(), 1, static_cast<size_t>(length), file.get()) != static_cast<size_t>(length))
        return nullptr;
    size = static_cast<size_t>(length);
    return block;
}

int32_t CheckWithDecoders(std::FILE* file, const void* memory, size_t size, const char* fileName)
{
    for (int32_t i = 0; i < state.decoderCount; ++i) {
        if (file != nullptr)
            std::rewind(file);
        if (state.decoders[i]->check(file, memory, size, fileName) != 0) {
            state.chosen = state.decoders[i];
            return 1;
        }
    }
    return 0;
}

}  // namespace

void QV_InitImageDecoder()
{
    state.decoderCount = 0;
    state.chosen = nullptr;
    state.openFile.reset();
}

const QV_ImageDecoder* QV_ImageDecoder_Register(const QV_ImageDecoder* decoder)
{
    if (decoder == nullptr || state.decoderCount == QV_ImageDecoder_Capacity)
        return nullptr;
    state.decoders[state.decoderCount++] = decoder;
    return decoder;
}

int32_t QV_ImageDecoder_Check(const char* fileName, const void* memory, size_t size)
{
    state.chosen = nullptr;
    state.openFile.reset();
    if (fileName == nullptr)
        return memory != nullptr ? CheckWithDecoders(nullptr, memory, size, nullptr) : 0;

    state.openFile.reset(std::fopen(fileName, "rb"));
    if (!state.openFile)
        return 0;
    if (CheckWithDecoders(state.openFile.get(), nullptr, 0, fileName) != 0)
        return 1;
    state.openFile.reset();
    return 0;
}

int32_t QV_ImageDecoder_GetWidth()
{
    return state.chosen != nullptr ? state.chosen->width() : 0;
}

int32_t QV_ImageDecoder_GetHeight()
{
    return state.chosen != nullptr ? state.chosen->height() : 0;
}

int32_t QV_ImageDecoder_Decode(void* buffer, int32_t pitch, int32_t flags)
{
    const int32_t result = state.chosen != nullptr ? state.chosen->decode(buffer, pitch, flags) : 0;
    state.openFile.reset();
    return result;
}

int32_t QV_BMP_Check(const char* fileName, const void* memory, size_t size)
{
    state.bmpData = nullptr;
    state.bmpBlock.reset();
    const uint8_t* data = static_cast<const uint8_t*>(memory);
    if (fileName != nullptr) {
        state.bmpBlock = ReadWholeFile(fileName, size);
        data = state.bmpBlock.get();
    }

    const std::optional<BmpLayout> layout = ReadBmpLayout(data, size);
    if (!layout) {
        state.bmpBlock.reset();
        return 0;
    }
    state.bmpData = data;
    state.bmp = *layout;
    return 1;
}

int32_t QV_BMP_GetWidth()
{
    return state.bmp.width;
}

int32_t QV_BMP_GetHeight()
{
    return state.bmp.height;
}

int32_t QV_BMP_Decode(void* buffer, int32_t pitch)
{
    if (state.bmpData == nullptr || pitch < 0 ||
        static_cast<uint64_t>(pitch) < 3 * static_cast<uint64_t>(state.bmp.width))
        return 0;
    uint8_t* output = static_cast<uint8_t*>(buffer);
    for (int32_t i = 0; i < state.bmp.height; ++i)
        DecodeBmpRow(state.bmpData, state.bmp, i, output + static_cast<size_t>(pitch) * (state.bmp.height - 1 - i));

    // A file's copy goes now; a picture in memory stays current.
    if (state.bmpBlock) {
        state.bmpBlock.reset();
        state.bmpData = nullptr;
    }
    return 1;
}
