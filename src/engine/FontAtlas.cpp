// Shelf packing of glyphs into texture pages.
#include "FontAtlas.h"

#include <algorithm>
#include <cstring>

#include "Backend.h"

namespace engine {
namespace {
constexpr int kPadding = 1;  // blank texels between glyphs keep filtering from bleeding
}

// Textures are given back by releaseTextures while the device is up; at exit
// the device takes them with it.
FontAtlas::~FontAtlas() = default;

bool FontAtlas::placeOnPage(Page& page, int width, int height, int& x, int& y) {
  const int w = width + kPadding;
  const int h = height + kPadding;
  if (page.shelfX + w > kPageSize) {
    page.shelfY += page.shelfHeight;
    page.shelfX = 0;
    page.shelfHeight = 0;
  }
  if (page.shelfY + h > kPageSize) return false;
  x = page.shelfX;
  y = page.shelfY;
  page.shelfX += w;
  page.shelfHeight = std::max(page.shelfHeight, h);
  return true;
}

bool FontAtlas::place(const uint8_t* coverage, int width, int height, int& page, int& x, int& y) {
  if (width <= 0 || height <= 0 || width + kPadding > kPageSize || height + kPadding > kPageSize) {
    return false;
  }
  // Only the newest page has room worth looking for: older ones were full.
  if (pages_.empty() || !placeOnPage(pages_.back(), width, height, x, y)) {
    if (static_cast<int>(pages_.size()) >= kMaxPages) return false;
    pages_.emplace_back();
    pages_.back().coverage.assign(static_cast<size_t>(kPageSize) * kPageSize, 0);
    if (!placeOnPage(pages_.back(), width, height, x, y)) return false;
  }
  page = static_cast<int>(pages_.size()) - 1;
  Page& p = pages_.back();
  for (int row = 0; row < height; ++row) {
    std::memcpy(&p.coverage[static_cast<size_t>(y + row) * kPageSize + x],
                coverage + static_cast<size_t>(row) * width, static_cast<size_t>(width));
  }
  if (p.dirtyX1 >= p.dirtyX2) {
    p.dirtyX1 = x;
    p.dirtyY1 = y;
    p.dirtyX2 = x + width;
    p.dirtyY2 = y + height;
  } else {
    p.dirtyX1 = std::min(p.dirtyX1, x);
    p.dirtyY1 = std::min(p.dirtyY1, y);
    p.dirtyX2 = std::max(p.dirtyX2, x + width);
    p.dirtyY2 = std::max(p.dirtyY2, y + height);
  }
  return true;
}

void FontAtlas::upload(Page& page, int x1, int y1, int x2, int y2, bool create) {
  const int w = x2 - x1;
  const int h = y2 - y1;
  scratch_.resize(static_cast<size_t>(w) * h);
  // White texels whose alpha is the coverage: the vertex colour tints them.
  for (int row = 0; row < h; ++row) {
    const uint8_t* src = &page.coverage[static_cast<size_t>(y1 + row) * kPageSize + x1];
    uint32_t* dst = &scratch_[static_cast<size_t>(row) * w];
    for (int col = 0; col < w; ++col) dst[col] = 0x00FFFFFFu | (uint32_t{src[col]} << 24);
  }
  if (create) {
    page.texture = device_->createTexture(w, h, scratch_.data());
  } else {
    device_->updateTexture(page.texture, x1, y1, w, h, scratch_.data());
  }
  page.dirtyX1 = page.dirtyX2 = 0;
}

void* FontAtlas::texture(int page) {
  if (page < 0 || page >= static_cast<int>(pages_.size())) return nullptr;
  VideoDevice* device = CurrentBackend().video.get();
  if (device == nullptr) return nullptr;
  if (device != device_) {
    // Textures made by an earlier device went with it.
    for (Page& p : pages_) p.texture = nullptr;
    device_ = device;
  }
  Page& p = pages_[page];
  if (p.texture == nullptr) {
    upload(p, 0, 0, kPageSize, kPageSize, true);
  } else if (p.dirtyX1 < p.dirtyX2) {
    upload(p, p.dirtyX1, p.dirtyY1, p.dirtyX2, p.dirtyY2, false);
  }
  return p.texture;
}

void FontAtlas::releaseTextures() {
  for (Page& p : pages_) {
    if (p.texture != nullptr && device_ != nullptr && device_ == CurrentBackend().video.get()) {
      device_->destroyTexture(p.texture);
    }
    p.texture = nullptr;
  }
  device_ = nullptr;
}

}  // namespace engine
