// Effect sheets (5 x 5 cells of 128 x 128) and the small animations enemies
// play. Both are drawn procedurally: a function of time draws one cell.
// The last cell of every effect sheet is empty, because an effect sprite
// keeps showing its last cell after it has finished.
#include <algorithm>
#include <cmath>
#include <functional>
#include <vector>

#include "Build.h"
#include "Noise.h"
#include "Svg.h"

namespace pictures {
namespace {

constexpr float kPi = 3.14159265f;

// Draws one cell. t runs 0..1 over the effect; s is the cell size in pixels.
using Painter = std::function<void(Canvas& cell, float t, float s, uint32_t seed)>;

float Clamp01(float v) { return std::clamp(v, 0.0f, 1.0f); }

// A soft round spot (additive light).
void Spot(Canvas& c, float cx, float cy, float radius, const Rgba& colour) {
  int x0 = int(std::floor(cx - radius)), x1 = int(std::ceil(cx + radius));
  int y0 = int(std::floor(cy - radius)), y1 = int(std::ceil(cy + radius));
  for (int y = y0; y <= y1; ++y)
    for (int x = x0; x <= x1; ++x) {
      float d = std::hypot(float(x) + 0.5f - cx, float(y) + 0.5f - cy) / radius;
      if (d >= 1) continue;
      float k = (1 - d) * (1 - d);
      c.Add(x, y, {colour.r * k, colour.g * k, colour.b * k, colour.a * k});
    }
}

// A soft line of light from (x0, y0) to (x1, y1).
void Streak(Canvas& c, float x0, float y0, float x1, float y1, float width, const Rgba& colour) {
  float len = std::hypot(x1 - x0, y1 - y0);
  int steps = std::max(1, int(len / (width * 0.5f)));
  for (int i = 0; i <= steps; ++i) {
    float u = float(i) / float(steps);
    float fade = 0.35f + 0.65f * u;  // brighter at the head
    Spot(c, x0 + (x1 - x0) * u, y0 + (y1 - y0) * u, width,
         {colour.r * fade, colour.g * fade, colour.b * fade, colour.a * fade});
  }
}

// Per-pixel painting helper: f gets the offset from the cell centre in units
// of the 128-pixel design cell.
template <typename F>
void PerPixel(Canvas& c, float s, F&& f) {
  float unit = 128.0f / s;
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      float px = (float(x) + 0.5f - s / 2) * unit, py = (float(y) + 0.5f - s / 2) * unit;
      Rgba v = f(px, py);
      if (v.a > 0 || v.r > 0) c.Add(x, y, v);
    }
}

// A ragged ball of fire: white core, yellow, orange, then dark red smoke.
Rgba Fire(float px, float py, float radius, float t, uint32_t seed) {
  float r = std::hypot(px, py);
  float ang = std::atan2(py, px);
  float wobble = TileNoise((ang + kPi) / (2 * kPi) * 12, t * 3, 12, 1000, seed) * 0.35f + 0.8f;
  float d = r / (radius * wobble);
  if (d >= 1) return {};
  float grain = TileNoise(px * 0.15f + 50, py * 0.15f + 50, 1000, 1000, seed + 7);
  float heat = Clamp01((1 - d) * 1.6f * (1 - t) + grain * 0.25f - t * 0.35f);
  Rgba smoke = Colour(0x301818, 0.55f * (1 - t));
  Rgba orange = Colour(0xff5a10, 0.9f * (1 - t * 0.6f));
  Rgba yellow = Colour(0xffd040, 1);
  Rgba white = Colour(0xffffff, 1);
  Rgba col = heat < 0.3f   ? Lerp(smoke, orange, heat / 0.3f)
             : heat < 0.7f ? Lerp(orange, yellow, (heat - 0.3f) / 0.4f)
                           : Lerp(yellow, white, (heat - 0.7f) / 0.3f);
  float edge = Clamp01((1 - d) * 6);
  return {col.r * edge, col.g * edge, col.b * edge, col.a * edge};
}

void Explosion(Canvas& c, float t, float s, uint32_t seed) {
  float radius = 10 + 44 * std::sqrt(t);
  PerPixel(c, s, [&](float px, float py) { return Fire(px, py, radius, t, seed); });
  Rng rng(seed);
  float k = s / 128;
  for (int i = 0; i < 10; ++i) {
    float ang = rng.Range(0, 2 * kPi), speed = rng.Range(35, 60);
    float d = speed * std::sqrt(t) + 6;
    float x = s / 2 + std::cos(ang) * d * k, y = s / 2 + std::sin(ang) * d * k;
    Spot(c, x, y, 3.0f * k + 1, Colour(0xffc060, 0.9f * (1 - t)));
  }
}

void PlayerExplosion(Canvas& c, float t, float s, uint32_t seed) {
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py);
    Rgba out;
    for (int ring = 0; ring < 2; ++ring) {
      float rt = Clamp01(t * 1.3f - ring * 0.25f);
      if (rt <= 0 || rt >= 1) continue;
      float rr = 8 + 52 * std::sqrt(rt), width = 7 * (1 - rt) + 1.5f;
      float band = 1 - std::fabs(r - rr) / width;
      if (band <= 0) continue;
      Rgba col = Lerp(Colour(0x40c0ff, 1), Colour(0xffffff, 1), band * band);
      float a = band * (1 - rt);
      out = {out.r + col.r * a, out.g + col.g * a, out.b + col.b * a, std::min(1.f, out.a + a)};
    }
    float core = Clamp01(1 - r / (22 * (1 - t) + 1)) * (1 - t);
    return Rgba{out.r + core, out.g + core, out.b + core, std::min(1.f, out.a + core)};
  });
  Rng rng(seed);
  float k = s / 128;
  for (int i = 0; i < 16; ++i) {
    float ang = rng.Range(0, 2 * kPi), speed = rng.Range(30, 62);
    float d = speed * std::sqrt(t), tail = d * 0.6f;
    float cx = s / 2, cy = s / 2;
    Streak(c, cx + std::cos(ang) * tail * k, cy + std::sin(ang) * tail * k,
           cx + std::cos(ang) * d * k, cy + std::sin(ang) * d * k, 1.6f * k + 0.6f,
           Colour(0x80e0ff, 0.5f * (1 - t)));
  }
}

