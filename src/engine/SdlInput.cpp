// Keyboard and joypad through SDL. Pad 1 is the first game controller; it
// may be plugged in or pulled out at any time, so every read checks for it.
#include <SDL.h>

#include <cstring>

#include "Backend.h"
#include "KeyMap.h"

namespace engine {
namespace {

class SdlInput final : public InputDevice {
 public:
  ~SdlInput() override { close(); }

  void open() override {
    if (!ready_) ready_ = SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0;
  }

  void close() override {
    if (pad_) SDL_GameControllerClose(pad_);
    pad_ = nullptr;
    if (ready_) SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER);
    ready_ = false;
  }

  void readKeyboard(uint8_t* keys256) override {
    int count = 0;
    const Uint8* state = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetKeyboardState(&count) : nullptr;
    MapKeyboardState(state, count, keys256);
  }

  int readJoypad(int pad) override {
    if (pad != 1 || !ready_) return 0;
    if (pad_ && !SDL_GameControllerGetAttached(pad_)) {
      SDL_GameControllerClose(pad_);
      pad_ = nullptr;
    }
    if (!pad_) openFirstController();
    if (!pad_) return 0;
    return JoypadMaskFrom(readPad());
  }

 private:
  void openFirstController() {
    const int count = SDL_NumJoysticks();
    for (int i = 0; i < count && !pad_; ++i) {
      if (SDL_IsGameController(i)) pad_ = SDL_GameControllerOpen(i);
    }
  }

  PadReading readPad() const {
    auto button = [this](SDL_GameControllerButton b) {
      return SDL_GameControllerGetButton(pad_, b) != 0;
    };
    auto axis = [this](SDL_GameControllerAxis a) {
      return static_cast<int>(SDL_GameControllerGetAxis(pad_, a));
    };
    PadReading r;
    r.dpadUp = button(SDL_CONTROLLER_BUTTON_DPAD_UP);
    r.dpadDown = button(SDL_CONTROLLER_BUTTON_DPAD_DOWN);
    r.dpadLeft = button(SDL_CONTROLLER_BUTTON_DPAD_LEFT);
    r.dpadRight = button(SDL_CONTROLLER_BUTTON_DPAD_RIGHT);
    r.stickX = axis(SDL_CONTROLLER_AXIS_LEFTX);
    r.stickY = axis(SDL_CONTROLLER_AXIS_LEFTY);
    r.leftTrigger = axis(SDL_CONTROLLER_AXIS_TRIGGERLEFT);
    r.rightTrigger = axis(SDL_CONTROLLER_AXIS_TRIGGERRIGHT);
    r.buttons[PADBTN_SOUTH] = button(SDL_CONTROLLER_BUTTON_A);
    r.buttons[PADBTN_EAST] = button(SDL_CONTROLLER_BUTTON_B);
    r.buttons[PADBTN_WEST] = button(SDL_CONTROLLER_BUTTON_X);
    r.buttons[PADBTN_NORTH] = button(SDL_CONTROLLER_BUTTON_Y);
    r.buttons[PADBTN_LEFT_SHOULDER] = button(SDL_CONTROLLER_BUTTON_LEFTSHOULDER);
    r.buttons[PADBTN_START] = button(SDL_CONTROLLER_BUTTON_START);
    r.buttons[PADBTN_RIGHT_SHOULDER] = button(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER);
    r.buttons[PADBTN_BACK] = button(SDL_CONTROLLER_BUTTON_BACK);
    r.buttons[PADBTN_LEFT_STICK] = button(SDL_CONTROLLER_BUTTON_LEFTSTICK);
    r.buttons[PADBTN_RIGHT_STICK] = button(SDL_CONTROLLER_BUTTON_RIGHTSTICK);
    return r;
  }

  bool ready_ = false;
  SDL_GameController* pad_ = nullptr;
};

}  // namespace

std::unique_ptr<InputDevice> MakeSdlInput() { return std::make_unique<SdlInput>(); }

}  // namespace engine
