// The replay reader takes files from anyone: it must refuse or accept every
// byte string without reading out of bounds, and an accepted replay must
// play its frames to the end.
#include "game/replay_file.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Replay replay;
    if (!ParseReplay(std::vector<uint8_t>(data, data + size), replay).empty())
        return 0;
    ReplayCursor cursor(replay);
    ReplayFrame frame;
    // A crafted frame count can be huge; the records themselves are what
    // the reader must survive.
    for (int32_t frames = 0; frames < 100000 && cursor.Next(frame); ++frames) {}
    return 0;
}
