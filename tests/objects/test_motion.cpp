// The motion machine: action windows, the walk by index, clock jumps, the
// smooth moves and the common operation codes.
#include <gtest/gtest.h>

#include <cmath>

#include "FieldFixture.h"
#include "objects/Object_Movable.h"

namespace {

// A mover with no behaviour of its own.
class Mover : public Object_Movable {
 public:
  Mover() { dead = 0; }
};

// Runs the steps, recording at which clock values radius grew (code 33).
std::vector<int32_t> RunClocks(Mover& m, int frames) {
  std::vector<int32_t> ran;
  for (int f = 0; f < frames; ++f) {
    const int32_t before = m.radius;
    const int32_t clock = m.clock;
    m.motionStep();
    if (m.radius != before) ran.push_back(clock);
  }
  return ran;
}

TEST(ActionWindow, DurationCountsFramesFromTime) {
  Mover a;
  a.addAction(33, 10, 3, 1.0f, 0.0f);
  EXPECT_EQ(RunClocks(a, 20), (std::vector<int32_t>{10, 11, 12}));

  Mover forever;
  forever.addAction(33, 10, -1, 1.0f, 0.0f);
  EXPECT_EQ(RunClocks(forever, 14), (std::vector<int32_t>{10, 11, 12, 13}));

  Mover never;
  never.addAction(33, 0, 0, 1.0f, 0.0f);
  EXPECT_TRUE(RunClocks(never, 5).empty());
}

TEST(ActionWindow, OnlyTheLowByteSelectsTheOperation) {
  Mover m;
  m.addAction(256 + 33, 0, 1, 5.0f, 0.0f);
  m.motionStep();
  EXPECT_EQ(m.radius, 5);
}

TEST(ActionWalk, ClockJumpChangesWhichLaterEntriesRun) {
  Mover m;
  m.addAction(33, 60, 1, 1.0f, 0.0f);    // before the jump in the list: not reached again
  m.addAction(4, 120, 1, 60.0f, 0.0f);   // at clock 120 jump back to 60
  m.addAction(33, 60, 1, 100.0f, 0.0f);  // after it: runs in the same walk
  m.addAction(32, 120, 1, 7.0f, 0.0f);   // window 120 only: skipped after the jump
  for (int f = 0; f < 120; ++f) m.motionStep();
  ASSERT_EQ(m.clock, 120);
  EXPECT_EQ(m.radius, 101);  // both clock-60 actions ran once on the way
  m.motionStep();
  EXPECT_EQ(m.radius, 201);
  EXPECT_EQ(m.clock, 61);
  // The next frame runs at 61: nothing in the list is due.
  m.motionStep();
  EXPECT_EQ(m.radius, 201);
  EXPECT_EQ(m.clock, 62);
}

TEST(ActionWalk, StepIntegratesAccelerationThenVelocity) {
  Mover m;
  m.setPosition(10.0f, 20.0f);
  m.addAction(60, 0, 1, 0.5f, -1.0f);
  m.motionStep();
  EXPECT_EQ(m.vx, 0.5f);
  EXPECT_EQ(m.baseX, 10.5f);
  EXPECT_EQ(m.y, 19.0f);
  EXPECT_EQ(m.clock, 1);
}

TEST(ActionWalk, ChildFollowsItsParentUntilDetached) {
  Mover parent;
  parent.setPosition(100.0f, 100.0f);
  Mover child;
  child.parent = &parent;
  child.setPosition(5.0f, -5.0f);
  EXPECT_EQ(child.x, 105.0f);
  parent.addAction(10, 0, 1, 2.0f, 0.0f);
  parent.motionStep();
  child.motionStep();
  EXPECT_EQ(child.x, 107.0f);
  child.addAction(2, 0, 1, 0.0f, 0.0f);
  child.motionStep();
  EXPECT_EQ(child.parent, nullptr);
  EXPECT_EQ(child.baseX, 107.0f);  // detached where the parent last was
  parent.motionStep();
  child.motionStep();
  EXPECT_EQ(child.x, 107.0f);
}

TEST(ActionWalk, DetachWithoutParentChangesNothing) {
  Mover m;
  m.setPosition(3.0f, 4.0f);
  Action detach(0, 1, 2, 0.0f, 0.0f);
  m.doAction(detach);
  EXPECT_EQ(m.parent, nullptr);
  EXPECT_EQ(m.x, 3.0f);
  EXPECT_EQ(m.baseY, 4.0f);
}

// Runs a smooth move of `frames` frames to (tx, ty) from (0, 0) with code 51.
Mover SmoothMoveTo(int32_t frames, float tx, float ty) {
  Mover m;
  m.addAction(55, 0, 1, static_cast<float>(frames), 0.0f);
  m.addAction(51, 0, 1, tx, ty);
  for (int f = 0; f < frames; ++f) m.motionStep();
  return m;
}

TEST(SmoothMove, EvenDurationsArriveExactlyAndStop) {
  const Mover m = SmoothMoveTo(20, 100.0f, 50.0f);
  EXPECT_EQ(m.baseX, 100.0f);
  EXPECT_EQ(m.baseY, 50.0f);
  Mover after = m;
  after.motionStep();  // the stopping actions run at clock 20
  EXPECT_EQ(after.vx, 0.0f);
  EXPECT_EQ(after.vy, 0.0f);
  EXPECT_EQ(after.accelX, 0.0f);
  EXPECT_EQ(after.baseX, 100.0f);

  const Mover b = SmoothMoveTo(8, -32.0f, 16.0f);
  EXPECT_EQ(b.baseX, -32.0f);
  EXPECT_EQ(b.baseY, 16.0f);
  const Mover c = SmoothMoveTo(30, 77.0f, -13.0f);
  EXPECT_NEAR(c.baseX, 77.0f, 1e-3);
  EXPECT_NEAR(c.baseY, -13.0f, 1e-3);
}

TEST(SmoothMove, OddDurationsFallShortByTheirFactor) {
  const Mover seven = SmoothMoveTo(7, 49.0f, 0.0f);
  EXPECT_NEAR(seven.baseX, 49.0f * 4 * (9 - 1) / 49.0f, 1e-3);
  const Mover one = SmoothMoveTo(1, 10.0f, 0.0f);
  EXPECT_NEAR(one.baseX, -40.0f, 1e-4);  // accelerate and reverse in one walk
}

TEST(SmoothMove, MarksItselfDoneAndAppendsFourActions) {
  Mover m;
  m.moveFrames = 10;
  m.addAction(50, 0, -1, 20.0f, 0.0f);
  m.motionStep();
  ASSERT_EQ(m.actions.size(), 5u);
  EXPECT_EQ(m.actions[0].duration, 0);
  EXPECT_EQ(m.actions[1].Code(), 65);
  EXPECT_EQ(m.actions[2].time, 5);
  EXPECT_EQ(m.actions[3].time, 10);
  EXPECT_EQ(m.vx, 20.0f * 4 / 100);  // the delay-0 action ran in the same walk
}

TEST(SmoothMove, WithoutDurationItWaitsAndStaysDue) {
  Mover m;
  m.addAction(50, 0, 3, 20.0f, 0.0f);
  m.motionStep();
  m.motionStep();
  ASSERT_EQ(m.actions.size(), 1u);
  EXPECT_EQ(m.actions[0].duration, 3);
  m.moveFrames = 4;
  m.motionStep();  // still in its window: now it starts
  EXPECT_EQ(m.actions.size(), 5u);
}

TEST(SmoothMove, ChildMovesRelativeToItsParent) {
  Mover ship;
  ship.setPosition(200.0f, 300.0f);
  Mover option;
  option.parent = &ship;
  option.setPosition(50.0f, 20.0f);
  option.addAction(55, 0, 1, 30.0f, 0.0f);
  option.addAction(51, 0, 1, 5.0f, -20.0f);
  for (int f = 0; f < 30; ++f) option.motionStep();
  EXPECT_NEAR(option.x, 205.0f, 1e-3);
  EXPECT_NEAR(option.y, 280.0f, 1e-3);
}

class PlayerAimedCodes : public FieldTest {};

TEST_F(PlayerAimedCodes, SpeedOverDistanceIgnoresDivisorsNotAboveZero) {
  placePlayer(100.0f, 100.0f);
  Mover m;
  m.setPosition(100.0f, 0.0f);
  m.angle = 1.5708f;
  m.speed = 3.0f;
  m.velocityFromAngle();
  const float vy = m.vy;
  for (float divisor : {0.0f, -5.0f}) {
    Action a(0, 1, 17, divisor, 0.0f);
    m.doAction(a);
    EXPECT_EQ(m.speed, 3.0f);
    EXPECT_EQ(m.vy, vy);
  }
  Action a(0, 1, 17, 50.0f, 0.0f);
  m.doAction(a);
  EXPECT_FLOAT_EQ(m.speed, 2.0f);
}

TEST_F(PlayerAimedCodes, SmoothMoveToThePlayerArrives) {
  placePlayer(150.0f, 60.0f);
  Mover m;
  m.setPosition(50.0f, 10.0f);
  m.addAction(55, 0, 1, 20.0f, 0.0f);
  m.addAction(52, 0, 1, 0.0f, 0.0f);
  for (int f = 0; f < 20; ++f) m.motionStep();
  EXPECT_EQ(m.x, 150.0f);
  EXPECT_EQ(m.y, 60.0f);
}

TEST_F(PlayerAimedCodes, AimAtThePlayer) {
  placePlayer(100.0f, 100.0f);
  Mover m;
  m.setPosition(100.0f, 0.0f);
  m.speed = 2.0f;
  Action a(0, 1, 16, 0.0f, 0.0f);
  m.doAction(a);
  EXPECT_NEAR(m.vx, 0.0f, 1e-5);
  EXPECT_NEAR(m.vy, 2.0f, 1e-5);
}

TEST_F(PlayerAimedCodes, RandomBasePositionsDrawOneNumberEach) {
  Mover m;
  SeedRandom(77);
  const int first = RandomUpTo(40);
  const int second = RandomUpTo(40);
  SeedRandom(77);
  Action ax(0, 1, 57, 10.0f, 50.0f);
  Action ay(0, 1, 58, 50.0f, 10.0f);
  m.doAction(ax);
  m.doAction(ay);
  EXPECT_EQ(m.baseX, 10.0f + first);
  EXPECT_EQ(m.baseY, 50.0f + second);
}

TEST_F(PlayerAimedCodes, SoundRequestsOnlyForExistingSlots) {
  Mover m;
  for (float n : {-1.0f, 50.0f, 49.0f}) {
    Action a(0, 1, 3, n, 0.0f);
    m.doAction(a);
  }
  EXPECT_TRUE(Requested(49));
  int requested = 0;
  for (bool r : gSound.seRequested) requested += r;
  EXPECT_EQ(requested, 1);
}

TEST(MotionCodes, SpeedNeverNegativeAndAccelerationNeedsADuration) {
  Mover m;
  Action slow(0, 1, 25, -5.0f, 0.0f);
  m.speed = 2.0f;
  m.doAction(slow);
  EXPECT_EQ(m.speed, 0.0f);
  Action set(0, 1, 15, -1.0f, 0.0f);
  m.doAction(set);
  EXPECT_EQ(m.speed, 0.0f);
  Action push(0, 1, 65, 10.0f, 10.0f);
  m.doAction(push);
  EXPECT_EQ(m.accelX, 0.0f);
  m.moveFrames = 2;
  m.doAction(push);
  EXPECT_EQ(m.accelX, 10.0f);
}

TEST(MotionCodes, BothFormsOfTheMotionAgree) {
  Mover m;
  Action v(0, 1, 10, 3.0f, 4.0f);
  m.doAction(v);
  EXPECT_FLOAT_EQ(m.speed, 5.0f);
  EXPECT_FLOAT_EQ(m.angle, std::atan2(4.0f, 3.0f));
  Action turn(0, 1, 24, 0.5f, 0.0f);
  m.doAction(turn);
  EXPECT_FLOAT_EQ(m.vx, std::cos(m.angle) * 5.0f);
}

}  // namespace
