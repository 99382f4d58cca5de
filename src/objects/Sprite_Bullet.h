// Enemy bullets and player shots on screen. Round bullets are rotated and
// scaled pictures (or translucent discs when they have none); lasers are
// their picture stretched along the beam, or a thin warning line while the
// beam has no width yet.
#pragma once

#include <cstdint>

#include "display/Sprite.h"

class Object_Bullet;

class Sprite_Bullet : public Sprite {
 public:
  int32_t bulletId = 0;  // the bullet's id when it was attached
  Object_Bullet* bullet = nullptr;

  using Sprite::Sprite;
  void update() override;
  void reset() override;
  void draw(int32_t baseX, int32_t baseY) override;

 private:
  void drawLaser(int32_t baseX, int32_t baseY) const;
};

// The picture of bullet type t (1 to 20), 0 for any other type.
int BulletImage(int32_t type);
