#include "objects/Sprite_Player.h"

#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object_Player.h"
#include "objects/Object_PlayerOption.h"

namespace {
constexpr int kShipSet = 0;         // player1.png
constexpr int kBombingShipSet = 1;  // player2.png
constexpr int kOptionSet1 = 2;      // player3.png, side kind 1
constexpr int kOptionSet2 = 3;      // player4.png, side kind 2
constexpr int kGlowSet = 4;         // player5.png, drawn additively under the ship
constexpr int32_t kFadeFrames = 30;
constexpr int32_t kFramePeriod = 6;
}  // namespace

Sprite_PlayerBase::Sprite_PlayerBase(Viewport* viewport) : Sprite(viewport) {
  blendMode = BLEND_ALPHA;
}

void Sprite_PlayerBase::centreOnFirstCell() {
  int w = 0;
  int h = 0;
  if (cells && cells[0] > 0 && GetImageSize(cells[0], &w, &h) == 0) {
    ox = w / 2;
    oy = h / 2;
  }
}

void Sprite_PlayerBase::followShip() {
  const Object_Player& p = *player;
  const int32_t c = p.stateCounter;
  if (p.state == PLAYER_EXPLODED && c <= kFadeFrames) {
    // Swelling and fading where the ship was hit; the position stays.
    blendParam = 255 - static_cast<int32_t>(c * 8.5);
    scale = 1.0 + 0.1 * c;
    if (c == kFadeFrames) {
      scale = 1.0;
      visible = false;
      counter = 0;
      blendParam = 0;
      image = cells ? cells[12] : 0;
    }
    return;
  }
  x = static_cast<int32_t>(p.x);
  y = static_cast<int32_t>(p.y);
  if (p.state == PLAYER_REENTERING && c <= kFadeFrames) {
    blendParam = static_cast<int32_t>(c * 8.5);
    visible = true;
    return;
  }
  if (p.state == PLAYER_INVULNERABLE) {
    if (c % 6 == 0) {
      blendParam = 100;
    } else if ((c + 3) % 6 == 0) {
      blendParam = 255;
    }
  } else {
    blendParam = 255;
  }
  // Keypad layout: 1, 4, 7 lean left, 3, 6, 9 lean right.
  const int32_t column = p.direction % 3;
  row = column == 1 ? 1 : (column == 0 ? 2 : 0);
  if (counter % kFramePeriod == 0) frame = (frame + 1) % 4;
  image = cells ? cells[4 * row + frame] : 0;
  counter += 1;
}

void Sprite_Player::update() {
  if (!player) return;
  cells = PlayerImages[player->bombing ? kBombingShipSet : kShipSet];
  followShip();
}

void Sprite_Player::reset() {
  cells = PlayerImages[kShipSet];
  centreOnFirstCell();
  frame = 0;
  counter = 0;
  if (player) {
    x = static_cast<int32_t>(player->x);
    y = static_cast<int32_t>(player->y);
  }
}

void Sprite_Player::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(red, green, blue);
  DrawImageRotated(baseX + x, baseY + y, ox, oy, scale, angle, image, transparent, flip);
  if (player && player->slowFormation) {
    // The hit point, shown while moving slowly.
    DrawCircleShape(baseX + x, baseY + y, 1, MakeColor(255, 0, 0), true);
  }
  SetBlendMode(BLEND_ADD, blendParam);
  SetDrawBrightness(255, 255, 255);
  const int glow = PlayerImages[kGlowSet][4 * row + frame];
  if (glow != 0) {
    DrawImageRotated(baseX + x, baseY + y + 10, ox, oy, scale, angle, glow, true, false);
  }
}

void Sprite_PlayerOption::update() {
  if (!player || !option) return;
  followShip();
  if (player->state != PLAYER_EXPLODED) {
    x = static_cast<int32_t>(option->x);
    y = static_cast<int32_t>(option->y);
  }
  // Options switched off by low power are hidden.
  if (player->state >= PLAYER_NORMAL && player->state <= PLAYER_REENTERING) {
    visible = !option->dead;
  }
}

void Sprite_PlayerOption::reset() {
  cells = PlayerImages[option && option->sideKind == 2 ? kOptionSet2 : kOptionSet1];
  centreOnFirstCell();
  frame = 0;
  counter = 0;
  if (option) {
    x = static_cast<int32_t>(option->x);
    y = static_cast<int32_t>(option->y);
  }
}
