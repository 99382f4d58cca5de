// The draws of a frame, held back until the picture is needed (present,
// read-back) so that work nobody would see is left out: draws that change
// no pixel, draws wholly outside their clip rectangle, and the parts of
// draws that a later opaque rectangle paints over. What comes out draws
// exactly the picture that the whole stream would have drawn.
//
// Plain arithmetic on vertices, without a device, so tests reach it alone.
#pragma once

#include <algorithm>
#include <cstdint>
#include <vector>

#include "Backend.h"

namespace engine {

// A rectangle of whole pixels, [l, r) x [t, b).
struct PixelRect {
  int l = 0, t = 0, r = 0, b = 0;
  bool empty() const { return r <= l || b <= t; }
  bool contains(const PixelRect& o) const { return o.l >= l && o.r <= r && o.t >= t && o.b <= b; }
  bool operator==(const PixelRect&) const = default;
};
PixelRect Intersect(const PixelRect& a, const PixelRect& b);

// How a draw combines with the picture under it, as the device draws it:
// blend (source over by alpha), add, subtract, multiply.
enum class DeviceBlend { Blend, Add, Subtract, Multiply };

// The device's way of drawing a facade blend mode. Without a subtracting
// mode the device darkens by source-over in black instead.
DeviceBlend DeviceBlendFor(int blendMode, bool subtractSupported);

// True when no pixel of the straight-alpha RGBA pixels is transparent.
bool AllOpaque(const uint32_t* rgba, size_t count);

// True when the draw cannot change any pixel: nothing of the source gets
// through (alpha 0 everywhere), or what gets through is black for the
// modes where black changes nothing (add, subtract).
bool LeavesPictureUnchanged(const Vertex* vertices, int count, DeviceBlend blend);

// True when every pixel the draw covers ends up as the source alone, so the
// picture under it no longer matters: a source-over draw at full alpha from
// a texture without a transparent pixel (or plain colour). Such a draw may
// then be drawn without blending at all.
bool ReplacesPicture(const Vertex* vertices, int count, DeviceBlend blend, bool textureOpaque);

// The pixels the triangles could touch (their bounding box widened to whole
// pixels), or the whole screen when a coordinate is not a finite number.
PixelRect DrawBounds(const Vertex* vertices, int vertexCount, const int* indices, int indexCount);

// When the triangles are exactly one axis-aligned rectangle with whole-pixel
// corners (two triangles split along a diagonal), that rectangle: every
// pixel centre inside it is covered once.
bool IsPixelRectangle(const Vertex* vertices, int vertexCount, const int* indices, int indexCount,
                      PixelRect& out);

// True when the triangles are quads (vertices in fours, triangles 0-1-2 and
// 0-2-3 of each) drawn unscaled and unturned, with texel edges on pixel
// edges, from a texture of that size: every pixel then samples a texel at
// its centre, where filtering cannot change the colour.
bool TexelsOnPixels(const Vertex* vertices, int vertexCount, const int* indices, int indexCount,
                    int textureWidth, int textureHeight);

class DrawQueue {
 public:
  // One draw as the device submits it: through `clip` only.
  struct Out {
    void* texture;
    const Vertex* vertices;
    int vertexCount;
    const int* indices;
    int indexCount;
    int blendMode;  // the facade's mode, passed through
    bool replaces;  // may be drawn without blending
    PixelRect clip;
    bool clear;  // not a draw: clear the whole picture to black
  };

  // Queues a draw; `clip` is the clip rectangle in force (the whole screen
  // when clipping is off). Draws that change nothing or lie wholly outside
  // the clip are dropped here.
  void add(void* texture, const Vertex* vertices, int vertexCount, const int* indices,
           int indexCount, int blendMode, DeviceBlend blend, bool textureOpaque,
           const PixelRect& clip);
  // Queues clearing the whole picture to black (it is never cut).
  void addClear(const PixelRect& screen);
  // Forgets every queued draw.
  void drop();
  bool empty() const { return draws_.empty(); }
  size_t size() const { return draws_.size(); }

  // Hands every draw that still shows to `submit`, in order, then forgets
  // them. A draw partly under later opaque rectangles comes out as up to a
  // few pieces, each with its own clip rectangle, that together cover
  // exactly its pixels that stay in view. Before the first, `begin` learns
  // whether the queued draws paint every pixel of `screen` opaquely (the
  // picture under them then no longer matters).
  template <class Begin, class Submit>
  void flush(const PixelRect& screen, Begin&& begin, Submit&& submit) {
    resolve();
    begin(std::any_of(covered_.begin(), covered_.end(),
                      [&screen](const PixelRect& c) { return c.contains(screen); }));
    for (const Piece& p : pieces_) {
      const Queued& d = draws_[p.draw];
      submit(Out{d.texture, vertices_.data() + d.firstVertex, d.vertexCount,
                 indices_.data() + d.firstIndex, d.indexCount, d.blendMode, d.replaces, p.clip,
                 d.clear});
    }
    drop();
  }

 private:
  struct Queued {
    void* texture;
    size_t firstVertex;
    int vertexCount;
    size_t firstIndex;
    int indexCount;
    int blendMode;
    bool replaces;
    bool clear;
    bool isRect;
    PixelRect rect;  // when isRect: the covered rectangle
    PixelRect clip;
    PixelRect area;  // bounds within the clip
  };
  struct Piece {
    size_t draw;
    PixelRect clip;
  };

  void resolve();

  std::vector<Queued> draws_;
  std::vector<Vertex> vertices_;
  std::vector<int> indices_;
  std::vector<Piece> pieces_;
  std::vector<PixelRect> covered_;
};

}  // namespace engine
