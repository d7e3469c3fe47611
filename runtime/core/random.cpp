// The seeded rotate-and-add generator and the millisecond sleep.
#include "runtime/core/random.h"

#include <bit>
#include <ctime>
#include <limits>

QV_Misc_State QV_Misc{};

namespace {

constexpr uint32_t PairCount = 17;
constexpr uint32_t SeedMultiplier = 2891336453u;
constexpr int StepsAfterSeeding = 31;

uint32_t PreviousPair(uint32_t pair)
{
    return pair == 0 ? PairCount - 1 : pair - 1;
}

// One step: pair i is replaced from the rotated words of pair i and the
// words of pair j, crosswise, and both lags move back one pair.
uint64_t Step()
{
    QV_Random_State& state = QV_Misc.random;
    uint32_t* pair1 = &state.words[2 * state.index1];
    const uint32_t* pair2 = &state.words[2 * state.index2];
    const uint32_t newHigh = std::rotl(pair1[0], 19) + pair2[0];
    const uint32_t newLow = std::rotl(pair1[1], 27) + pair2[1];
    pair1[0] = newLow;
    pair1[1] = newHigh;
    state.index1 = PreviousPair(state.index1);
    state.index2 = PreviousPair(state.index2);
    return (uint64_t{newHigh} << 32) | newLow;
}

}  // namespace

void QV_InitMisc()
{
    gettimeofday(&QV_Misc.time, nullptr);
    QV_RandomSeed(QV_StartSeed());
}

int32_t QV_StartSeed()
{
    return static_cast<int32_t>(QV_Misc.time.tv_usec);
}

void QV_RandomSeed(int32_t seed)
{
    QV_Random_State& state = QV_Misc.random;
    uint32_t x = static_cast<uint32_t>(seed);
    for (uint32_t& word : state.words) {
        x = x * SeedMultiplier + 1;
        word = x;
    }
    state.index1 = 0;
    state.index2 = 10;
    for (int step = 0; step < StepsAfterSeeding; ++step) {
        Step();
    }
}

int32_t QV_Random(int32_t max)
{
    const uint64_t r = Step();
    if (max < 0) {
        return std::numeric_limits<int32_t>::min();
    }
    // floor(r * (max + 1) / 2^64), exact, with no division.
    const uint32_t range = static_cast<uint32_t>(max) + 1u;
    return static_cast<int32_t>((static_cast<unsigned __int128>(r) * range) >> 64);
}

int32_t QV_Delay(int32_t ms)
{
    timespec time{ms / 1000, (ms % 1000) * 1000000L};
    return nanosleep(&time, &time);
}
