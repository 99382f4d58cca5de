// Full-screen pictures (640 x 480), the charge-type cards and the title logo.
// Each screen is a procedural backdrop (gradient and stars) under an SVG
// overlay.
#include <algorithm>

#include "Build.h"
#include "Svg.h"

namespace pictures {
namespace {

constexpr int kW = 640, kH = 480;

Canvas Backdrop(uint32_t top, uint32_t bottom, uint32_t seed, float starDensity,
                float starBrightness) {
  Canvas c(kW, kH);
  Rgba a = Colour(top), b = Colour(bottom);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) c.at(x, y) = Lerp(a, b, float(y) / float(kH - 1));
  c.DrawAdditive(StarField(kW, kH, seed, starDensity, starBrightness), 0, 0);
  return c;
}

Canvas Screen(const Context& ctx, const std::string& source, const Canvas& backdrop) {
  Canvas c = backdrop;
  c.Draw(RenderSvg(ReadText(ctx.source + "/screens/" + source), kW, kH), 0, 0);
  return c;
}

// Flattens onto opaque black: full-screen pictures have no transparency.
Canvas Opaque(Canvas c) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) c.at(x, y).a = 1.0f;
  return c;
}

}  // namespace

void BuildScreens(const Context& ctx) {
  SavePng(ctx, "loading.png",
          Opaque(Screen(ctx, "loading.svg", Backdrop(0x02040c, 0x060a1c, 51, 0.6f, 0.5f))), false);
  Canvas title = Opaque(Screen(ctx, "title.svg", Backdrop(0x010208, 0x040a1e, 52, 1.2f, 0.8f)));
  SavePng(ctx, "title.png", title, false);
  // The configuration screen shows the title picture dimmed, so its rows read.
  Canvas dim = title;
  dim.Scale(0.45f);
  SavePng(ctx, "Title.png", Opaque(dim), false);
  // Menu backdrops, then the story cut-scenes: the cut-scene before stage n
  // shows demo<10n + k>. Each has its own sky under its picture.
  static const struct {
    const char* name;
    uint32_t top, bottom, seed;
    float starDensity, starBrightness;
  } kScreens[] = {
      {"demo1", 0x030818, 0x0a1430, 53, 0.8f, 0.6f},
      {"demo4", 0x06031a, 0x0e0624, 54, 0.8f, 0.5f},
      {"demo11", 0x01020a, 0x040818, 56, 1.0f, 0.7f},
      {"demo12", 0x000106, 0x060818, 57, 1.1f, 0.7f},
      {"demo21", 0x01020a, 0x06081a, 58, 1.0f, 0.7f},
      {"demo22", 0x020308, 0x0a0c16, 59, 0.7f, 0.5f},
      {"demo31", 0x000104, 0x04040c, 60, 1.1f, 0.7f},
      {"demo32", 0x000002, 0x060610, 61, 1.2f, 0.8f},
      {"demo41", 0x000104, 0x030814, 62, 1.1f, 0.7f},
      {"demo42", 0x000206, 0x040a18, 63, 1.0f, 0.6f},
      {"demo51", 0x03020a, 0x0a0616, 64, 0.9f, 0.6f},
      {"demo52", 0x020108, 0x08040e, 65, 0.5f, 0.4f},
      {"demo61", 0x000104, 0x02081a, 66, 1.0f, 0.6f},
      {"demo62", 0x000206, 0x030a1a, 67, 0.8f, 0.5f},
      {"demo71", 0x000000, 0x06040a, 78, 0.0f, 0.0f},
      {"demo72", 0x020104, 0x0a0810, 79, 0.0f, 0.0f},
      {"demo101", 0x000206, 0x030a1a, 68, 0.8f, 0.5f},
      {"demo102", 0x000104, 0x02061a, 69, 1.1f, 0.7f},
      {"demo103", 0x000104, 0x020616, 70, 1.3f, 0.6f},
      {"demo111", 0x000206, 0x030a1a, 71, 0.8f, 0.5f},
      {"demo112", 0x0a0804, 0x141008, 72, 0.3f, 0.4f},
      {"demo113", 0x01020a, 0x060818, 73, 1.0f, 0.7f},
      {"demo114", 0x000104, 0x040818, 74, 1.1f, 0.7f},
      {"demo115", 0x000104, 0x040a1a, 75, 1.2f, 0.6f},
      {"demo121", 0x040302, 0x0c0a06, 80, 0.0f, 0.0f},
      {"demo122", 0x060504, 0x0e0c08, 81, 0.2f, 0.3f},
      {"demo123", 0x010208, 0x081838, 82, 0.8f, 0.5f},
      {"demo201", 0x000002, 0x040408, 76, 0.6f, 0.4f},
      {"demo202", 0x000002, 0x020408, 77, 0.2f, 0.3f},
  };
  for (const auto& s : kScreens) {
    const std::string name = s.name;
    const Canvas sky = Backdrop(s.top, s.bottom, s.seed, s.starDensity, s.starBrightness);
    SavePng(ctx, name + ".png", Opaque(Screen(ctx, name + ".svg", sky)), false);
  }

  // The play-field frame: stars behind the field for stages without scenery.
  Canvas frame = Backdrop(0x020308, 0x040814, 55, 0.9f, 0.45f);
  frame.Draw(RenderSvg(ReadText(ctx.source + "/screens/bg.svg"), kW, kH), 0, 0);
  SavePng(ctx, "bg.png", Opaque(frame), false);

  // Charge-type cards: the card, then the ship at twice its size on it.
  std::string ship = Substitute(ReadText(ctx.source + "/ships/ship.svg"),
                                {{"flame", "1.1"}, {"canopy", "16"}, {"shield", "0"}});
  Canvas big = RenderSvg(ship, 64, 96);
  for (int n = 1; n <= 2; ++n) {
    Canvas card =
        RenderSvg(ReadText(ctx.source + "/screens/type" + std::to_string(n) + ".svg"), 192, 288);
    card.Draw(big, 96 - 32, 140 - 40);
    SavePng(ctx, "type" + std::to_string(n) + ".png", card);
  }
}

void BuildLogo(const Context& ctx) {
  std::string word = ReadText(ctx.source + "/logo/word.svgfrag");
  struct Part {
    int w, h;
  };
  const Part parts[6] = {{132, 132}, {92, 92}, {204, 202}, {512, 256}, {512, 256}, {512, 256}};
  for (int n = 1; n <= 6; ++n) {
    std::string name = "logo" + std::to_string(n);
    std::string svg = Substitute(ReadText(ctx.source + "/logo/" + name + ".svg"), {{"word", word}});
    SavePng(ctx, name + ".png", RenderSvg(svg, parts[n - 1].w, parts[n - 1].h));
  }
}

}  // namespace pictures
