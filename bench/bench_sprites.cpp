// One game-like frame composed through the sprite layer, and the same blits
// issued straight to SDL, in one run: the layer's cost is the ratio of the
// two. Goal: at most 1.10. A third run shows what the layer avoids: every
// surface keyed, with the key switched off and on around each opaque blit.
// Last, a real game frame against the same raw-SDL figure: the golden
// whole-level replay run by the program with --timedemo.
//
// The frame: clear; 13 x 15 map tiles of 32 x 32 clipped from one 2016 x 32
// strip; four frame strips round the playfield; the 160 x 480 panel; 30
// colour-keyed 64 x 64 sprites; 12 digits of 16 x 16.
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"
#include "tests/runtime/screen/bmp_builder.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

constexpr int32_t Strip = 0, Panel = 1, FrameTop = 2, FrameBottom = 3, FrameLeft = 4, FrameRight = 5;
constexpr int32_t FirstShip = 10, Ships = 30, FirstDigit = 50, Digits = 12;
constexpr int32_t Columns = 13, Rows = 15, TileSize = 32, TilesInStrip = 63;

// Busy pictures with black patches, so the colour key has work to do.
bmp_test::Rgb Pattern(int32_t x, int32_t y)
{
    if ((x / 8 + y / 8) % 3 == 0)
        return {0, 0, 0};
    return {static_cast<uint8_t>(x * 7), static_cast<uint8_t>(y * 13), static_cast<uint8_t>(x ^ y)};
}

struct Picture {
    int32_t sprite;
    int32_t width;
    int32_t height;
    std::vector<uint8_t> bmp;
};

std::vector<Picture> Pictures()
{
    std::vector<Picture> pictures = {
        {Strip, TileSize * TilesInStrip, TileSize, {}},
        {Panel, 160, 480, {}},
        {FrameTop, 448, 16, {}},
        {FrameBottom, 448, 16, {}},
        {FrameLeft, 16, 448, {}},
        {FrameRight, 16, 448, {}},
    };
    for (int32_t i = 0; i < Ships; ++i)
        pictures.push_back({FirstShip + i, 64, 64, {}});
    for (int32_t i = 0; i < Digits; ++i)
        pictures.push_back({FirstDigit + i, 16, 16, {}});
    for (Picture& picture : pictures)
        picture.bmp = bmp_test::BuildBmp24(picture.width, picture.height, Pattern);
    return pictures;
}

// Where things go, shared by both ways of drawing so they draw the same.
int32_t TileOf(int32_t column, int32_t row)
{
    return (column * 7 + row * 5) % TilesInStrip;
}
int32_t ShipX(int32_t i)
{
    return (i * 53) % 420 - 20;
}
int32_t ShipY(int32_t i, int32_t scroll)
{
    return (i * 97 + scroll * 3) % 520 - 40;
}

struct Screen {
    Screen()
    {
        QV_InitSprite();
        QV_OpenScreen(640, 480, 32);
        QV_SetFrameRate(0);
        for (const Picture& picture : Pictures())
            QV_CatchSprite(picture.sprite, picture.bmp.data(), picture.bmp.size());
    }
    ~Screen() { QV_FreeSprites(); }
};

void ComposeThroughSpriteLayer(int32_t scroll)
{
    QV_ClearScreen(0, 0, 0);
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t column = 0; column < Columns; ++column) {
            QV_ClipSprite(Strip, TileSize * TileOf(column, row), 0, TileSize, TileSize);
            QV_DisplaySprite(Strip, 16 + column * TileSize, row * TileSize - scroll);
        }
    QV_DisplaySprite(FrameTop, 16, 0);
    QV_DisplaySprite(FrameBottom, 16, 464);
    QV_DisplaySprite(FrameLeft, 0, 16);
    QV_DisplaySprite(FrameRight, 464, 16);
    QV_DisplaySprite(Panel, 480, 0);
    for (int32_t i = 0; i < Ships; ++i)
        QV_DisplayTransparentSprite(FirstShip + i, ShipX(i), ShipY(i, scroll));
    for (int32_t i = 0; i < Digits; ++i)
        QV_DisplayTransparentSprite(FirstDigit + i, 500 + (i % 6) * 16, 100 + (i / 6) * 40);
    QV_FlipBuffers();
}

// The same pictures as plain SDL surfaces in the screen's format: without
// a key for the opaque pictures, keyed for the keyed ones; or, with
// `toggleKey`, all keyed and the key switched off for each opaque blit.
struct SdlSurfaces {
    std::map<int32_t, SDL_Surface*> surfaces;
    bool toggleKey;

