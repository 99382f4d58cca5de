#include "app/Module_Game.h"

#include <cstdio>

Module_Game gGame;

int Module_Game::ScoreSlot() const {
  const int slot = chargeType + 2 * (difficulty - 1);
  // Only the encodings the game uses can reach here; anything else has no
  // slot, and the records are left alone rather than written out of bounds.
  if (chargeType < 0 || chargeType > 1 || slot < 0 || slot >= kScoreSlots) return -1;
  return slot;
}

void Module_Game::NewGame() {
  const int slot = ScoreSlot();
  hiScore = slot >= 0 ? scoreData.bestScore[slot] : 0;
  stage = 1;
  score = 0;
  continuesUsed = 0;
  grazes = 0;
  misses = 0;
  enemiesDestroyed = 0;
  bombsUsed = 0;
  itemsCollected = 0;
  bulletsCancelled = 0;
  startFrame = 0;
  lives = 2;
  bombs = 2;
  power = 0;
  points = 0;
  cleared = false;
}

void Module_Game::RecordResult() {
  const int slot = ScoreSlot();
  if (slot < 0) return;
  scoreData.bestScore[slot] = hiScore;
  if (cleared) {
    if (scoreData.clearCount[slot] < kScoreMax) scoreData.clearCount[slot] += 1;
    if (difficulty >= DIFFICULTY_NORMAL && continuesUsed == 0) scoreData.extraUnlocked = 1;
  }
}

void Module_Game::RecordRankedResult(int32_t place, const char* name, int64_t time) {
  const int slot = ScoreSlot();
  if (slot >= 0 && place >= 0) scoreData.InsertRanking(slot, place, score, time, name);
  RecordResult();
}

void Module_Game::AddScore(int32_t n) {
  int64_t sum = int64_t{score} + n;
  if (sum > kScoreMax) sum = kScoreMax;
  if (sum < -kScoreMax - 1) sum = -kScoreMax - 1;
  score = static_cast<int32_t>(sum);
  if (score > hiScore) hiScore = score;
}

std::string Module_Game::PlayTimeText(uint32_t frameCount) const {
  return FormatPlayTime(frameCount - startFrame);
}

std::string FormatPlayTime(uint32_t frames) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d:%02d", static_cast<int>(frames / 216000),
                static_cast<int>(frames / 3600 % 60), static_cast<int>(frames / 60 % 60));
  return text;
}

const char* DifficultyName(int32_t difficulty) {
  switch (difficulty) {
    case 1:
      return "Easy";
    case 3:
      return "Normal";
    case 5:
      return "Apocrypha";
    default:
      return "Extra";
  }
}

const char* ChargeTypeName(int32_t chargeType) {
  return chargeType == 0 ? "Shield type" : "Laser type";
}
