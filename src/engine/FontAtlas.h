// Glyph coverage packed into texture pages, one atlas per font. The pixels
// live in memory first; a page reaches the video device when it is drawn, so
// fonts can measure and rasterise before (and without) a screen.
#pragma once

#include <cstdint>
#include <vector>

namespace engine {

class VideoDevice;

class FontAtlas {
 public:
  static constexpr int kPageSize = 512;
  static constexpr int kMaxPages = 64;

  FontAtlas() = default;
  FontAtlas(const FontAtlas&) = delete;
  FontAtlas& operator=(const FontAtlas&) = delete;
  ~FontAtlas();

  // Copies a width x height coverage mask into a free spot; false when it
  // cannot be placed (too large, or every page is full).
  bool place(const uint8_t* coverage, int width, int height, int& page, int& x, int& y);
  // The page's texture on the current video device with every placed glyph
  // uploaded; null when there is no device or it refused the texture.
  void* texture(int page);
  // Destroys the textures on the device that made them (the pixels stay).
  void releaseTextures();
  int pageCount() const { return static_cast<int>(pages_.size()); }

 private:
  struct Page {
    std::vector<uint8_t> coverage;
    int shelfX = 0, shelfY = 0, shelfHeight = 0;
    void* texture = nullptr;
    int dirtyX1 = 0, dirtyY1 = 0, dirtyX2 = 0, dirtyY2 = 0;  // empty when x1 >= x2
  };
  bool placeOnPage(Page& page, int width, int height, int& x, int& y);
  void upload(Page& page, int x1, int y1, int x2, int y2, bool create);

  std::vector<Page> pages_;
  VideoDevice* device_ = nullptr;
  std::vector<uint32_t> scratch_;
};

}  // namespace engine
