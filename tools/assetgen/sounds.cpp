// The ten sounds: six effects and four pieces of music, each rendered at the
// rate, channel count and length of its catalogue entry.
#include "sounds.h"

#include "synth.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace {

constexpr double Tau = 2.0 * M_PI;

// ---- Effects ----------------------------------------------------------------

// An enemy hit: a metallic clang over a short crunch.
void hit(Track& t)
{
    const double partials[][2] = {{620, 1.0}, {1710, 0.5}, {3350, 0.3}, {947, 0.45}};
    for (int i = 0; i < t.frames(); ++i) {
        const double s = double(i) / t.rate();
        double v = 0;
        for (auto [f, a] : partials)
            v += a * std::sin(Tau * f * s) * std::exp(-s * (9.0 + f / 400.0));
        t.add(i, v * 0.45);
    }
    blast(t, 0.0, 0.12, 4000, 900, 1.4, 101);
}

// The player's gun: a hard, short crack with a low punch, quickly gone.
void gun(Track& t)
{
    blast(t, 0.0, 0.07, 5000, 1500, 1.6, 202);
    double phase = 0;
    for (int i = 0; i < t.frames(); ++i) {
        const double s = double(i) / t.rate();
        phase += (70.0 + 160.0 * std::exp(-s * 40.0)) / t.rate();
        t.add(i, std::sin(Tau * phase) * std::exp(-s * 22.0) * 0.9);
    }
}

void explosion(Track& t)
{
    blast(t, 0.0, 0.5, 3200, 160, 1.0, 303);
    blast(t, 0.02, 0.3, 900, 90, 0.9, 304);
}

// An enemy or boss shot: a falling square "peow" with some hiss.
void enemyShot(Track& t)
{
    const Instrument zap{Waveform::Square, {0.002, 0.05, 0.55, 0.12}, 6000, 1800, 0, 0, 24};
    playNote(t, zap, {0.0, 0.22, 90, 0.7});
    blast(t, 0.0, 0.08, 7000, 3000, 0.35, 404);
}

void playerDestroyed(Track& t)
{
    blast(t, 0.0, 1.15, 3000, 100, 1.0, 505, 0.0, 0.35);
    blast(t, 0.18, 0.8, 2000, 120, 0.7, 506, -0.5, 0.2);
    const Instrument whine{Waveform::Saw, {0.01, 0.2, 0.6, 0.25}, 2200, 400, 8, 0, 30};
    playNote(t, whine, {0.0, 0.8, 84, 0.28, 0.3});
}

void bossDestroyed(Track& t)
{
    const double bursts[][3] = {{0.0, -0.4, 1.0}, {0.22, 0.5, 0.85}, {0.5, -0.1, 0.9}, {0.85, 0.3, 1.0}};
    int seed = 600;
    for (auto [start, pan, gain] : bursts)
        blast(t, start, 1.3, 3400, 110, gain, seed++, pan, 0.3);
    blast(t, 0.85, 1.35, 700, 50, 1.1, seed, 0.0, 0.5);
}

// ---- Music ------------------------------------------------------------------

struct Score {
    double beat;  // seconds per beat
    Track& track;
    void note(const Instrument& i, double at, double beats, int pitch, double gain, double pan = 0) const
    {
        playNote(track, i, {at * beat, beats * beat, pitch, gain, pan});
    }
    void chord(const Instrument& i, double at, double beats, std::initializer_list<int> pitches, double gain,
               double pan = 0) const
    {
        for (int p : pitches)
            note(i, at, beats, p, gain, pan);
    }
};

const Instrument Brass{Waveform::Saw, {0.03, 0.15, 0.75, 0.12}, 900, 2600, 9, 14, 0};
const Instrument Lead{Waveform::Saw, {0.01, 0.12, 0.7, 0.1}, 2800, 2200, 6, 18, 0};
const Instrument SoftLead{Waveform::Triangle, {0.02, 0.2, 0.75, 0.2}, 2500, 2000, 0, 16, 0};
const Instrument Pad{Waveform::Saw, {0.25, 0.3, 0.8, 0.5}, 900, 1100, 12, 0, 0};
const Instrument Bass{Waveform::Pulse, {0.005, 0.12, 0.6, 0.06}, 700, 400, 0, 0, 0};
const Instrument Stab{Waveform::Saw, {0.005, 0.12, 0.35, 0.1}, 3500, 1200, 10, 0, 0};

