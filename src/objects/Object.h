// Base of every gameplay object of a stage: the ship, its options, enemies,
// the boss, enemy bullets, player shots and items. Objects never draw
// themselves (their sprites read these fields) and are never deleted one by
// one: pools and the stage field own them and recycle them.
#pragma once

#include <cstdint>

// Play-field size; positions have the field's top-left corner as origin.
inline constexpr int kFieldWidth = 384;
inline constexpr int kFieldHeight = 448;

// The global object counter: starts at 1 with the program and is never reset.
// Ids tell a recycled pool slot from the object that used it before.
extern int32_t gObjectCounter;
// Takes the current counter value for a new object and advances the counter.
int32_t NextObjectId();

class Object {
 public:
  int32_t id = 0;  // from the object counter; 0 in a fresh pool
  float x = 0.0f;  // absolute position in the play field
  float y = 0.0f;
  int32_t radius = 0;  // hit radius; half the width of a laser
  double scale = 1.0;
  int32_t alpha = 255;
  uint8_t dead = 1;  // not in play: free in its pool, or finished awaiting release
  Object* parent = nullptr;

  // Slot 0: one frame of behaviour.
  virtual void update() = 0;
  // Slot 1: outside the play field by the object's margin.
  virtual bool isOffScreen();
  // Slot 2: places the object (relative to its parent where it has one).
  virtual void setPosition(float px, float py);

 protected:
  Object() = default;
  Object(const Object&) = default;
  Object& operator=(const Object&) = default;
  // Owners delete objects as their concrete type only.
  ~Object() = default;
};

// Outside -margin..384+margin by -margin..448+margin.
inline bool OutsideField(float px, float py, float margin) {
  return px < -margin || px > kFieldWidth + margin || py < -margin || py > kFieldHeight + margin;
}
