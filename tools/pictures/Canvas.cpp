#include "Canvas.h"

#include <jpeglib.h>
#include <png.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace pictures {

Rgba Colour(uint32_t rgb, float alpha) {
  float r = float((rgb >> 16) & 255) / 255.0f;
  float g = float((rgb >> 8) & 255) / 255.0f;
  float b = float(rgb & 255) / 255.0f;
  return {r * alpha, g * alpha, b * alpha, alpha};
}

Rgba Lerp(const Rgba& a, const Rgba& b, float t) {
  return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
          a.a + (b.a - a.a) * t};
}

void Canvas::Fill(const Rgba& c) { std::fill(px_.begin(), px_.end(), c); }

void Canvas::Over(int x, int y, const Rgba& c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  Rgba& d = at(x, y);
  float k = 1.0f - c.a;
  d = {c.r + d.r * k, c.g + d.g * k, c.b + d.b * k, c.a + d.a * k};
}

void Canvas::Add(int x, int y, const Rgba& c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  Rgba& d = at(x, y);
  d = {d.r + c.r, d.g + c.g, d.b + c.b, std::min(1.0f, d.a + c.a)};
}

void Canvas::Draw(const Canvas& src, int x, int y, float opacity) {
  for (int j = 0; j < src.h_; ++j)
    for (int i = 0; i < src.w_; ++i) {
      Rgba s = src.at(i, j);
      Over(x + i, y + j, {s.r * opacity, s.g * opacity, s.b * opacity, s.a * opacity});
    }
}

void Canvas::DrawAdditive(const Canvas& src, int x, int y, float strength) {
  for (int j = 0; j < src.h_; ++j)
    for (int i = 0; i < src.w_; ++i) {
      Rgba s = src.at(i, j);
      Add(x + i, y + j, {s.r * strength, s.g * strength, s.b * strength, s.a * strength});
    }
}

Rgba Canvas::Sample(float x, float y) const {
  x -= 0.5f;
  y -= 0.5f;
  int x0 = int(std::floor(x)), y0 = int(std::floor(y));
  float fx = x - float(x0), fy = y - float(y0);
  auto get = [&](int i, int j) -> Rgba {
    if (i < 0 || j < 0 || i >= w_ || j >= h_) return {};
    return at(i, j);
  };
  Rgba top = Lerp(get(x0, y0), get(x0 + 1, y0), fx);
  Rgba bottom = Lerp(get(x0, y0 + 1), get(x0 + 1, y0 + 1), fx);
  return Lerp(top, bottom, fy);
}

void Canvas::RepeatRows(int period) {
  for (int y = period; y < h_; ++y)
    for (int x = 0; x < w_; ++x) at(x, y) = at(x, y - period);
}

Canvas Canvas::Crop(int x, int y, int width, int height) const {
  Canvas out(width, height);
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) {
      int sx = x + i, sy = y + j;
      if (sx >= 0 && sy >= 0 && sx < w_ && sy < h_) out.at(i, j) = at(sx, sy);
    }
  return out;
}

Canvas Canvas::Reduce(int factor) const {
  Canvas out(w_ / factor, h_ / factor);
  float k = 1.0f / float(factor * factor);
  for (int j = 0; j < out.h_; ++j)
    for (int i = 0; i < out.w_; ++i) {
      Rgba sum;
      for (int v = 0; v < factor; ++v)
        for (int u = 0; u < factor; ++u) {
          const Rgba& s = at(i * factor + u, j * factor + v);
          sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
        }
      out.at(i, j) = {sum.r * k, sum.g * k, sum.b * k, sum.a * k};
    }
  return out;
}

void Canvas::Scale(float k) {
  for (Rgba& p : px_) p = {p.r * k, p.g * k, p.b * k, p.a * k};
}

void Canvas::Blur(int radius) {
  if (radius <= 0) return;
  std::vector<Rgba> line;
  auto pass = [&](int count, int length, auto&& get) {
    line.resize(size_t(length));
    for (int n = 0; n < count; ++n) {
      for (int i = 0; i < length; ++i) line[size_t(i)] = get(n, i);
      for (int i = 0; i < length; ++i) {
        Rgba sum;
        int lo = std::max(0, i - radius), hi = std::min(length - 1, i + radius);
        for (int k = lo; k <= hi; ++k) {
          const Rgba& s = line[size_t(k)];
          sum = {sum.r + s.r, sum.g + s.g, sum.b + s.b, sum.a + s.a};
        }
        float inv = 1.0f / float(2 * radius + 1);
        get(n, i) = {sum.r * inv, sum.g * inv, sum.b * inv, sum.a * inv};
      }
    }
  };
  for (int round = 0; round < 3; ++round) {
    pass(h_, w_, [&](int row, int i) -> Rgba& { return at(i, row); });
    pass(w_, h_, [&](int col, int i) -> Rgba& { return at(col, i); });
  }
}

