// Drawing state (blend, brightness, clip) and the image draws.
#include "Draw.h"

#include <algorithm>
#include <cmath>

#include "Engine.h"

namespace engine {
namespace {

bool backBufferSelected = false;

int clampByte(int value) { return std::clamp(value, 0, 255); }

headless::DrawCall imageCall(headless::DrawOp op, int handle, bool transparent) {
  headless::DrawCall call;
  call.op = op;
  call.handle = handle;
  call.transparent = transparent;
  return call;
}

}  // namespace

DrawState& CurrentDrawState() {
  static DrawState state;
  return state;
}

bool BackBufferSelected() { return backBufferSelected; }

bool DeviceDrawWanted() {
  if (!EngineIsUp() || headless::Active()) return false;
  const DrawState& s = CurrentDrawState();
  return !s.clipOn || (s.clip[2] > s.clip[0] && s.clip[3] > s.clip[1]);
}

void RecordDraw(headless::DrawCall call) {
  if (!headless::Active()) return;
  const DrawState& s = CurrentDrawState();
  call.blendMode = s.blendMode;
  call.blendParam = s.blendParam;
  std::copy(std::begin(s.bright), std::end(s.bright), call.bright);
  call.clipOn = s.clipOn;
  std::copy(std::begin(s.clip), std::end(s.clip), call.clip);
  headless::Record(call);
}

uint8_t BlendAlpha() {
  const DrawState& s = CurrentDrawState();
  return static_cast<uint8_t>(s.blendMode == BLEND_NONE ? 255 : s.blendParam);
}

void SubmitImageQuad(const ImageRef& image, const float xs[4], const float ys[4], float u0,
                     float v0, float u1, float v1, bool transparent) {
  const DrawState& s = CurrentDrawState();
  // The device's multiplicative blend wants colour already weighted by alpha.
  const TextureKind kind = !transparent               ? TextureKind::Opaque
                           : s.blendMode == BLEND_MUL ? TextureKind::Premultiplied
                                                      : TextureKind::Straight;
  void* texture = SurfaceTexture(*image.surface, kind);
  if (!texture) return;
  const float sw = static_cast<float>(image.surface->width);
  const float sh = static_cast<float>(image.surface->height);
  const float us[4] = {u0, u1, u1, u0};
  const float vs[4] = {v0, v0, v1, v1};
  Vertex v[4];
  for (int i = 0; i < 4; ++i) {
    v[i].x = xs[i];
    v[i].y = ys[i];
    v[i].u = (static_cast<float>(image.x) + us[i]) / sw;
    v[i].v = (static_cast<float>(image.y) + vs[i]) / sh;
    v[i].r = static_cast<uint8_t>(s.bright[0]);
    v[i].g = static_cast<uint8_t>(s.bright[1]);
    v[i].b = static_cast<uint8_t>(s.bright[2]);
    v[i].a = BlendAlpha();
  }
  static const int kIndices[6] = {0, 1, 2, 0, 2, 3};
  CurrentBackend().video->drawGeometry(texture, v, 4, kIndices, 6, s.blendMode);
}

void SubmitColourTriangles(const Vertex* vertices, int vertexCount, const int* indices,
                           int indexCount) {
  CurrentBackend().video->drawGeometry(nullptr, vertices, vertexCount, indices, indexCount,
                                       CurrentDrawState().blendMode);
}

Vertex ColourVertex(int color, float x, float y) {
  Vertex v{};
  v.x = x;
  v.y = y;
  v.r = static_cast<uint8_t>(color >> 16 & 0xFF);
  v.g = static_cast<uint8_t>(color >> 8 & 0xFF);
  v.b = static_cast<uint8_t>(color & 0xFF);
  v.a = BlendAlpha();
  return v;
}

}  // namespace engine

using engine::CurrentDrawState;
using engine::DeviceDrawWanted;
using engine::FindImage;
using engine::ImageRef;
using engine::RecordDraw;
using engine::SubmitImageQuad;
using engine::headless::DrawOp;

void SetBlendMode(int mode, int param) {
  engine::DrawState& s = CurrentDrawState();
  s.blendMode = mode >= BLEND_NONE && mode <= BLEND_MUL ? mode : BLEND_NONE;
  s.blendParam = engine::clampByte(param);
}

void SetDrawBrightness(int r, int g, int b) {
  engine::DrawState& s = CurrentDrawState();
  s.bright[0] = engine::clampByte(r);
  s.bright[1] = engine::clampByte(g);
  s.bright[2] = engine::clampByte(b);
}

void SetClipRect(int x1, int y1, int x2, int y2) {
  engine::DrawState& s = CurrentDrawState();
  s.clipOn = true;
  s.clip[0] = x1;
  s.clip[1] = y1;
  s.clip[2] = x2;
  s.clip[3] = y2;
  if (engine::EngineIsUp()) engine::CurrentBackend().video->setClip(true, x1, y1, x2, y2);
}

void SelectBackBuffer() { engine::backBufferSelected = true; }

void DrawImage(int x, int y, int handle, bool transparent) {
  const ImageRef* image = FindImage(handle);
  if (!image) return;
  auto call = engine::imageCall(DrawOp::Image, handle, transparent);
  call.args[0] = x;
  call.args[1] = y;
  RecordDraw(call);
  if (!DeviceDrawWanted()) return;
  const float l = static_cast<float>(x), t = static_cast<float>(y);
  const float r = l + static_cast<float>(image->width), b = t + static_cast<float>(image->height);
  const float xs[4] = {l, r, r, l};
  const float ys[4] = {t, t, b, b};
  SubmitImageQuad(*image, xs, ys, 0, 0, static_cast<float>(image->width),
                  static_cast<float>(image->height), transparent);
}

