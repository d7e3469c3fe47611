// The pictures, sounds and level tables built into the executable: where each
// one lies, the read position that walks the level tables, and the loading
// step of start-up that hands every picture and sound to the runtime.
#pragma once

#include <cstdint>

// ---- Level data ----------------------------------------------------------

// Sizes of the three level blocks, which lie back to back in this order.
constexpr int32_t LevelMapBytes = 20852;   // 401 rows x 13 tiles, row 400 first
constexpr int32_t BossTableBytes = 108;    // 3 records of 9 integers
constexpr int32_t WaveStreamBytes = 12400; // three waves of 10-integer records

// Byte offsets, within the wave stream, of the waves read after bosses 1 and 2.
constexpr int32_t Wave2Offset = 3120;
constexpr int32_t Wave3Offset = 6800;

const uint8_t* LevelMapStart();
const uint8_t* BossTableStart();
const uint8_t* WaveStreamStart();

// The read position in the level data. Callers set it to a block's start
// (plus a wave offset) before reading.
extern const uint8_t* DataCursor;

// Returns the signed 32-bit little-endian integer at DataCursor and moves
// DataCursor 4 bytes on.
int32_t ReadDataInteger();

// ---- Pictures and sounds -------------------------------------------------

constexpr int32_t BuiltInPictureCount = 70;
constexpr int32_t BuiltInSoundCount = 10;

// A file image inside the executable: a BMP picture or a RIFF WAVE sound.
struct BuiltInFile {
    const uint8_t* address;
    int32_t size;
};

// The picture for a sprite number; {nullptr, 0} for a number the game does
// not use (39, 48, 58, 59, 73, 74 and everything outside 0 to 75).
BuiltInFile SpritePicture(int32_t sprite);

// The WAVE image of sound 0 to 9; {nullptr, 0} for any other number.
BuiltInFile SoundWave(int32_t sound);

// ---- Start-up ------------------------------------------------------------

// Loads the 70 pictures into their sprite numbers in the fixed load order
// (the screen must be open), then, only when useAudio is nonzero, sounds 0
// to 9. The results of the individual loads are not checked: a picture or
// sound the runtime refuses leaves its number empty.
void LoadBuiltInAssets(int32_t useAudio);
