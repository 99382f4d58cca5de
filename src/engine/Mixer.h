// The game's own software mixer: a table of sound handles, up to three
// voices per memory sound, one decoder per streamed sound, all summed into
// interleaved stereo float frames at kMixRate and kept below full scale by a
// limiter. It knows nothing of devices or locking: the sound facade locks the
// device around every call, and the device (or a test) calls mix().
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "Limiter.h"
#include "SoundData.h"

namespace engine {

class Mixer {
 public:
  static constexpr int kVoicesPerSound = 3;

  // The gain of the facade's volume: 255 (and above) full, 0 silent, in
  // between an attenuation of 1000·log10(volume/255) hundredths of a decibel.
  static float VolumeToGain(int volume);

  // `pcm` must already be at kMixRate; `sourceRate` converts loop points.
  int addMemorySound(std::shared_ptr<const PcmBuffer> pcm, int sourceRate);
  int addStreamSound(std::unique_ptr<StreamDecoder> decoder);

  // Results follow the facade: 0 done, -1 for an unknown handle.
  int play(int handle, bool loop, bool fromTop);
  int stop(int handle);
  int isPlaying(int handle) const;  // 1, 0, or -1 for an unknown handle
  int setVolume(int volume, int handle);
  int setLoopPoint(int64_t sourceFrame, int handle);
  int remove(int handle);
  void clear();

  int activeVoices(int handle) const;  // -1 for an unknown handle
  // Seconds the sound lasts, or -1 when unknown.
  double duration(int handle) const;

  void mix(float* stereo, int frames);

 private:
  struct Voice {
    bool active = false;
    bool loop = false;
    int64_t pos = 0;
    uint64_t serial = 0;  // start order: the highest is the newest
  };
  struct Stream {
    std::unique_ptr<StreamDecoder> decoder;
    bool active = false;
    bool loop = false;
    bool atEnd = false;
    std::vector<float> buf;  // decoded frames not yet mixed
    int bufPos = 0;
    int bufCount = 0;
    // Linear resampler state, used only when the stream's rate differs.
    bool primed = false;
    double frac = 0.0;
    float prev[2] = {0, 0};
    float next[2] = {0, 0};
  };
  struct Sound {
    std::shared_ptr<const PcmBuffer> pcm;  // memory sounds
    std::unique_ptr<Stream> stream;        // streamed sounds
    int sourceRate = kMixRate;
    Voice voices[kVoicesPerSound];
    int64_t resumePos = 0;
    int64_t loopPoint = 0;  // in source frames
    float gain = 1.0f;
  };

  static Voice* Newest(Sound& sound);  // the active voice started last, or null
  Sound* find(int handle);
  const Sound* find(int handle) const;
  int add(std::unique_ptr<Sound> sound);
  bool rewind(Stream& s);
  bool fetch(Sound& sound, float* frame);
  void mixMemory(Sound& sound, float* out, int frames);
  void mixStream(Sound& sound, float* out, int frames);

  std::map<int, std::unique_ptr<Sound>> sounds_;
  Limiter limiter_;
  int nextHandle_ = 1;
  uint64_t serial_ = 0;
};

}  // namespace engine
