// What the playtest bot sees of the field: every enemy bullet in play,
// every laser, every enemy body and the boss, each with its shape now and
// how it moved since the last frame, so its next frames can be foreseen by
// straight-line extrapolation.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

class Stage_Field;

enum class ThreatShape : uint8_t { Disc, Laser, Ring };

struct Threat {
  ThreatShape shape = ThreatShape::Disc;
  float x = 0.0f;  // centre; a laser's root
  float y = 0.0f;
  float vx = 0.0f;  // per frame
  float vy = 0.0f;
  float radius = 0.0f;  // disc radius; a laser's half width; a ring's radius
  float radiusStep = 0.0f;
  float angle = 0.0f;  // lasers: direction of the beam from its root
  float angleStep = 0.0f;
  float length = 0.0f;  // lasers
  float lengthStep = 0.0f;
  float ringWidth = 0.0f;  // rings: half width of the band
  bool body = false;       // an enemy's (or the boss's) body rather than a bullet
};

// A threat's shape `t` frames from now, motion and growth carried on.
Threat ThreatAt(const Threat& threat, int t);

// Distance from the point to the threat's edge; 0 or less means inside.
float GapTo(const Threat& threat, float px, float py);

// Collects the threats of a field frame after frame. The last frame's
// positions (by object id) give each object's motion; an object seen for
// the first time moves by its own velocity.
class ThreatWatch {
 public:
  // The threats of the field as it stands.
  const std::vector<Threat>& look(Stage_Field& field);
  // Forgets the motion seen so far (a new stage).
  void reset();

 private:
  struct Seen {
    float x, y, radius, angle, length;
  };
  void add(const Threat& now, int32_t id, bool moving);
  std::vector<Threat> threats_;
  std::unordered_map<int32_t, Seen> last_;
  std::unordered_map<int32_t, Seen> current_;
};
