#include "objects/Sprite_Item.h"

#include "app/Resources.h"
#include "engine/Engine.h"
#include "objects/Object_Item.h"

namespace {
constexpr int32_t kItemAlpha = 130;

int ItemImage(int32_t kind) { return kind >= 1 && kind <= kItemImages ? ItemImages[kind - 1] : 0; }
}  // namespace

void Sprite_Item::update() {
  if (item) {
    const bool sameItem = !item->dead && item->id == itemId;
    // Only the item this sprite was given may change its picture; a reused
    // slot of another kind must not be adopted.
    if (sameItem && item->kind != itemKind) reset();
    x = static_cast<int32_t>(item->x);
    y = static_cast<int32_t>(item->y);
    if (sameItem) return;
  }
  idle = true;
  visible = false;
}

void Sprite_Item::reset() {
  if (!item) return;
  itemId = item->id;
  itemKind = item->kind;
  image = ItemImage(item->kind);
  int w = 0;
  int h = 0;
  if (image > 0 && GetImageSize(image, &w, &h) == 0) {
    ox = w / 2;
    oy = h / 2;
  }
  update();
  blendMode = BLEND_ALPHA;
  blendParam = kItemAlpha;
  visible = true;
}

void Sprite_Item::draw(int32_t baseX, int32_t baseY) {
  if (!visible || image == 0) return;
  SetBlendMode(blendMode, blendParam);
  DrawImage(baseX + x - ox, baseY + y - oy, image, transparent);
}
