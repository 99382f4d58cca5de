// A floating-point RGBA picture with premultiplied alpha, plus PNG/JPEG I/O.
// Every picture the content build writes passes through this type, so that
// compositing is done once, in one colour model.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace pictures {

struct Rgba {
  float r = 0, g = 0, b = 0, a = 0;  // premultiplied, 0..1
};

// A straight (not premultiplied) colour given as 0xRRGGBB.
Rgba Colour(uint32_t rgb, float alpha = 1.0f);
Rgba Lerp(const Rgba& a, const Rgba& b, float t);

class Canvas {
 public:
  Canvas() = default;
  Canvas(int width, int height) : w_(width), h_(height), px_(size_t(width) * height) {}

  int width() const { return w_; }
  int height() const { return h_; }
  Rgba& at(int x, int y) { return px_[size_t(y) * w_ + x]; }
  const Rgba& at(int x, int y) const { return px_[size_t(y) * w_ + x]; }

  void Fill(const Rgba& c);
  // Source-over of a premultiplied colour at one pixel (clipped).
  void Over(int x, int y, const Rgba& c);
  void Add(int x, int y, const Rgba& c);
  // Source-over of a whole picture with its top-left at (x, y).
  void Draw(const Canvas& src, int x, int y, float opacity = 1.0f);
  void DrawAdditive(const Canvas& src, int x, int y, float strength = 1.0f);
  // Bilinear sample; outside the picture is transparent.
  Rgba Sample(float x, float y) const;
  Canvas Crop(int x, int y, int width, int height) const;
  // Box-filtered reduction by an integer factor (for supersampled drawing).
  Canvas Reduce(int factor) const;
  // Multiplies every channel (colour and alpha).
  void Scale(float k);
  // Separable box blur applied three times (close to a Gaussian).
  void Blur(int radius);
  // Rows from `period` down repeat the first ones exactly, so a scenery
  // strip's 448-row window wraps without a seam.
  void RepeatRows(int period);

 private:
  int w_ = 0, h_ = 0;
  std::vector<Rgba> px_;
};

// Writers return false with a message on stderr when the file cannot be written.
bool WritePng(const std::string& path, const Canvas& c, bool withAlpha = true);
bool WriteJpeg(const std::string& path, const Canvas& c, int quality);
// Readers for the contact sheet; an empty canvas means failure.
Canvas ReadPng(const std::string& path);
Canvas ReadJpeg(const std::string& path);

}  // namespace pictures
