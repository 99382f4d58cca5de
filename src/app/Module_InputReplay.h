// The in-memory record of a played game: a header with the game's totals and
// one stage record per stage played, each with the state the stage started
// from (including its random seed) and one two-byte input sample per frame.
// The field types and order are those of the replay file, so the record can
// be written and read byte for byte.
#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>
#include <vector>

struct ReplayHeader {
  int32_t difficulty = 0;
  int32_t chargeType = 0;
  int32_t stageCount = 0;  // filled in when the record is written to a file
  int32_t score = 0;
  int32_t continuesUsed = 0;
  int32_t misses = 0;
  int32_t bombsUsed = 0;
  int32_t cleared = 0;
};
static_assert(sizeof(ReplayHeader) == 32 && std::is_standard_layout_v<ReplayHeader>);

// The game status at the moment a stage began.
struct StageRecord {
  int32_t seed = 0;
  int32_t stage = 0;
  int32_t lives = 0;
  int32_t bombs = 0;
  int32_t power = 0;
  int32_t points = 0;
  int32_t score = 0;
};
static_assert(sizeof(StageRecord) == 28 && std::is_standard_layout_v<StageRecord>);

// One frame of input: held virtual buttons (Pause never set) and held
// directions.
struct InputSample {
  uint8_t buttons = 0;
  uint8_t directions = 0;
};
static_assert(sizeof(InputSample) == 2);

struct ReplayStage {
  StageRecord start;
  std::vector<InputSample> frames;
};

struct ReplayRecord {
  ReplayHeader header;
  std::vector<ReplayStage> stages;
  int32_t stageIndex = 0;  // during playback: the record the next stage start uses
  bool exhausted = false;  // playback has run out of recorded frames
  // Playback cursor: the current stage record and the next frame in it.
  size_t playStage = 0;
  size_t playFrame = 0;

  // Empties the record and its playback position.
  void Clear();
};
