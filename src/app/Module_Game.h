// The game being played: choices, carried state, score and statistics, and
// the persistent play records. One instance for the whole run; the rest of
// the game reads and writes its fields directly.
#pragma once

#include <cstdint>
#include <string>

#include "persist/ScoreData.h"

enum Difficulty {
  DIFFICULTY_EASY = 1,
  DIFFICULTY_NORMAL = 3,
  DIFFICULTY_APOCRYPHA = 5,
  DIFFICULTY_EXTRA = 6
};

// "Easy", "Normal", "Apocrypha"; any other value is the Extra difficulty.
const char* DifficultyName(int32_t difficulty);
// "Shield type" for 0, "Laser type" otherwise.
const char* ChargeTypeName(int32_t chargeType);
enum ChargeType { CHARGE_SHIELD = 0, CHARGE_LASER = 1 };

inline constexpr int32_t kScoreMax = 2147483647;

class Module_Game {
 public:
  int32_t difficulty = DIFFICULTY_EASY;
  int32_t chargeType = CHARGE_SHIELD;
  int32_t stage = 1;  // 7 is the Extra stage; above 9 selects closing cut-scenes
  int32_t score = 0;
  int32_t hiScore = 0;  // best score of the current slot, raised with the score
  int32_t lives = 2;    // carried into the next stage
  int32_t bombs = 2;
  int32_t power = 0;
  int32_t points = 0;
  int32_t continuesUsed = 0;
  int32_t grazes = 0;
  int32_t misses = 0;
  int32_t enemiesDestroyed = 0;
  int32_t bombsUsed = 0;
  int32_t itemsCollected = 0;
  int32_t bulletsCancelled = 0;
  uint32_t startFrame = 0;  // frame counter when the game began
  bool cleared = false;
  ScoreData scoreData;

  // Score slot of the current difficulty and charge type, 0..11.
  int ScoreSlot() const;
  // Resets the per-game fields; difficulty and charge type stay.
  void NewGame();
  // Writes the hi-score and the clear bookkeeping into scoreData (not to disk).
  void RecordResult();
  // The finished game as the name entry leaves it in scoreData (not on
  // disk): the score at place in the ranking of its slot (a place below 0
  // ranks nothing), then RecordResult.
  void RecordRankedResult(int32_t place, const char* name, int64_t time);
  // Adds n to the score, raising the hi-score along. The score stops at
  // 2,147,483,647 rather than wrapping negative.
  void AddScore(int32_t n);
  // Time since startFrame as "hh:mm:ss" (hours may grow past two digits).
  std::string PlayTimeText(uint32_t frameCount) const;
};

// "%02d:%02d:%02d" of a frame count at 60 frames per second.
std::string FormatPlayTime(uint32_t frames);

extern Module_Game gGame;
