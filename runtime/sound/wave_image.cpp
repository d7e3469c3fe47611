#include "runtime/sound/wave_image.h"

#include <cstring>
#include <limits>

namespace tervane::sound {
namespace {

constexpr int64_t ChunkHeaderBytes = 8;
constexpr int64_t RiffHeaderBytes = 12;  // "RIFF", size, "WAVE"
constexpr int64_t PcmFormatBytes = 16;
constexpr uint16_t PcmEncoding = 1;

// A little-endian reader over `size` bytes that answers "does not fit"
// instead of reading past the end.
class Bytes {
public:
    Bytes(const uint8_t* data, int64_t size) : data_(data), size_(size) {}

    bool Has(int64_t offset, int64_t count) const
    {
        return offset >= 0 && count >= 0 && offset <= size_ && count <= size_ - offset;
    }

    bool TagAt(int64_t offset, const char (&tag)[5]) const
    {
        return Has(offset, 4) && std::memcmp(data_ + offset, tag, 4) == 0;
    }

    uint32_t U32(int64_t offset) const
    {
        return uint32_t(data_[offset]) | uint32_t(data_[offset + 1]) << 8 | uint32_t(data_[offset + 2]) << 16 |
            uint32_t(data_[offset + 3]) << 24;
    }

    uint16_t U16(int64_t offset) const { return uint16_t(data_[offset] | data_[offset + 1] << 8); }

private:
    const uint8_t* data_;
    int64_t size_;
};

// Whether the format chunk's body at `offset` describes samples this layer
// can convert and SDL 1.2 decodes safely.
bool IsPlayablePcm(const Bytes& bytes, int64_t offset)
{
    const uint16_t encoding = bytes.U16(offset);
    const uint16_t channels = bytes.U16(offset + 2);
    const uint32_t rate = bytes.U32(offset + 4);
    const uint16_t bits = bytes.U16(offset + 14);
    return encoding == PcmEncoding && (channels == 1 || channels == 2) && (bits == 8 || bits == 16) &&
        rate >= uint32_t(LowestRate) && rate <= uint32_t(std::numeric_limits<int32_t>::max());
}

}  // namespace

int32_t WaveImageLength(const uint8_t* data, int32_t size)
{
    if (data == nullptr || size < 0)
        return 0;
    const Bytes image(data, size);
    // The RIFF chunk's own size is not read, as SDL does not read it either:
    // writers that stream their output leave it 0 or too large.
    if (!image.TagAt(0, "RIFF") || !image.TagAt(8, "WAVE"))
        return 0;
    int64_t chunk = RiffHeaderBytes;
    if (!image.TagAt(chunk, "fmt ") || !image.Has(chunk, ChunkHeaderBytes))
        return 0;
    const int64_t formatBytes = image.U32(chunk + 4);
    if (formatBytes < PcmFormatBytes || !image.Has(chunk + ChunkHeaderBytes, formatBytes) ||
        !IsPlayablePcm(image, chunk + ChunkHeaderBytes))
        return 0;

    chunk += ChunkHeaderBytes + formatBytes;
    while (image.Has(chunk, ChunkHeaderBytes)) {
        const int64_t body = chunk + ChunkHeaderBytes;
        const int64_t bodyBytes = image.U32(chunk + 4);
        if (!image.Has(body, bodyBytes))
            return 0;
        if (image.TagAt(chunk, "data"))
            return int32_t(body + bodyBytes);
        chunk = body + bodyBytes;
    }
    return 0;
}

}  // namespace tervane::sound
