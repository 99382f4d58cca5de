// The ship on a test stage, driven by scripted buttons: each frame the
// buttons held last frame become the previous state, as the input update does.
#pragma once

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "FieldFixture.h"
#include "app/Module_Input.h"
#include "objects/Object_Player.h"
#include "objects/Object_PlayerOption.h"

class PlayerTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    gInput = Module_Input();
    gMainShotTimer = gOptionShotTimer = gOptionLaserTimer = 0;
    placePlayer(192.0f, 384.0f);
  }
  void TearDown() override {
    gInput = Module_Input();
    FieldTest::TearDown();
  }

  // Buttons and arrows held from the next frame on.
  void hold(int button) { held_[kButtonKey[button]] = 1; }
  void release(int button) { held_[kButtonKey[button]] = 0; }
  void holdKey(int scanCode) { held_[scanCode] = 1; }
  void releaseKey(int scanCode) { held_[scanCode] = 0; }
  void releaseAll() { std::memset(held_, 0, sizeof held_); }

  // One frame of the stage: the input update, then the frame pass, or only
  // the ship's own update while it is in its counter-bomb window.
  void frame() {
    std::memcpy(gInput.keysPrev, gInput.keysNow, sizeof gInput.keysPrev);
    std::memcpy(gInput.keysNow, held_, sizeof held_);
    if (player().state == PLAYER_COUNTER_BOMB) {
      player().update();
    } else {
      field().framePass();
    }
  }
  void frames(int n) {
    for (int i = 0; i < n; ++i) frame();
  }
  // A button down for exactly one frame.
  void tap(int button) {
    hold(button);
    frame();
    release(button);
  }

  // Player shots in play of one bullet type, in acquisition order.
  std::vector<Object_Bullet*> shotsOfType(int8_t type) {
    std::vector<Object_Bullet*> out;
    for (int32_t i : field().playerShots.activeIndices()) {
      Object_Bullet& s = field().playerShots.objects[static_cast<size_t>(i)];
      if (!s.dead && s.bulletType == type) out.push_back(&s);
    }
    return out;
  }
  bool shotInPlay(const Object_Bullet* s) {
    return field().playerShots.inPlay(field().playerShots.indexOf(s));
  }
  Object_PlayerOption& option(int n) { return field().options[n - 1]; }
  void clearSounds() { std::memset(gSound.seRequested, 0, sizeof gSound.seRequested); }

 private:
  uint8_t held_[256] = {};
};
