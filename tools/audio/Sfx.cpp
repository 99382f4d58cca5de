#include "Sfx.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace audio {

namespace {

bool ParseFloat(const std::string& text, float* out) {
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || *end != '\0') return false;
  *out = static_cast<float>(v);
  return true;
}

bool ParseList(const std::string& text, std::vector<float>* out) {
  out->clear();
  std::stringstream ss(text);
  std::string item;
  while (std::getline(ss, item, ',')) {
    float v;
    if (!ParseFloat(item, &v)) return false;
    out->push_back(v);
  }
  return !out->empty();
}

// Applies one key=value pair to a layer; returns false for an unknown key or a bad value.
bool SetLayerField(SfxLayer* l, const std::string& key, const std::string& value) {
  if (key == "wave") return ParseWave(value.c_str(), &l->wave);
  if (key == "arp") return ParseList(value, &l->arp);
  float v;
  if (!ParseFloat(value, &v)) return false;
  struct Field {
    const char* name;
    float* target;
  };
  const Field fields[] = {{"start", &l->start},      {"dur", &l->dur},
                          {"freq", &l->freq},        {"freq_end", &l->freqEnd},
                          {"sweep", &l->sweep},      {"attack", &l->attack},
                          {"decay", &l->decay},      {"sustain", &l->sustain},
                          {"release", &l->release},  {"volume", &l->volume},
                          {"duty", &l->duty},        {"ratio", &l->ratio},
                          {"index", &l->index},      {"index_end", &l->indexEnd},
                          {"lp", &l->lowpass},       {"lp_end", &l->lowpassEnd},
                          {"hp", &l->highpass},      {"reso", &l->reso},
                          {"vib_rate", &l->vibRate}, {"vib_depth", &l->vibDepth},
                          {"arp_step", &l->arpStep}, {"repeat_gap", &l->repeatGap}};
  for (const Field& f : fields) {
    if (key == f.name) {
      *f.target = v;
      return true;
    }
  }
  if (key == "repeat" && v >= 1.0f && v <= 64.0f) {
    l->repeat = static_cast<int>(v);
    return true;
  }
  if (key == "seed") {
    l->seed = static_cast<uint32_t>(v);
    return true;
  }
  return false;
}

// Renders one trigger of a layer, adding into out from sample `offset`.
void RenderLayer(const SfxLayer& l, size_t offset, uint32_t seed, std::vector<float>* out) {
  const size_t gate = static_cast<size_t>(l.dur * kRate);
  const size_t total = gate + static_cast<size_t>(l.release * kRate) + 1;
  if (out->size() < offset + total) out->resize(offset + total, 0.0f);
  Envelope env(l.attack, l.decay, l.sustain, l.release);
  Oscillator osc, mod;
  Svf lp, hp;
  Rng rng(seed);
  const float sweepTime = l.sweep > 0.0f ? l.sweep : std::max(l.dur, 1.0e-3f);
  const float freqEnd = l.freqEnd > 0.0f ? l.freqEnd : l.freq;
  const float indexEnd = l.indexEnd >= 0.0f ? l.indexEnd : l.index;
  const float lpEnd = l.lowpassEnd > 0.0f ? l.lowpassEnd : l.lowpass;
  float held = 0.0f, holdPhase = 1.0f;
  for (size_t i = 0; i < total; ++i) {
    if (i == gate) env.Release();
    const float t = static_cast<float>(i) / kRate;
    const float s = std::min(t / sweepTime, 1.0f);
    float freq = l.freq > 0.0f ? l.freq * std::pow(freqEnd / l.freq, s) : 0.0f;
    float semis = 0.0f;
    if (!l.arp.empty()) semis += l.arp[static_cast<size_t>(t / l.arpStep) % l.arp.size()];
    if (l.vibDepth > 0.0f) semis += l.vibDepth * SinTurns(t * l.vibRate);
    if (semis != 0.0f) freq *= std::exp2(semis / 12.0f);
    if ((i & 15) == 0) {
      if (l.lowpass > 0.0f) lp.Set(l.lowpass * std::pow(lpEnd / l.lowpass, s), l.reso);
      if (l.highpass > 0.0f && i == 0) hp.Set(l.highpass, 0.0f);
    }
    float x;
    const float dt = freq / kRate;
    if (l.wave == Wave::kNoise) {
      if (freq <= 0.0f) {
        x = rng.Bipolar();
      } else {
        holdPhase += dt;
        if (holdPhase >= 1.0f) {
          holdPhase -= std::floor(holdPhase);
          held = rng.Bipolar();
        }
        x = held;
      }
    } else if (l.wave == Wave::kFm) {
      const float m = mod.Step(Wave::kSine, dt * l.ratio, 0.5f);
      const float index = l.index + (indexEnd - l.index) * s;
      x = SinTurns(osc.phase + index * m * 0.159f);
      osc.phase += dt;
      if (osc.phase >= 1.0f) osc.phase -= 1.0f;
    } else {
      x = osc.Step(l.wave, dt, l.duty);
    }
    if (l.lowpass > 0.0f) x = lp.Low(x);
    if (l.highpass > 0.0f) x = hp.High(x);
    (*out)[offset + i] += x * env.Step() * l.volume;
  }
}

}  // namespace

