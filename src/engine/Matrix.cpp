// 4 x 4 matrices for the model operations, in the row-vector convention: a
// point is the row (x, y, z, 1) multiplied on the left, v' = v·M, so the
// translation sits in the bottom row and MatrixMultiply(a, b) applies a first.
#include <cmath>

#include "Engine.h"

namespace {

Matrix4 identity() {
  Matrix4 m{};
  for (int i = 0; i < 4; ++i) m.m[i][i] = 1.0f;
  return m;
}

}  // namespace

Matrix4 MatrixTranslate(float x, float y, float z) {
  Matrix4 m = identity();
  m.m[3][0] = x;
  m.m[3][1] = y;
  m.m[3][2] = z;
  return m;
}

Matrix4 MatrixScale(float sx, float sy, float sz) {
  Matrix4 m = identity();
  m.m[0][0] = sx;
  m.m[1][1] = sy;
  m.m[2][2] = sz;
  return m;
}

// Rotation by `angle` radians about the axis through the origin, turning x
// towards y for the axis +z (the right-hand rule). A zero axis gives the
// identity.
Matrix4 MatrixRotateAxis(Vector3 axis, float angle) {
  const double length =
      std::sqrt(double{axis.x} * axis.x + double{axis.y} * axis.y + double{axis.z} * axis.z);
  if (!(length > 0.0)) return identity();
  const double x = axis.x / length, y = axis.y / length, z = axis.z / length;
  const double c = std::cos(angle), s = std::sin(angle), t = 1.0 - c;
  const double r[3][3] = {
      {c + t * x * x, t * x * y + s * z, t * x * z - s * y},
      {t * x * y - s * z, c + t * y * y, t * y * z + s * x},
      {t * x * z + s * y, t * y * z - s * x, c + t * z * z},
  };
  Matrix4 m = identity();
  for (int i = 0; i < 3; ++i) {
    for (int j = 0; j < 3; ++j) m.m[i][j] = static_cast<float>(r[i][j]);
  }
  return m;
}

Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b) {
  Matrix4 out{};
  for (int i = 0; i < 4; ++i) {
    for (int j = 0; j < 4; ++j) {
      float sum = 0.0f;
      for (int k = 0; k < 4; ++k) sum += a.m[i][k] * b.m[k][j];
      out.m[i][j] = sum;
    }
  }
  return out;
}
