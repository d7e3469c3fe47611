// Shots and the explosion.
#include "art.h"

#include "random.h"

#include <algorithm>
#include <cmath>

namespace {

// A 6 x 6 shot: a 4 x 4 ball with its corners cut, white hot in the middle,
// its rim lit on the upper left and dark on the lower right so that it
// stands out on light sand as well as on dark water.
Picture ball(Rgb core, Rgb light, Rgb dark)
{
    Picture picture(6, 6);
    for (int y = 1; y <= 4; ++y)
        for (int x = 1; x <= 4; ++x) {
            const bool corner = (x == 1 || x == 4) && (y == 1 || y == 4);
            const bool centre = (x == 2 || x == 3) && (y == 2 || y == 3);
            if (corner)
                continue;
            picture.at(x, y) = centre ? core : (x + y >= 5 + (x == 4 || y == 4) ? dark : light);
        }
    finishKeyed(picture);
    return picture;
}

struct Stop {
    double at;
    double r, g, b;
};

// Fire cools from white through yellow and orange to red, then to smoke.
const Stop FireRamp[] = {
    {0.00, 92, 88, 86},   {0.18, 104, 92, 84},   {0.30, 170, 52, 24},   {0.45, 236, 110, 28},
    {0.62, 252, 176, 48}, {0.80, 255, 232, 130}, {1.00, 255, 252, 232},
};

Rgb fireColour(double heat)
{
    heat = std::clamp(heat, 0.0, 1.0);
    for (size_t i = 1; i < std::size(FireRamp); ++i)
        if (heat <= FireRamp[i].at) {
            const Stop& a = FireRamp[i - 1];
            const Stop& b = FireRamp[i];
            const double t = (heat - a.at) / (b.at - a.at);
            return {uint8_t(a.r + (b.r - a.r) * t), uint8_t(a.g + (b.g - a.g) * t), uint8_t(a.b + (b.b - a.b) * t)};
        }
    return {255, 252, 232};
}

}  // namespace

Picture drawPlayerBullet()
{
    return ball({255, 255, 240}, {200, 240, 255}, {40, 110, 210});
}

Picture drawEnemyShot(bool yellow)
{
    return yellow ? ball({255, 255, 200}, {255, 214, 30}, {150, 70, 0})
                  : ball({255, 230, 210}, {255, 60, 40}, {110, 10, 10});
}

Picture drawExplosion(int stage)
{
    // Over eight pictures the ball grows from a flash to its full size while
    // its heat drains into smoke that thins out and breaks up.
    const double progress = stage / 7.0;
    const double radius = 9 + 21 * std::sqrt(progress);
    const double heat = 1.25 - 1.1 * progress;
    const double thinning = 0.5 * progress * progress;
    Picture picture(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const double dx = x + 0.5 - 32, dy = y + 0.5 - 32;
            const double d = std::sqrt(dx * dx + dy * dy);
            const double billow = tileableNoise(x + 0.5, y + 0.5, 64, 6, 3, 700 + stage * 3);
            const double edge = radius * (0.72 + 0.5 * billow);
            if (d >= edge)
                continue;
            const double puffs = tileableNoise(x + 0.5, y + 0.5, 64, 8, 2, 900 + stage);
            if (puffs < thinning * (0.6 + 0.8 * d / edge))
                continue;
            const double depth = 1.0 - d / edge;
            picture.at(x, y) = fireColour(heat * (0.35 + 0.9 * depth) * (0.75 + 0.5 * billow) - 0.1 * progress);
        }
    finishKeyed(picture);
    return picture;
}
