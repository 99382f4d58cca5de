#include "SdlVideoInit.h"

#include <SDL.h>

#include <cstdio>
#include <cstring>

namespace engine {
namespace {

constexpr int kAttempts = 8;
constexpr Uint32 kFirstPauseMs = 100;

bool Windowless(const char* driver) {
  return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
         std::strcmp(driver, "dummy") == 0;
}

}  // namespace

bool InitVideoOnADisplay() {
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  const bool windowlessAsked = asked != nullptr && *asked != '\0' && Windowless(asked);
  Uint32 pause = kFirstPauseMs;
  for (int attempt = 1;; ++attempt) {
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) {
      std::fprintf(stderr, "velmora: cannot start the video: %s\n", SDL_GetError());
      return false;
    }
    if (windowlessAsked || !Windowless(SDL_GetCurrentVideoDriver())) return true;
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    if (attempt == kAttempts) break;
    SDL_Delay(pause);
    pause *= 2;
  }
  const char* display = SDL_getenv("DISPLAY");
  std::fprintf(stderr,
               "velmora: no display to open the window on (DISPLAY=%s); "
               "set SDL_VIDEODRIVER to choose a video driver\n",
               display ? display : "(not set)");
  return false;
}

}  // namespace engine
