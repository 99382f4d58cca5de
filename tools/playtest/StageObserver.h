// Watches a stage being played, frame by frame, and keeps what the playtest
// report tells: how long the stage ran up to its end command, how many
// enemy bullets were on screen over time, and the misses, bombs and
// continues as seen on the ship (the game's own counters are kept beside
// them, so a report can show that both agree).
#pragma once

#include <cstdint>
#include <vector>

class Scene_Stage;

inline constexpr uint32_t kFramesPerSecond = 60;
inline constexpr uint32_t kBucketFrames = 10 * kFramesPerSecond;

struct BulletBucket {
  uint32_t frames = 0;
  int64_t total = 0;  // bullets summed over the frames
  int32_t max = 0;
  double mean() const { return frames ? static_cast<double>(total) / frames : 0.0; }
};

struct StageStats {
  uint32_t playFrames = 0;       // frames in which the stage moved on (menus left out)
  uint32_t menuFrames = 0;       // frames spent in the game-over menu
  uint32_t endCommandFrame = 0;  // play frame that ran the stage's end command; 0 never
  uint32_t gameOverFrame = 0;    // play frame of the first game over; 0 none
  // Enemy bullets on screen per 10 seconds of play, up to the end command.
  std::vector<BulletBucket> buckets;
  int32_t misses = 0;
  int32_t bombs = 0;
  int32_t counterBombs = 0;  // of those, bombs that answered a hit already taken
  int32_t continues = 0;
  int32_t gameOvers = 0;
  // The game's own counters over the stage (from its start to its end).
  int32_t gameMisses = 0;
  int32_t gameBombs = 0;
  int32_t gameContinues = 0;
  int32_t score = 0;  // clear bonus included when the stage was cleared

  bool cleared() const { return endCommandFrame != 0; }
  // Every 10-second bucket together.
  BulletBucket wholeStage() const;
  bool agreesWithGame() const {
    return misses == gameMisses && bombs == gameBombs && continues == gameContinues;
  }
};

class StageObserver {
 public:
  // Takes the game's counters as the stage starts: in a whole game they
  // already hold the stages before.
  StageObserver();
  // Before the frame's update: whether the stage will move on in it.
  void beforeFrame(const Scene_Stage& stage);
  // After the frame's update.
  void afterFrame(const Scene_Stage& stage);
  // The game's counters and score, once the stage is over.
  void finish();

  const StageStats& stats() const { return stats_; }

 private:
  StageStats stats_;
  bool playing_ = false;
  int8_t shipState_ = 0;
  int8_t lives_ = 0;
  bool bombing_ = false;
  int32_t missesBefore_ = 0;
  int32_t bombsBefore_ = 0;
  int32_t continuesBefore_ = 0;
};
