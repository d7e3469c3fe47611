#include "synth.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double Tau = 2.0 * M_PI;

// PolyBLEP: smooths the step of a naive saw or square so that it does not
// fold its overtones back into the audible range at these low rates.
double polyBlep(double t, double dt)
{
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0;
    }
    if (t > 1.0 - dt) {
        t = (t - 1.0) / dt;
        return t * t + t + t + 1.0;
    }
    return 0.0;
}

int frameOf(const Track& track, double seconds)
{
    return int(std::lround(seconds * track.rate()));
}

}  // namespace

Track::Track(int rate, int channels, int frames)
    : rate_(rate), channels_(channels), frames_(frames), samples_(size_t(frames) * channels, 0.0)
{
}

void Track::add(int frame, double value, double pan)
{
    if (frame < 0 || frame >= frames_)
        return;
    if (channels_ == 1) {
        samples_[frame] += value;
        return;
    }
    // Constant-power panning.
    const double angle = (std::clamp(pan, -1.0, 1.0) + 1.0) * M_PI / 4;
    samples_[size_t(frame) * 2] += value * std::cos(angle) * M_SQRT2;
    samples_[size_t(frame) * 2 + 1] += value * std::sin(angle) * M_SQRT2;
}

void Track::normalise(double peak)
{
    double loudest = 0.0;
    for (double s : samples_)
        loudest = std::max(loudest, std::fabs(s));
    if (loudest > 0.0)
        for (double& s : samples_)
            s *= peak / loudest;
}

void Track::removeRumble(double cutoff)
{
    const double pole = std::exp(-Tau * cutoff / rate_);
    for (int c = 0; c < channels_; ++c) {
        double previousIn = 0.0, previousOut = 0.0;
        for (int i = 0; i < frames_; ++i) {
            double& sample = samples_[size_t(i) * channels_ + c];
            const double out = sample - previousIn + pole * previousOut;
            previousIn = sample;
            previousOut = out;
            sample = out;
        }
    }
}

void Track::fadeEnds(double seconds)
{
    const int length = std::max(1, int(seconds * rate_));
    for (int i = 0; i < length && i < frames_; ++i) {
        const double in = double(i) / length;
        for (int c = 0; c < channels_; ++c) {
            samples_[size_t(i) * channels_ + c] *= in;
            samples_[size_t(frames_ - 1 - i) * channels_ + c] *= in;
        }
    }
}

namespace {

// Delay lengths in seconds, mutually prime in samples at every rate used.
const double CombDelays[] = {0.0297, 0.0371, 0.0411, 0.0437};
const double AllPassDelays[] = {0.0050, 0.0017};

std::vector<double> reverbOf(const std::vector<double>& dry, int rate, double decay, double spread)
{
    std::vector<double> wet(dry.size(), 0.0);
    for (double delay : CombDelays) {
        const size_t length = size_t((delay + spread) * rate);
        const double feedback = std::pow(0.001, delay / decay);  // -60 dB after `decay` seconds
        std::vector<double> line(length, 0.0);
        double damped = 0.0;
        for (size_t i = 0; i < dry.size(); ++i) {
            const double out = line[i % length];
            damped = 0.7 * out + 0.3 * damped;  // high frequencies die first
            line[i % length] = dry[i] + damped * feedback;
            wet[i] += out / std::size(CombDelays);
        }
    }
    for (double delay : AllPassDelays) {
        const size_t length = size_t(delay * rate);
        std::vector<double> line(length, 0.0);
        for (size_t i = 0; i < wet.size(); ++i) {
            const double delayed = line[i % length];
            const double input = wet[i];
            line[i % length] = input + 0.5 * delayed;
            wet[i] = delayed - 0.5 * input;
        }
    }
    return wet;
}

}  // namespace

void Track::reverberate(double wet, double decay)
{
    for (int c = 0; c < channels_; ++c) {
        std::vector<double> dry(frames_);
        for (int i = 0; i < frames_; ++i)
            dry[i] = samples_[size_t(i) * channels_ + c];
        const std::vector<double> room = reverbOf(dry, rate_, decay, c * 0.0011);
        for (int i = 0; i < frames_; ++i)
            samples_[size_t(i) * channels_ + c] += wet * room[i];
    }
}

double Envelope::level(double t, double length) const
{
    if (t < 0.0)
        return 0.0;
    double held;
    if (t < attack)
        held = t / attack;
    else if (t < attack + decay)
        held = 1.0 - (1.0 - sustain) * (t - attack) / decay;
    else
        held = sustain;
    if (t < length)
        return held;
    const double after = t - length;
    return after >= release ? 0.0 : held * (1.0 - after / release);
}

double LowPass::run(double input, double cutoff)
{
    const double a = 1.0 - std::exp(-Tau * std::min(cutoff, rate_ * 0.45) / rate_);
    state_ += a * (input - state_);
    return state_;
}

double Oscillator::next(double frequency)
{
    const double dt = frequency / rate_;
    double value = 0.0;
    switch (waveform_) {
    case Waveform::Sine: value = std::sin(Tau * phase_); break;
    case Waveform::Saw: value = 2.0 * phase_ - 1.0 - polyBlep(phase_, dt); break;
    case Waveform::Square:
    case Waveform::Pulse:
    case Waveform::Triangle: {
        const double width = waveform_ == Waveform::Pulse ? 0.25 : 0.5;
        // A pulse narrower than half the period averages 2 * width - 1;
        // taking that off keeps the music from riding on a DC offset, which
        // wastes headroom and thumps when the mixer starts or cuts it.
        value = (phase_ < width ? 1.0 : -1.0) + polyBlep(phase_, dt) -
            polyBlep(std::fmod(phase_ + 1.0 - width, 1.0), dt) - (2.0 * width - 1.0);
        if (waveform_ == Waveform::Triangle) {
            // A leaky integral of the square is a band-limited triangle.
            triangle_ = dt * value * 4.0 + (1.0 - dt) * triangle_;
            value = triangle_;
        }
        break;
    }
    }
    phase_ += dt;
    phase_ -= std::floor(phase_);
    return value;
}

