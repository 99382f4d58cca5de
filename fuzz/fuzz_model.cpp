// Fuzz target: the model file reader, then the projection a draw performs.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/Model.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  engine::ModelData model;
  if (!engine::ParseModel(reinterpret_cast<const char*>(data), size, model)) return 0;
  const int full[3] = {255, 255, 255};
  std::vector<engine::Vertex> vertices;
  std::vector<int> indices;
  engine::ProjectModel(model, MatrixRotateAxis({0, 0.5f, -0.5f}, 0.3f), 640.0f, full, 255, vertices,
                       indices);
  return 0;
}