// The start of play: a short march fanfare in D major.
void playMusic(Track& t)
{
    const Score s{0.4375, t};
    const double melody[][3] = {
        {0, 0.5, 69}, {0.5, 0.25, 69}, {0.75, 0.25, 69}, {1, 1, 74},   {2, 0.75, 78},  {2.75, 0.25, 76},
        {3, 1, 74},   {4, 0.5, 76},    {4.5, 0.5, 78},   {5, 1, 79},   {6, 0.5, 78},   {6.5, 0.5, 76},
        {7, 1, 81},   {8, 0.75, 83},   {8.75, 0.25, 81}, {9, 0.5, 78}, {9.5, 0.5, 79}, {10, 1.6, 81},
    };
    for (auto [at, beats, pitch] : melody)
        s.note(Brass, at, beats * 0.95, int(pitch), 0.5);
    const std::initializer_list<int> chords[] = {{62, 66, 69}, {62, 66, 69}, {55, 59, 62},
                                                 {57, 61, 64}, {59, 62, 66}, {62, 66, 69}};
    for (int i = 0; i < 6; ++i)
        s.chord(Pad, i * 2, i == 5 ? 1.6 : 2, chords[i], 0.16);
    const int bass[] = {38, 45, 38, 45, 43, 38, 45, 40, 47, 43, 38, 38};
    for (int b = 0; b < 11; ++b)
        s.note(Bass, b, 0.8, bass[b], 0.45);
    s.note(Bass, 10, 1.6, 38, 0.45);
    for (int b = 0; b < 10; ++b) {
        snare(t, b * s.beat, 0.35, 700 + b);
        if (b % 2 == 0)
            kick(t, b * s.beat, 0.7);
    }
    for (double roll : {3.5, 3.75, 7.5, 7.625, 7.75, 7.875, 9.5, 9.75})
        snare(t, roll * s.beat, 0.28, uint64_t(roll * 100));
    kick(t, 10 * s.beat, 0.8);
    cymbal(t, 0, 0.25, 720);
    cymbal(t, 10 * s.beat, 0.35, 721);
}

// The boss fight's first layer: drums and a driving bass riff in E minor.
void bossRhythm(Track& t)
{
    const Score s{0.4, t};
    for (int b = 0; b < 4; ++b) {
        kick(t, b * s.beat, 0.8);
        if (b % 2 == 1)
            snare(t, b * s.beat, 0.5, 800 + b, 0.1);
        hat(t, (b + 0.5) * s.beat, 0.25, 810 + b, 0.4);
    }
    tom(t, 3.5 * s.beat, 140, 0.5, -0.4);
    tom(t, 3.75 * s.beat, 105, 0.5, 0.4);
    const int riff[] = {40, 40, 52, 40, 43, 40, 46, 47};
    for (int i = 0; i < 8; ++i)
        s.note(Bass, i * 0.5, 0.42, riff[i], 0.5, -0.15);
}

// The boss fight's second layer: brass stabs over the riff, then a held
// chord that rings on after the drums stop.
void bossLead(Track& t)
{
    const Score s{0.4, t};
    for (double at : {0.0, 0.75, 1.5})
        s.chord(Stab, at, 0.3, {64, 67, 71}, 0.22, 0.25);
    const double line[][3] = {{2, 0.5, 71}, {2.5, 0.5, 72}, {3, 0.5, 71}, {3.5, 0.5, 70}};
    for (auto [at, beats, pitch] : line)
        s.note(Lead, at, beats * 0.9, int(pitch), 0.32, -0.2);
    s.chord(Brass, 4, 1.0, {52, 59, 64, 67, 71, 76}, 0.17);
    cymbal(t, 4 * s.beat, 0.3, 900, 0.2);
    cymbal(t, 0, 0.2, 901, -0.3);
}

