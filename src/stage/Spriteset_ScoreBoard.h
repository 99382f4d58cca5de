// The HUD: the panel right of the play field (hi-score, score, lives, bombs,
// power, points, difficulty) and an overlay on the field (charge gauge, boss
// name and hit-point bar, the stage and boss title cards).
#pragma once

#include <cstdint>
#include <string>

#include "display/Sprite_Bar.h"
#include "display/Sprite_String.h"
#include "display/Spriteset.h"

class Object_Player;
class Object_Boss;

class Spriteset_ScoreBoard : public Spriteset {
 public:
  Viewport* panel = nullptr;
  Viewport* overlay = nullptr;
  Sprite_String* hiScoreValue = nullptr;
  Sprite_String* scoreValue = nullptr;
  Sprite_String* powerValue = nullptr;
  Sprite_String* pointValue = nullptr;
  Sprite_String* labels[6] = {};
  Sprite_IconBar* lifeIcons = nullptr;
  Sprite_IconBar* bombIcons = nullptr;
  Sprite_Bar* chargeGauge = nullptr;
  Sprite_String* bossName = nullptr;
  Sprite_Bar* bossBar = nullptr;
  Sprite_String* stageTitle1 = nullptr;
  Sprite_String* stageTitle2 = nullptr;
  Sprite_String* bossTitle1 = nullptr;
  Sprite_String* bossTitle2 = nullptr;
  Sprite_String* difficultyLabel = nullptr;
  int32_t stageTitleClock = 0;
  int32_t bossTitleClock = 0;
  Object_Player* player = nullptr;
  const Object_Boss* boss = nullptr;

  Spriteset_ScoreBoard();
  ~Spriteset_ScoreBoard() override;
  void update() override;

  // Fonts, outlines and gauge pictures, and the difficulty label from the
  // game's difficulty.
  void setUpFontsAndLabels();
  // Numbers 1 to 14 set the name (odd numbers an empty one); any number
  // shows or hides the name and the bar.
  void showBossName(int32_t number, bool show);
  // The card for the game's current stage number, from its first frame.
  void showStageTitle();
  void showBossTitle();
};

// The HUD's number formats: ten zero-padded digits, and power with "MAX" at 250.
std::string ScoreText(int32_t score);
std::string PowerText(int32_t power);
// Texts of the tables, as game text; empty for numbers outside them.
std::string StageTitleLine(int32_t stage, int line);
std::string BossTitleLine(int32_t stage, int line);
std::string BossNameText(int32_t number);
// The face of a boss card's name line: the large one, or the smaller one for
// a name too wide for the play field in the large face, so it shows whole.
int BossCardNameFace(const std::string& name);
std::string DifficultyText(int32_t difficulty);
