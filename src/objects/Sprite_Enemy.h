// An enemy on screen: it follows its enemy, picks the row of its 4 x 4 set
// from the enemy's velocity, cycles four frames at the enemy's own period,
// and plays the animations the enemy's script asks for.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

struct Animation;
class Object_Enemy;

// Where an animation stands. Animations of the game play once (loop 0).
struct AnimationCursor {
  const Animation* sequence = nullptr;
  int32_t index = -1;  // frame shown; -1 = not playing
  int32_t counter = 0;
  uint8_t loop = 0;

  bool playing() const;
  void stop() {
    index = -1;
    counter = 0;
  }
  // One frame on; the animation ends (index -1) after its last frame.
  void advance();
};

class Sprite_Enemy : public Sprite {
 public:
  AnimationCursor cursor;
  const int* cells = nullptr;  // the enemy's 16-cell set
  int32_t counter = 0;
  int32_t frame = 0;
  int32_t enemyId = 0;  // the enemy's id when it was attached
  Object_Enemy* enemy = nullptr;

  using Sprite::Sprite;
  void update() override;
  void reset() override;
  // Never scaled or rotated; an animation frame replaces the set's picture.
  void draw(int32_t baseX, int32_t baseY) override;
};

// The 16 cells shown for enemy graphic g: 0 is the spare player set 7, 1 to
// 50 the enemy sets. Null for any other number.
const int* EnemyCells(int32_t graphic);
