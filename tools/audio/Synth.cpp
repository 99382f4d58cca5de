#include "Synth.h"

#include <algorithm>
#include <cmath>

#include "Loudness.h"

namespace audio {

namespace {

// One section of the timeline (the intro, or the loop body) with its buses.
struct Section {
  int64_t size = 0;
  bool wrap = false;  // the loop body: writes past the end continue at the start
  std::vector<float> dryL, dryR, reverb, delay;

  explicit Section(int64_t n, bool circular)
      : size(n), wrap(circular), dryL(n, 0.0f), dryR(n, 0.0f), reverb(n, 0.0f), delay(n, 0.0f) {}

  // Index for a timeline position relative to the section start, or -1 when
  // the sample falls outside (only the intro drops samples).
  int64_t Index(int64_t pos) const {
    if (pos < 0) return -1;
    if (pos < size) return pos;
    return wrap ? pos % size : -1;
  }
};

struct Sends {
  float l, r, reverb, delay;
};

Sends SendsFor(const Patch& p, float pan, float amp) {
  float gl, gr;
  PanGains(std::clamp(pan, -1.0f, 1.0f), &gl, &gr);
  return {gl * amp, gr * amp, p.reverb * amp, p.delay * amp};
}

void Write(Section* s, int64_t pos, float x, const Sends& g) {
  const int64_t i = s->Index(pos);
  if (i < 0) return;
  s->dryL[i] += x * g.l;
  s->dryR[i] += x * g.r;
  s->reverb[i] += x * g.reverb;
  s->delay[i] += x * g.delay;
}

void RenderTone(const Patch& p, const NoteEvent& e, int64_t offset, int64_t gate, Section* s) {
  const int lanes = p.detune > 0.0f ? 2 : 1;
  const float freq = MidiToHz(e.note);
  float laneFreq[2] = {freq, freq};
  float lanePan[2] = {p.pan, p.pan};
  if (lanes == 2) {
    laneFreq[0] = freq * std::exp2(-p.detune / 2400.0f);
    laneFreq[1] = freq * std::exp2(p.detune / 2400.0f);
    lanePan[0] = p.pan - p.width;
    lanePan[1] = p.pan + p.width;
  }
  const float amp = e.velocity * p.volume * (lanes == 2 ? 0.6f : 1.0f);
  Sends sends[2] = {SendsFor(p, lanePan[0], amp), SendsFor(p, lanePan[1], amp)};
  Envelope env(p.attack, p.decay, p.sustain, p.release);
  Oscillator osc[2];
  Svf filter[2], highPass[2];
  if (p.highpass > 0.0f) {
    highPass[0].Set(p.highpass, 0.0f);
    highPass[1].Set(p.highpass, 0.0f);
  }
  const float driveGain = 1.0f + 6.0f * p.drive;
  const float driveNorm = 1.0f / std::tanh(driveGain);
  Rng rng(e.seed);
  float modPhase[2] = {0.0f, 0.0f}, subPhase = 0.0f;
  // Start the two lanes apart so the pair does not begin as one loud peak.
  osc[1].phase = 0.37f;
  const float baseCutoff = p.cutoff * std::pow(freq / 261.63f, p.keytrack);
  const float fenvCoef = p.fdecay > 0.0f ? std::exp(-16.0f / (p.fdecay * kRate)) : 0.0f;
  const float idxCoef = p.idecay > 0.0f ? std::exp(-1.0f / (p.idecay * kRate)) : 1.0f;
  const int64_t vibStart = static_cast<int64_t>(p.vibDelay * kRate);
  const float vibDepth = p.vib * 0.000577623f;  // cents to a frequency ratio offset (ln 2 / 1200)
  const int64_t maxLen = gate + static_cast<int64_t>(p.release * kRate) + 1;
  float fenv = 1.0f, idxEnv = 1.0f;
  for (int64_t i = 0; i < maxLen; ++i) {
    if (i == gate) env.Release();
    const float level = env.Step();
    if (env.Finished()) break;
    if ((i & 15) == 0) {
      float sweep = p.env * fenv;
      if (p.lfo > 0.0f) sweep += p.lfo * SinTurns(static_cast<float>(i) * p.lfoRate / kRate);
      const float cutoff = baseCutoff * std::exp2(sweep);
      filter[0].Set(cutoff, p.reso);
      if (lanes == 2) filter[1].Set(cutoff, p.reso);
      fenv *= fenvCoef;
    }
    float bend = 1.0f;
    if (vibDepth > 0.0f && i > vibStart) {
      const float fadeIn = std::min(1.0f, static_cast<float>(i - vibStart) / (0.4f * kRate));
      bend += vibDepth * fadeIn * SinTurns(static_cast<float>(i) * p.vibRate / kRate);
    }
    const float index = p.index * (0.2f + 0.8f * idxEnv);
    idxEnv *= idxCoef;
    float sub = 0.0f;
    if (p.sub > 0.0f) {
      sub = p.sub * SinTurns(subPhase);
      subPhase += 0.5f * freq * bend / kRate;
      if (subPhase >= 1.0f) subPhase -= 1.0f;
    }
    for (int lane = 0; lane < lanes; ++lane) {
      const float dt = laneFreq[lane] * bend / kRate;
      float x;
      if (p.wave == Wave::kFm) {
        const float m = SinTurns(modPhase[lane]);
        modPhase[lane] += dt * p.ratio;
        if (modPhase[lane] >= 1.0f) modPhase[lane] -= std::floor(modPhase[lane]);
        x = SinTurns(osc[lane].phase + index * m * 0.159155f);
        osc[lane].phase += dt;
        if (osc[lane].phase >= 1.0f) osc[lane].phase -= 1.0f;
      } else if (p.wave == Wave::kNoise) {
        x = rng.Bipolar();
      } else {
        x = osc[lane].Step(p.wave, dt, p.duty);
      }
      x += sub;
      if (p.drive > 0.0f) x = std::tanh(driveGain * x) * driveNorm;
      float y = filter[lane].Low(x);
      if (p.highpass > 0.0f) y = highPass[lane].High(y);
      y *= level;
      Write(s, offset + i, y, sends[lane]);
    }
  }
}

// Drums are fixed recipes; the patch gives their level, pan and effect sends.
void RenderDrum(const Patch& p, const NoteEvent& e, int64_t offset, Section* s) {
  Rng rng(e.seed);
  Svf band, high;
  float pan = p.pan;
  float seconds = 0.4f;
  switch (e.drum) {
    case Drum::kKick:
      seconds = 0.5f;
      break;
    case Drum::kSnare:
      seconds = 0.35f;
      band.Set(1800.0f, 0.2f);
      high.Set(700.0f, 0.0f);
      break;
    case Drum::kHat:
      seconds = 0.08f;
      high.Set(7500.0f, 0.1f);
      pan += 0.25f;
      break;
    case Drum::kOpenHat:
      seconds = 0.5f;
      high.Set(6500.0f, 0.1f);
      pan += 0.25f;
      break;
    case Drum::kTom:
      seconds = 0.5f;
      pan -= 0.2f;
      break;
    case Drum::kCrash:
      seconds = 2.2f;
      high.Set(4000.0f, 0.0f);
      pan -= 0.3f;
      break;
    case Drum::kClap:
      seconds = 0.35f;
      band.Set(1200.0f, 0.4f);
      break;
    case Drum::kNone:
      return;
  }
  const Sends g = SendsFor(p, pan, e.velocity * p.volume);
  const int64_t n = static_cast<int64_t>(seconds * kRate);
  float phase = 0.0f;
  for (int64_t i = 0; i < n; ++i) {
    const float t = static_cast<float>(i) / kRate;
    const float noise = rng.Bipolar();
    float x = 0.0f;
    switch (e.drum) {
      case Drum::kKick: {
        const float f = 44.0f + 120.0f * std::exp(-t / 0.025f);
        phase += f / kRate;
        x = SinTurns(phase) * std::exp(-t / 0.16f);
        if (i < 160) x += 0.25f * noise * (1.0f - i / 160.0f);  // beater click
        break;
      }
      case Drum::kSnare: {
        phase += (180.0f + 40.0f * std::exp(-t / 0.01f)) / kRate;
        const float tone = SinTurns(phase) * std::exp(-t / 0.05f);
        const float rattle = band.Band(high.High(noise)) * 2.2f * std::exp(-t / 0.09f);
        x = 0.55f * tone + rattle;
        break;
      }
      case Drum::kHat:
        x = 0.6f * high.High(noise) * std::exp(-t / 0.018f);
        break;
      case Drum::kOpenHat:
        x = high.High(noise) * std::exp(-t / 0.12f) * 0.5f;
        break;
      case Drum::kTom: {
        phase +=
            (82.0f + 50.0f * std::exp(-t / 0.06f)) * std::exp2((e.note - 60.0f) / 12.0f) / kRate;
        x = SinTurns(phase) * std::exp(-t / 0.18f);
        break;
      }
      case Drum::kCrash:
        x = high.High(noise) * std::exp(-t / 0.6f) * 0.7f;
        break;
      case Drum::kClap: {
        // Three quick bursts and a short room tail.
        const float burst = t < 0.03f ? std::exp(-std::fmod(t, 0.01f) / 0.003f) : 0.0f;
        x = band.Band(noise) * 2.5f * std::max(burst, 0.6f * std::exp(-(t - 0.03f) / 0.08f));
        break;
      }
      case Drum::kNone:
        break;
    }
    // A short fade keeps every drum's end click-free.
    if (i > n - 200) x *= static_cast<float>(n - i) / 200.0f;
    Write(s, offset + i, x, g);
  }
}

void RenderEvent(const Score& score, const NoteEvent& e, int64_t offset, Section* s) {
  const Patch& p = score.patches[e.patch];
  if (e.drum != Drum::kNone) {
    RenderDrum(p, e, offset, s);
    return;
  }
  const int64_t gate = BeatToSample(score, e.start + e.length) - BeatToSample(score, e.start);
  RenderTone(p, e, offset, std::max<int64_t>(gate, 1), s);
}

// Runs delay and reverb over a section and writes the mix into out (stereo,
// interleaved). passes > 1 lets the effect tails of the circle's end reach
// its start: only the last pass is kept.
void MixSection(const Score& score, const Section& s, int passes, std::vector<float>* out) {
  const int delaySamples =
      static_cast<int>(std::llround(score.delayBeats * 60.0 / score.tempo * kRate));
  PingPongDelay delay(delaySamples, score.delayFeedback);
  Reverb reverb(score.reverbSize, score.reverbDamp);
  const float wet = 2.5f * score.reverbLevel;
  // A gentle high-pass (about 12 Hz) keeps the mix free of DC drift.
  const float hpCoef = 1.0f - static_cast<float>(2.0 * kPi * 12.0 / kRate);
  float hpIn[2] = {0.0f, 0.0f}, hpOut[2] = {0.0f, 0.0f};
  out->assign(static_cast<size_t>(s.size) * 2, 0.0f);
  for (int pass = 0; pass < passes; ++pass) {
    const bool keep = pass == passes - 1;
    for (int64_t i = 0; i < s.size; ++i) {
      float dl, dr, wl, wr;
      delay.Process(s.delay[i], s.delay[i], &dl, &dr);
      reverb.Process(s.reverb[i] + 0.25f * (dl + dr), &wl, &wr);
      const float mix[2] = {s.dryL[i] + dl + wet * wl, s.dryR[i] + dr + wet * wr};
      for (int c = 0; c < 2; ++c) {
        hpOut[c] = mix[c] - hpIn[c] + hpCoef * hpOut[c];
        hpIn[c] = mix[c];
        if (keep) (*out)[2 * i + c] = hpOut[c];
      }
    }
  }
}

// Rounds off the rare peaks above kKnee so that they stay under kCeiling.
// It works sample by sample, so the loop seam stays as smooth as it was.
constexpr float kKnee = 0.5f, kCeiling = 0.76f;
float SoftLimit(float x) {
  const float a = std::fabs(x);
  if (a <= kKnee) return x;
  const float y = kKnee + (kCeiling - kKnee) * std::tanh((a - kKnee) / (kCeiling - kKnee));
  return x < 0.0f ? -y : y;
}

std::vector<float> Limited(const std::vector<float>& in, double gain) {
  std::vector<float> out(in.size());
  for (size_t i = 0; i < in.size(); ++i) out[i] = SoftLimit(static_cast<float>(in[i] * gain));
  return out;
}

// Every tune plays at one integrated loudness, so no number jumps out when
// the game changes music. The limiter lowers the loudness a little; a few
// rounds of measuring settle the gain.
void Normalise(std::vector<float>* stereo) {
  double gain = 1.0;
  for (int round = 0; round < 4; ++round) {
    const double loudness = IntegratedLoudness(Limited(*stereo, gain));
    if (loudness <= -69.0) return;  // silence stays silence
    gain *= std::pow(10.0, (kTargetLoudness - loudness) / 20.0);
  }
  *stereo = Limited(*stereo, gain);
  // Between-sample peaks can still rise above the ceiling; the encoder adds a
  // little more, so keep clear of -1 dBTP.
  const double peak = TruePeak(*stereo);
  const double most = std::pow(10.0, kMaxTruePeakDb / 20.0);
  if (peak > most) {
    for (float& x : *stereo) x = static_cast<float>(x * (most / peak));
  }
}

}  // namespace

RenderedTrack RenderScore(const Score& score) {
  RenderedTrack track;
  const int64_t loopStart = BeatToSample(score, score.loopBeat);
  const int64_t end = BeatToSample(score, score.endBeat);
  const int64_t body = end - loopStart;
  Section intro(loopStart, false);
  Section loop(body, true);
  for (const NoteEvent& e : score.events) {
    const int64_t at = BeatToSample(score, e.start);
    if (at < loopStart) {
      RenderEvent(score, e, at, &intro);
    } else {
      RenderEvent(score, e, at - loopStart, &loop);
    }
  }
  std::vector<float> introMix, loopMix;
  MixSection(score, intro, 1, &introMix);
  MixSection(score, loop, 2, &loopMix);

  // The intro's last moment blends into the sound the loop has just before
  // its start (its own end), so entering the loop is as smooth as repeating it.
  const int64_t fade = std::min<int64_t>({1024, loopStart, body});
  for (int64_t k = 0; k < fade; ++k) {
    const float a = static_cast<float>(k + 1) / static_cast<float>(fade + 1);
    const int64_t i = loopStart - fade + k;
    const int64_t j = body - fade + k;
    for (int c = 0; c < 2; ++c) {
      introMix[2 * i + c] = (1.0f - a) * introMix[2 * i + c] + a * loopMix[2 * j + c];
    }
  }
  track.frames = loopStart + body;
  track.loopStart = loopStart;
  track.stereo = std::move(introMix);
  track.stereo.insert(track.stereo.end(), loopMix.begin(), loopMix.end());

  Normalise(&track.stereo);
  return track;
}

}  // namespace audio
