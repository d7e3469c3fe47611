#include "random.h"

#include <cmath>

namespace {

uint32_t hashLattice(int x, int y, uint32_t seed)
{
    uint32_t h = static_cast<uint32_t>(x) * 0x8DA6B343u ^ static_cast<uint32_t>(y) * 0xD8163841u ^ seed * 0xCB1AB31Fu;
    h ^= h >> 13;
    h *= 0x5BD1E995u;
    h ^= h >> 15;
    return h;
}

double latticeValue(int x, int y, int cells, uint32_t seed)
{
    const int wx = ((x % cells) + cells) % cells;
    const int wy = ((y % cells) + cells) % cells;
    return (hashLattice(wx, wy, seed) & 0xFFFFFF) / double(0xFFFFFF);
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

double valueNoise(double x, double y, int cells, uint32_t seed)
{
    const double fx = std::floor(x), fy = std::floor(y);
    const int ix = static_cast<int>(fx), iy = static_cast<int>(fy);
    const double tx = smooth(x - fx), ty = smooth(y - fy);
    const double a = latticeValue(ix, iy, cells, seed), b = latticeValue(ix + 1, iy, cells, seed);
    const double c = latticeValue(ix, iy + 1, cells, seed), d = latticeValue(ix + 1, iy + 1, cells, seed);
    return (a + (b - a) * tx) + ((c + (d - c) * tx) - (a + (b - a) * tx)) * ty;
}

}  // namespace

double tileableNoise(double x, double y, int period, int cells, int octaves, uint32_t seed)
{
    double sum = 0.0, weight = 0.0, amplitude = 1.0;
    for (int octave = 0; octave < octaves; ++octave) {
        const double scale = double(cells) / period;
        sum += amplitude * valueNoise(x * scale, y * scale, cells, seed + 101u * octave);
        weight += amplitude;
        amplitude *= 0.5;
        cells *= 2;
    }
    return sum / weight;
}
