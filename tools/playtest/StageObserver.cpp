#include "playtest/StageObserver.h"

#include <algorithm>

#include "app/Module_Game.h"
#include "stage/Scene_Stage.h"

namespace {

// Enemy bullets a player can see: in play and past their spawn delay.
int32_t BulletsOnScreen(Stage_Field& field) {
  int32_t n = 0;
  field.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
    if (!b.dead && b.active) ++n;
  });
  return n;
}

}  // namespace

BulletBucket StageStats::wholeStage() const {
  BulletBucket all;
  for (const BulletBucket& b : buckets) {
    all.frames += b.frames;
    all.total += b.total;
    all.max = std::max(all.max, b.max);
  }
  return all;
}

StageObserver::StageObserver()
    : missesBefore_(gGame.misses),
      bombsBefore_(gGame.bombsUsed),
      continuesBefore_(gGame.continuesUsed) {}

void StageObserver::beforeFrame(const Scene_Stage& stage) {
  if (!stage.field) return;
  if (stats_.playFrames == 0 && stats_.menuFrames == 0) {
    const Object_Player& ship = stage.field->player;
    shipState_ = ship.state;
    lives_ = ship.lives;
    bombing_ = ship.bombing != 0;
  }
  playing_ = stage.menuOpen == 0;
}

void StageObserver::afterFrame(const Scene_Stage& stage) {
  if (!stage.field) return;
  Stage_Field& field = *stage.field;
  const Object_Player& ship = field.player;
  if (!playing_) {
    ++stats_.menuFrames;
  } else {
    ++stats_.playFrames;
    // The stage's own time ends with its end command; the fade-out after
    // it is left out of the bullet counts.
    if (stats_.endCommandFrame == 0) {
      const size_t bucket = (stats_.playFrames - 1) / kBucketFrames;
      if (stats_.buckets.size() <= bucket) stats_.buckets.resize(bucket + 1);
      BulletBucket& b = stats_.buckets[bucket];
      const int32_t bullets = BulletsOnScreen(field);
      b.frames += 1;
      b.total += bullets;
      b.max = std::max(b.max, bullets);
      if (field.stageFinished) stats_.endCommandFrame = stats_.playFrames;
    }
  }
  if (ship.state == PLAYER_EXPLODED && shipState_ != PLAYER_EXPLODED) ++stats_.misses;
  if (ship.bombing && !bombing_) {
    ++stats_.bombs;
    if (shipState_ == PLAYER_COUNTER_BOMB) ++stats_.counterBombs;
  }
  if (lives_ < 0 && ship.lives >= 0) ++stats_.continues;
  // The moment the stage calls the game lost: the wreck would re-enter
  // with no life left.
  if (ship.state == PLAYER_REENTERING && ship.lives < 0 && shipState_ != PLAYER_REENTERING) {
    ++stats_.gameOvers;
    if (stats_.gameOverFrame == 0) stats_.gameOverFrame = stats_.playFrames;
  }
  shipState_ = ship.state;
  lives_ = ship.lives;
  bombing_ = ship.bombing != 0;
}

void StageObserver::finish() {
  stats_.gameMisses = gGame.misses - missesBefore_;
  stats_.gameBombs = gGame.bombsUsed - bombsBefore_;
  stats_.gameContinues = gGame.continuesUsed - continuesBefore_;
  stats_.score = gGame.score;
}
