#include "Svg.h"

#include <cairo.h>
#include <librsvg/rsvg.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace pictures {

void Fail(const std::string& message) {
  std::fprintf(stderr, "pictures: %s\n", message.c_str());
  std::exit(1);
}

std::string ReadText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) Fail("cannot read " + path);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

std::string Substitute(const std::string& text, const Vars& vars) {
  std::string out;
  out.reserve(text.size());
  size_t pos = 0;
  while (true) {
    size_t open = text.find("{{", pos);
    if (open == std::string::npos) break;
    size_t close = text.find("}}", open);
    if (close == std::string::npos) Fail("unclosed {{ in an SVG source");
    out.append(text, pos, open - pos);
    std::string name = text.substr(open + 2, close - open - 2);
    auto it = vars.find(name);
    if (it == vars.end()) Fail("no value for {{" + name + "}}");
    out += it->second;
    pos = close + 2;
  }
  out.append(text, pos, std::string::npos);
  return out;
}

Canvas RenderSvg(const std::string& svg, int width, int height, const Placement& p) {
  GError* error = nullptr;
  RsvgHandle* handle =
      rsvg_handle_new_from_data(reinterpret_cast<const guint8*>(svg.data()), svg.size(), &error);
  if (!handle) {
    std::string why = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    Fail("SVG does not parse: " + why);
  }
  cairo_surface_t* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
  cairo_t* cr = cairo_create(surface);
  double cx = width / 2.0, cy = height / 2.0;
  cairo_translate(cr, cx + p.dx, cy + p.dy);
  cairo_rotate(cr, p.angle);
  cairo_scale(cr, p.scaleX, p.scaleY);
  cairo_translate(cr, -cx, -cy);
  RsvgRectangle viewport{0, 0, double(width), double(height)};
  if (!rsvg_handle_render_document(handle, cr, &viewport, &error)) {
    std::string why = error ? error->message : "unknown error";
    if (error) g_error_free(error);
    Fail("SVG does not render: " + why);
  }
  cairo_destroy(cr);
  cairo_surface_flush(surface);
  Canvas out(width, height);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    const uint32_t* row = reinterpret_cast<const uint32_t*>(data + size_t(y) * size_t(stride));
    for (int x = 0; x < width; ++x) {
      uint32_t v = row[x];  // premultiplied ARGB in native order
      out.at(x, y) = {float((v >> 16) & 255) / 255.0f, float((v >> 8) & 255) / 255.0f,
                      float(v & 255) / 255.0f, float(v >> 24) / 255.0f};
    }
  }
  cairo_surface_destroy(surface);
  g_object_unref(handle);
  return out;
}

}  // namespace pictures
