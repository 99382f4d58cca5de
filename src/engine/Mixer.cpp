// Mixing, voice allocation, looping and resuming.
#include "Mixer.h"

#include <cmath>
#include <cstring>

namespace engine {

namespace {
constexpr int kStreamChunk = 1024;
}  // namespace

float Mixer::VolumeToGain(int volume) {
  if (volume >= 255) return 1.0f;
  if (volume <= 0) return 0.0f;
  double hundredthsOfDb = 1000.0 * std::log10(volume / 255.0);
  return static_cast<float>(std::pow(10.0, hundredthsOfDb / 2000.0));
}

Mixer::Sound* Mixer::find(int handle) {
  auto it = sounds_.find(handle);
  return it == sounds_.end() ? nullptr : it->second.get();
}

const Mixer::Sound* Mixer::find(int handle) const {
  auto it = sounds_.find(handle);
  return it == sounds_.end() ? nullptr : it->second.get();
}

int Mixer::add(std::unique_ptr<Sound> sound) {
  // Handles are never reused, so a stale handle cannot reach a newer sound.
  if (nextHandle_ <= 0) return -1;
  int handle = nextHandle_++;
  sounds_[handle] = std::move(sound);
  return handle;
}

int Mixer::addMemorySound(std::shared_ptr<const PcmBuffer> pcm, int sourceRate) {
  if (!pcm || pcm->frames() == 0 || sourceRate <= 0) return -1;
  auto sound = std::make_unique<Sound>();
  sound->pcm = std::move(pcm);
  sound->sourceRate = sourceRate;
  return add(std::move(sound));
}

int Mixer::addStreamSound(std::unique_ptr<StreamDecoder> decoder) {
  if (!decoder || decoder->rate() <= 0) return -1;
  auto sound = std::make_unique<Sound>();
  sound->sourceRate = decoder->rate();
  sound->stream = std::make_unique<Stream>();
  sound->stream->decoder = std::move(decoder);
  sound->stream->buf.resize(kStreamChunk * 2);
  return add(std::move(sound));
}

bool Mixer::rewind(Stream& s) {
  s.bufPos = s.bufCount = 0;
  s.primed = false;
  s.frac = 0.0;
  s.atEnd = false;
  return s.decoder->seek(0);
}

Mixer::Voice* Mixer::Newest(Sound& sound) {
  Voice* newest = nullptr;
  for (Voice& v : sound.voices) {
    if (v.active && (!newest || v.serial > newest->serial)) newest = &v;
  }
  return newest;
}

int Mixer::play(int handle, bool loop, bool fromTop) {
  Sound* sound = find(handle);
  if (!sound) return -1;
  if (sound->stream) {
    Stream& s = *sound->stream;
    if (fromTop || s.atEnd) {
      if (!rewind(s)) {
        s.active = false;
        return -1;
      }
    }
    s.loop = loop;
    s.active = true;
    return 0;
  }
  const int64_t length = sound->pcm->frames();
  Voice* target = nullptr;
  int64_t start = 0;
  Voice* newest = Newest(*sound);
  if (fromTop && newest && newest->pos == 0) {
    // Started again before a single sample of it was mixed: the two would
    // start on the same sample and add up in phase, so a burst of requests
    // (a fast-forwarded replay runs several frames between two pulls of the
    // device) would only make one sound louder and louder. It starts once.
    target = newest;
  } else if (fromTop) {
    // A free voice if there is one, else the one that has sounded longest.
    for (Voice& v : sound->voices) {
      if (!v.active) {
        target = &v;
        break;
      }
      if (!target || v.serial < target->serial) target = &v;
    }
  } else {
    if (newest) {
      newest->loop = loop;  // already sounding: nothing to resume
      return 0;
    }
    target = &sound->voices[0];
    start = sound->resumePos < length ? sound->resumePos : 0;
  }
  target->active = true;
  target->loop = loop;
  target->pos = start;
  target->serial = ++serial_;
  return 0;
}

int Mixer::stop(int handle) {
  Sound* sound = find(handle);
  if (!sound) return -1;
  if (sound->stream) {
    sound->stream->active = false;  // the decoder stays where it is
    return 0;
  }
  const Voice* newest = Newest(*sound);
  if (newest) sound->resumePos = newest->pos;
  for (Voice& v : sound->voices) v.active = false;
  return 0;
}

int Mixer::activeVoices(int handle) const {
  const Sound* sound = find(handle);
  if (!sound) return -1;
  if (sound->stream) return sound->stream->active ? 1 : 0;
  int n = 0;
  for (const Voice& v : sound->voices) n += v.active ? 1 : 0;
  return n;
}

int Mixer::isPlaying(int handle) const {
  int n = activeVoices(handle);
  return n < 0 ? -1 : (n > 0 ? 1 : 0);
}

double Mixer::duration(int handle) const {
  const Sound* sound = find(handle);
  if (!sound) return -1.0;
  if (sound->stream) {
    int64_t length = sound->stream->decoder->length();
    return length < 0 ? -1.0 : static_cast<double>(length) / sound->sourceRate;
  }
  return static_cast<double>(sound->pcm->frames()) / kMixRate;
}

int Mixer::setVolume(int volume, int handle) {
  Sound* sound = find(handle);
  if (!sound) return -1;
  sound->gain = VolumeToGain(volume);
  return 0;
}

int Mixer::setLoopPoint(int64_t sourceFrame, int handle) {
  Sound* sound = find(handle);
  if (!sound) return -1;
  sound->loopPoint = sourceFrame < 0 ? 0 : sourceFrame;
  return 0;
}

int Mixer::remove(int handle) { return sounds_.erase(handle) ? 0 : -1; }

void Mixer::clear() {
  sounds_.clear();
  limiter_.reset();
}

void Mixer::mixMemory(Sound& sound, float* out, int frames) {
  const PcmBuffer& pcm = *sound.pcm;
  const int64_t length = pcm.frames();
  // The loop point is given in the file's samples; memory sounds are at the mix rate.
  int64_t loopAt = sound.loopPoint * kMixRate / sound.sourceRate;
  if (loopAt >= length) loopAt = 0;
  const float gain = sound.gain;
  bool ended = false;
  for (Voice& v : sound.voices) {
    if (!v.active) continue;
    for (int i = 0; i < frames; ++i) {
      out[2 * i] += gain * pcm.samples[2 * v.pos];
      out[2 * i + 1] += gain * pcm.samples[2 * v.pos + 1];
      if (++v.pos >= length) {
        if (v.loop) {
          v.pos = loopAt;
        } else {
          v.active = false;
          v.pos = 0;
          ended = true;
          break;
        }
      }
    }
  }
  bool any = false;
  for (const Voice& v : sound.voices) any = any || v.active;
  // Played to the end: a later resume starts from the top.
  if (ended && !any) sound.resumePos = 0;
}

// Next frame of a stream at its own rate, looping back to the loop point at
// the end. False when the stream has ended or broken; it then stops.
bool Mixer::fetch(Sound& sound, float* frame) {
  Stream& s = *sound.stream;
  if (s.bufPos >= s.bufCount) {
    int got = s.decoder->read(s.buf.data(), kStreamChunk);
    if (got == 0 && s.loop) {
      int64_t loopAt = sound.loopPoint;
      int64_t length = s.decoder->length();
      if (length >= 0 && loopAt >= length) loopAt = 0;
      if (!s.decoder->seek(loopAt)) got = -1;
      if (got == 0) got = s.decoder->read(s.buf.data(), kStreamChunk);
      if (got == 0) got = -1;  // nothing after the loop point: never spin
    }
    if (got <= 0) {
      s.active = false;
      s.atEnd = true;  // a later resume starts over
      s.bufPos = s.bufCount = 0;
      return false;
    }
    s.bufPos = 0;
    s.bufCount = got;
  }
  frame[0] = s.buf[2 * s.bufPos];
  frame[1] = s.buf[2 * s.bufPos + 1];
  ++s.bufPos;
  return true;
}

void Mixer::mixStream(Sound& sound, float* out, int frames) {
  Stream& s = *sound.stream;
  const float gain = sound.gain;
  if (sound.sourceRate == kMixRate) {
    float f[2];
    for (int i = 0; i < frames && fetch(sound, f); ++i) {
      out[2 * i] += gain * f[0];
      out[2 * i + 1] += gain * f[1];
    }
    return;
  }
  const double step = static_cast<double>(sound.sourceRate) / kMixRate;
  if (!s.primed) {
    if (!fetch(sound, s.prev)) return;
    if (!fetch(sound, s.next)) return;
    s.primed = true;
    s.frac = 0.0;
  }
  for (int i = 0; i < frames && s.active; ++i) {
    float t = static_cast<float>(s.frac);
    out[2 * i] += gain * (s.prev[0] + (s.next[0] - s.prev[0]) * t);
    out[2 * i + 1] += gain * (s.prev[1] + (s.next[1] - s.prev[1]) * t);
    s.frac += step;
    while (s.frac >= 1.0 && s.active) {
      s.frac -= 1.0;
      s.prev[0] = s.next[0];
      s.prev[1] = s.next[1];
      fetch(sound, s.next);
    }
  }
}

void Mixer::mix(float* stereo, int frames) {
  if (frames <= 0) return;
  std::memset(stereo, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
  for (auto& entry : sounds_) {
    Sound& sound = *entry.second;
    if (sound.stream) {
      if (sound.stream->active) mixStream(sound, stereo, frames);
    } else {
      mixMemory(sound, stereo, frames);
    }
  }
  limiter_.process(stereo, frames);
}

}  // namespace engine
