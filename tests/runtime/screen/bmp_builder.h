// Builds BMP pictures in memory for the tests.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

namespace bmp_test {

struct Rgb {
    uint8_t red, green, blue;
    bool operator==(const Rgb&) const = default;
};

// Little-endian header fields a test may want to spoil after building.
constexpr size_t PixelOffsetField = 10;
constexpr size_t WidthField = 18;
constexpr size_t HeightField = 22;
constexpr size_t BitsField = 28;

inline void PutLE(std::vector<uint8_t>& data, size_t offset, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        data[offset + i] = static_cast<uint8_t>(value >> (8 * i));
}

// A picture with a 40-byte information header, `palette` after it, then
// `rows` (bottom row first, pixel bytes only) each padded to whole words.
inline std::vector<uint8_t> BuildBmp(int32_t width, int32_t height, uint16_t bits, const std::vector<Rgb>& palette,
                                     const std::vector<std::vector<uint8_t>>& rows)
{
    const size_t headers = 14 + 40;
    const size_t pixelOffset = headers + 4 * palette.size();
    std::vector<uint8_t> data(pixelOffset);
    data[0] = 'B';
    data[1] = 'M';
    PutLE(data, PixelOffsetField, static_cast<uint32_t>(pixelOffset), 4);
    PutLE(data, 14, 40, 4);
    PutLE(data, WidthField, static_cast<uint32_t>(width), 4);
    PutLE(data, HeightField, static_cast<uint32_t>(height), 4);
    PutLE(data, 26, 1, 2);
    PutLE(data, BitsField, bits, 2);
    for (size_t i = 0; i < palette.size(); ++i) {
        data[headers + 4 * i] = palette[i].blue;
        data[headers + 4 * i + 1] = palette[i].green;
        data[headers + 4 * i + 2] = palette[i].red;
    }
    for (const std::vector<uint8_t>& row : rows) {
        data.insert(data.end(), row.begin(), row.end());
        data.resize(data.size() + (4 - row.size() % 4) % 4, 0);
    }
    PutLE(data, 2, static_cast<uint32_t>(data.size()), 4);
    return data;
}

// A 24-bit picture whose pixel (x, y), y counted from the top, is colour(x, y).
inline std::vector<uint8_t> BuildBmp24(int32_t width, int32_t height,
                                       const std::function<Rgb(int32_t, int32_t)>& colour)
{
    std::vector<std::vector<uint8_t>> rows;
    for (int32_t y = height - 1; y >= 0; --y) {
        std::vector<uint8_t> row;
        for (int32_t x = 0; x < width; ++x) {
            const Rgb c = colour(x, y);
            row.insert(row.end(), {c.blue, c.green, c.red});
        }
        rows.push_back(row);
    }
    return BuildBmp(width, height, 24, {}, rows);
}

}  // namespace bmp_test
