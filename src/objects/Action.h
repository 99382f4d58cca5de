// One timed step of a movable object's script: from clock value `time` on,
// for `duration` frames (-1 for ever, 0 never), run operation `op`.
#pragma once

#include <cstdint>

class Action {
 public:
  int32_t time = 0;
  int32_t duration = 0;
  int32_t op = 0;  // only the low 8 bits select the operation
  float p1 = 0.0f;
  float p2 = 0.0f;

  Action() = default;
  Action(int32_t t, int32_t d, int32_t o, float a, float b)
      : time(t), duration(d), op(o), p1(a), p2(b) {}
  Action(const Action&) = default;
  Action& operator=(const Action&) = default;
  virtual ~Action() = default;

  // Whether the action runs at clock value c.
  bool RunsAt(int32_t c) const { return c >= time && (duration == -1 || c < time + duration); }
  int Code() const { return op & 0xFF; }
};

// A float parameter truncated toward zero, the way every operation reads counts.
// Values beyond the int32 range (only from broken data) stop at its ends.
inline int32_t Trunc(float v) {
  if (!(v == v)) return 0;
  if (v >= 2147483647.0f) return INT32_MAX;
  if (v <= -2147483648.0f) return INT32_MIN;
  return static_cast<int32_t>(v);
}
