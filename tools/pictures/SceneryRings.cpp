// Stage 2 scenery, in Saturn's rings: the ring plane (a slow, opaque strip),
// a veil of ice that drifts over it, the planet's limb, and the weapon
// platform with its light frames, whole and broken. Everything tiles or sits
// still as the stage's layers need, and stays dark so bullets read over it.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "Build.h"
#include "Noise.h"
#include "Svg.h"

namespace pictures {
namespace {

constexpr int kFieldW = 384, kFieldH = 448;
constexpr float kTau = 6.2831853f;

// Ring density across the plane at radial position u (pixels): ringlets of
// several widths under a broad envelope, with one clean dark gap.
float RingDensity(float u) {
  float fine = TileNoise(u / 3.0f, 0.5f, 4096, 1, 201);
  float mid = TileNoise(u / 11.0f, 0.5f, 4096, 1, 202);
  float broad = TileNoise(u / 47.0f, 0.5f, 4096, 1, 203);
  float d = 0.25f + 0.35f * broad + 0.25f * mid + 0.15f * fine;
  float gap = std::exp(-std::pow((u - 262.0f) / 16.0f, 2.0f));
  float thin = std::exp(-std::pow((u - 96.0f) / 5.0f, 2.0f));
  return std::clamp(d * (1.0f - 0.92f * gap) * (1.0f - 0.6f * thin), 0.0f, 1.0f);
}

Canvas RingPlane() {
  const int period = 2688, h = period + kFieldH;
  Canvas c(kFieldW, h);
  Canvas stars = StarField(kFieldW, period, 210, 0.5f, 0.5f);
  for (int y = 0; y < period; ++y) {
    float fy = float(y) / float(period);
    // The rings meander gently across the field; periodic in y.
    float shift = 38.0f * std::sin(kTau * fy) + 14.0f * std::sin(2 * kTau * fy + 1.3f);
    for (int x = 0; x < kFieldW; ++x) {
      float u = float(x) + shift;
      float density = RingDensity(u);
      // Clumps of ring matter along the flight, tiling every 32 rows of lattice.
      float clump = TileFbm(float(x) / 32.0f, float(y) / 32.0f, 64, period / 32, 204, 4);
      float grain = Hash01(uint32_t(x), uint32_t(y), 205);
      float k = density * (0.7f + 0.5f * (clump - 0.5f)) * (0.9f + 0.2f * grain);
      Rgba dust = Lerp(Colour(0x15120d), Colour(0x3a3026), std::clamp(k, 0.0f, 1.0f));
      Rgba base = Colour(0x040508);
      Rgba col = Lerp(base, dust, std::clamp(density * 1.4f, 0.0f, 1.0f));
      // Stars show only through the thin parts.
      const Rgba& s = stars.at(x, y);
      float through = std::clamp(1.0f - density * 2.5f, 0.0f, 1.0f);
      col = {col.r + s.r * through, col.g + s.g * through, col.b + s.b * through, 1.0f};
      c.at(x, y) = col;
    }
  }
  c.RepeatRows(period);
  return c;
}

// Soft clouds of ice crystals with a few glints; transparent between them.
Canvas IceVeil() {
  const int period = 450, h = period + kFieldH;
  Canvas c(kFieldW, h);
  for (int y = 0; y < period; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float n = TileFbm(float(x) / 75.0f, float(y) / 75.0f, 64, 6, 221, 4);
      // Thickest, the veil is a dim grey-blue over the rings.
      float a = Smooth(std::clamp((n - 0.42f) * 2.6f, 0.0f, 1.0f)) * 0.38f;
      c.at(x, y) = Colour(0x4a5e76, a);
    }
  Rng rng(222);
  for (int i = 0; i < 260; ++i) {
    int x = int(rng.Range(0, kFieldW)), y = int(rng.Range(0, period));
    // Faint: a glint must never pass for a small bullet.
    float b = rng.Range(0.15f, 0.35f);
    c.Over(x, y, Colour(0xa8c4e0, b));
    c.Over(x + 1, y, Colour(0xa0c8f0, b * 0.35f));
    c.Over(x, y + 1 < period ? y + 1 : y + 1 - period, Colour(0xa0c8f0, b * 0.35f));
  }
  c.RepeatRows(period);
  return c;
}

// The planet's banded limb over the top right, its night side falling away.
Canvas SaturnLimb() {
  Canvas c(kFieldW, kFieldH);
  const float cx = 470, cy = -250, radius = 520;
  for (int y = 0; y < kFieldH; ++y)
    for (int x = 0; x < kFieldW; ++x) {
      float px = float(x) + 0.5f, py = float(y) + 0.5f;
      float d = std::hypot(px - cx, py - cy);
      float inside = std::clamp(radius - d, 0.0f, 1.0f);
      // Bands run along a tilted axis; a little turbulence breaks them up.
      float lat = (py - cy) * 0.94f + (px - cx) * 0.34f;
      float wobble = TileFbm(px / 60.0f, py / 60.0f, 64, 64, 231, 3);
      float band = 0.5f + 0.5f * std::sin(lat / 14.0f + wobble * 4.0f);
      Rgba surface = Lerp(Colour(0x2a2216), Colour(0x4e4030), band * 0.8f);
      // Lit from the upper right: darker towards the lower left limb.
      float nx = (px - cx) / radius, ny = (py - cy) / radius;
      float light =
          std::clamp(0.25f + 0.8f * (0.6f * nx + 0.3f * ny +
                                     0.74f * std::sqrt(std::max(0.0f, 1 - nx * nx - ny * ny))),
                     0.0f, 1.0f);
      surface = {surface.r * light, surface.g * light, surface.b * light, 1.0f};
      float haze = std::exp(-std::max(0.0f, d - radius) / 5.0f) * 0.45f * (1 - inside);
      Rgba edge = Colour(0x8a7a60, haze);
      c.at(x, y) = {surface.r * inside + edge.r, surface.g * inside + edge.g,
                    surface.b * inside + edge.b, std::min(1.0f, inside + edge.a)};
    }
  return c;
}

std::string Fixed(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", v);
  return buf;
}

// Frame n of the twelve-frame light chase: a bright pair of beacons runs
// once round the ring, the emitter swells and fades.
Canvas LightFrame(const std::string& svg, int n) {
  Vars vars;
  for (int i = 0; i < 12; ++i) {
    int behind = ((n - i) % 12 + 12) % 12;  // frames since the chase passed beacon i
    float a = behind == 0 ? 1.0f : behind == 1 ? 0.6f : behind == 2 ? 0.3f : 0.12f;
    vars["a" + std::to_string(i)] = Fixed(a);
  }
  float pulse = 0.5f - 0.5f * std::cos(kTau * float(n) / 12.0f);
  vars["core"] = Fixed(0.35f + 0.55f * pulse);
  vars["coreRadius"] = Fixed(14.0f + 10.0f * pulse);
  return RenderSvg(Substitute(svg, vars), kFieldW, kFieldH);
}

// Frame n of the eight-frame flicker of the wreck's fires.
Canvas FireFrame(const std::string& svg, int n) {
  Vars vars;
  for (int i = 0; i < 8; ++i) {
    float flicker = Hash01(uint32_t(i), uint32_t(n), 241);
    float base = i == 6 ? 0.9f : 0.55f;  // the split core burns brightest
    vars["f" + std::to_string(i)] = Fixed(base * (0.45f + 0.55f * flicker));
    vars["s" + std::to_string(i)] = Fixed((i == 6 ? 16.0f : 9.0f) * (0.8f + 0.4f * flicker));
  }
  return RenderSvg(Substitute(svg, vars), kFieldW, kFieldH);
}

}  // namespace

void BuildRingScenery(const Context& ctx) {
  SaveJpeg(ctx, "stage2-1.jpg", RingPlane(), 92);
  SavePng(ctx, "stage2-2.png", IceVeil());
  SavePng(ctx, "stage2-4.png", SaturnLimb());
  const std::string dir = ctx.source + "/scenery/";
  SavePng(ctx, "stage2-5.png", RenderSvg(ReadText(dir + "platform.svg"), kFieldW, kFieldH));
  SavePng(ctx, "stage2-20.png", RenderSvg(ReadText(dir + "platform_broken.svg"), kFieldW, kFieldH));
  const std::string lights = ReadText(dir + "platform_lights.svg");
  for (int n = 0; n < 12; ++n)
    SavePng(ctx, "stage2-" + std::to_string(6 + n) + ".png", LightFrame(lights, n));
  const std::string fires = ReadText(dir + "platform_fires.svg");
  for (int n = 0; n < 8; ++n)
    SavePng(ctx, "stage2-" + std::to_string(21 + n) + ".png", FireFrame(fires, n));
}

}  // namespace pictures
