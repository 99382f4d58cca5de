// Image handles: loading, sub-images, cells, sizes and release.
#include "Images.h"

#include <algorithm>
#include <unordered_map>

#include "Backend.h"
#include "Engine.h"
#include "ImageDecode.h"

namespace engine {
namespace {

struct ImageTable {
  std::unordered_map<int, ImageRef> images;
  // Handles are never reused, so a stale handle kept by a sprite can only
  // draw nothing, never somebody else's picture.
  int nextHandle = 1;
};

ImageTable& table() {
  static ImageTable t;
  return t;
}

void releaseTextures(Surface& surface) {
  if (EngineIsUp()) {
    VideoDevice& video = *CurrentBackend().video;
    for (void* texture : surface.textures) {
      if (texture) video.destroyTexture(texture);
    }
  }
  for (void*& texture : surface.textures) texture = nullptr;
}

void findVisiblePart(ImageRef& ref) {
  const Surface& surface = *ref.surface;
  int left = ref.width, top = ref.height, right = -1, bottom = -1;
  for (int row = 0; row < ref.height; ++row) {
    const uint32_t* line =
        surface.pixels.data() + static_cast<size_t>(ref.y + row) * surface.width + ref.x;
    for (int col = 0; col < ref.width; ++col) {
      if (line[col] < 0x01000000u) continue;
      left = std::min(left, col);
      right = std::max(right, col);
      top = std::min(top, row);
      bottom = row;
    }
  }
  if (right < 0) {
    ref.visibleX = ref.visibleY = ref.visibleWidth = ref.visibleHeight = 0;
    return;
  }
  left = std::max(left - 1, 0);
  top = std::max(top - 1, 0);
  right = std::min(right + 1, ref.width - 1);
  bottom = std::min(bottom + 1, ref.height - 1);
  ref.visibleX = left;
  ref.visibleY = top;
  ref.visibleWidth = right - left + 1;
  ref.visibleHeight = bottom - top + 1;
}

int addRef(ImageRef ref) {
  findVisiblePart(ref);
  ImageTable& t = table();
  if (t.nextHandle <= 0) return -1;  // every positive handle has been given out
  const int handle = t.nextHandle++;
  t.images.emplace(handle, std::move(ref));
  return handle;
}

// Drops one handle; the surface's textures go with its last rectangle.
void dropRef(std::unordered_map<int, ImageRef>::iterator it) {
  std::shared_ptr<Surface> surface = std::move(it->second.surface);
  table().images.erase(it);
  if (surface.use_count() == 1) releaseTextures(*surface);
}

int loadFile(const char* path) {
  if (!path) return -1;
  std::vector<uint8_t> bytes;
  if (!ReadWholeDataFile(path, bytes)) return -1;
  DecodedImage decoded;
  if (!DecodeImage(bytes.data(), bytes.size(), decoded)) return -1;
  return AddImage(decoded.width, decoded.height, std::move(decoded.pixels));
}

}  // namespace

const ImageRef* FindImage(int handle) {
  if (handle <= 0) return nullptr;
  const auto it = table().images.find(handle);
  return it == table().images.end() ? nullptr : &it->second;
}

int AddImage(int width, int height, std::vector<uint32_t> pixels) {
  if (!ImageSizeAcceptable(width, height) ||
      pixels.size() != static_cast<size_t>(width) * static_cast<size_t>(height)) {
    return -1;
  }
  auto surface = std::make_shared<Surface>();
  surface->width = width;
  surface->height = height;
  surface->pixels = std::move(pixels);
  return addRef(ImageRef{std::move(surface), 0, 0, width, height});
}

void* SurfaceTexture(Surface& surface, TextureKind kind) {
  if (!EngineIsUp()) return nullptr;
  void*& slot = surface.textures[static_cast<int>(kind)];
  if (slot) return slot;
  VideoDevice& video = *CurrentBackend().video;
  if (kind == TextureKind::Straight) {
    slot = video.createTexture(surface.width, surface.height, surface.pixels.data());
    return slot;
  }
  std::vector<uint32_t> copy(surface.pixels);
  for (uint32_t& p : copy) {
    if (kind == TextureKind::Opaque) {
      p |= 0xFF000000u;
    } else {
      const uint32_t a = p >> 24;
      const auto scaled = [a](uint32_t c) { return (c * a + 127) / 255; };
      p = scaled(p & 0xFF) | scaled(p >> 8 & 0xFF) << 8 | scaled(p >> 16 & 0xFF) << 16 | a << 24;
    }
  }
  slot = video.createTexture(surface.width, surface.height, copy.data());
  return slot;
}

int ImageCount() { return static_cast<int>(table().images.size()); }

}  // namespace engine

using engine::FindImage;
using engine::ImageRef;

int LoadImageFile(const char* path) { return engine::loadFile(path); }

int CreateSubImage(int x, int y, int width, int height, int source) {
  const ImageRef* src = FindImage(source);
  if (!src || x < 0 || y < 0 || x >= src->width || y >= src->height) return -1;
  if (width <= 0 || height <= 0) return -1;
  ImageRef sub;
  sub.surface = src->surface;
  sub.x = src->x + x;
  sub.y = src->y + y;
  sub.width = std::min(width, src->width - x);
  sub.height = std::min(height, src->height - y);
  return engine::addRef(std::move(sub));
}

int LoadImageCells(const char* path, int total, int columns, int rows, int cellWidth,
                   int cellHeight, int* handles) {
  if (!handles || total <= 0 || columns <= 0 || rows <= 0 || cellWidth <= 0 || cellHeight <= 0 ||
      total > int64_t{columns} * rows) {
    return -1;
  }
  const int sheet = LoadImageFile(path);
  if (sheet < 0) return -1;
  const ImageRef* src = FindImage(sheet);
  // Every cell must lie wholly inside the sheet.
  const int usedRows = (total + columns - 1) / columns;
  const int usedColumns = std::min(total, columns);
  if (int64_t{usedColumns} * cellWidth > src->width ||
      int64_t{usedRows} * cellHeight > src->height) {
    DeleteImage(sheet);
    return -1;
  }
  for (int i = 0; i < total; ++i) {
    handles[i] = CreateSubImage(i % columns * cellWidth, i / columns * cellHeight, cellWidth,
                                cellHeight, sheet);
    if (handles[i] < 0) {  // only when handles run out; undo the cells made so far
      for (int j = 0; j < i; ++j) DeleteImage(handles[j]);
      DeleteImage(sheet);
      return -1;
    }
  }
  DeleteImage(sheet);  // the cells keep the pixels alive
  return 0;
}

int GetImageSize(int handle, int* width, int* height) {
  const ImageRef* image = FindImage(handle);
  if (!image) return -1;
  if (width) *width = image->width;
  if (height) *height = image->height;
  return 0;
}

int DeleteImage(int handle) {
  if (handle <= 0) return -1;
  const auto it = engine::table().images.find(handle);
  if (it == engine::table().images.end()) return -1;
  engine::dropRef(it);
  return 0;
}

int DeleteAllImages() {
  auto& images = engine::table().images;
  while (!images.empty()) engine::dropRef(images.begin());
  return 0;
}
