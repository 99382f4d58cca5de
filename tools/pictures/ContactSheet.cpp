// The contact sheet: every built picture on one PNG, plus a bullet test strip
// that lays all twenty bullets over the darkest and the brightest scenery.
#include <dirent.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Build.h"
#include "Svg.h"

namespace pictures {
namespace {

Canvas Label(const std::string& text, int width) {
  std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='" + std::to_string(width) +
                    "' height='14'><text x='1' y='11' font-family='DejaVu Sans' font-size='11' "
                    "fill='#e0e8ff'>" +
                    text + "</text></svg>";
  return RenderSvg(svg, width, 14);
}

Canvas Load(const std::string& path) {
  if (path.size() > 4 && path.substr(path.size() - 4) == ".jpg") return ReadJpeg(path);
  return ReadPng(path);
}

// A stage-1 field as the game layers it: the star field, its flipped copy
// added dimly, the dust streaks and Pluto's limb at its lowest position.
Canvas StageOneField(const std::string& dir) {
  Canvas far = ReadJpeg(dir + "/stage1-1.jpg"), dust = ReadPng(dir + "/stage2-3.png");
  Canvas pluto = ReadPng(dir + "/stage1-2.png");
  Canvas field(384, 448);
  if (far.width() == 0) return field;
  for (int y = 0; y < 448; ++y)
    for (int x = 0; x < 384; ++x) {
      Rgba a = far.at(x, y + 1000), b = far.at(383 - x, far.height() - 1 - y - 500);
      float k = 180.0f / 255 * 100 / 255;
      field.at(x, y) = {a.r + b.r * k, a.g + b.g * k, a.b + b.b * k, 1};
      if (dust.width()) {
        Rgba d = dust.at(x, y);
        float s = 70.0f / 255;
        field.at(x, y).r += d.r * s * 100 / 255;
        field.at(x, y).g += d.g * s * 100 / 255;
        field.at(x, y).b += d.b * s * 150 / 255;
      }
    }
  if (pluto.width()) field.Draw(pluto, 0, -30);
  return field;
}

Canvas BulletStrip(const std::string& dir) {
  Canvas strip(1152, 448);
  Canvas field = StageOneField(dir);
  Canvas bg = ReadPng(dir + "/bg.png");
  // Panels: plain black, the frame's field, stage 1 near the top (Pluto's
  // ground, the brightest), and a grey stress panel.
  strip.Fill(Colour(0x000000));
  if (bg.width()) strip.Draw(bg.Crop(32, 16, 288, 448), 288, 0);
  strip.Draw(field.Crop(0, 0, 288, 448), 576, 0);
  for (int y = 0; y < 448; ++y)
    for (int x = 864; x < 1152; ++x) strip.at(x, y) = Colour(0x6a6a70);
  for (int panel = 0; panel < 4; ++panel)
    for (int n = 1; n <= 20; ++n) {
      if (n == 10) continue;  // the bomb ring is 256 pixels wide
      Canvas b = ReadPng(dir + "/bullet" + std::to_string(n) + ".png");
      if (!b.width()) continue;
      int col = (n - 1) % 5, row = (n - 1) / 5;
      int x = panel * 288 + 30 + col * 55 - b.width() / 2, y = 40 + row * 100 - b.height() / 2;
      for (int copy = 0; copy < 3; ++copy)
        if (n > 11)
          strip.DrawAdditive(b, x, y + copy * 26);
        else
          strip.Draw(b, x, y + copy * 26);
    }
  return strip;
}

}  // namespace

int ContactSheet(const std::string& dir, const std::string& output) {
  std::vector<std::string> names;
  if (DIR* d = opendir(dir.c_str())) {
    while (dirent* e = readdir(d)) {
      std::string n = e->d_name;
      if (n.size() > 4 && (n.substr(n.size() - 4) == ".png" || n.substr(n.size() - 4) == ".jpg"))
        names.push_back(n);
    }
    closedir(d);
  }
  std::sort(names.begin(), names.end());
  const int width = 1700;
  // Shelf packing: place each picture left to right, wrapping rows.
  struct Placed {
    Canvas pic;
    std::string name;
    int x, y;
  };
  std::vector<Placed> placed;
  int x = 8, y = 8 + 448 + 44, shelf = 0;
  for (const std::string& n : names) {
    Canvas pic = Load(dir + "/" + n);
    if (!pic.width()) continue;
    if (pic.height() > 1200) pic = pic.Crop(0, 0, pic.width(), 1200);
    if (pic.width() > 400 || pic.height() > 400) pic = pic.Reduce(2);
    if (x + pic.width() + 8 > width) {
      x = 8;
      y += shelf + 24;
      shelf = 0;
    }
    placed.push_back({pic, n, x, y});
    x += std::max(pic.width(), 90) + 12;
    shelf = std::max(shelf, pic.height());
  }
  Canvas sheet(width, y + shelf + 16);
  sheet.Fill(Colour(0x1c2030));
  sheet.Draw(BulletStrip(dir), 8, 8);
  sheet.Draw(Label("bullets over: black | frame field | stage 1 with Pluto | grey", 600), 8, 458);
  for (const Placed& p : placed) {
    sheet.Draw(Label(p.name, std::max(p.pic.width(), 90)), p.x, p.y - 16);
    sheet.Draw(p.pic, p.x, p.y);
  }
  for (int yy = 0; yy < sheet.height(); ++yy)
    for (int xx = 0; xx < width; ++xx) sheet.at(xx, yy).a = 1;
  return WritePng(output, sheet, false) ? 0 : 1;
}

}  // namespace pictures