bool ParseSfx(const std::string& text, SfxRecipe* recipe, std::string* error) {
  *recipe = SfxRecipe{};
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    const size_t hash = line.find('#');
    if (hash != std::string::npos) line.resize(hash);
    std::istringstream words(line);
    std::string word;
    if (!(words >> word)) continue;
    const std::string where = "line " + std::to_string(lineNo) + ": ";
    if (word == "peak") {
      std::string v;
      if (!(words >> v) || !ParseFloat(v, &recipe->peak) || recipe->peak <= 0.0f ||
          recipe->peak > 1.0f) {
        *error = where + "peak needs a value in (0, 1]";
        return false;
      }
    } else if (word == "layer") {
      SfxLayer layer;
      layer.seed = static_cast<uint32_t>(recipe->layers.size() + 1);
      while (words >> word) {
        const size_t eq = word.find('=');
        if (eq == std::string::npos ||
            !SetLayerField(&layer, word.substr(0, eq), word.substr(eq + 1))) {
          *error = where + "bad layer setting '" + word + "'";
          return false;
        }
      }
      if (layer.dur <= 0.0f || layer.dur > 5.0f || layer.release < 0.0f || layer.start < 0.0f) {
        *error = where + "layer timing out of range";
        return false;
      }
      recipe->layers.push_back(layer);
    } else {
      *error = where + "unknown word '" + word + "'";
      return false;
    }
  }
  if (recipe->layers.empty()) {
    *error = "no layers";
    return false;
  }
  return true;
}

std::vector<float> RenderSfx(const SfxRecipe& recipe) {
  std::vector<float> out;
  for (const SfxLayer& l : recipe.layers) {
    for (int r = 0; r < l.repeat; ++r) {
      const size_t offset = static_cast<size_t>((l.start + r * l.repeatGap) * kRate);
      RenderLayer(l, offset, HashSeed(l.seed, static_cast<uint32_t>(r)), &out);
    }
  }
  // Remove any DC the sweeps left, then cut trailing near-silence.
  float prevIn = 0.0f, prevOut = 0.0f;
  for (float& x : out) {
    const float y = x - prevIn + 0.9986f * prevOut;
    prevIn = x;
    prevOut = y;
    x = y;
  }
  float peak = 0.0f;
  for (float x : out) peak = std::max(peak, std::fabs(x));
  if (peak <= 0.0f) return out;
  size_t end = out.size();
  while (end > 0 && std::fabs(out[end - 1]) < peak * 1.0e-3f) --end;
  out.resize(end);
  // A short fade makes the end click-free whatever the layers did.
  const size_t fade = std::min<size_t>(out.size(), kRate / 200);
  for (size_t i = 0; i < fade; ++i) out[out.size() - 1 - i] *= static_cast<float>(i) / fade;
  const float gain = recipe.peak / peak;
  for (float& x : out) x *= gain;
  return out;
}

bool WriteWav16(const std::string& path, const std::vector<float>& samples, int rate) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) return false;
  const uint32_t dataBytes = static_cast<uint32_t>(samples.size() * 2);
  auto u32 = [&](uint32_t v) {
    const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                static_cast<unsigned char>(v >> 16),
                                static_cast<unsigned char>(v >> 24)};
    std::fwrite(b, 1, 4, f);
  };
  auto u16 = [&](uint16_t v) {
    const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
    std::fwrite(b, 1, 2, f);
  };
  std::fwrite("RIFF", 1, 4, f);
  u32(36 + dataBytes);
  std::fwrite("WAVEfmt ", 1, 8, f);
  u32(16);
  u16(1);  // PCM
  u16(1);  // mono
  u32(static_cast<uint32_t>(rate));
  u32(static_cast<uint32_t>(rate) * 2);
  u16(2);
  u16(16);
  std::fwrite("data", 1, 4, f);
  u32(dataBytes);
  for (float x : samples) {
    const float c = std::clamp(x, -1.0f, 1.0f);
    const auto v = static_cast<int16_t>(std::lround(c * 32767.0f));
    u16(static_cast<uint16_t>(v));
  }
  return std::fclose(f) == 0;
}

}  // namespace audio
