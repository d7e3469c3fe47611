// Random numbers and timing: a seeded pseudo-random generator, its start-up
// seeding from the clock (the layer's initialisation, QV_InitMisc), and a
// millisecond sleep.
//
// The generator is a two-lag rotate-and-add generator over 17 pairs of
// 32-bit words. Its steps and its mapping to a range are fixed, so a given
// seed always gives the same sequence: after QV_RandomSeed(12345), three
// calls of QV_Random(99) give 27, 71 and 66.
#pragma once

#include <sys/time.h>

#include <cstdint>

struct QV_Random_State {
    // 17 pairs: pair k is words 2k (its low word) and 2k + 1 (its high word).
    uint32_t words[34];
    // The two lag positions, pair numbers 0 to 16; 0 and 10 after seeding.
    uint32_t index1;
    uint32_t index2;
};

struct QV_Misc_State {
    QV_Random_State random;
    timeval time;  // the start time QV_InitMisc seeded from
};

// All zero, indices at pair 0, until QV_InitMisc or QV_RandomSeed.
extern QV_Misc_State QV_Misc;

// Reads the clock into QV_Misc.time and seeds with its microseconds.
void QV_InitMisc();
// The seed QV_InitMisc gave the generator, so a run can be repeated.
int32_t QV_StartSeed();
// Restarts the generator's sequence from `seed`.
void QV_RandomSeed(int32_t seed);
// An integer from 0 to `max` inclusive, spread evenly; -2147483648 for a
// negative `max`. The generator advances in every case.
int32_t QV_Random(int32_t max);

// Sleeps `ms` milliseconds with nanosleep; an interrupted sleep is not
// resumed. A negative `ms` returns at once. Returns nanosleep's result.
int32_t QV_Delay(int32_t ms);
