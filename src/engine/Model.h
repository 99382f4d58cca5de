// Models inside the engine layer: the parsed model file and the projection
// that turns it into screen triangles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "Backend.h"
#include "Engine.h"

namespace engine {

struct ModelVertex {
  float x, y, z;
  uint8_t r, g, b, a;
};

struct ModelData {
  std::vector<ModelVertex> vertices;
  std::vector<int> indices;  // triangles, in threes
};

// Parses the model text format (described in ModelFile.cpp). False, with a
// reason in `error` when given, for anything malformed.
bool ParseModel(const char* text, size_t size, ModelData& out, std::string* error = nullptr);

// Transforms the model by `world` (row vectors: v' = v·world), projects it
// through the orthographic camera of `viewHeight` and orders the triangles
// back to front. Vertex colours are multiplied by brightness/255 and alpha by
// alpha/255.
void ProjectModel(const ModelData& model, const Matrix4& world, float viewHeight,
                  const int brightness[3], int alpha, std::vector<Vertex>& vertices,
                  std::vector<int>& indices);

// Where a world point lands on the 640 x 480 screen for a view height.
void ProjectPoint(float viewHeight, float x, float y, float* screenX, float* screenY);

}  // namespace engine
