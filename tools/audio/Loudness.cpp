#include "Loudness.h"

#include <algorithm>

#include "Dsp.h"

namespace audio {

namespace {

struct Biquad {
  double b0, b1, b2, a1, a2;
  double z1 = 0.0, z2 = 0.0;
  double Process(double x) {
    const double y = b0 * x + z1;
    z1 = b1 * x - a1 * y + z2;
    z2 = b2 * x - a2 * y;
    return y;
  }
};

// The K-weighting pair (a high shelf for the head, a high-pass for the ear)
// designed for our sample rate from the same analogue prototypes the 48 kHz
// coefficients of the standard come from.
void KWeighting(Biquad* shelf, Biquad* highPass) {
  {
    const double f0 = 1681.974450955533, gainDb = 3.999843853973347, q = 0.7071752369554196;
    const double k = std::tan(kPi * f0 / kRate);
    const double vh = std::pow(10.0, gainDb / 20.0);
    const double vb = std::pow(vh, 0.4996667741545416);
    const double a0 = 1.0 + k / q + k * k;
    *shelf = {(vh + vb * k / q + k * k) / a0, 2.0 * (k * k - vh) / a0,
              (vh - vb * k / q + k * k) / a0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
  }
  {
    const double f0 = 38.13547087602444, q = 0.5003270373238773;
    const double k = std::tan(kPi * f0 / kRate);
    const double a0 = 1.0 + k / q + k * k;
    *highPass = {1.0, -2.0, 1.0, 2.0 * (k * k - 1.0) / a0, (1.0 - k / q + k * k) / a0};
  }
}

}  // namespace

double IntegratedLoudness(const std::vector<float>& stereo) {
  const size_t frames = stereo.size() / 2;
  // Mean squares of 100 ms quarters; a 400 ms block is four of them in a row.
  const size_t quarter = kRate / 10;
  std::vector<double> quarters;
  Biquad shelf[2], highPass[2];
  KWeighting(&shelf[0], &highPass[0]);
  KWeighting(&shelf[1], &highPass[1]);
  double sum = 0.0;
  for (size_t f = 0; f < frames; ++f) {
    for (int c = 0; c < 2; ++c) {
      const double y = highPass[c].Process(shelf[c].Process(stereo[2 * f + c]));
      sum += y * y;
    }
    if ((f + 1) % quarter == 0) {
      quarters.push_back(sum / static_cast<double>(quarter));
      sum = 0.0;
    }
  }
  std::vector<double> blocks;
  for (size_t i = 3; i < quarters.size(); ++i) {
    blocks.push_back((quarters[i - 3] + quarters[i - 2] + quarters[i - 1] + quarters[i]) / 4.0);
  }
  auto loudness = [](double meanSquare) { return -0.691 + 10.0 * std::log10(meanSquare); };
  auto gatedMean = [&](double threshold) {
    double total = 0.0;
    size_t n = 0;
    for (double z : blocks) {
      if (z > 0.0 && loudness(z) > threshold) {
        total += z;
        ++n;
      }
    }
    return n ? total / static_cast<double>(n) : 0.0;
  };
  const double ungated = gatedMean(-70.0);
  if (ungated <= 0.0) return -70.0;
  const double gated = gatedMean(std::max(-70.0, loudness(ungated) - 10.0));
  return gated > 0.0 ? loudness(gated) : -70.0;
}

double TruePeak(const std::vector<float>& stereo) {
  // Windowed-sinc interpolation at three points between each pair of samples.
  constexpr int kTaps = 12;  // on each side
  constexpr int kPhases = 4;
  double coef[kPhases][2 * kTaps];
  for (int p = 1; p < kPhases; ++p) {
    for (int t = 0; t < 2 * kTaps; ++t) {
      const double x = (t - kTaps + 1) - static_cast<double>(p) / kPhases;
      const double window = 0.5 + 0.5 * std::cos(kPi * x / (kTaps + 0.5));
      coef[p][t] = std::sin(kPi * x) / (kPi * x) * window;
    }
  }
  const long frames = static_cast<long>(stereo.size() / 2);
  double peak = 0.0;
  for (int c = 0; c < 2; ++c) {
    for (long f = 0; f < frames; ++f) {
      peak = std::max(peak, static_cast<double>(std::fabs(stereo[2 * f + c])));
      for (int p = 1; p < kPhases; ++p) {
        double y = 0.0;
        for (int t = 0; t < 2 * kTaps; ++t) {
          const long at = f - kTaps + 1 + t;
          if (at >= 0 && at < frames) y += coef[p][t] * stereo[2 * at + c];
        }
        peak = std::max(peak, std::fabs(y));
      }
    }
  }
  return peak;
}

}  // namespace audio
