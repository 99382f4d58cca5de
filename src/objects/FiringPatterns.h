// The bullet and laser patterns behind the enemy firing codes, shared by the
// code dispatcher (EnemyFire.cpp) and by the patterns that build on others
// (the laser bursts spray lines and fans along their beam).
//
// Every pattern fires in a fixed order (lines by increasing index, bullets of
// a line by increasing index), which decides the pool slots the bullets get,
// and stops at the first bullet the pool cannot supply. Each returns false
// once that has happened.
#pragma once

#include <cstdint>

class Object_Bullet;
class Object_Enemy;

// How a fired bullet relates to an enemy that attaches its shots.
enum class FireAttach {
  kDetachAtStart,  // child at the muzzle offset, let go at its first motion step
  kStayAttached,   // child at the muzzle offset with no detach of its own
  kNever,          // always at the muzzle, no parent, whatever the enemy's setting
};

// One enemy bullet: pool slot, id, the enemy's shot type, per-spawn reset,
// reset motion, placement, damage 1 and a sprite. Null when the pool is full
// or no stage runs.
Object_Bullet* FireOne(Object_Enemy& enemy, FireAttach attach);

// A run of bullets leaving one point along one direction, one every
// `delayStep` frames.
struct LineShot {
  float speed = 0.0f;
  float direction = 0.0f;
  int32_t count = 0;
  int32_t delayStep = 0;
  float angleOffset = 0.0f;  // stored angle = direction + offset
  int32_t firstDelay = 0;
  int32_t lifetime = 0;  // > 0: the bullet vanishes this many frames after it starts
};
bool FireLine(Object_Enemy& enemy, const LineShot& line);

// Lines spread `spread` apart and centred on `centre`. A sweeping fan lets
// line j start j * delayStep frames late and spaces each line's bullets by
// lines * delayStep, so the bullets come out line by line.
struct FanShot {
  float speed = 0.0f;
  float centre = 0.0f;
  float spread = 0.0f;
  int32_t lines = 0;
  int32_t count = 0;  // bullets per line
  int32_t delayStep = 0;
  float angleOffset = 0.0f;
  int32_t firstDelay = 0;
  int32_t lifetime = 0;
  bool sweeping = false;
};
bool FireFan(Object_Enemy& enemy, const FanShot& fan);

// Direction of line j of m lines spread s apart around centre a.
float FanDirection(float centre, int32_t lines, float spread, int32_t j);

// One bullet in the enemy's aim direction at its shot speed, waiting `delay`.
Object_Bullet* FireSingle(Object_Enemy& enemy, float speed, float direction, int32_t delay);

// Random spray: `streams` times `count` bullets within the enemy's spread
// around its aim; one random number per bullet, drawn in firing order.
bool FireSpray(Object_Enemy& enemy, int32_t count, int32_t streams);

// A bullet that turns toward the ship and leaves a trail.
bool FireHoming(Object_Enemy& enemy);

// Lasers (FiringLasers.cpp).
bool FireGrowingLaser(Object_Enemy& enemy, float direction);
bool FireAttachedLaser(Object_Enemy& enemy);
bool FireWarningLaser(Object_Enemy& enemy, float widening, int32_t narrowTime);
bool FireShortBurst(Object_Enemy& enemy, int32_t retreatTime);
// Codes 211, 212 and 213: a short burst with bullets sprayed along the beam.
bool FireBurstWithBullets(Object_Enemy& enemy, int32_t code, int32_t retreatTime);
bool FireSweepingBar(Object_Enemy& enemy, int32_t narrowTime);

// Adds frame counts for action delays without overflowing: absurd table
// values push an action past any clock a stage reaches instead.
int32_t DelaySum(int64_t a, int64_t b = 0, int64_t c = 0);
