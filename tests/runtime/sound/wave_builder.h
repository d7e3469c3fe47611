// RIFF WAVE images built in memory, for the sound layer's tests and
// benchmarks: well-formed ones in any PCM format, and the pieces to break them.
#pragma once

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace wave {

using Bytes = std::vector<uint8_t>;

inline void PutU16(Bytes& bytes, uint32_t value)
{
    bytes.push_back(uint8_t(value));
    bytes.push_back(uint8_t(value >> 8));
}

inline void PutU32(Bytes& bytes, uint32_t value)
{
    PutU16(bytes, value & 0xFFFF);
    PutU16(bytes, value >> 16);
}

struct Format {
    int32_t rate;
    int32_t channels;
    int32_t bits;
};

// The body of a PCM "fmt " chunk; `extra` bytes follow the 16 standard ones.
inline Bytes FormatBody(Format format, uint16_t encoding = 1, int32_t extra = 0)
{
    Bytes body;
    const uint32_t frameBytes = uint32_t(format.channels * format.bits / 8);
    PutU16(body, encoding);
    PutU16(body, uint32_t(format.channels));
    PutU32(body, uint32_t(format.rate));
    PutU32(body, uint32_t(format.rate) * frameBytes);
    PutU16(body, frameBytes);
    PutU16(body, uint32_t(format.bits));
    body.insert(body.end(), size_t(extra), 0);
    return body;
}

// Signed 16-bit samples as little-endian bytes.
inline Bytes Samples16(const std::vector<int16_t>& samples)
{
    Bytes bytes;
    for (int16_t sample : samples)
        PutU16(bytes, uint16_t(sample));
    return bytes;
}

// Chunks laid end to end inside a RIFF "WAVE" header whose size is right.
class Builder {
public:
    Builder& Chunk(const std::string& id, const Bytes& body) { return ChunkSized(id, uint32_t(body.size()), body); }

    // A chunk whose header claims `claimed` bytes, whatever the body holds.
    Builder& ChunkSized(const std::string& id, uint32_t claimed, const Bytes& body)
    {
        chunks_.insert(chunks_.end(), id.begin(), id.end());
        PutU32(chunks_, claimed);
        chunks_.insert(chunks_.end(), body.begin(), body.end());
        return *this;
    }

    Bytes Image() const
    {
        Bytes image{'R', 'I', 'F', 'F'};
        PutU32(image, uint32_t(4 + chunks_.size()));
        image.insert(image.end(), {'W', 'A', 'V', 'E'});
        image.insert(image.end(), chunks_.begin(), chunks_.end());
        return image;
    }

private:
    Bytes chunks_;
};

// The plain layout: a 16-byte format chunk, then the samples.
inline Bytes Image(Format format, const Bytes& samples)
{
    return Builder().Chunk("fmt ", FormatBody(format)).Chunk("data", samples).Image();
}

// The built-in sounds' formats and sizes, and whether a "LIST" chunk
// follows their data.
struct CatalogueEntry {
    Format format;
    int32_t dataBytes;
    bool listChunk;
};

inline const std::vector<CatalogueEntry>& Catalogue()
{
    static const std::vector<CatalogueEntry> entries{
        {{11025, 1, 8}, 6334, true},    {{11025, 1, 8}, 5217, false},   {{11025, 1, 16}, 11736, true},
        {{22050, 1, 8}, 9798, true},    {{11025, 2, 16}, 53720, false}, {{11025, 2, 16}, 98836, false},
        {{11025, 1, 16}, 115820, true}, {{11025, 2, 16}, 70432, false}, {{8000, 1, 16}, 180606, false},
        {{22050, 2, 16}, 195588, true},
    };
    return entries;
}

// A sound of the entry's format and size holding a byte ramp, so that it is
// neither silence nor one repeated value.
inline Bytes CatalogueImage(const CatalogueEntry& entry)
{
    Bytes samples(size_t(entry.dataBytes));
    for (size_t i = 0; i < samples.size(); ++i)
        samples[i] = uint8_t(i * 7);
    Builder builder;
    builder.Chunk("fmt ", FormatBody(entry.format)).Chunk("data", samples);
    if (entry.listChunk)
        builder.Chunk("LIST", Bytes{'I', 'N', 'F', 'O', 'I', 'C', 'M', 'T', 2, 0, 0, 0, 'x', 0});
    return builder.Image();
}

}  // namespace wave
