// The cut-scene's conversation: the same file format as a stage's, with its
// own command set acting on a full-screen picture and a message window.
#pragma once

#include <cstdint>
#include <string>

#include "stage/TalkEvent.h"

class Scene;
class Sprite;
class Sprite_MessageWindow;

// What a cut-scene conversation acts on: the waits its owner runs, the
// message window and the picture.
struct DemoView {
  uint8_t waitingForMessage = 0;
  uint8_t waitingForTime = 0;
  int32_t waitCounter = 0;
  Sprite_MessageWindow* messageWindow = nullptr;
  Sprite* picture = nullptr;
};

class DemoEvent final : public TalkEvent {
 public:
  explicit DemoEvent(DemoView& view) : view_(view) {}
  // 1, 2 window on and off; 3, 4 message time and no-key messages; 6 timed
  // wait; 10, 11 speaker and message; 15 the picture; 20 music. Everything
  // else, the stage's commands included, does nothing here.
  void runCommand(int32_t type, const std::string& data) override;

 private:
  DemoView& view_;
  void showPicture(int32_t n);
};

// A new cut-scene scene (it plays conversation 100 + the stage number). Made
// with the front-end scenes; the stage reaches it through its links.
Scene* MakeCutSceneScene();
