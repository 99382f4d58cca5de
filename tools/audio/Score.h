// The score language: patches (instrument settings) and tracks of notes in a
// compact text notation. content/music/README.md describes it for composers.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Dsp.h"

namespace audio {

enum class Drum { kNone, kKick, kSnare, kHat, kOpenHat, kTom, kCrash, kClap };

struct Patch {
  std::string name;
  Wave wave = Wave::kSaw;
  float detune = 0.0f;  // cents between two oscillators (0 = one oscillator)
  float width = 0.3f;   // stereo spread of the detuned pair
  float sub = 0.0f;     // sine an octave below
  float duty = 0.5f;
  float attack = 0.005f, decay = 0.3f, sustain = 0.7f, release = 0.2f;
  float cutoff = 8000.0f;  // low-pass cutoff in Hz at middle C
  float env = 0.0f;        // filter envelope depth in octaves
  float fdecay = 0.2f;     // filter envelope decay in seconds
  float reso = 0.1f;
  float keytrack = 0.5f;                            // how much the cutoff follows the pitch (0..1)
  float ratio = 2.0f, index = 0.0f, idecay = 0.0f;  // FM; idecay 0 = constant index
  float vib = 0.0f, vibRate = 5.0f, vibDelay = 0.3f;  // vibrato depth in cents
  float drive = 0.0f;                                 // saturation before the filter, 0..1
  float highpass = 0.0f;                              // high-pass cutoff in Hz (0 = none)
  float lfo = 0.0f, lfoRate = 0.5f;                   // slow cutoff sweep: octaves either way, Hz
  float volume = 0.5f, pan = 0.0f;
  float reverb = 0.2f, delay = 0.0f;  // effect sends
};

struct NoteEvent {
  double start = 0.0;   // beats
  double length = 0.0;  // sounding length in beats (the gate)
  float note = 60.0f;   // MIDI note number
  float velocity = 1.0f;
  int patch = 0;
  Drum drum = Drum::kNone;
  uint32_t seed = 1;  // fixed per event so every rendering of it is identical
};

struct Score {
  double tempo = 120.0;
  float reverbSize = 0.8f, reverbDamp = 0.4f, reverbLevel = 1.0f;
  double delayBeats = 0.75;
  float delayFeedback = 0.3f;
  std::vector<Patch> patches;
  std::vector<NoteEvent> events;
  double loopBeat = 0.0;  // where the loop restarts; 0 when there is no marker
  double endBeat = 0.0;   // the common length of the tracks
};

// Parses a whole score. Errors name the line or the track at fault.
bool ParseScore(const std::string& text, Score* score, std::string* error);

// Sample position of a beat; every timing in the renderer goes through this
// one rounding so that loop lengths are exact.
int64_t BeatToSample(const Score& score, double beat);

}  // namespace audio
