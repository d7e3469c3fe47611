// A small synthesizer for the sound effects and the music: band-limited
// oscillators, envelopes, filtered noise, drums and a note sequencer, all
// rendering into a buffer of floating-point samples at the sound's own rate.
#pragma once

#include "random.h"

#include <cstddef>
#include <cstdint>
#include <vector>

class Track {
public:
    Track(int rate, int channels, int frames);

    int rate() const { return rate_; }
    int channels() const { return channels_; }
    int frames() const { return frames_; }
    double duration() const { return double(frames_) / rate_; }

    // Adds a sample at frame i, placed between the speakers by pan
    // (-1 left, 0 centre, 1 right; ignored for mono).
    void add(int frame, double value, double pan = 0.0);
    double at(int frame, int channel) const { return samples_[size_t(frame) * channels_ + channel]; }

    // Scales the whole track so that its loudest sample reaches `peak`.
    void normalise(double peak);

    // Takes out what lies below `cutoff` hertz (a one-pole DC blocker):
    // nobody hears it, and left in, it is a slow offset that thumps when the
    // sound starts or stops and takes headroom from the rest of the mix.
    void removeRumble(double cutoff);

    // Fades in over the first and out over the last `seconds`, so that the
    // sound starts and ends at silence without a click.
    void fadeEnds(double seconds);

    // Adds the sound of a room: a small Schroeder reverberator (parallel
    // comb filters, then all-pass filters), `wet` parts of it to one part of
    // the dry sound, decorrelated between the two sides of a stereo track.
    void reverberate(double wet, double decay);

private:
    int rate_, channels_, frames_;
    std::vector<double> samples_;
};

enum class Waveform { Sine, Triangle, Saw, Square, Pulse };

struct Envelope {
    double attack, decay, sustain, release;  // seconds, seconds, level, seconds
    double level(double t, double length) const;
};

// A one-pole low-pass filter; cutoff in hertz.
class LowPass {
public:
    explicit LowPass(int rate) : rate_(rate) {}
    double run(double input, double cutoff);

private:
    int rate_;
    double state_ = 0.0;
};

// Band-limited oscillator (PolyBLEP for the edges of saw, square and pulse).
class Oscillator {
public:
    Oscillator(int rate, Waveform waveform) : rate_(rate), waveform_(waveform) {}
    double next(double frequency);

private:
    int rate_;
    Waveform waveform_;
    double phase_ = 0.0;
    double triangle_ = 0.0;
};

struct Instrument {
    Waveform waveform;
    Envelope envelope;
    double cutoff;     // low-pass cutoff in hertz at the start of a note
    double cutoffEnd;  // and at its end
    double detune;     // cents of a second, detuned oscillator; 0 for none
    double vibrato;    // depth in cents, starting after 0.15 s
    double glide;      // semitones the pitch falls over the note (drops, sirens)
};

// A note: start and length in seconds, MIDI note number, loudness 0..1, pan.
struct Note {
    double start, length;
    int pitch;
    double gain;
    double pan = 0.0;
};

double midiFrequency(double note);

void playNote(Track& track, const Instrument& instrument, const Note& note);

// Drums, at the given start time.
void kick(Track& track, double start, double gain, double pan = 0.0);
void snare(Track& track, double start, double gain, uint64_t seed, double pan = 0.0);
void hat(Track& track, double start, double gain, uint64_t seed, double pan = 0.0);
void cymbal(Track& track, double start, double gain, uint64_t seed, double pan = 0.0);
void tom(Track& track, double start, double pitch, double gain, double pan = 0.0);

// A burst of low-passed noise: the body of every explosion. The cutoff
// falls from `bright` to `dull` hertz as the sound decays over `length`.
void blast(Track& track, double start, double length, double bright, double dull, double gain, uint64_t seed,
           double pan = 0.0, double width = 0.0);
