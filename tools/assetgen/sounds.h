// The sound effects and music, and their RIFF WAVE files.
#pragma once

#include "catalogue.h"
#include "synth.h"

#include <cstdint>
#include <vector>

// Renders sound `entry.number` at the entry's rate, channels and length.
Track synthesizeSound(const SoundEntry& entry);

// A RIFF WAVE file: a 16-byte "fmt " chunk and the "data" chunk of exactly
// entry.dataBytes bytes (8-bit samples unsigned, 16-bit signed).
std::vector<uint8_t> encodeWave(const Track& track, const SoundEntry& entry);
