// The mixer's cost per callback against the time the callback has, and the
// cost of loading and converting the game's ten sounds.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <vector>

#include "game/assets.h"
#include "runtime/sound/mixer.h"
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
        tervane::sound::FillAudio(nullptr, stream.data(), StreamBytes);
        benchmark::DoNotOptimize(stream.data());
        --callbacksLeft;
    }
    QV_FreeSounds();
}
BENCHMARK(BM_CallbackWith32BusyChannels);

// The game's ten built-in sounds, loaded and converted into their slots.
void BM_LoadBuiltInSounds(benchmark::State& state)
{
    StartPausedSound();
    for (auto _ : state) {
        for (int32_t sound = 0; sound < BuiltInSoundCount; ++sound) {
            const BuiltInFile wave = SoundWave(sound);
            if (QV_CatchSound(sound, wave.address, wave.size) == 0)
                state.SkipWithError("a built-in sound was refused");
        }
    }
    QV_FreeSounds();
}
BENCHMARK(BM_LoadBuiltInSounds)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
