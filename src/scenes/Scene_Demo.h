// The cut-scene before every stage and after a game: plays conversation
// 100 + the stage number over full-screen pictures, then fades the screen and
// the music out and hands over to that stage or, past stage 9, the result.
#pragma once

#include "app/Scene.h"
#include "stage/DemoEvent.h"

// The message window spans the screen under the picture (a stage's spans
// the play field).
inline constexpr int32_t kCutSceneWindowWidth = 608;

class Scene_Demo final : public Scene, public DemoView {
 public:
  DemoEvent conversation{*this};

  Scene_Demo();
  ~Scene_Demo() override;
  void start() override;
  void update() override;
  void terminate() override;
};
