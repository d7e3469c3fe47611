// The cost of one pass of the frame loop, drawn on the dummy video driver,
// against the 75 frames a second the game asks for; and of the map alone,
// 195 tile copies re-clipped from one strip.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "game/frame_loop.h"
#include "game/level_map.h"
#include "game/settings.h"
#include "game/startup.h"
#include "runtime/core/strings.h"
#include "runtime/screen/screen.h"

namespace {

// The game as start-up leaves it, silent, full screen on the dummy driver.
void StartGame()
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    UseAudio = 0;
    UseKeys = 0;
    UseWindow = 0;
    if (QV_InitStrings(QV_StringAreaSize) == 0 || StartDevices() != nullptr || OpenGameScreen() != nullptr)
        std::abort();
    QV_SetFrameRate(0);
    InitialiseGameState();
    LoadGame();
}

// Passes a second the game could run at, to set against the 75 it asks for.
void ReportFramesPerSecond(benchmark::State& state)
{
    state.counters["per_second"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate);
}

// Attract pages over the scrolling level with the first wave flying.
void BM_FramePass(benchmark::State& state)
{
    for (auto _ : state)
        RunFrame();
    ReportFramesPerSecond(state);
}

void BM_MapDrawing(benchmark::State& state)
{
    for (auto _ : state)
        DrawLevelMap();
    ReportFramesPerSecond(state);
}

} // namespace

BENCHMARK(BM_FramePass);
BENCHMARK(BM_MapDrawing);

int main(int argc, char** argv)
{
    StartGame();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
