// Deterministic pseudo-random numbers and tileable noise, so that every run
// of the generator writes the same bytes.
#pragma once

#include <cstdint>

class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}

    uint64_t next()
    {
        // SplitMix64: small, fast and identical on every platform.
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }

    // Uniform in [0, 1).
    double unit() { return static_cast<double>(next() >> 11) * (1.0 / 9007199254740992.0); }

    double between(double low, double high) { return low + (high - low) * unit(); }

    // Uniform integer in [low, high].
    int32_t between(int32_t low, int32_t high)
    {
        return low + static_cast<int32_t>(next() % static_cast<uint64_t>(high - low + 1));
    }

    bool chance(double probability) { return unit() < probability; }

private:
    uint64_t state_;
};

// Smooth value noise in [0, 1] that repeats every `period` units on both
// axes, summed over octaves whose cells divide the period. Terrain tiles use
// a period of one tile, so any two tiles agree along a shared edge.
double tileableNoise(double x, double y, int period, int cells, int octaves, uint32_t seed);
