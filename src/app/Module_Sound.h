// The game's global sound state: 50 effect slots played on request once per
// frame, one streamed tune from the music list with a volume fade, and the two
// volumes kept in "setting.dat".
#pragma once

#include <cstdint>
#include <vector>

#include "app/BgmList.h"

inline constexpr int kSoundEffectSlots = 50;
inline constexpr const char* kSettingsPath = "setting.dat";

// Effect slot numbers the game's code asks for.
enum SoundEffect {
  SE_SELECT = 0,  // cursor moves
  SE_OK = 1,      // decide
  SE_CANCEL = 2,
  SE_PAUSE = 3,
};

// The engine calls the module makes. They are the facade's functions; tests
// put recorders in their place to see exactly what is played and when.
struct SoundEngineCalls {
  int (*deleteAll)();
  void (*setLoadMode)(int mode);
  int (*load)(const char* path);
  int (*play)(int handle, int mode, bool fromTop);
  int (*stop)(int handle);
  int (*setVolume)(int volume, int handle);
  int (*setLoopPoint)(int64_t samplePosition, int handle);
  int (*remove)(int handle);
};
SoundEngineCalls FacadeSoundCalls();

class Module_Sound {
 public:
  int32_t seHandle[kSoundEffectSlots] = {};  // 0 empty, -1 failed to load
  bool seRequested[kSoundEffectSlots] = {};  // requested since the last update
  std::vector<BgmEntry> bgmList;             // index = music number
  int32_t bgmHandle = 0;                     // current tune, 0 none
  int32_t bgmIndex = -1;                     // current music number, -1 none
  int32_t bgmVolume = 255;                   // 0..100; 255 until settings are read
  int32_t seVolume = 255;                    // 0..100; 255 until settings are read
  float fadeLevel = 255.0f;                  // music fade factor 0..255
  float fadeStep = 0.0f;                     // change of fadeLevel per frame
  int32_t fadeFrames = 0;                    // frames of fading left
  SoundEngineCalls engine = FacadeSoundCalls();

  // Start-up: effects, music list, settings, in that order.
  void Load();
  void LoadEffects();
  void ReadMusicList();
  void LoadSettings();  // reads "setting.dat" (exactly 8 bytes) and applies the volumes
  void SaveSettings() const;

  // Raises slot n's request; played once by the next Update whatever the
  // number of requests. Ignored while the effect volume is 0.
  void RequestEffect(int n);
  // Once per frame: plays the requested effects and steps the music fade.
  void Update();

  // Starts music n from its top, looping; an n outside the list stops the music.
  void PlayMusic(int n);
  // Stops the current tune (it stays loaded, so it can be resumed).
  void StopMusic();
  // Resumes a stopped tune where it stopped.
  void ResumeMusic();
  // Changes fadeLevel by step per frame for the given frames
  // (-8.5 for 30 frames brings it from 255 to 0).
  void FadeMusic(float step, int frames);
  // After a volume change: the volumes go to every handle and the fade ends.
  void ApplyVolumes();
};

extern Module_Sound gSound;
