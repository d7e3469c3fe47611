// One pixel read as its surface stores it, for every pixel size SDL uses.
#pragma once

#include <cstdint>
#include <cstring>

// The value of the pixel that starts at `at` and is `bytesPerPixel` (1 to 4)
// bytes long; a 3-byte pixel is read low byte first. 0 for any other size.
// Read byte-wise, so `at` need not be aligned.
inline uint32_t QV_StoredPixel(const uint8_t* at, int32_t bytesPerPixel)
{
    switch (bytesPerPixel) {
    case 1: return *at;
    case 2: {
        uint16_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    case 3:
        return static_cast<uint32_t>(at[0]) | static_cast<uint32_t>(at[1]) << 8 | static_cast<uint32_t>(at[2]) << 16;
    case 4: {
        uint32_t value;
        std::memcpy(&value, at, sizeof value);
        return value;
    }
    default: return 0;
    }
}
