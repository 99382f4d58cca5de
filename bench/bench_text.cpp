// A full screen of text (30 lines, Japanese and Latin) once its glyphs are
// cached: the layout and submission cost on the headless backend, and the
// whole draw including SDL's rendering on the offscreen driver.
#include <benchmark/benchmark.h>
#include <iconv.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Headless.h"

namespace {

std::string toCp932(const std::string& utf8) {
  iconv_t cd = iconv_open("CP932", "UTF-8");
  std::string out(utf8.size() * 2 + 4, '\0');
  char* in = const_cast<char*>(utf8.data());
  size_t inLeft = utf8.size();
  char* dst = out.data();
  size_t outLeft = out.size();
  iconv(cd, &in, &inLeft, &dst, &outLeft);
  iconv_close(cd);
  out.resize(out.size() - outLeft);
  return out;
}

std::vector<std::string> screenOfText() {
  const char* samples[] = {
      "第%d話 東の森の奥で、古い鐘が鳴り始めた。",
      "SCORE %010d   HI-SCORE 0098765400   GRAZE 1234",
      "「ここから先は通さないわ。覚悟しなさい！」 %d",
      "Stage %d - The Lantern Road   Player 3  Bomb 2",
  };
  std::vector<std::string> lines;
  for (int i = 0; i < 30; ++i) {
    char buffer[256];
    std::snprintf(buffer, sizeof buffer, samples[i % 4], i + 1);
    lines.push_back(toCp932(buffer));
  }
  return lines;
}

void drawScreen(const std::vector<std::string>& lines, int font, int color) {
  for (size_t i = 0; i < lines.size(); ++i) {
    DrawTextWithFont(8, static_cast<int>(i) * 16, lines[i].c_str(), color, font, 0);
  }
}

const char* kGothic = "\x82\x6c\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4e";

void BM_TextScreenHeadless(benchmark::State& state) {
  engine::headless::Use();
  if (EngineInit() != 0) {
    state.SkipWithError("engine did not start");
    return;
  }
  const int font = CreateFontToHandle(kGothic, 15, 4, 2, -1, -1, false);
  const std::vector<std::string> lines = screenOfText();
  const int white = MakeColor(255, 255, 255);
  drawScreen(lines, font, white);  // rasterise every glyph once
  for (auto _ : state) {
    engine::headless::ClearDraws();
    drawScreen(lines, font, white);
  }
  EngineEnd();
}
BENCHMARK(BM_TextScreenHeadless)->Unit(benchmark::kMicrosecond);

void BM_TextScreenOffscreen(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  engine::headless::UseSdl();
  ChangeWindowMode(true);
  if (EngineInit() != 0) {
    state.SkipWithError("no offscreen video driver");
    return;
  }
  const int font = CreateFontToHandle(kGothic, 15, 4, 2, -1, -1, false);
  const std::vector<std::string> lines = screenOfText();
  const int white = MakeColor(255, 255, 255);
  uint32_t pixel = 0;
  drawScreen(lines, font, white);
  engine::CurrentBackend().video->readPixels(0, 0, 1, 1, &pixel);
  for (auto _ : state) {
    drawScreen(lines, font, white);
    // Reading a pixel makes the renderer carry out the queued draws.
    engine::CurrentBackend().video->readPixels(0, 0, 1, 1, &pixel);
    benchmark::DoNotOptimize(pixel);
  }
  EngineEnd();
  engine::headless::Use();
}
BENCHMARK(BM_TextScreenOffscreen)->Unit(benchmark::kMicrosecond);

// The same read-back without any text: what the renderer's round trip costs
// by itself, to subtract from the figure above.
void BM_OffscreenReadBackAlone(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 1);
  engine::headless::UseSdl();
  ChangeWindowMode(true);
  if (EngineInit() != 0) {
    state.SkipWithError("no offscreen video driver");
    return;
  }
  uint32_t pixel = 0;
  for (auto _ : state) {
    engine::CurrentBackend().video->readPixels(0, 0, 1, 1, &pixel);
    benchmark::DoNotOptimize(pixel);
  }
  EngineEnd();
  engine::headless::Use();
}
BENCHMARK(BM_OffscreenReadBackAlone)->Unit(benchmark::kMicrosecond);

}  // namespace