void Flash(Canvas& c, float t, float s, uint32_t) {
  // Over in the first half of the sheet: cancelled bullets flash briefly.
  float life = Clamp01(1 - t * 2);
  if (life <= 0) return;
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py);
    float ball = Clamp01(1 - r / (4 + 14 * life));
    float cross = Clamp01(1 - std::fabs(px) / 1.5f) * Clamp01(1 - std::fabs(py) / (30 * life)) +
                  Clamp01(1 - std::fabs(py) / 1.5f) * Clamp01(1 - std::fabs(px) / (30 * life));
    float v = std::min(1.0f, ball * ball * 1.5f + cross * 0.8f) * life;
    Rgba col = Lerp(Colour(0x80c0ff, 1), Colour(0xffffff, 1), ball);
    return Rgba{col.r * v, col.g * v, col.b * v, v};
  });
}

void Glow(Canvas& c, float t, float, uint32_t) {
  float s = float(c.width());
  float life = std::min(1.0f, 0.3f + t * 5) * (1 - t);  // visible from the first cell
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py);
    float soft = Clamp01(1 - r / (20 + 40 * t));
    float ringR = 10 + 50 * t;
    float ring = Clamp01(1 - std::fabs(r - ringR) / 4);
    float v = (soft * soft * 0.8f + ring * 0.7f) * life;
    Rgba col = Lerp(Colour(0x60ff80, 1), Colour(0xfff0a0, 1), soft);
    return Rgba{col.r * v, col.g * v, col.b * v, std::min(1.0f, v)};
  });
}

