// The last stage of the mix: keeps the sum of every voice below full scale.
// A gain follower with a soft knee turns loud passages down (fast attack, a
// short hold, slow release, so the music under a burst of effects sinks and
// rises smoothly instead of pumping), and a soft clip rounds off the little
// that slips past the attack. Anything that stays under the knee while the
// follower is at rest passes bit for bit.
#pragma once

namespace engine {

class Limiter {
 public:
  // Peaks up to here are left alone.
  static constexpr float kKnee = 0.85f;
  // The follower bends louder peaks toward this level.
  static constexpr float kTarget = 0.95f;
  // The soft clip bends toward this and never passes it.
  static constexpr float kCeiling = 0.985f;

  // The peak level the follower brings `level` down to: unchanged up to
  // kKnee, then bending smoothly (no corner) toward kTarget.
  static float KneeCurve(float level);
  // Unchanged up to kTarget, then bending smoothly toward kCeiling.
  static float SoftClip(float sample);

  // In place, on interleaved stereo frames at the mix rate.
  void process(float* stereo, int frames);
  void reset();
  double gain() const { return gain_; }

 private:
  // Double: the release steps near unity are too fine for a float, which
  // would leave the gain stuck a hair under 1.
  double gain_ = 1.0;  // applied now
  double held_ = 1.0;  // the gain the follower moves toward
  int holdLeft_ = 0;   // frames before held_ may rise again
};

}  // namespace engine
