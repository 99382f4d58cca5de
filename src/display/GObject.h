// The display tree: every object drawn once per frame hangs from the root
// (Module_Graphics) through viewports. Containers own their children, yet a
// child may be deleted first by whoever created it; the child slot between
// them makes that safe.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

class GObject;

// One entry of a container's child list; object becomes null when the child
// is deleted, and the container drops the slot at its next draw.
struct ChildSlot {
  GObject* object = nullptr;
};

class GObject {
 public:
  ChildSlot* slot = nullptr;
  int32_t x = 0;
  int32_t y = 0;
  int32_t z = 0;
  int32_t ox = 0;
  int32_t oy = 0;
  bool visible = true;

  GObject() = default;
  GObject(const GObject&) = delete;
  GObject& operator=(const GObject&) = delete;
  virtual ~GObject();
  virtual void draw(int32_t baseX, int32_t baseY);
  virtual void setPosition(int32_t newX, int32_t newY);
};

class GContainer : public GObject {
 public:
  std::vector<std::unique_ptr<ChildSlot>> children;
  bool sortByZ = false;

  GContainer() = default;
  ~GContainer() override;
  void draw(int32_t baseX, int32_t baseY) override;
  virtual bool beginDraw();
  virtual void endDraw();

  // Puts child in a new slot at the end of the list (a child already in a
  // slot is left where it is).
  void registerChild(GObject* child);
  // Number of slots, including those emptied since the last draw.
  size_t slotCount() const { return children.size(); }
};

class Viewport : public GContainer {
 public:
  int32_t width = 640;
  int32_t height = 480;

  Viewport();
  Viewport(int32_t vx, int32_t vy, int32_t vwidth, int32_t vheight, int32_t vz);
  bool beginDraw() override;
  void endDraw() override;
};