void ChargeIn(Canvas& c, float t, float s, uint32_t seed) {
  Rng rng(seed);
  float k = s / 128;
  for (int i = 0; i < 24; ++i) {
    float ang = rng.Range(0, 2 * kPi), start = rng.Range(40, 62), phase = rng.Uniform();
    float u = std::fmod(t * 1.6f + phase, 1.0f);
    float d = start * (1 - u), tail = std::min(start, d + 10);
    float fade = std::sin(u * kPi) * (1 - t * 0.5f);
    Streak(c, s / 2 + std::cos(ang) * tail * k, s / 2 + std::sin(ang) * tail * k,
           s / 2 + std::cos(ang) * d * k, s / 2 + std::sin(ang) * d * k, 1.5f * k + 0.7f,
           Colour(0x90d0ff, 0.7f * fade));
  }
  Spot(c, s / 2, s / 2, (6 + 14 * t) * k + 1, Colour(0xe0f4ff, 0.9f));
}

void Shockwave(Canvas& c, float t, float s, uint32_t) {
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py);
    float rr = 6 + 56 * std::sqrt(t), width = 10 * (1 - t) + 1;
    float band = Clamp01(1 - std::fabs(r - rr) / width);
    float inner = r < rr ? Clamp01(1 - (rr - r) / 24) * 0.25f : 0;
    float v = (band * band + inner) * (1 - t);
    Rgba col = Lerp(Colour(0x3060ff, 1), Colour(0xd0e8ff, 1), band);
    return Rgba{col.r * v, col.g * v, col.b * v, std::min(1.0f, v)};
  });
}

void Smoke(Canvas& c, float t, float s, uint32_t seed) {
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py) / (14 + 40 * t);
    if (r >= 1) return Rgba{};
    float n = TileFbm(px * 0.05f + t * 2 + 20, py * 0.05f - t * 3 + 20, 1000, 1000, seed, 3);
    float v = Clamp01((1 - r) * 1.5f) * (0.4f + 0.6f * n) * (1 - t) * 0.8f;
    return Colour(0x707480, v);
  });
}

void Lightning(Canvas& c, float t, float s, uint32_t seed) {
  float k = s / 128;
  float life = 1 - t;
  int flicker = int(t * 24);
  Rng rng(Hash(seed, uint32_t(flicker / 2)));
  for (int bolt = 0; bolt < 6; ++bolt) {
    float ang = rng.Range(0, 2 * kPi), x = s / 2, y = s / 2;
    float reach = (20 + 40 * std::sqrt(t)) * k;
    int steps = 7;
    for (int i = 0; i < steps; ++i) {
      float a = ang + rng.Range(-0.7f, 0.7f), step = reach / steps;
      float nx = x + std::cos(a) * step, ny = y + std::sin(a) * step;
      Streak(c, x, y, nx, ny, 1.4f * k + 0.6f, Colour(0xc070ff, 0.8f * life));
      x = nx;
      y = ny;
    }
  }
  Spot(c, s / 2, s / 2, 16 * k * life + 1, Colour(0xf0d0ff, life));
}

void BigExplosion(Canvas& c, float t, float s, uint32_t seed) {
  Rng rng(seed);
  struct Ball {
    float x, y, delay, size;
  };
  std::vector<Ball> balls{{0, 0, 0, 40}};
  for (int i = 0; i < 5; ++i)
    balls.push_back(
        {rng.Range(-26, 26), rng.Range(-26, 26), rng.Range(0.05f, 0.4f), rng.Range(16, 28)});
  for (size_t i = 0; i < balls.size(); ++i) {
    const Ball& b = balls[i];
    float bt = Clamp01((t - b.delay) / (1 - b.delay));
    if (t < b.delay) continue;
    float radius = b.size * (0.3f + 0.7f * std::sqrt(bt));
    PerPixel(c, s, [&](float px, float py) {
      return Fire(px - b.x, py - b.y, radius, bt, seed + uint32_t(i) * 13u);
    });
  }
  PerPixel(c, s, [&](float px, float py) {
    float r = std::hypot(px, py), rr = 10 + 54 * std::sqrt(t);
    float band = Clamp01(1 - std::fabs(r - rr) / 3) * (1 - t);
    return Colour(0xffe0b0, band * 0.8f);
  });
}

