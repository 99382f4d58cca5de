#include "display/GObject.h"

#include <algorithm>

#include "app/Module_Graphics.h"
#include "engine/Engine.h"

GObject::~GObject() {
  if (slot) slot->object = nullptr;
}

void GObject::draw(int32_t, int32_t) {}

void GObject::setPosition(int32_t newX, int32_t newY) {
  x = newX;
  y = newY;
}

GContainer::~GContainer() {
  // Each child's destructor empties its own slot; the slot itself is freed
  // when the list goes.
  for (auto& s : children) {
    if (s->object) {
      GObject* child = s->object;
      delete child;
    }
  }
  children.clear();
}

void GContainer::registerChild(GObject* child) {
  if (!child || child->slot) return;
  children.push_back(std::make_unique<ChildSlot>());
  children.back()->object = child;
  child->slot = children.back().get();
}

void GContainer::draw(int32_t baseX, int32_t baseY) {
  // Children deleted since the last draw leave empty slots: drop them even
  // when nothing is drawn, so lists of short-lived sprites stay short.
  std::erase_if(children, [](const std::unique_ptr<ChildSlot>& s) { return s->object == nullptr; });
  if (!visible || children.empty() || !beginDraw()) return;
  if (sortByZ) {
    std::stable_sort(children.begin(), children.end(),
                     [](const std::unique_ptr<ChildSlot>& a, const std::unique_ptr<ChildSlot>& b) {
                       return a->object->z < b->object->z;
                     });
  }
  const int32_t childBaseX = x + baseX - ox;
  const int32_t childBaseY = y + baseY - oy;
  // Index loop: a child's draw must not add children, but guard against it.
  for (size_t i = 0; i < children.size(); ++i) {
    if (GObject* child = children[i]->object) child->draw(childBaseX, childBaseY);
  }
  endDraw();
}

bool GContainer::beginDraw() { return true; }
void GContainer::endDraw() {}

Viewport::Viewport() { gGraphics.registerChild(this); }

Viewport::Viewport(int32_t vx, int32_t vy, int32_t vwidth, int32_t vheight, int32_t vz)
    : width(vwidth), height(vheight) {
  x = vx;
  y = vy;
  z = vz;
  visible = true;
  gGraphics.registerChild(this);
}

bool Viewport::beginDraw() {
  SetClipRect(x, y, x + width, y + height);
  SetBlendMode(BLEND_NONE, 255);
  return true;
}

// The next viewport sets its own clip; the root restores the full screen.
void Viewport::endDraw() {}
