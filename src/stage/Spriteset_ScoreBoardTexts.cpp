// The HUD's fixed texts: stage and boss title cards, boss names, difficulty
// names, and the number formats of the panel.
#include <cstdio>

#include "app/Module_Game.h"
#include "app/Sjis.h"
#include "stage/Spriteset_ScoreBoard.h"

namespace {

struct CardLines {
  const char* line1;
  const char* line2;
};

// Stages 1 to 6, then the Extra stage.
constexpr CardLines kStageTitles[7] = {
    {"STAGE  1", "「冥王星独立決戦基地」"},
    {"STAGE  2", "「土星環状巨大基地」"},
    {"STAGE  3", "「月面最終防衛ライン」"},
    {"STAGE  4", "「青き星」"},
    {"STAGE  5", "「次元道」"},
    {"STAGE  6", "「蒼い星」"},
    {"Extra Stage", "「天」"},
};

constexpr CardLines kBossTitles[7] = {
    {"対調整者用局地型戦術兵器", "「グラム」"},
    {"対調整者用専守防衛型戦術兵器", "「サターン」"},
    {"第三模倣神器", "夜皇「ツクヨミ」"},
    {"第二模倣神器", "星櫃「セカンドガイア」"},
    {"第四模倣神器", "極刀「クサナギ」"},
    {"第一模倣神器", "蒼星「ガイア」"},
    {"第四天調整者", "「アングラマインユ・アフラマズダ」"},
};

// Even numbers name the bosses; the odd ones in between are blank.
constexpr const char* kBossNames[15] = {
    "",          "",         "Gram",
    "",          "Saturn",   "",
    "Tsukuyomi", "",         "Second Gaia",
    "",          "Kusanagi", "",
    "Gaia",      "",         "AngraMainyu AhuraMazda",
};

std::string CardLine(const CardLines* table, int32_t stage, int line) {
  if (stage < 1 || stage > 7) return {};
  const CardLines& card = table[stage - 1];
  return Sjis(line == 1 ? card.line1 : card.line2);
}

}  // namespace

std::string StageTitleLine(int32_t stage, int line) { return CardLine(kStageTitles, stage, line); }
std::string BossTitleLine(int32_t stage, int line) { return CardLine(kBossTitles, stage, line); }

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
