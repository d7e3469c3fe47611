// Picture decoding for the sprite store: the built-in BMP reader and a
// registry of further decoders.
//
// Every decoder writes the same output: height rows, the top row first,
// `pitch` bytes apart, each row `width` pixels of 3 bytes red, green, blue.
// The bytes between 3 x width and pitch are left alone. One picture is
// handled at a time: a check, the width and height queries, then one decode.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>

// A decoder supplied by whoever registers it; the registry keeps a reference.
struct QV_ImageDecoder {
    // Exactly one of `file` (open, at its start, named `fileName`) and
    // `memory` (`size` bytes) is given. Returns nonzero when the decoder
    // recognises the data, and remembers what the other three need.
    int32_t (*check)(std::FILE* file, const void* memory, size_t size, const char* fileName);
    // Writes the recognised picture into `buffer` in the output layout.
    int32_t (*decode)(void* buffer, int32_t pitch, int32_t flags);
    int32_t (*width)();
    int32_t (*height)();
};

// The registry holds at most this many decoders.
constexpr int32_t QV_ImageDecoder_Capacity = 100;

// Empties the registry.
void QV_InitImageDecoder();

// Appends `decoder` to the registry. Returns it, or 0 when the registry is
// full.
const QV_ImageDecoder* QV_ImageDecoder_Register(const QV_ImageDecoder* decoder);

// Asks the registered decoders in order about the file `fileName`, or when it
// is 0 about the `size` bytes at `memory`. Returns 1 and chooses the first
// that accepts, else 0. A file accepted stays open until the decode.
int32_t QV_ImageDecoder_Check(const char* fileName, const void* memory, size_t size);

// The chosen decoder's picture size; 0 when none was chosen.
int32_t QV_ImageDecoder_GetWidth();
int32_t QV_ImageDecoder_GetHeight();

// Lets the chosen decoder write its picture and closes the open file, if any.
// Returns the decoder's result, 0 when none was chosen.
int32_t QV_ImageDecoder_Decode(void* buffer, int32_t pitch, int32_t flags);

// Returns 1 when the file `fileName`, or when it is 0 the `size` bytes at
// `memory`, hold a BMP picture the reader can decode without reading outside
// it: signature "BM", reserved fields 0, a positive width and height
// (bottom-up rows), and headers, the palette's start and pixel rows inside
// the data. Palette entries past the data's end decode as black.
// Compression is not read: rows decode as uncompressed pixels of 1, 4, 8,
// 16, 24 or 32 bits; other bit counts pass and decode to black. A file is
// read into a block of the reader's own, kept until the decode.
int32_t QV_BMP_Check(const char* fileName, const void* memory, size_t size);

// The size of the picture of the last successful QV_BMP_Check.
int32_t QV_BMP_GetWidth();
int32_t QV_BMP_GetHeight();

// Writes the checked picture into `buffer`, which holds pitch x height bytes.
// Returns 1, or 0 when there is no checked picture or pitch is narrower than
// a row of pixels.
int32_t QV_BMP_Decode(void* buffer, int32_t pitch);