void DrawImageStretched(int x1, int y1, int x2, int y2, int handle, bool transparent) {
  const ImageRef* image = FindImage(handle);
  if (!image) return;
  auto call = engine::imageCall(DrawOp::Stretched, handle, transparent);
  const int args[4] = {x1, y1, x2, y2};
  std::copy(args, args + 4, call.args);
  RecordDraw(call);
  if (!DeviceDrawWanted()) return;
  // Corners given in reverse order mirror the picture by themselves.
  const float l = static_cast<float>(x1), t = static_cast<float>(y1);
  const float r = static_cast<float>(x2), b = static_cast<float>(y2);
  const float xs[4] = {l, r, r, l};
  const float ys[4] = {t, t, b, b};
  SubmitImageQuad(*image, xs, ys, 0, 0, static_cast<float>(image->width),
                  static_cast<float>(image->height), transparent);
}

void DrawImageQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int handle,
                   bool transparent) {
  const ImageRef* image = FindImage(handle);
  if (!image) return;
  auto call = engine::imageCall(DrawOp::Quad, handle, transparent);
  const int args[8] = {x1, y1, x2, y2, x3, y3, x4, y4};
  std::copy(args, args + 8, call.args);
  RecordDraw(call);
  if (!DeviceDrawWanted()) return;
  const float xs[4] = {static_cast<float>(x1), static_cast<float>(x2), static_cast<float>(x3),
                       static_cast<float>(x4)};
  const float ys[4] = {static_cast<float>(y1), static_cast<float>(y2), static_cast<float>(y3),
                       static_cast<float>(y4)};
  SubmitImageQuad(*image, xs, ys, 0, 0, static_cast<float>(image->width),
                  static_cast<float>(image->height), transparent);
}

void DrawImageRect(int x, int y, int srcX, int srcY, int width, int height, int handle,
                   bool transparent, bool flip) {
  const ImageRef* image = FindImage(handle);
  if (!image) return;
  auto call = engine::imageCall(DrawOp::Rect, handle, transparent);
  const int args[6] = {x, y, srcX, srcY, width, height};
  std::copy(args, args + 6, call.args);
  call.flip = flip;
  RecordDraw(call);
  if (!DeviceDrawWanted()) return;
  // Only the part of the asked rectangle that lies on the image is drawn,
  // where it would have been drawn had the whole rectangle been there.
  const int sx0 = std::max(srcX, 0), sy0 = std::max(srcY, 0);
  const int sx1 = static_cast<int>(std::min<int64_t>(int64_t{srcX} + width, image->width));
  const int sy1 = static_cast<int>(std::min<int64_t>(int64_t{srcY} + height, image->height));
  if (sx1 <= sx0 || sy1 <= sy0) return;
  const float l = static_cast<float>(flip ? x + (srcX + width - sx1) : x + (sx0 - srcX));
  const float r = l + static_cast<float>(sx1 - sx0);
  const float t = static_cast<float>(y + (sy0 - srcY));
  const float b = t + static_cast<float>(sy1 - sy0);
  const float xs[4] = {l, r, r, l};
  const float ys[4] = {t, t, b, b};
  const float u0 = static_cast<float>(flip ? sx1 : sx0), u1 = static_cast<float>(flip ? sx0 : sx1);
  SubmitImageQuad(*image, xs, ys, u0, static_cast<float>(sy0), u1, static_cast<float>(sy1),
                  transparent);
}

void DrawImageRotated(int x, int y, int centerX, int centerY, double scale, double angle,
                      int handle, bool transparent, bool flip) {
  const ImageRef* image = FindImage(handle);
  if (!image) return;
  auto call = engine::imageCall(DrawOp::Rotated, handle, transparent);
  const int args[4] = {x, y, centerX, centerY};
  std::copy(args, args + 4, call.args);
  call.scale = scale;
  call.angle = angle;
  call.flip = flip;
  RecordDraw(call);
  if (!DeviceDrawWanted()) return;
  // Angles grow clockwise on a y-down screen, which is the usual rotation
  // matrix applied to y-down coordinates. A flip mirrors the picture about
  // the centre point, so that point still lands on (x, y).
  // With alpha, only the visible part of the picture is drawn (the rest
  // would change no pixel); without it, every texel shows.
  double l = 0, t = 0, r = image->width, b = image->height;
  if (transparent) {
    if (image->visibleWidth == 0) return;
    l = image->visibleX;
    t = image->visibleY;
    r = l + image->visibleWidth;
    b = t + image->visibleHeight;
  }
  const double c = std::cos(angle) * scale, s = std::sin(angle) * scale;
  const double px[4] = {l, r, r, l};
  const double py[4] = {t, t, b, b};
  float xs[4], ys[4];
  for (int i = 0; i < 4; ++i) {
    double dx = px[i] - centerX;
    const double dy = py[i] - centerY;
    if (flip) dx = -dx;
    xs[i] = static_cast<float>(x + dx * c - dy * s);
    ys[i] = static_cast<float>(y + dx * s + dy * c);
  }
  SubmitImageQuad(*image, xs, ys, static_cast<float>(l), static_cast<float>(t),
                  static_cast<float>(r), static_cast<float>(b), transparent);
}

int DrawImageFile(int x, int y, const char* path, bool transparent) {
  const int handle = LoadImageFile(path);
  if (handle < 0) return -1;
  DrawImage(x, y, handle, transparent);
  // Before the back buffer is chosen, drawing shows at once (loading picture).
  if (!engine::BackBufferSelected()) PresentFrame();
  DeleteImage(handle);
  return 0;
}
