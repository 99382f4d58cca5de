// The scenery under the play field: scrolling layers and still pictures whose
// speed, transparency and visibility follow the stage script clock, so clock
// jumps move the scenery with the timeline and it stands still with the
// field. The base class shows nothing (stages without scenery of their own);
// one subclass per stage that has some.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>

#include "display/Spriteset.h"

class Sprite;
class Sprite_BackGround_Scroll;
class Viewport;

class Spriteset_Stage_Back : public Spriteset {
 public:
  Viewport* viewport = nullptr;          // the play field, below every stage layer
  const int32_t* scriptClock = nullptr;  // read only; none until the stage sets it

  Spriteset_Stage_Back();
  ~Spriteset_Stage_Back() override;
  void update() override {}
  // Releases what the parts hold, loads the pictures and puts every part in
  // its start state.
  virtual void setup() {}

 protected:
  // A scrolling layer over the whole field: window 384 x 448 of the picture,
  // wrapping every `period` rows, starting at row `start`.
  Sprite_BackGround_Scroll* makeLayer(int32_t period, int32_t start);
  // A still picture with its top-left at (x, y).
  Sprite* makeStill(int32_t x, int32_t y);
  // Gives a layer its picture (releasing the one it held) and rewinds it to
  // the top of the picture's last window, where a scroll begins.
  static void loadLayer(Sprite_BackGround_Scroll* layer, const char* path);
  static void releaseLayers(std::initializer_list<Sprite_BackGround_Scroll*> layers);
  // Shows an enemy image set's first cell as a still centred on (x, y),
  // hidden until the timeline calls for it. The picture is shared with the
  // enemies: forget it (image 0) instead of releasing it.
  static void placeEnemyStill(Sprite* still, int set, int32_t x, int32_t y);
  // Replaces a sprite's picture, releasing the one it held.
  static void loadInto(Sprite* sprite, const char* path);
  static void release(int32_t& handle);
  // Points the sprite's origin at the middle of its picture.
  static void centreOrigin(Sprite* sprite);
};

// The scenery of a stage number: 1 to 7 their own, any other the plain base.
std::unique_ptr<Spriteset_Stage_Back> MakeStageBack(int32_t stage);
// What the stage scene asks for: the scenery created, set up, and then
// reading the given script clock.
std::unique_ptr<Spriteset> MakeStageScenery(int32_t stage, const int32_t* scriptClock);
