#include "objects/Sprite_Bullet.h"

#include <cmath>

#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object_Bullet.h"

namespace {
constexpr int32_t kSpinningType = 10;  // the ring turns by itself
constexpr double kSpinStep = 0.21;
constexpr int32_t kBlueWarningType = 11;
constexpr int32_t kLastAlphaType = 11;  // higher types glow (additive)
}  // namespace

int BulletImage(int32_t type) {
  if (type < 1 || type > kBulletImages) return 0;
  return BulletImages[type - 1];
}

void Sprite_Bullet::update() {
  if (!bullet) {
    idle = true;
    visible = false;
    return;
  }
  const Object_Bullet& b = *bullet;
  // The bullet is gone or its slot went to another bullet: let go, but
  // finish this update as before.
  if (b.dead || b.id != bulletId) {
    idle = true;
    visible = false;
  }
  x = static_cast<int32_t>(b.x);
  y = static_cast<int32_t>(b.y);
  blendMode = (b.laser || b.bulletType > kLastAlphaType) ? BLEND_ADD : BLEND_ALPHA;
  scale = b.scale;
  blendParam = b.alpha;
  if (b.bulletType == kSpinningType) {
    angle += kSpinStep;
  } else {
    angle = b.angle;
  }
  z = b.ring ? 30 : (b.cancelsBullets ? 20 : (b.laser ? 10 : 0));
}

void Sprite_Bullet::reset() {
  if (!bullet) return;
  bulletId = bullet->id;
  image = BulletImage(bullet->bulletType);
  int w = 0;
  int h = 0;
  if (image > 0 && GetImageSize(image, &w, &h) == 0) {
    ox = w / 2;
    oy = h / 2;
  }
  update();
  visible = true;
}

void Sprite_Bullet::draw(int32_t baseX, int32_t baseY) {
  // A bullet waiting out its spawn delay is not shown.
  if (!bullet || !bullet->active) return;
  if (bullet->laser) {
    drawLaser(baseX, baseY);
    return;
  }
  if (image != 0) {
    Sprite::draw(baseX, baseY);
    return;
  }
  if (!visible) return;
  // Bomb discs, shields and other pictureless shots.
  SetBlendMode(blendMode, blendParam);
  SetDrawBrightness(red, green, blue);
  DrawCircleShape(baseX + x, baseY + y, static_cast<int>(bullet->radius * bullet->scale),
                  MakeColor(255, 255, 255), true);
}

void Sprite_Bullet::drawLaser(int32_t baseX, int32_t baseY) const {
  if (!visible || image == 0) return;
  const Object_Bullet& b = *bullet;
  const double dx = std::cos(b.angle);
  const double dy = std::sin(b.angle);
  const double length = b.length;
  const int ox0 = baseX + x;
  const int oy0 = baseY + y;
  const int endX = ox0 + static_cast<int>(length * dx);
  const int endY = oy0 + static_cast<int>(length * dy);
  if (b.radius >= 1) {
    // The picture stretched along the beam, 3r across.
    const double w = 1.5 * b.radius;
    const int nx = static_cast<int>(-dy * w);
    const int ny = static_cast<int>(dx * w);
    const int lx = static_cast<int>(length * dx - dy * w);
    const int ly = static_cast<int>(length * dy + dx * w);
    const int rx = static_cast<int>(length * dx + dy * w);
    const int ry = static_cast<int>(length * dy - dx * w);
    SetBlendMode(blendMode, blendParam);
    SetDrawBrightness(red, green, blue);
    // Corners in the picture's top-left, top-right, bottom-right, bottom-left order.
    DrawImageQuad(ox0 - nx, oy0 - ny, ox0 + rx, oy0 + ry, ox0 + lx, oy0 + ly, ox0 + nx, oy0 + ny,
                  image, transparent);
    return;
  }
  // No width yet: a warning line where the beam will be.
  const int colour = b.bulletType == kBlueWarningType ? MakeColor(0, 0, 255) : MakeColor(255, 0, 0);
  if (!b.thinAllowed) {
    SetBlendMode(blendMode, blendParam);
    SetDrawBrightness(red, green, blue);
    DrawSegment(ox0, oy0, endX, endY, colour, 3);
    SetBlendMode(BLEND_ALPHA, blendParam);
  } else {
    SetBlendMode(blendMode, blendParam);
  }
  DrawSegment(ox0, oy0, endX, endY, colour, 1);
}
