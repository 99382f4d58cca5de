// Loudness and true peak of interleaved stereo, measured the way broadcast
// meters do (ITU-R BS.1770: K-weighting, 400 ms blocks, absolute and relative
// gates; true peak from 4x oversampling), so the renderer can bring every
// tune to one level before it is encoded.
#pragma once

#include <cmath>
#include <vector>

namespace audio {

// Integrated loudness in LUFS of interleaved stereo at kRate; -70 or lower
// when nothing passes the absolute gate.
double IntegratedLoudness(const std::vector<float>& stereo);

// Highest absolute value of the signal between samples, from 4x oversampling,
// in linear full-scale units.
double TruePeak(const std::vector<float>& stereo);

inline double ToDb(double linear) { return 20.0 * std::log10(linear > 1e-12 ? linear : 1e-12); }

}  // namespace audio