    explicit SdlSurfaces(bool toggle) : toggleKey(toggle)
    {
        for (const Picture& picture : Pictures()) {
            SDL_Surface* loaded =
                SDL_LoadBMP_RW(SDL_RWFromConstMem(picture.bmp.data(), static_cast<int>(picture.bmp.size())), 1);
            SDL_Surface* converted = SDL_DisplayFormat(loaded);
            SDL_FreeSurface(loaded);
            if (toggleKey || picture.sprite >= FirstShip)
                SDL_SetColorKey(converted, SDL_SRCCOLORKEY, 0);
            surfaces[picture.sprite] = converted;
        }
    }
    ~SdlSurfaces()
    {
        for (auto& [sprite, surface] : surfaces)
            SDL_FreeSurface(surface);
    }
    void Blit(int32_t sprite, int32_t x, int32_t y, SDL_Rect* source = nullptr)
    {
        SDL_Surface* surface = surfaces[sprite];
        const bool opaque = toggleKey && sprite < FirstShip;
        if (opaque)
            SDL_SetColorKey(surface, 0, 0);
        SDL_Rect to{static_cast<Sint16>(x), static_cast<Sint16>(y), 0, 0};
        SDL_BlitSurface(surface, source, SDL_GetVideoSurface(), &to);
        if (opaque)
            SDL_SetColorKey(surface, SDL_SRCCOLORKEY, 0);
    }
};

void ComposeStraightToSdl(SdlSurfaces& sdl, int32_t scroll)
{
    SDL_Surface* screen = SDL_GetVideoSurface();
    SDL_FillRect(screen, nullptr, 0);
    for (int32_t row = 0; row < Rows; ++row)
        for (int32_t column = 0; column < Columns; ++column) {
            SDL_Rect tile{static_cast<Sint16>(TileSize * TileOf(column, row)), 0, TileSize, TileSize};
            sdl.Blit(Strip, 16 + column * TileSize, row * TileSize - scroll, &tile);
        }
    sdl.Blit(FrameTop, 16, 0);
    sdl.Blit(FrameBottom, 16, 464);
    sdl.Blit(FrameLeft, 0, 16);
    sdl.Blit(FrameRight, 464, 16);
    sdl.Blit(Panel, 480, 0);
    for (int32_t i = 0; i < Ships; ++i)
        sdl.Blit(FirstShip + i, ShipX(i), ShipY(i, scroll));
    for (int32_t i = 0; i < Digits; ++i)
        sdl.Blit(FirstDigit + i, 500 + (i % 6) * 16, 100 + (i / 6) * 40);
    SDL_Flip(screen);
}

void BM_FrameThroughSpriteLayer(benchmark::State& state)
{
    Screen screen;
    int32_t scroll = 0;
    for (auto _ : state)
        ComposeThroughSpriteLayer(scroll++ % TileSize);
}

void BM_FrameStraightToSdl(benchmark::State& state)
{
    Screen screen;
    SdlSurfaces sdl(state.range(0) != 0);
    int32_t scroll = 0;
    for (auto _ : state)
        ComposeStraightToSdl(sdl, scroll++ % TileSize);
}

// The whole game, not a scene: the golden whole-level replay played by the
// program itself with --timedemo (unpaced, silent, dummy driver), timed per
// frame as the program reports it.
void BM_TimedemoWholeLevelFrame(benchmark::State& state)
{
    const std::string command = "cd /tmp && SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" TERVANE_EXECUTABLE
                                "' --timedemo '" GOLDEN_WHOLE_LEVEL "'";
    for (auto _ : state) {
        std::FILE* program = popen(command.c_str(), "r");
        int frames = 0;
        double seconds = 0;
        double perSecond = 0;
        if (program == nullptr ||
            std::fscanf(program, "%d frames in %lf seconds, %lf frames per second", &frames, &seconds, &perSecond) !=
                3 ||
            frames <= 0) {
            state.SkipWithError("the timedemo did not run");
            if (program != nullptr)
                pclose(program);
            return;
        }
        pclose(program);
        state.SetIterationTime(seconds / frames);
        state.counters["frames_per_second"] = perSecond;
    }
}

BENCHMARK(BM_FrameThroughSpriteLayer)->Unit(benchmark::kMicrosecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_FrameStraightToSdl)
    ->ArgName("toggleKey")
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMicrosecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);
BENCHMARK(BM_TimedemoWholeLevelFrame)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(3)
    ->Unit(benchmark::kMicrosecond)
    ->ReportAggregatesOnly(true);

// Keeps the median time of each benchmark for the ratio.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs)
            if (run.aggregate_name == "median")
                medians[run.run_name.function_name + run.run_name.args] = run.GetAdjustedRealTime();
        ConsoleReporter::ReportRuns(runs);
    }
    std::map<std::string, double> medians;
};

}  // namespace

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    const double layer = reporter.medians["BM_FrameThroughSpriteLayer"];
    const double sdl = reporter.medians["BM_FrameStraightToSdltoggleKey:0"];
    const double toggling = reporter.medians["BM_FrameStraightToSdltoggleKey:1"];
    if (layer > 0 && sdl > 0 && toggling > 0) {
        std::printf("sprite layer / straight SDL (median frame time): %.3f (goal: at most 1.10)\n", layer / sdl);
        std::printf("toggling the key around opaque blits / straight SDL: %.3f\n", toggling / sdl);
    }
    const double timedemo = reporter.medians["BM_TimedemoWholeLevelFrame"];
    if (timedemo > 0 && sdl > 0)
        std::printf("a game frame of the whole-level timedemo / the scene straight to SDL: %.3f\n", timedemo / sdl);
    benchmark::Shutdown();
    return 0;
}
