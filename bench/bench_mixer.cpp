// The mixer's cost per callback against the time the callback has, and the
// cost of loading and converting a set of sounds like the game's ten.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "runtime/sound/sound.h"
#include "tests/runtime/sound/wave_builder.h"

namespace {

// One callback's stream: 512 frames, which last 11.6 ms at 44100 Hz, the
// time the callback's own cost is to be set against.
constexpr int StreamBytes = 2048;

// A started layer whose callback only the benchmark runs.
void StartPausedSound()
{
    if (QV_InitSound() == nullptr)
        std::abort();
    SDL_PauseAudio(1);
    SDL_LockAudio();
    SDL_UnlockAudio();
}

// One callback with every one of the 32 channels busy. The channels are
// restarted whenever the first copy ends, at a negligible share of the time.
void BM_CallbackWith32BusyChannels(benchmark::State& state)
{
    StartPausedSound();
    const auto image = wave::Image({22050, 2, 16}, wave::Bytes(size_t(StreamBytes) * 64, 0x35));
    QV_CatchSound(0, image.data(), int32_t(image.size()));
    std::vector<Uint8> stream(StreamBytes);
    int32_t callbacksLeft = 0;
    for (auto _ : state) {
        if (callbacksLeft == 0) {
            QV_StopSound(0);
            for (int channel = 0; channel < QV_SOUND_CHANNELS; ++channel)
                QV_PlaySound(0);
            callbacksLeft = QV_Sound_ObjectsArea[0].length / StreamBytes;
        }
        fill_audio(nullptr, stream.data(), StreamBytes);
        benchmark::DoNotOptimize(stream.data());
        --callbacksLeft;
    }
    QV_FreeSounds();
}
BENCHMARK(BM_CallbackWith32BusyChannels);

// Sounds 0 to 9 in the formats and sizes of the game's own, loaded and
// converted into their slots.
void BM_LoadTenSounds(benchmark::State& state)
{
    StartPausedSound();
    std::vector<wave::Bytes> images;
    for (const wave::CatalogueEntry& entry : wave::Catalogue())
        images.push_back(wave::CatalogueImage(entry));
    for (auto _ : state) {
        for (size_t sound = 0; sound < images.size(); ++sound)
            benchmark::DoNotOptimize(QV_CatchSound(int32_t(sound), images[sound].data(), int32_t(images[sound].size())));
    }
    QV_FreeSounds();
}
BENCHMARK(BM_LoadTenSounds)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
