// The model operations of the facade: loading, the world matrix, the
// orthographic camera and drawing.
//
// The camera looks along +z at a view `viewHeight` world units high that
// fills the 480-pixel screen height, with world y growing upwards: world
// y = viewHeight is the top edge, y = 0 the bottom edge, and world x = 320
// stays on the screen's middle column. With the 640-unit view the stage
// scenery asks for, one unit is 0.75 pixels, so a model the scenery places
// at (x, 640 - y) appears at screen (320 + 0.75·(x - 320), 0.75·y): the
// play field's middle column for x = 192, and its upper part for small y.
// Depth only orders the triangles; nothing is clipped by it.
#include "Model.h"

#include <algorithm>
#include <map>
#include <numeric>

#include "Headless.h"

namespace engine {
namespace {

struct LoadedModel {
  ModelData data;
  Matrix4 world{};
};

struct ModelSystem {
  std::map<int, LoadedModel> models;
  int nextHandle = 1;
  float viewHeight = 480.0f;
  std::vector<Vertex> vertices;  // scratch, kept between draws
  std::vector<int> indices;
};

ModelSystem& sys() {
  static ModelSystem s;
  return s;
}

Matrix4 identity() { return MatrixScale(1.0f, 1.0f, 1.0f); }

}  // namespace

void ProjectPoint(float viewHeight, float x, float y, float* screenX, float* screenY) {
  const float k = 480.0f / viewHeight;
  *screenX = 320.0f + (x - 320.0f) * k;
  *screenY = (viewHeight - y) * k;
}

void ProjectModel(const ModelData& model, const Matrix4& w, float viewHeight,
                  const int brightness[3], int alpha, std::vector<Vertex>& vertices,
                  std::vector<int>& indices) {
  const size_t n = model.vertices.size();
  vertices.resize(n);
  std::vector<float> depth(n);
  auto scale = [](uint8_t c, int by) { return static_cast<uint8_t>(c * by / 255); };
  for (size_t i = 0; i < n; ++i) {
    const ModelVertex& v = model.vertices[i];
    float x = v.x * w.m[0][0] + v.y * w.m[1][0] + v.z * w.m[2][0] + w.m[3][0];
    float y = v.x * w.m[0][1] + v.y * w.m[1][1] + v.z * w.m[2][1] + w.m[3][1];
    depth[i] = v.x * w.m[0][2] + v.y * w.m[1][2] + v.z * w.m[2][2] + w.m[3][2];
    Vertex& out = vertices[i];
    ProjectPoint(viewHeight, x, y, &out.x, &out.y);
    out.u = out.v = 0.0f;
    out.r = scale(v.r, brightness[0]);
    out.g = scale(v.g, brightness[1]);
    out.b = scale(v.b, brightness[2]);
    out.a = scale(v.a, alpha);
  }
  // Painter's order: the farthest triangle (largest depth) first.
  const size_t triangles = model.indices.size() / 3;
  std::vector<float> key(triangles);
  for (size_t t = 0; t < triangles; ++t) {
    const int* tri = &model.indices[3 * t];
    key[t] = depth[tri[0]] + depth[tri[1]] + depth[tri[2]];
  }
  std::vector<int> order(triangles);
  std::iota(order.begin(), order.end(), 0);
  std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return key[a] > key[b]; });
  indices.resize(triangles * 3);
  for (size_t t = 0; t < triangles; ++t) {
    std::copy_n(&model.indices[3 * order[t]], 3, &indices[3 * t]);
  }
}

void ReleaseModels() { sys().models.clear(); }

}  // namespace engine

int LoadModelFile(const char* path) {
  if (!path) return -1;
  std::vector<uint8_t> bytes;
  if (!engine::ReadWholeDataFile(path, bytes)) return -1;
  engine::LoadedModel model;
  if (!engine::ParseModel(reinterpret_cast<const char*>(bytes.data()), bytes.size(), model.data)) {
    return -1;
  }
  model.world = engine::identity();
  auto& s = engine::sys();
  if (s.nextHandle <= 0) return -1;
  int handle = s.nextHandle++;
  s.models.emplace(handle, std::move(model));
  return handle;
}

int DeleteModel(int handle) { return engine::sys().models.erase(handle) ? 0 : -1; }

int SetModelMatrix(int handle, const Matrix4& matrix) {
  auto it = engine::sys().models.find(handle);
  if (it == engine::sys().models.end()) return -1;
  it->second.world = matrix;
  return 0;
}

void SetOrthoCamera(float viewHeight) {
  if (viewHeight > 0.0f) engine::sys().viewHeight = viewHeight;
}

int DrawModel(int handle) {
  auto& s = engine::sys();
  auto it = s.models.find(handle);
  if (it == s.models.end()) return -1;
  const engine::DrawState& ds = engine::CurrentDrawState();
  if (engine::headless::Active()) {
    engine::headless::DrawCall call{};
    call.op = engine::headless::DrawOp::Model;
    call.handle = handle;
    call.blendMode = ds.blendMode;
    call.blendParam = ds.blendParam;
    std::copy_n(ds.bright, 3, call.bright);
    call.clipOn = ds.clipOn;
    std::copy_n(ds.clip, 4, call.clip);
    engine::headless::Record(call);
    return 0;
  }
  if (!engine::EngineIsUp()) return -1;
  const bool translucent = ds.blendMode == BLEND_ALPHA || ds.blendMode == BLEND_ADD;
  engine::ProjectModel(it->second.data, it->second.world, s.viewHeight, ds.bright,
                       translucent ? ds.blendParam : 255, s.vertices, s.indices);
  engine::VideoDevice& video = *engine::CurrentBackend().video;
  video.setClip(ds.clipOn, ds.clip[0], ds.clip[1], ds.clip[2], ds.clip[3]);
  video.drawGeometry(nullptr, s.vertices.data(), static_cast<int>(s.vertices.size()),
                     s.indices.data(), static_cast<int>(s.indices.size()), ds.blendMode);
  return 0;
}