namespace {

uint8_t ToByte(float v) {
  v = std::clamp(v, 0.0f, 1.0f);
  return uint8_t(std::lround(v * 255.0f));
}

// Straight-alpha 8-bit rows; colour is unpremultiplied where alpha allows.
std::vector<uint8_t> ToBytes(const Canvas& c, bool withAlpha) {
  int channels = withAlpha ? 4 : 3;
  std::vector<uint8_t> out(size_t(c.width()) * c.height() * channels);
  size_t o = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      Rgba p = c.at(x, y);
      if (withAlpha) {
        float a = std::clamp(p.a, 0.0f, 1.0f);
        float inv = a > 1e-6f ? 1.0f / a : 0.0f;
        out[o++] = ToByte(p.r * inv);
        out[o++] = ToByte(p.g * inv);
        out[o++] = ToByte(p.b * inv);
        out[o++] = ToByte(a);
      } else {
        out[o++] = ToByte(p.r);
        out[o++] = ToByte(p.g);
        out[o++] = ToByte(p.b);
      }
    }
  return out;
}

}  // namespace

bool WritePng(const std::string& path, const Canvas& c, bool withAlpha) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "pictures: cannot write %s\n", path.c_str());
    return false;
  }
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  png_infop info = png_create_info_struct(png);
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    std::fclose(f);
    return false;
  }
  png_init_io(png, f);
  png_set_IHDR(png, info, png_uint_32(c.width()), png_uint_32(c.height()), 8,
               withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
               PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  png_set_compression_level(png, 6);
  png_write_info(png, info);
  std::vector<uint8_t> bytes = ToBytes(c, withAlpha);
  size_t stride = size_t(c.width()) * (withAlpha ? 4 : 3);
  for (int y = 0; y < c.height(); ++y) png_write_row(png, bytes.data() + stride * size_t(y));
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return std::fclose(f) == 0;
}

bool WriteJpeg(const std::string& path, const Canvas& c, int quality) {
  FILE* f = std::fopen(path.c_str(), "wb");
  if (!f) {
    std::fprintf(stderr, "pictures: cannot write %s\n", path.c_str());
    return false;
  }
  jpeg_compress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_compress(&cinfo);
  jpeg_stdio_dest(&cinfo, f);
  cinfo.image_width = JDIMENSION(c.width());
  cinfo.image_height = JDIMENSION(c.height());
  cinfo.input_components = 3;
  cinfo.in_color_space = JCS_RGB;
  jpeg_set_defaults(&cinfo);
  jpeg_set_quality(&cinfo, quality, TRUE);
  jpeg_start_compress(&cinfo, TRUE);
  std::vector<uint8_t> bytes = ToBytes(c, false);
  size_t stride = size_t(c.width()) * 3;
  while (cinfo.next_scanline < cinfo.image_height) {
    JSAMPROW row = bytes.data() + stride * cinfo.next_scanline;
    jpeg_write_scanlines(&cinfo, &row, 1);
  }
  jpeg_finish_compress(&cinfo);
  jpeg_destroy_compress(&cinfo);
  return std::fclose(f) == 0;
}

Canvas ReadPng(const std::string& path) {
  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  if (!png_image_begin_read_from_file(&image, path.c_str())) return {};
  image.format = PNG_FORMAT_RGBA;
  std::vector<uint8_t> bytes(PNG_IMAGE_SIZE(image));
  if (!png_image_finish_read(&image, nullptr, bytes.data(), 0, nullptr)) return {};
  Canvas c(int(image.width), int(image.height));
  size_t o = 0;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x, o += 4) {
      uint32_t rgb = uint32_t(bytes[o]) << 16 | uint32_t(bytes[o + 1]) << 8 | bytes[o + 2];
      c.at(x, y) = Colour(rgb, float(bytes[o + 3]) / 255.0f);
    }
  return c;
}

Canvas ReadJpeg(const std::string& path) {
  FILE* f = std::fopen(path.c_str(), "rb");
  if (!f) return {};
  jpeg_decompress_struct cinfo;
  jpeg_error_mgr jerr;
  cinfo.err = jpeg_std_error(&jerr);
  jpeg_create_decompress(&cinfo);
  jpeg_stdio_src(&cinfo, f);
  jpeg_read_header(&cinfo, TRUE);
  cinfo.out_color_space = JCS_RGB;
  jpeg_start_decompress(&cinfo);
  Canvas c(int(cinfo.output_width), int(cinfo.output_height));
  std::vector<uint8_t> row(size_t(cinfo.output_width) * 3);
  while (cinfo.output_scanline < cinfo.output_height) {
    int y = int(cinfo.output_scanline);
    JSAMPROW p = row.data();
    jpeg_read_scanlines(&cinfo, &p, 1);
    for (int x = 0; x < c.width(); ++x) {
      size_t o = size_t(x) * 3;
      c.at(x, y) = Colour(uint32_t(row[o]) << 16 | uint32_t(row[o + 1]) << 8 | row[o + 2]);
    }
  }
  jpeg_finish_decompress(&cinfo);
  jpeg_destroy_decompress(&cinfo);
  std::fclose(f);
  return c;
}

}  // namespace pictures
