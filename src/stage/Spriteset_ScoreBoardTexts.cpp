// The HUD's fixed texts: stage and boss title cards (from the text table),
// boss names, difficulty names, and the number formats of the panel.
#include <cstdio>

#include "app/Module_Game.h"
#include "app/Texts.h"
#include "stage/Spriteset_ScoreBoard.h"

namespace {

// Even numbers name the bosses; the odd ones in between are blank.
constexpr const char* kBossNames[15] = {
    "",          "",         "Gram",
    "",          "Saturn",   "",
    "Tsukuyomi", "",         "Second Gaia",
    "",          "Kusanagi", "",
    "Gaia",      "",         "AngraMainyu AhuraMazda",
};

}  // namespace

std::string StageTitleLine(int32_t stage, int line) { return StageCardLine(stage, line); }
std::string BossTitleLine(int32_t stage, int line) { return BossCardLine(stage, line); }

std::string BossNameText(int32_t number) {
  if (number < 1 || number > 14) return {};
  return kBossNames[number];
}

std::string DifficultyText(int32_t difficulty) { return DifficultyName(difficulty); }

std::string ScoreText(int32_t score) {
  char text[24];
  std::snprintf(text, sizeof text, "%010d", score);
  return text;
}

std::string PowerText(int32_t power) {
  if (power == 250) return "MAX";
  char text[16];
  std::snprintf(text, sizeof text, "%d", power);
  return text;
}
