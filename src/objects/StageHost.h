// How gameplay objects reach the stage they play in: through the current
// scene, which is the stage scene while a stage runs. The stage scene (or a
// test) implements this narrow interface; every sprite operation may do
// nothing, so objects also run without any sprites.
#pragma once

#include <cstdint>

class Stage_Field;
class Object_Bullet;
class Object_Enemy;
class Object_Item;

class StageHost {
 public:
  virtual ~StageHost() = default;

  // The field whose objects are in play.
  virtual Stage_Field* stageField() = 0;
  // A conversation runs or the stage fades out: no collisions this frame.
  virtual bool conversationMode() const = 0;
  // One step of the stage script, first thing in every frame pass.
  virtual void stepStageScript() {}
  // Number of the boss title card last shown (picks the boss's defeat bonus).
  virtual int32_t bossTitleNumber() const { return 0; }
  // The play-field fade overlay goes from 255 to 0 over `frames` frames.
  virtual void startFieldFade(float frames) { (void)frames; }

  // Sprites borrowed from the stage's pools. Each attaches a free sprite to
  // the new object (and resets it) or, when the pool is empty, leaves the
  // object undrawn.
  virtual void attachBulletSprite(Object_Bullet& bullet, bool playerShot) {
    (void)bullet, (void)playerShot;
  }
  virtual void attachEnemySprite(Object_Enemy& enemy) { (void)enemy; }
  virtual void attachItemSprite(Object_Item& item) { (void)item; }
  // Unlinks a bullet's sprite, which then returns itself to its pool.
  virtual void letBulletSpriteGo(Object_Bullet& bullet) { (void)bullet; }
  // Starts a free effect sprite at (x, y): kind, scale, a random angle (one
  // random number), then blend mode and parameter, and the frame step when
  // it is above 0. Nothing (and no random number) when none is free.
  virtual void startEffect(int32_t x, int32_t y, int32_t kind, int32_t blendMode,
                           int32_t blendParam, double scale, int32_t frameStep) {
    (void)x, (void)y, (void)kind, (void)blendMode, (void)blendParam, (void)scale, (void)frameStep;
  }
};

// The current scene as a stage, or null when no stage runs.
StageHost* CurrentStage();
// The field of the current stage, or null.
Stage_Field* CurrentField();

// An effect sprite at (x, y), truncated to whole pixels (kinds: 1 explosions
// and puffs, 2 the ship's explosion, 3 flashes, 4 glows).
void spawnEffect(float x, float y, int32_t kind, int32_t blendMode, int32_t blendParam,
                 double scale, int32_t frameStep);
// The spark of a hit: a small one is an occasional puff (one random number),
// a full one two flashes.
void hitSpark(float x, float y, bool small, bool bossPart);
