// Base of the scene-level groups of sprites (title logo, stage layers,
// score board): a set owns the sprites it creates and deletes them in its
// destructor; its owner calls update once per frame.
#pragma once

class Spriteset {
 public:
  Spriteset() = default;
  Spriteset(const Spriteset&) = delete;
  Spriteset& operator=(const Spriteset&) = delete;
  virtual ~Spriteset() = default;
  virtual void update() {}
};
