// The ranking tables of "score.dat", one page per difficulty and charge
// type, paged with the arrows. Opened from the title (Cancel goes back) or
// after a game (OK goes on to the title).
#pragma once

#include <cstdint>

#include "app/Scene.h"

class Sprite;
class Sprite_String;
class Sprite_SelectTable;

class Scene_Score : public Scene {
 public:
  Sprite* background = nullptr;
  Sprite_String* heading = nullptr;
  Sprite_SelectTable* table = nullptr;
  uint8_t openedFromTitle = 0;
  int32_t difficultyPage = 1;
  int32_t chargeTypePage = 0;

  Scene_Score(int32_t difficulty, int32_t chargeType, bool fromTitle);
  ~Scene_Score() override;
  void start() override;
  void update() override;
  void terminate() override;

  // The page order of Down and Up: Easy, Normal, Apocrypha, Extra, round.
  static int32_t NextDifficultyPage(int32_t page);
  static int32_t PreviousDifficultyPage(int32_t page);

 private:
  void buildPage();
  // One paging step from this frame's input; true when the page changed.
  bool turnPage();
  void release();
};
