// The sound operations of the facade: loading, playing, stopping, volume and
// loop points, on our own mixer fed to one audio device.
//
// The device is opened on the first sound operation after EngineInit. When
// there is no sound card the open fails and the mixer simply is not pulled:
// every operation keeps working and keeps its state, silently. The mixer is
// only touched with the device locked, because the device pulls it from its
// own thread.
#include <algorithm>
#include <memory>
#include <string>

#include "Backend.h"
#include "Engine.h"
#include "Mixer.h"
#include "SoundData.h"

namespace engine {
namespace {

// Nothing we ship comes near this; it bounds what a hostile file can cost.
constexpr int64_t kMaxMemoryFrames = int64_t{kMixRate} * 60 * 20;

struct SoundSystem {
  Mixer mixer;
  int loadMode = LOAD_MEMORY;
  AudioDevice* device = nullptr;  // the device the mixer was handed to
  bool opened = false;
  bool live = false;  // the device really plays
};

SoundSystem& sys() {
  static SoundSystem s;
  return s;
}

void pull(void* user, float* stereo, int frames) { static_cast<Mixer*>(user)->mix(stereo, frames); }

// The device the mixer plays on, opened on first use; null before EngineInit.
AudioDevice* device() {
  SoundSystem& s = sys();
  if (!EngineIsUp()) return nullptr;
  AudioDevice* d = CurrentBackend().audio.get();
  if (!d) return nullptr;
  if (!s.opened || d != s.device) {
    s.live = d->open(kMixRate, &pull, &s.mixer);
    s.device = d;
    s.opened = true;
  }
  return d;
}

class DeviceLock {
 public:
  explicit DeviceLock(AudioDevice* d) : d_(d) {
    if (d_) d_->lock();
  }
  ~DeviceLock() {
    if (d_) d_->unlock();
  }
  DeviceLock(const DeviceLock&) = delete;
  DeviceLock& operator=(const DeviceLock&) = delete;

 private:
  AudioDevice* d_;
};

bool startsWith(const std::vector<uint8_t>& bytes, const char* magic) {
  size_t n = std::char_traits<char>::length(magic);
  return bytes.size() >= n && std::equal(magic, magic + n, bytes.begin());
}

}  // namespace
}  // namespace engine

using engine::DeviceLock;
using engine::startsWith;
using engine::sys;

void SetSoundLoadMode(int mode) { sys().loadMode = mode; }

int LoadSound(const char* path) {
  if (!path) return -1;
  auto bytes = std::make_shared<std::vector<uint8_t>>();
  if (!engine::ReadWholeDataFile(path, *bytes)) return -1;
  const bool stream = sys().loadMode == LOAD_STREAM;

  // Decode outside the lock: the device keeps playing meanwhile.
  engine::PcmBuffer decoded;
  std::unique_ptr<engine::StreamDecoder> decoder;
  if (startsWith(*bytes, "RIFF")) {
    if (!engine::DecodeWav(bytes->data(), bytes->size(), decoded)) return -1;
    if (stream) {
      decoder = engine::MakePcmDecoder(std::make_shared<engine::PcmBuffer>(std::move(decoded)));
    }
  } else if (startsWith(*bytes, "OggS")) {
    decoder = engine::OpenOgg(bytes);
    if (!decoder) return -1;
    if (!stream) {
      if (!engine::DecodeAll(*decoder, decoded, engine::kMaxMemoryFrames)) return -1;
      decoder.reset();
    }
  } else {
    return -1;
  }

  std::shared_ptr<engine::PcmBuffer> pcm;
  int sourceRate = decoded.rate;
  if (!decoder) {
    pcm = std::make_shared<engine::PcmBuffer>(engine::Resample(decoded, engine::kMixRate));
  }
  DeviceLock lock(engine::device());
  return decoder ? sys().mixer.addStreamSound(std::move(decoder))
                 : sys().mixer.addMemorySound(std::move(pcm), sourceRate);
}

int PlaySoundHandle(int handle, int mode, bool fromTop) {
  if (mode != PLAY_WAIT && mode != PLAY_BACKGROUND && mode != PLAY_LOOP) return -1;
  engine::AudioDevice* d = engine::device();
  double seconds;
  {
    DeviceLock lock(d);
    if (sys().mixer.play(handle, mode == PLAY_LOOP, fromTop) != 0) return -1;
    seconds = sys().mixer.duration(handle);
  }
  // Waiting for the end only makes sense while a real device plays it; with
  // no sound card, and on the headless backend, it plays in the background.
  if (mode == PLAY_WAIT && sys().live && !engine::CurrentBackend().headless) {
    int64_t limitMs = seconds < 0 ? 600000 : static_cast<int64_t>(seconds * 1000) + 1000;
    for (int64_t waited = 0; waited < limitMs; waited += 5) {
      {
        DeviceLock lock(d);
        if (sys().mixer.isPlaying(handle) != 1) break;
      }
      engine::CurrentBackend().clock->sleepMilli(5);
    }
  }
  return 0;
}

int StopSoundHandle(int handle) {
  DeviceLock lock(engine::device());
  return sys().mixer.stop(handle);
}

int IsSoundPlaying(int handle) {
  DeviceLock lock(engine::device());
  return sys().mixer.isPlaying(handle);
}

int SetSoundVolume(int volume, int handle) {
  DeviceLock lock(engine::device());
  return sys().mixer.setVolume(volume, handle);
}

int SetSoundLoopPoint(int64_t samplePosition, int handle) {
  DeviceLock lock(engine::device());
  return sys().mixer.setLoopPoint(samplePosition, handle);
}

int DeleteSound(int handle) {
  DeviceLock lock(engine::device());
  return sys().mixer.remove(handle);
}

int DeleteAllSounds() {
  engine::SoundSystem& s = sys();
  {
    // Only lock a device the mixer already plays on; never open one here.
    bool current =
        s.opened && engine::EngineIsUp() && engine::CurrentBackend().audio.get() == s.device;
    DeviceLock lock(current ? s.device : nullptr);
    s.mixer.clear();
  }
  // The shutdown closes the device right after this; the next sound
  // operation hands the mixer to whatever device is current then.
  s.opened = false;
  s.live = false;
  s.device = nullptr;
  return 0;
}
