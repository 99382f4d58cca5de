// The SDL realisation of the audio device: one float stereo stream whose
// callback pulls the mixer.
#include <SDL.h>

#include "Backend.h"

namespace engine {
namespace {

class SdlAudio final : public AudioDevice {
 public:
  ~SdlAudio() override { close(); }

  bool open(int sampleRate, Callback callback, void* user) override {
    if (device_) {
      // Already playing: only the receiver changes.
      SDL_LockAudioDevice(device_);
      callback_ = callback;
      user_ = user;
      SDL_UnlockAudioDevice(device_);
      return true;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    callback_ = callback;
    user_ = user;
    SDL_AudioSpec want{};
    want.freq = sampleRate;
    want.format = AUDIO_F32SYS;
    want.channels = 2;
    want.samples = 1024;
    want.callback = &SdlAudio::fill;
    want.userdata = this;
    SDL_AudioSpec have{};
    // No changes allowed: SDL converts to whatever the card wants, so the
    // mixer always sees float stereo at our rate.
    device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
    if (device_ == 0) {
      SDL_QuitSubSystem(SDL_INIT_AUDIO);
      return false;
    }
    SDL_PauseAudioDevice(device_, 0);
    return true;
  }

  void close() override {
    if (device_ == 0) return;
    SDL_CloseAudioDevice(device_);
    device_ = 0;
    callback_ = nullptr;
    user_ = nullptr;
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
  }

  void lock() override {
    if (device_) SDL_LockAudioDevice(device_);
  }
  void unlock() override {
    if (device_) SDL_UnlockAudioDevice(device_);
  }

 private:
  static void fill(void* userdata, Uint8* stream, int len) {
    auto* self = static_cast<SdlAudio*>(userdata);
    int frames = len / static_cast<int>(2 * sizeof(float));
    if (self->callback_) {
      self->callback_(self->user_, reinterpret_cast<float*>(stream), frames);
    } else {
      SDL_memset(stream, 0, len);
    }
  }

  SDL_AudioDeviceID device_ = 0;
  Callback callback_ = nullptr;
  void* user_ = nullptr;
};

}  // namespace

std::unique_ptr<AudioDevice> MakeSdlAudio() { return std::make_unique<SdlAudio>(); }

}  // namespace engine
