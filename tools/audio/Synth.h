// Renders a score to stereo samples laid out for looping playback: the intro
// once, then the loop body, whose last sample runs straight into its first.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Score.h"

namespace audio {

// Every rendered tune is brought to this integrated loudness (LUFS), its
// true peak kept at or below kMaxTruePeakDb (dBTP).
constexpr double kTargetLoudness = -16.0;
constexpr double kMaxTruePeakDb = -1.8;

struct RenderedTrack {
  std::vector<float> stereo;  // interleaved left/right
  int64_t frames = 0;
  int64_t loopStart = 0;  // frame where playback restarts after the last frame
};

// Renders the score. The loop body is rendered as a circle: notes and effect
// tails that run past its end continue at its start, so the seam is exactly
// what the music would have sounded like had it kept going.
RenderedTrack RenderScore(const Score& score);

}  // namespace audio
