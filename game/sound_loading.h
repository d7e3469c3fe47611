// The built-in sounds loaded on a thread of their own. Converting them to
// the device's rate is the largest part of start-up with sound on, and it
// needs nothing that starting video, opening the screen and loading the
// pictures touch, so the two run side by side on two cores.
#pragma once

#include <cstdint>

// Reads every built-in sound's WAVE image, then starts converting them
// into their numbers, in storage order, beside the caller, when useAudio is
// nonzero and they are not loading already; the audio device must be open.
// Nothing else may touch the sound store until FinishLoadingSounds has
// returned. When no thread can be had, the sounds load before this returns.
void StartLoadingSounds(int32_t useAudio);

// Returns once the sounds started loading are in the store; at once when
// none are loading.
void FinishLoadingSounds();

// Loads every built-in picture (the screen must be open) while the sounds,
// only when useAudio is nonzero and unless they are loading already, load
// beside them; returns with both in place. The results of the individual
// loads are not checked: a picture or sound the runtime refuses leaves its
// number empty.
void LoadBuiltInAssets(int32_t useAudio);