void Sparkles(Canvas& c, float t, float s, uint32_t seed) {
  Rng rng(seed);
  float k = s / 128;
  for (int i = 0; i < 14; ++i) {
    float ang = rng.Range(0, 2 * kPi), dist = rng.Range(18, 58), tw = rng.Range(0, 6.28f);
    float d = dist * std::sqrt(t);
    float x = s / 2 + std::cos(ang) * d * k, y = s / 2 + std::sin(ang) * d * k;
    float bright = (0.6f + 0.4f * std::sin(tw + t * 30)) * (1 - t);
    float arm = (5 + 3 * bright) * k + 1;
    Rgba col = Colour(0xffe070, bright);
    Streak(c, x - arm, y, x + arm, y, 0.9f * k + 0.5f, col);
    Streak(c, x, y - arm, x, y + arm, 0.9f * k + 0.5f, col);
    Spot(c, x, y, 2.5f * k + 0.8f, Colour(0xffffff, bright));
  }
}

const Painter kEffects[10] = {Explosion, PlayerExplosion, Flash,     Glow,         ChargeIn,
                              Shockwave, Smoke,           Lightning, BigExplosion, Sparkles};

// Clamps colour to the alpha it sits on (additive drawing can overflow).
void Settle(Canvas& c) {
  for (int y = 0; y < c.height(); ++y)
    for (int x = 0; x < c.width(); ++x) {
      Rgba& p = c.at(x, y);
      p.a = std::clamp(std::max({p.a, p.r, p.g, p.b}), 0.0f, 1.0f);
      p.r = std::min(p.r, p.a);
      p.g = std::min(p.g, p.a);
      p.b = std::min(p.b, p.a);
    }
}

// A sheet of `count` cells in `columns` columns; cells past `drawn` stay empty.
Canvas Sheet(const Painter& paint, int cell, int columns, int rows, int drawn, uint32_t seed) {
  Canvas sheet(cell * columns, cell * rows);
  for (int i = 0; i < drawn; ++i) {
    Canvas c(cell, cell);
    paint(c, drawn > 1 ? float(i) / float(drawn - 1) * 0.96f : 0.0f, float(cell), seed);
    Settle(c);
    sheet.Draw(c, (i % columns) * cell, (i / columns) * cell);
  }
  return sheet;
}

}  // namespace

void BuildEffects(const Context& ctx) {
  for (int n = 0; n < 10; ++n)
    SavePng(ctx, "effect" + std::to_string(n + 1) + ".png",
            Sheet(kEffects[n], 128, 5, 5, 24, 1000u + uint32_t(n)));
}

// Animations: cell size, origin, columns, rows, cells, frames per cell.
struct AnimationSpec {
  int number;
  Painter paint;
  int cell, columns, rows, cells, duration;
  const char* what;
};

void BuildAnimations(const Context& ctx) {
  const AnimationSpec specs[] = {
      {1, ChargeIn, 64, 4, 2, 8, 4, "warp-in: light gathering where an enemy appears"},
      {2, Explosion, 64, 4, 2, 8, 3, "small explosion"},
      {3, Sparkles, 48, 4, 2, 8, 3, "sparkle burst"},
      {4, ChargeIn, 128, 4, 3, 12, 4, "large charge: a boss gathering power"},
      {5, Shockwave, 96, 4, 2, 8, 3, "blue shockwave"},
  };
  for (const AnimationSpec& a : specs) {
    // The last cell is drawn too: an enemy animation ends by showing the enemy again.
    Canvas sheet = Sheet(a.paint, a.cell, a.columns, a.rows, a.cells, 2000u + uint32_t(a.number));
    std::string base = "anime" + std::to_string(a.number);
    SavePng(ctx, base + ".png", sheet);
    // Header: cell width, cell height, origin x, origin y, columns, rows, cells;
    // then one duration per cell.
    std::string csv = std::to_string(a.cell) + "," + std::to_string(a.cell) + "," +
                      std::to_string(a.cell / 2) + "," + std::to_string(a.cell / 2) + "," +
                      std::to_string(a.columns) + "," + std::to_string(a.rows) + "," +
                      std::to_string(a.cells) + "\n";
    for (int i = 0; i < a.cells; ++i)
      csv += std::to_string(a.duration) + (i + 1 < a.cells ? "," : "\n");
    std::string path = ctx.output + "/" + base + ".csv";
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f || std::fwrite(csv.data(), 1, csv.size(), f) != csv.size()) Fail("cannot write " + path);
    std::fclose(f);
  }
}

}  // namespace pictures