// The title: a calm, wide theme in A minor that lifts to A major at the end.
void titleMusic(Track& t)
{
    const Score s{60.0 / 85.0, t};
    const double melody[][3] = {
        {0, 1.5, 76},   {1.5, 0.5, 74}, {2, 1, 72},  {3, 0.5, 71},  {3.5, 0.5, 72}, {4, 1.5, 69},
        {5.5, 0.5, 72}, {6, 1, 77},     {7, 1, 76},  {8, 1.5, 79},  {9.5, 0.5, 76}, {10, 1, 72},
        {11, 1, 74},    {12, 1, 71},    {13, 1, 74}, {14, 1.9, 76},
    };
    for (auto [at, beats, pitch] : melody)
        s.note(SoftLead, at, beats * 0.95, int(pitch), 0.42);
    const std::initializer_list<int> chords[] = {{57, 60, 64}, {53, 57, 60}, {48, 55, 60, 64}, {55, 59, 62}};
    for (int bar = 0; bar < 3; ++bar)
        s.chord(Pad, bar * 4, 4, chords[bar], 0.13);
    s.chord(Pad, 12, 2, chords[3], 0.13);
    s.chord(Pad, 14, 1.9, {57, 61, 64, 69}, 0.14);
    const int bass[] = {45, 45, 41, 41, 36, 36, 43, 45};
    for (int half = 0; half < 8; ++half)
        s.note(Bass, half * 2, half == 7 ? 1.9 : 1.8, bass[half], 0.42);
    for (int b = 0; b < 14; ++b) {
        if (b % 2 == 0)
            kick(t, b * s.beat, 0.45);
        else
            snare(t, b * s.beat, 0.22, 950 + b);
        hat(t, (b + 0.5) * s.beat, 0.12, 970 + b);
    }
    kick(t, 14 * s.beat, 0.5);
    cymbal(t, 14 * s.beat, 0.25, 990);
}

struct Recipe {
    void (*render)(Track&);
    double peak;  // loudness: the mixer adds sounds, so none is at full scale
    double room;  // how much reverberation: music plays in a hall, effects outdoors
};

Recipe recipeOf(int number)
{
    switch (number) {
    case 0: return {hit, 0.6, 0.0};
    case 1: return {gun, 0.45, 0.0};
    case 2: return {explosion, 0.7, 0.0};
    case 3: return {enemyShot, 0.4, 0.0};
    case 4: return {playerDestroyed, 0.8, 0.15};
    case 5: return {bossDestroyed, 0.85, 0.15};
    case 6: return {playMusic, 0.5, 0.3};
    case 7: return {bossRhythm, 0.45, 0.2};
    case 8: return {titleMusic, 0.55, 0.4};
    case 9: return {bossLead, 0.4, 0.3};
    }
    throw std::invalid_argument("no sound " + std::to_string(number));
}

void appendTag(std::vector<uint8_t>& out, const char (&tag)[5])
{
    for (int i = 0; i < 4; ++i)
        out.push_back(uint8_t(tag[i]));
}

void appendLittleEndian(std::vector<uint8_t>& out, uint32_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        out.push_back(uint8_t(value >> (8 * i)));
}

}  // namespace

Track synthesizeSound(const SoundEntry& entry)
{
    const int frames = entry.dataBytes / (entry.channels * entry.bits / 8);
    Track track(entry.rate, entry.channels, frames);
    const Recipe recipe = recipeOf(entry.number);
    recipe.render(track);
    if (recipe.room > 0)
        track.reverberate(recipe.room, 1.2);
    track.removeRumble(25.0);
    track.normalise(recipe.peak);
    track.fadeEnds(0.006);
    return track;
}

std::vector<uint8_t> encodeWave(const Track& track, const SoundEntry& entry)
{
    const uint32_t dataBytes = uint32_t(entry.dataBytes);
    const uint32_t pad = dataBytes % 2;  // chunks start on even offsets
    const int bytesPerSample = entry.bits / 8;
    std::vector<uint8_t> out;
    appendTag(out, "RIFF");
    appendLittleEndian(out, 4 + 8 + 16 + 8 + dataBytes + pad, 4);
    appendTag(out, "WAVE");
    appendTag(out, "fmt ");
    appendLittleEndian(out, 16, 4);
    appendLittleEndian(out, 1, 2);  // PCM
    appendLittleEndian(out, entry.channels, 2);
    appendLittleEndian(out, entry.rate, 4);
    appendLittleEndian(out, entry.rate * entry.channels * bytesPerSample, 4);
    appendLittleEndian(out, entry.channels * bytesPerSample, 2);
    appendLittleEndian(out, entry.bits, 2);
    appendTag(out, "data");
    appendLittleEndian(out, dataBytes, 4);
    for (int frame = 0; frame < track.frames(); ++frame)
        for (int channel = 0; channel < track.channels(); ++channel) {
            const double v = std::clamp(track.at(frame, channel), -1.0, 1.0);
            if (entry.bits == 8)
                out.push_back(uint8_t(std::lround(128.0 + v * 127.0)));  // 8-bit WAVE is unsigned
            else
                appendLittleEndian(out, uint32_t(int32_t(std::lround(v * 32767.0))), 2);
        }
    if (pad)
        out.push_back(0);
    return out;
}
