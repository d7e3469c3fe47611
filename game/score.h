// The score: what the rules of play add to it during a game, and the hi
// score it raises once it passes it.
#pragma once

#include <cstdint>

// Points for every bullet hit but the one that destroys a boss.
constexpr int32_t PointsPerHit = 5;

struct ScoreState {
    int32_t Score = 0;
};

// Written by this module alone; the rest of the game reads it.
extern ScoreState Scoring;

// Points for a hit or a destroyed boss.
void AddScore(int32_t points);

// Play starts from a score of 0.
void ResetScore();

// A score above the hi score becomes the hi score; the frame does this once,
// just before the panel shows both.
void RaiseHiScoreToScore();
