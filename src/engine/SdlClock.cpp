// The real clock: SDL's performance counter and SDL_Delay.
#include <SDL.h>

#include "Backend.h"

namespace engine {
namespace {

class SdlClock final : public ClockDevice {
 public:
  SdlClock() : frequency_(SDL_GetPerformanceFrequency()), origin_(SDL_GetPerformanceCounter()) {}
  int64_t nowMicro() override {
    const uint64_t ticks = SDL_GetPerformanceCounter() - origin_;
    // Split to keep the multiplication from overflowing on fast counters.
    return static_cast<int64_t>(ticks / frequency_ * 1'000'000 +
                                ticks % frequency_ * 1'000'000 / frequency_);
  }
  void sleepMilli(int milliseconds) override { SDL_Delay(static_cast<Uint32>(milliseconds)); }

 private:
  uint64_t frequency_;
  uint64_t origin_;
};

}  // namespace

std::unique_ptr<ClockDevice> MakeSdlClock() { return std::make_unique<SdlClock>(); }

}  // namespace engine