double midiFrequency(double note)
{
    return 440.0 * std::pow(2.0, (note - 69.0) / 12.0);
}

void playNote(Track& track, const Instrument& instrument, const Note& note)
{
    Oscillator main(track.rate(), instrument.waveform), second(track.rate(), instrument.waveform);
    LowPass filter1(track.rate()), filter2(track.rate());
    const int first = frameOf(track, note.start);
    const double total = note.length + instrument.envelope.release;
    const int count = frameOf(track, total);
    for (int i = 0; i < count; ++i) {
        const double t = double(i) / track.rate();
        const double progress = std::min(1.0, t / std::max(note.length, 1e-3));
        double pitch = note.pitch - instrument.glide * progress;
        if (instrument.vibrato > 0 && t > 0.15)
            pitch += instrument.vibrato / 100.0 * std::sin(Tau * 5.5 * (t - 0.15)) * std::min(1.0, (t - 0.15) * 4);
        const double f = midiFrequency(pitch);
        double v = main.next(f);
        if (instrument.detune != 0.0)
            v = 0.5 * (v + second.next(f * std::pow(2.0, instrument.detune / 1200.0)));
        const double cutoff = instrument.cutoff + (instrument.cutoffEnd - instrument.cutoff) * progress;
        v = filter2.run(filter1.run(v, cutoff), cutoff);
        track.add(first + i, v * note.gain * instrument.envelope.level(t, note.length), note.pan);
    }
}

void kick(Track& track, double start, double gain, double pan)
{
    const int first = frameOf(track, start);
    double phase = 0.0;
    for (int i = 0; i < frameOf(track, 0.35); ++i) {
        const double t = double(i) / track.rate();
        const double f = 45.0 + 110.0 * std::exp(-t * 28.0);
        phase += f / track.rate();
        const double click = t < 0.004 ? (1.0 - t / 0.004) * 0.4 : 0.0;
        track.add(first + i, (std::sin(Tau * phase) * std::exp(-t * 9.0) + click) * gain, pan);
    }
}

void snare(Track& track, double start, double gain, uint64_t seed, double pan)
{
    Random random(seed);
    LowPass body(track.rate());
    const int first = frameOf(track, start);
    double phase = 0.0;
    for (int i = 0; i < frameOf(track, 0.25); ++i) {
        const double t = double(i) / track.rate();
        const double n = random.between(-1.0, 1.0);
        const double rattle = n - body.run(n, 1200.0);  // high-passed noise
        phase += 185.0 / track.rate();
        const double tone = std::sin(Tau * phase) * std::exp(-t * 30.0);
        track.add(first + i, (rattle * std::exp(-t * 18.0) * 0.8 + tone * 0.6) * gain, pan);
    }
}

namespace {

// High-passed noise with an exponential decay: the metal of the drum kit.
void metalNoise(Track& track, double start, double length, double cutoff, double decayRate, double gain, uint64_t seed,
                double pan)
{
    Random random(seed);
    LowPass low(track.rate());
    const int first = frameOf(track, start);
    for (int i = 0; i < frameOf(track, length); ++i) {
        const double t = double(i) / track.rate();
        const double n = random.between(-1.0, 1.0);
        track.add(first + i, (n - low.run(n, cutoff)) * std::exp(-t * decayRate) * gain, pan);
    }
}

}  // namespace

void hat(Track& track, double start, double gain, uint64_t seed, double pan)
{
    metalNoise(track, start, 0.06, 3000.0, 70.0, gain, seed, pan);
}

void cymbal(Track& track, double start, double gain, uint64_t seed, double pan)
{
    metalNoise(track, start, 1.2, 2500.0, 3.2, gain, seed, pan);
}

void tom(Track& track, double start, double pitch, double gain, double pan)
{
    const int first = frameOf(track, start);
    double phase = 0.0;
    for (int i = 0; i < frameOf(track, 0.4); ++i) {
        const double t = double(i) / track.rate();
        phase += pitch * (1.0 + 0.5 * std::exp(-t * 20.0)) / track.rate();
        track.add(first + i, std::sin(Tau * phase) * std::exp(-t * 7.0) * gain, pan);
    }
}

void blast(Track& track, double start, double length, double bright, double dull, double gain, uint64_t seed,
           double pan, double width)
{
    Random random(seed);
    LowPass left1(track.rate()), left2(track.rate()), right1(track.rate()), right2(track.rate());
    const int first = frameOf(track, start);
    double brown = 0.0;
    for (int i = 0; i < frameOf(track, length); ++i) {
        const double t = double(i) / track.rate();
        const double decay = std::exp(-t * 5.0 / length);
        const double cutoff = dull + (bright - dull) * std::exp(-t * 6.0 / length);
        const double attack = std::min(1.0, t / 0.004);
        // Brown noise gives the rumble, white noise the crackle.
        brown = 0.98 * brown + 0.2 * random.between(-1.0, 1.0);
        const double a = left2.run(left1.run(random.between(-1.0, 1.0) + brown, cutoff), cutoff);
        const double b = right2.run(right1.run(random.between(-1.0, 1.0) + brown, cutoff), cutoff);
        const double level = gain * decay * attack;
        track.add(first + i, a * level, pan - width);
        track.add(first + i, b * level, pan + width);
    }
}
