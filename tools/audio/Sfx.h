// Sound-effect generator: a handful of layers, each an oscillator (or noise)
// with a pitch sweep, an envelope and filters, described in a small text file.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Dsp.h"

namespace audio {

struct SfxLayer {
  Wave wave = Wave::kSine;
  float start = 0.0f;     // seconds from the start of the effect
  float dur = 0.1f;       // gate length; the release follows it
  float freq = 440.0f;    // for noise: sample-and-hold rate (0 = white)
  float freqEnd = -1.0f;  // end of the exponential sweep (-1 = no sweep)
  float sweep = -1.0f;    // sweep time (-1 = the gate length)
  float attack = 0.002f, decay = 0.1f, sustain = 1.0f, release = 0.05f;
  float volume = 1.0f;
  float duty = 0.5f;
  float ratio = 1.0f, index = 0.0f, indexEnd = -1.0f;  // FM modulator
  float lowpass = 0.0f, lowpassEnd = -1.0f, highpass = 0.0f, reso = 0.0f;
  float vibRate = 0.0f, vibDepth = 0.0f;  // depth in semitones
  std::vector<float> arp;                 // semitone steps, cycled
  float arpStep = 0.05f;                  // seconds per arpeggio step
  int repeat = 1;
  float repeatGap = 0.1f;
  uint32_t seed = 1;
};

struct SfxRecipe {
  float peak = 0.7f;  // the finished effect is scaled to this peak
  std::vector<SfxLayer> layers;
};

// Parses an effect description; on failure returns false with a message that
// names the line.
bool ParseSfx(const std::string& text, SfxRecipe* recipe, std::string* error);

// Renders to mono samples at kRate, scaled to recipe.peak, ending in silence.
std::vector<float> RenderSfx(const SfxRecipe& recipe);

// Writes 16-bit PCM mono WAV.
bool WriteWav16(const std::string& path, const std::vector<float>& samples, int rate);

}  // namespace audio
