// The headless realisation of the devices, for tests: nothing is shown or
// heard, the clock only moves when slept or advanced, input is scripted.
#include <cstring>
#include <vector>

#include "Backend.h"
#include "Headless.h"

namespace engine {
namespace {

struct HeadlessState {
  std::vector<headless::DrawCall> draws;
  int64_t now = 1'000'000;
  uint8_t keys[256] = {};
  int joypad = 0;
  bool answerYes = false;
  bool quitRequested = false;
  AudioDevice::Callback audioCallback = nullptr;
  void* audioUser = nullptr;
};

HeadlessState& state() {
  static HeadlessState s;
  return s;
}

class HeadlessVideo final : public VideoDevice {
 public:
  bool open(const WindowSettings&) override {
    state().quitRequested = false;
    return true;
  }
  void close() override {}
  bool pumpEvents() override { return !state().quitRequested; }
  void* createTexture(int width, int height, const uint32_t*) override {
    // Any non-null token serves: nothing is ever sampled.
    return width > 0 && height > 0 ? new int(0) : nullptr;
  }
  void updateTexture(void*, int, int, int, int, const uint32_t*) override {}
  void destroyTexture(void* texture) override { delete static_cast<int*>(texture); }
  void setClip(bool, int, int, int, int) override {}
  void drawGeometry(void*, const Vertex*, int, const int*, int, int) override {}
  void clear() override {}
  bool readPixels(int, int, int width, int height, uint32_t* rgba) override {
    std::memset(rgba, 0, sizeof(uint32_t) * static_cast<size_t>(width) * height);
    return true;
  }
  void present() override {}
  bool askYesNo(const std::string&, const std::string&) override { return state().answerYes; }
};

class HeadlessAudio final : public AudioDevice {
 public:
  bool open(int, Callback callback, void* user) override {
    state().audioCallback = callback;
    state().audioUser = user;
    return true;
  }
  void close() override {
    state().audioCallback = nullptr;
    state().audioUser = nullptr;
  }
  void lock() override {}
  void unlock() override {}
};

class HeadlessInput final : public InputDevice {
 public:
  void open() override {}
  void close() override {}
  void readKeyboard(uint8_t* keys256) override { std::memcpy(keys256, state().keys, 256); }
  int readJoypad(int pad) override { return pad == 1 ? state().joypad : 0; }
};

class HeadlessClock final : public ClockDevice {
 public:
  int64_t nowMicro() override { return state().now; }
  void sleepMilli(int milliseconds) override { state().now += int64_t{milliseconds} * 1000; }
};

}  // namespace

std::unique_ptr<VideoDevice> MakeHeadlessVideo() { return std::make_unique<HeadlessVideo>(); }
std::unique_ptr<AudioDevice> MakeHeadlessAudio() { return std::make_unique<HeadlessAudio>(); }
std::unique_ptr<InputDevice> MakeHeadlessInput() { return std::make_unique<HeadlessInput>(); }
std::unique_ptr<ClockDevice> MakeHeadlessClock() { return std::make_unique<HeadlessClock>(); }

}  // namespace engine

namespace engine::headless {

const std::vector<DrawCall>& Draws() { return state().draws; }
void ClearDraws() { state().draws.clear(); }
void Record(const DrawCall& call) {
  if (Active()) state().draws.push_back(call);
}

int64_t Now() { return state().now; }
void Advance(int64_t micro) { state().now += micro; }

void SetKey(int scanCode, bool down) {
  if (scanCode >= 0 && scanCode < 256) state().keys[scanCode] = down ? 1 : 0;
}
void ReleaseAllKeys() { std::memset(state().keys, 0, sizeof state().keys); }
void SetJoypad(int mask) { state().joypad = mask; }

void SetAnswer(bool yes) { state().answerYes = yes; }
void RequestQuit() { state().quitRequested = true; }

void PullAudio(float* stereo, int frames) {
  if (state().audioCallback) {
    state().audioCallback(state().audioUser, stereo, frames);
  } else {
    std::memset(stereo, 0, sizeof(float) * 2 * static_cast<size_t>(frames));
  }
}

}  // namespace engine::headless
