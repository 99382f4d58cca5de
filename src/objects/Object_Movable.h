// Everything that moves by the shared motion machine: a position integrated
// from velocity and acceleration, and a list of timed actions run against the
// object's own clock.
#pragma once

#include <cstdint>
#include <vector>

#include "objects/Action.h"
#include "objects/Object.h"

class Object_Movable : public Object {
 public:
  std::vector<Action> actions;
  int32_t clock = 0;  // frames of motion since the list was last reset
  float accelX = 0.0f;
  float accelY = 0.0f;
  int32_t moveFrames = 0;  // duration of the smooth moves
  float angle = 0.0f;
  float speed = 0.0f;
  float vx = 0.0f;
  float vy = 0.0f;
  float baseX = 0.0f;  // integrated position; relative to the parent when there is one
  float baseY = 0.0f;

  void update() override {}
  bool isOffScreen() override;
  void setPosition(float px, float py) override;
  // Slot 3: runs one action by its code. The action may be marked done
  // (duration 0) but must not be touched after the list grows.
  virtual void doAction(Action& action);

  // Parent none, actions emptied, clock, velocity and acceleration 0.
  void resetMotion();
  // Appends an action that starts `delay` frames from now.
  void addAction(int32_t op, int32_t delay, int32_t duration, float p1, float p2);
  // Appends a copy of a prototype whose time counts from now.
  void addActionCopy(const Action& prototype);
  // Replaces the list by copies of `list`, times unchanged (counted from clock 0).
  void setActions(const std::vector<Action>& list);
  // One frame: run the due actions, integrate, follow the parent, clock + 1.
  void motionStep();

  void velocityFromAngle();
  void angleFromVelocity();

 private:
  void smoothMove(Action& action);
  void setAccelerationToward(float dx, float dy, bool setX, bool setY);
};

// Where the ship is, for operations aimed at it; false when no stage runs.
bool PlayerPosition(float& px, float& py);
