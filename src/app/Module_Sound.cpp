#include "app/Module_Sound.h"

#include "engine/Engine.h"

Module_Sound gSound;

namespace {

// File of each effect slot; empty slots have none.
const char* const kEffectFiles[kSoundEffectSlots] = {
    "Sounds/SE/se_select00.wav",  // 0 cursor moves
    "Sounds/SE/se_ok00.wav",      // 1 decide
    "Sounds/SE/se_cancel00.wav",  // 2 cancel
    "Sounds/SE/se_pause.wav",     // 3 pause
    "Sounds/SE/se_item00.wav",
    "Sounds/SE/se_graze.wav",
    "Sounds/SE/se_powerup.wav",
    "Sounds/SE/se_extend.wav",
    "Sounds/SE/se_pldead00.wav",
    "Sounds/SE/se_plst00.wav",
    "Sounds/SE/se_slash.wav",  // 10
    "Sounds/SE/se_gun00.wav",
    "Sounds/SE/se_nep00.wav",
    "Sounds/SE/se_enep00.wav",
    "Sounds/SE/se_tan00.wav",
    nullptr,
    nullptr,
    nullptr,
    "Sounds/SE/se_lazer00.wav",
    "Sounds/SE/mecha15.wav",
    "Sounds/SE/mecha23_c.wav",  // 20
    "Sounds/SE/bom11.wav",
    "Sounds/SE/se_hit.wav",
    "Sounds/SE/alarm00rs.wav",
    "Sounds/SE/hit_s08_d.wav",
    "Sounds/SE/mcnr0022.wav",
    "Sounds/SE/beep01.wav",
    "Sounds/SE/mecha04.wav",
    // 28 to 49 stay empty.
};

}  // namespace

SoundEngineCalls FacadeSoundCalls() {
  return {DeleteAllSounds, SetSoundLoadMode, LoadSound,         PlaySoundHandle,
          StopSoundHandle, SetSoundVolume,   SetSoundLoopPoint, DeleteSound};
}

void Module_Sound::Load() {
  LoadEffects();
  ReadMusicList();
  LoadSettings();
}

void Module_Sound::LoadEffects() {
  engine.deleteAll();
  engine.setLoadMode(LOAD_MEMORY);
  for (int i = 0; i < kSoundEffectSlots; ++i) {
    // A missing file leaves -1 in its slot; playing it then does nothing.
    seHandle[i] = kEffectFiles[i] ? engine.load(kEffectFiles[i]) : 0;
  }
}

void Module_Sound::ReadMusicList() { bgmList = ReadBgmList(); }

void Module_Sound::RequestEffect(int n) {
  if (n < 0 || n >= kSoundEffectSlots) return;
  if (seVolume != 0) seRequested[n] = true;
}

void Module_Sound::Update() {
  for (int i = 0; i < kSoundEffectSlots; ++i) {
    if (!seRequested[i]) continue;
    // Silenced effects are dropped, not saved up for when the volume returns.
    if (seVolume != 0) engine.play(seHandle[i], PLAY_BACKGROUND, true);
    seRequested[i] = false;
  }
  if (fadeFrames > 0) {
    fadeLevel += fadeStep;
    fadeFrames -= 1;
    if (bgmHandle != 0) {
      engine.setVolume(static_cast<int>(static_cast<float>(bgmVolume) * fadeLevel / 100.0f),
                       bgmHandle);
    }
  }
}

void Module_Sound::PlayMusic(int n) {
  if (bgmHandle != 0) engine.remove(bgmHandle);
  if (n < 0 || static_cast<size_t>(n) >= bgmList.size()) {
    bgmHandle = 0;
    bgmIndex = -1;
    return;
  }
  engine.setLoadMode(LOAD_STREAM);
  bgmHandle = engine.load(bgmList[n].path.c_str());
  if (bgmHandle <= 0) {
    bgmHandle = 0;
    bgmIndex = -1;
    return;
  }
  engine.setLoopPoint(bgmList[n].loopPoint, bgmHandle);
  fadeLevel = 255.0f;
  bgmIndex = n;
  fadeFrames = 0;
  engine.setVolume(bgmVolume * 255 / 100, bgmHandle);
  engine.play(bgmHandle, PLAY_LOOP, true);
}

void Module_Sound::StopMusic() {
  if (bgmHandle != 0) engine.stop(bgmHandle);
  bgmIndex = -1;
}

void Module_Sound::ResumeMusic() {
  if (bgmHandle != 0) engine.play(bgmHandle, PLAY_LOOP, false);
}

void Module_Sound::FadeMusic(float step, int frames) {
  fadeStep = step;
  fadeFrames = frames;
}

void Module_Sound::ApplyVolumes() {
  for (int i = 0; i < kSoundEffectSlots; ++i) engine.setVolume(seVolume * 255 / 100, seHandle[i]);
  engine.setVolume(bgmVolume * 255 / 100, bgmHandle);
  fadeFrames = 0;
  fadeStep = 0.0f;
  fadeLevel = 255.0f;
}
