// The summary after a finished game: difficulty, charge type, score,
// statistics and play time. OK moves on to the name entry when the score
// earns a ranking place, otherwise to the replay question. Leaving always
// rewrites "score.dat".
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;

class Scene_Result : public Scene {
 public:
  Sprite* background = nullptr;
  Sprite_String* heading = nullptr;
  Sprite_SelectTable* labels = nullptr;
  Sprite_SelectTable* values = nullptr;

  Scene_Result();
  ~Scene_Result() override;
  void start() override;
  void update() override;
  void terminate() override;

  // The eleven values shown, in row order, from the game status as it
  // stands (the Extra rule applied by start).
  static std::vector<std::string> ValueRows();

 private:
  void release();
};
