// How steadily QV_FlipBuffers holds a loop to 75 frames a second: the
// interval between presented frames over 1,000 frames, its median and 99th
// percentile. The second run makes every 100th frame take 30 ms of work; the
// frames after a late one keep the full interval instead of rushing.
#include "runtime/screen/screen.h"
#include "runtime/screen/sprites.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <thread>
#include <vector>

namespace {

constexpr int32_t FrameRate = 75;
constexpr int Frames = 1000;

using Clock = std::chrono::steady_clock;

double Percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[static_cast<size_t>(fraction * (values.size() - 1))];
}

void BM_PacedFrames(benchmark::State& state)
{
    const int lateEvery = static_cast<int>(state.range(0));
    QV_InitSprite();
    QV_OpenScreen(640, 480, 32);
    QV_SetFrameRate(FrameRate);
    std::vector<double> intervals;
    for (auto _ : state) {
        intervals.clear();
        Clock::time_point last = Clock::now();
        for (int frame = 0; frame <= Frames; ++frame) {
            QV_ClearScreen(0, 0, 0);
            if (lateEvery > 0 && frame % lateEvery == lateEvery - 1)
                std::this_thread::sleep_for(std::chrono::milliseconds(30));
            QV_FlipBuffers();
            const Clock::time_point now = Clock::now();
            if (frame > 0)
                intervals.push_back(std::chrono::duration<double, std::milli>(now - last).count());
            last = now;
        }
    }
    QV_FreeSprites();

    // The intervals that follow a late frame, which must not come early.
    std::vector<double> afterLate;
    for (size_t i = 0; lateEvery > 0 && i + 1 < intervals.size(); ++i)
        if (intervals[i] > 25.0)
            afterLate.push_back(intervals[i + 1]);

    state.counters["target_ms"] = 1000.0 / FrameRate;
    state.counters["median_ms"] = Percentile(intervals, 0.5);
    state.counters["p99_ms"] = Percentile(intervals, 0.99);
    state.counters["max_ms"] = Percentile(intervals, 1.0);
    if (!afterLate.empty())
        state.counters["after_late_min_ms"] = Percentile(afterLate, 0.0);
}

BENCHMARK(BM_PacedFrames)->ArgName("lateEvery")->Arg(0)->Arg(100)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
