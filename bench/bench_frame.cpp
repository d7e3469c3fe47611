// The cost of one pass of the frame loop, drawn on the dummy video driver,
// against the 75 frames a second the game asks for and against its floor,
// a finished frame copied in and presented; of presenting a frame alone;
// and of the map alone, 195 tiles re-clipped from one strip, scrolling.
//
//   bench_frame [--window] [benchmark options]
//
// Full screen unless --window. `make bench` runs it on both SDL 1.2
// libraries: the classic one and sdl12-compat, whose full screen scales the
// frame to the desktop in software on this driver.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "game/frame_loop.h"
#include "game/game_screen.h"
#include "game/level_map.h"
#include "game/settings.h"
#include "game/startup.h"
#include "runtime/core/strings.h"
#include "runtime/screen/screen.h"

namespace {

// The game as start-up leaves it, silent, on the dummy driver.
void StartGame(bool window)
{
    setenv("SDL_VIDEODRIVER", "dummy", 1);
    Settings.UseAudio = 0;
    Settings.UseKeys = 0;
    Settings.UseWindow = window ? 1 : 0;
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

// The floor under a frame pass: the finished frame's pixels copied onto the
// screen row by row, then presented. Set BM_FramePass against it.
void BM_PresentFinishedFrame(benchmark::State& state)
{
    RunFrame();
    SDL_Surface* screen = QV_Screen_Current;
    const size_t rowBytes = static_cast<size_t>(screen->w) * screen->format->BytesPerPixel;
    std::vector<uint8_t> frame(rowBytes * static_cast<size_t>(screen->h));
    for (int y = 0; y < screen->h; ++y)
        std::memcpy(&frame[y * rowBytes], static_cast<const uint8_t*>(screen->pixels) + y * screen->pitch, rowBytes);
    for (auto _ : state) {
        for (int y = 0; y < screen->h; ++y)
            std::memcpy(static_cast<uint8_t*>(screen->pixels) + y * screen->pitch, &frame[y * rowBytes], rowBytes);
        QV_FlipBuffers();
    }
    ReportFramesPerSecond(state);
}

void BM_Present(benchmark::State& state)
{
    for (auto _ : state)
        QV_FlipBuffers();
    ReportFramesPerSecond(state);
}

// The map scrolls a pixel every second frame, as in play: a pass that draws
// it in the same place as the last one and a pass that moves it both count.
void BM_MapDrawing(benchmark::State& state)
{
    RunFrame();  // which makes the screen the display target
    bool scrollTick = false;
    for (auto _ : state) {
        if (scrollTick && ScrollTick(false))
            RestartScrollAt(0);
        scrollTick = !scrollTick;
        DrawLevelMap();
    }
    ReportFramesPerSecond(state);
}

// Presenting in a window opened at the scale given, with a frame of the
// game on its back buffer. Full screen enlarges the same way, by 2 on a
// 1080-line desktop and by 3 on a 1440-line one. It keeps that window open,
// so it runs last.
void BM_PresentScaledWindow(benchmark::State& state)
{
    const int32_t scale = static_cast<int32_t>(state.range(0));
    if (QV_OpenWindowedScreen(nullptr, 0, 0, 640, 480, scale) == nullptr) {
        state.SkipWithError("the window cannot open");
        return;
    }
    RunFrame();
    for (auto _ : state)
        QV_FlipBuffers();
    state.SetLabel(std::to_string(SDL_GetVideoSurface()->format->BitsPerPixel) + " bits");
    ReportFramesPerSecond(state);
}

}  // namespace

BENCHMARK(BM_FramePass);
BENCHMARK(BM_PresentFinishedFrame);
BENCHMARK(BM_Present);
BENCHMARK(BM_MapDrawing);
BENCHMARK(BM_PresentScaledWindow)->Arg(1)->Arg(2)->Arg(3);

int main(int argc, char** argv)
{
    const bool window = argc > 1 && std::strcmp(argv[1], "--window") == 0;
    if (window) {
        argv[1] = argv[0];
        ++argv;
        --argc;
    }
    StartGame(window);
    // sdl12-compat reports 1.2.50 and later, far past classic's last, 1.2.15.
    const SDL_version* library = SDL_Linked_Version();
    benchmark::AddCustomContext("sdl",
                                std::to_string(library->major) + "." + std::to_string(library->minor) + "." +
                                    std::to_string(library->patch) +
                                    (library->patch >= 50 ? " (sdl12-compat)" : " (classic)"));
    benchmark::AddCustomContext("screen", window ? "640 x 480 window" : "640 x 480 full screen");
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
