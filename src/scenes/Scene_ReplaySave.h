// The question after a game: save its replay? Yes writes the record to a new
// file in "replay" and shows the name; the next OK, or No, goes on to the
// ranking table of the game's difficulty and charge type.
#pragma once

#include <cstddef>
#include <cstdint>
#include <ctime>
#include <string>

#include "app/Scene.h"

class Sprite;
class Sprite_SelectTable;

class Scene_ReplaySave : public Scene {
 public:
  bool saved = false;
  Sprite* background = nullptr;
  Sprite_SelectTable* question = nullptr;
  Sprite_SelectTable* message = nullptr;
  std::string savedPath;  // where the last save went ("replay/...")

  Scene_ReplaySave();
  ~Scene_ReplaySave() override;
  void start() override;
  void update() override;
  void terminate() override;

  // "091231_235958_Normal_Laser_Stage3.vmr": local time of saving, then
  // difficulty, charge type and how far the game went ("_Clear", or
  // "_Stage<records>", or nothing for an Extra game that was not cleared).
  static std::string FileName(const std::tm& local, int32_t difficulty, int32_t chargeType,
                              bool cleared, size_t stageRecords);

 private:
  void save();
  void release();
};
