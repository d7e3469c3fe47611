// The data image built into the executable: every file of assets/ back to
// back in storage order (level map, boss table, wave stream, the 70
// pictures in load order, sounds 0 to 9), and where each file lies in it.
#pragma once

#include <cstdint>

struct BuiltInBlock {
    uint32_t offset;  // from the start of BuiltInData
    uint32_t size;
};

extern "C" {
extern const uint8_t BuiltInData[];
extern const BuiltInBlock BuiltInBlocks[];
extern const uint32_t BuiltInBlockCount;
}
