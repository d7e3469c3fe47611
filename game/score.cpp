#include "game/score.h"

#include "game/settings.h"

ScoreState Scoring;

void AddScore(int32_t points)
{
    Scoring.Score += points;
}

void ResetScore()
{
    Scoring = {};
}

void RaiseHiScoreToScore()
{
    RaiseHiScore(Scoring.Score);
}
