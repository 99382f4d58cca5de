// Window and system operations, time, and the choice of backend.
#include <cstring>

#include "Backend.h"
#include "Engine.h"
#include "Headless.h"

namespace engine {
namespace {

Backend& backendStorage() {
  static Backend backend;
  return backend;
}

bool engineUp = false;

void ensureDevices() {
  Backend& b = backendStorage();
  if (b.video) return;
  b.video = MakeSdlVideo();
  b.audio = MakeSdlAudio();
  b.input = MakeSdlInput();
  b.clock = MakeSdlClock();
  b.headless = false;
}

}  // namespace

WindowSettings& Settings() {
  static WindowSettings settings;
  return settings;
}

Backend& CurrentBackend() {
  ensureDevices();
  return backendStorage();
}

bool EngineIsUp() { return engineUp; }

}  // namespace engine

using engine::CurrentBackend;
using engine::Settings;

void ChangeWindowMode(bool windowed) { Settings().windowed = windowed; }

void SetScreenMode(int width, int height, int colorBits, int refreshRate) {
  Settings().width = width;
  Settings().height = height;
  Settings().colorBits = colorBits;
  Settings().refreshRate = refreshRate;
}

void SetWindowIcon(int iconId) { Settings().iconId = iconId; }
void EnableEngineLog(bool enable) { Settings().engineLog = enable; }
void SetWindowTitle(const char* title) {
  Settings().titleUtf8 = engine::Cp932ToUtf8(title ? title : "");
  // An open window follows at once (the language can change in play).
  if (engine::engineUp) CurrentBackend().video->setTitle(Settings().titleUtf8);
}
void SetRunWhenInactive(bool run) { Settings().runWhenInactive = run; }
void SetTextureFilter(int mode) { Settings().textureFilter = mode; }

int EngineInit() {
  if (engine::engineUp) return 0;
  engine::Backend& b = CurrentBackend();
  if (!b.video->open(Settings())) return -1;
  b.input->open();
  engine::engineUp = true;
  return 0;
}

void EngineEnd() {
  if (!engine::engineUp) return;
  engine::Backend& b = CurrentBackend();
  DeleteAllSounds();
  b.audio->close();
  engine::ReleaseFonts();
  engine::ReleaseModels();
  engine::ReleaseOverlay();
  DeleteAllImages();
  engine::ReleaseDataFiles();
  b.input->close();
  b.video->close();
  engine::engineUp = false;
}

int PumpMessages() {
  if (!engine::engineUp) return 1;
  return CurrentBackend().video->pumpEvents() ? 0 : 1;
}

bool AskYesNo(const char* caption, const char* text) {
  return CurrentBackend().video->askYesNo(engine::Cp932ToUtf8(caption ? caption : ""),
                                          engine::Cp932ToUtf8(text ? text : ""));
}

void SleepMilli(int milliseconds) {
  if (milliseconds > 0) CurrentBackend().clock->sleepMilli(milliseconds);
}

int64_t GetTimeMicro() { return CurrentBackend().clock->nowMicro(); }

namespace engine::headless {

void Use() {
  if (engine::engineUp) EngineEnd();
  Backend& b = backendStorage();
  b.video = MakeHeadlessVideo();
  b.audio = MakeHeadlessAudio();
  b.input = MakeHeadlessInput();
  b.clock = MakeHeadlessClock();
  b.headless = true;
}

void UseSdl() {
  if (engine::engineUp) EngineEnd();
  Backend& b = backendStorage();
  b.video.reset();
  ensureDevices();
}

bool Active() { return backendStorage().headless; }

}  // namespace engine::headless

void ReadKeyboard(uint8_t* keys256) {
  if (!keys256) return;
  if (!engine::engineUp) {
    std::memset(keys256, 0, 256);
    return;
  }
  CurrentBackend().input->readKeyboard(keys256);
}

int ReadJoypad(int pad) { return engine::engineUp ? CurrentBackend().input->readJoypad(pad) : 0; }
