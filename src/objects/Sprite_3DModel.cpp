#include "objects/Sprite_3DModel.h"

#include "engine/Engine.h"

namespace {
constexpr float kViewHeight = 640.0f;
}  // namespace

void Sprite_3DModel::draw(int32_t baseX, int32_t baseY) {
  (void)baseX, (void)baseY;
  if (!visible || image == 0) return;
  const float s = static_cast<float>(scale);
  const Matrix4 place =
      MatrixMultiply(MatrixScale(s, s, s),
                     MatrixTranslate(static_cast<float>(x), kViewHeight - static_cast<float>(y),
                                     -static_cast<float>(z)));
  const Matrix4 matrix = MatrixMultiply(
      MatrixRotateAxis(Vector3{0.0f, 0.5f, -0.5f}, static_cast<float>(angle)), place);
  SetModelMatrix(image, matrix);
  SetOrthoCamera(kViewHeight);
  DrawModel(image);
}
