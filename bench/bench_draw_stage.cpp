// Drawing one stage frame for real: SDL's offscreen video driver (software
// GL when the renderer takes it), the built game data, and the stage scene's
// own sprite sets (stage 1 scenery, the frame picture, the HUD, the menu and
// conversation layers). One iteration clears, draws the display tree, adds
// the FPS read-out, presents and waits until the renderer has finished.
// The renderer is the game's own choice: with software GL, our own
// rasteriser; VELMORA_RENDERER=gl or =software picks one for comparison.
//
// The game data is looked up in $VELMORA_GAME_DIR, else in ../game beside
// the benchmark's own directory (the build tree's game/). With
// VELMORA_BENCH_UNCULLED set, the device sends every draw to the renderer as
// asked, for comparison.
//
// Before the timings the benchmark prints what one frame costs, by blend
// mode: the draws the game asks for and the pixels they cover (after
// clipping), and the draws and pixels left once the video device has left
// out what shows nowhere (see engine/DrawQueue.h).
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "StageFill.h"
#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Resources.h"
#include "app/SceneRunner.h"
#include "engine/Backend.h"
#include "engine/DrawQueue.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "stage/Scene_Stage.h"

namespace {

namespace fs = std::filesystem;

fs::path GameDir() {
  if (const char* env = std::getenv("VELMORA_GAME_DIR")) return env;
  std::error_code ec;
  const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  return ec ? fs::path("game") : exe.parent_path().parent_path() / "game";
}

// --- what a frame costs the renderer -----------------------------------------

struct Point {
  double x, y;
};

// Area of a triangle after clipping it to the rectangle [l, r) x [t, b).
double ClippedArea(Point a, Point b, Point c, double l, double t, double r, double bottom) {
  std::vector<Point> poly{a, b, c};
  auto clip = [&poly](auto inside, auto cross) {
    std::vector<Point> out;
    for (size_t i = 0; i < poly.size(); ++i) {
      const Point p = poly[i], q = poly[(i + 1) % poly.size()];
      if (inside(p)) out.push_back(p);
      if (inside(p) != inside(q)) out.push_back(cross(p, q));
    }
    poly = std::move(out);
  };
  auto atX = [](Point p, Point q, double x) {
    return Point{x, p.y + (q.y - p.y) * (x - p.x) / (q.x - p.x)};
  };
  auto atY = [](Point p, Point q, double y) {
    return Point{p.x + (q.x - p.x) * (y - p.y) / (q.y - p.y), y};
  };
  clip([&](Point p) { return p.x >= l; }, [&](Point p, Point q) { return atX(p, q, l); });
  clip([&](Point p) { return p.x <= r; }, [&](Point p, Point q) { return atX(p, q, r); });
  clip([&](Point p) { return p.y >= t; }, [&](Point p, Point q) { return atY(p, q, t); });
  clip([&](Point p) { return p.y <= bottom; }, [&](Point p, Point q) { return atY(p, q, bottom); });
  double twice = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const Point p = poly[i], q = poly[(i + 1) % poly.size()];
    twice += p.x * q.y - q.x * p.y;
  }
  return std::abs(twice) / 2;
}

struct FrameCost {
  // As the game asks: every draw that reaches the video device.
  int askedDraws[5] = {};
  double askedPixels[5] = {};
  // As the renderer gets them, once the device has left out what shows
  // nowhere (a draw cut around opaque rectangles counts once per piece).
  int drawnDraws[5] = {};
  double drawnPixels[5] = {};
  double unblendedPixels = 0;  // of those, drawn without blending
};

double GeometryArea(const engine::Vertex* v, const int* indices, int indexCount,
                    const engine::PixelRect& clip) {
  double area = 0;
  for (int i = 0; i + 2 < indexCount; i += 3) {
    const engine::Vertex& a = v[indices[i]];
    const engine::Vertex& b = v[indices[i + 1]];
    const engine::Vertex& c = v[indices[i + 2]];
    area += ClippedArea({a.x, a.y}, {b.x, b.y}, {c.x, c.y}, clip.l, clip.t, clip.r, clip.b);
  }
  return area;
}

// Passes everything on to the real device. While counting, it also measures
// each draw, and runs the same queue the SDL device runs to see what is left
// for the renderer.
class CountingVideo final : public engine::VideoDevice {
 public:
  explicit CountingVideo(std::unique_ptr<engine::VideoDevice> real) : real_(std::move(real)) {}
  bool counting = false;
  FrameCost cost;

  bool open(const engine::WindowSettings& s) override { return real_->open(s); }
  void close() override { real_->close(); }
  bool pumpEvents() override { return real_->pumpEvents(); }
  void* createTexture(int w, int h, const uint32_t* rgba) override {
    void* texture = real_->createTexture(w, h, rgba);
    if (texture && engine::AllOpaque(rgba, static_cast<size_t>(w) * h)) opaque_.push_back(texture);
    return texture;
  }
  void updateTexture(void* t, int x, int y, int w, int h, const uint32_t* rgba) override {
    if (!engine::AllOpaque(rgba, static_cast<size_t>(w) * h)) forget(t);
    real_->updateTexture(t, x, y, w, h, rgba);
  }
  void destroyTexture(void* t) override {
    forget(t);
    real_->destroyTexture(t);
  }
  void setClip(bool on, int x1, int y1, int x2, int y2) override {
    clip_ = on ? engine::PixelRect{std::clamp(std::min(x1, x2), 0, 640),
                                   std::clamp(std::min(y1, y2), 0, 480),
                                   std::clamp(std::max(x1, x2), 0, 640),
                                   std::clamp(std::max(y1, y2), 0, 480)}
               : engine::PixelRect{0, 0, 640, 480};
    real_->setClip(on, x1, y1, x2, y2);
  }
  void drawGeometry(void* texture, const engine::Vertex* v, int vertexCount, const int* indices,
                    int indexCount, int blendMode) override {
    if (counting && !clip_.empty()) {
      const int mode = std::clamp(blendMode, 0, 4);
      cost.askedDraws[mode] += 1;
      cost.askedPixels[mode] += GeometryArea(v, indices, indexCount, clip_);
      const bool opaque =
          !texture || std::find(opaque_.begin(), opaque_.end(), texture) != opaque_.end();
      if (engine::Settings().cullDraws) {
        queue_.add(texture, v, vertexCount, indices, indexCount, blendMode,
                   engine::DeviceBlendFor(blendMode, true), opaque, clip_);
      } else {
        cost.drawnDraws[mode] += 1;
        cost.drawnPixels[mode] += GeometryArea(v, indices, indexCount, clip_);
      }
    }
    real_->drawGeometry(texture, v, vertexCount, indices, indexCount, blendMode);
  }
  void clear() override {
    queue_.drop();
    queue_.addClear(engine::PixelRect{0, 0, 640, 480});
    real_->clear();
  }
  bool readPixels(int x, int y, int w, int h, uint32_t* rgba) override {
    settle();
    return real_->readPixels(x, y, w, h, rgba);
  }
  void present() override {
    settle();
    real_->present();
  }
  bool askYesNo(const std::string& c, const std::string& t) override {
    return real_->askYesNo(c, t);
  }
  std::string rendererName() const override { return real_->rendererName(); }

 private:
  std::unique_ptr<engine::VideoDevice> real_;
  engine::PixelRect clip_{0, 0, 640, 480};
  std::vector<void*> opaque_;
  engine::DrawQueue queue_;

  void forget(void* texture) { std::erase(opaque_, texture); }
  void settle() {
    queue_.flush(
        engine::PixelRect{0, 0, 640, 480}, [](bool) {},
        [this](const engine::DrawQueue::Out& d) {
          if (d.clear) return;
          const int mode = std::clamp(d.blendMode, 0, 4);
          const double area = GeometryArea(d.vertices, d.indices, d.indexCount, d.clip);
          cost.drawnDraws[mode] += 1;
          cost.drawnPixels[mode] += area;
          if (d.replaces) cost.unblendedPixels += area;
        });
  }
};

// --- the stage ---------------------------------------------------------------

// The engine, the shared pictures and fonts, and a stage 1 scene as the
// game starts it; empty, or with every pool full.
class DrawnStage {
 public:
  bool ok = false;

  explicit DrawnStage(bool fullPools) {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    std::error_code ec;
    fs::current_path(GameDir(), ec);
    if (ec || !fs::exists("Graphics/bg.png")) {
      std::fprintf(stderr, "no game data in %s\n", GameDir().c_str());
      return;
    }
    engine::headless::UseSdl();
    ChangeWindowMode(true);
    SetScreenMode(640, 480, 32, 60);
    SetTextureFilter(2);  // as the game asks
    // For comparison: every draw to the renderer as asked.
    if (std::getenv("VELMORA_BENCH_UNCULLED")) engine::Settings().cullDraws = false;
    if (EngineInit() != 0) return;
    // In place before the first texture is made, to know which are opaque.
    auto& video = engine::CurrentBackend().video;
    auto counting = std::make_unique<CountingVideo>(std::move(video));
    counter_ = counting.get();
    video = std::move(counting);
    SetArchiveExtension("dat");
    SetArchiveKey("qtvz@R27");
    SelectBackBuffer();
    LoadFonts();
    LoadSharedImages();

    gGame = Module_Game();
    gGame.stage = 1;
    gGame.difficulty = DIFFICULTY_NORMAL;
    gInput = Module_Input();
    scene_ = std::make_unique<Scene_Stage>();
    gCurrentScene = scene_.get();
    scene_->running = true;
    scene_->start();
    gGraphics.fade->visible = false;  // the opening fade is over
    if (fullPools) fill();
    scene_->stageSprites->update();
    scene_->scoreBoard->update();
    ok = true;
  }

  // Not terminated: that would write the high scores into the game data.
  ~DrawnStage() {
    gCurrentScene = nullptr;
    scene_.reset();
    ReleaseSharedResources();
    EngineEnd();
  }

  // One frame as the frame step draws it, finished by the renderer.
  void drawFrame() {
    ClearDrawTarget();
    gGraphics.draw(0, 0);
    PrintOverlay("FPS %02.2f ", 60.0);
    PresentFrame();
    ClearOverlay();
    // Reading a pixel waits for every queued draw, the present included.
    uint32_t pixel = 0;
    engine::CurrentBackend().video->readPixels(0, 0, 1, 1, &pixel);
    benchmark::DoNotOptimize(pixel);
  }

  FrameCost measureCost() {
    counter_->cost = FrameCost{};
    counter_->counting = true;
    drawFrame();
    counter_->counting = false;
    return counter_->cost;
  }

 private:
  std::unique_ptr<Scene_Stage> scene_;
  CountingVideo* counter_ = nullptr;

  // Every pool full, each object with its sprite as the stage gives it one.
  // Enemy bullets take the kinds the enemy tables fire (the 256-pixel ring
  // of the bomb and the shield is the player's alone).
  void fill() {
    Stage_Field& f = *scene_->field;
    bench::FillEveryPool(f);
    static const int8_t kEnemyKinds[] = {1, 2, 4, 5, 13, 14, 19, 20};
    int n = 0;
    f.enemyBullets.walk([&](Object_Bullet& b, int32_t) {
      if (!b.laser) b.bulletType = kEnemyKinds[n++ % 8];
      scene_->attachBulletSprite(b, false);
    });
    f.playerShots.walk([&](Object_Bullet& b, int32_t) { scene_->attachBulletSprite(b, true); });
    int k = 0;
    f.enemies.walk([&](Object_Enemy& e, int32_t) {
      e.graphic = static_cast<uint8_t>(1 + k++ % 20);
      scene_->attachEnemySprite(e);
    });
  }
};

// Which renderer draws (VELMORA_RENDERER=gl|software chooses one).
void PrintRenderer() {
  std::printf("renderer: %s\n", engine::CurrentBackend().video->rendererName().c_str());
}

const char* const kModeNames[5] = {"none", "alpha", "add", "sub", "mul"};

void PrintCost(const char* name, const FrameCost& cost) {
  int asked = 0, drawn = 0;
  double askedPixels = 0, drawnPixels = 0;
  for (int m = 0; m < 5; ++m) {
    asked += cost.askedDraws[m];
    drawn += cost.drawnDraws[m];
    askedPixels += cost.askedPixels[m];
    drawnPixels += cost.drawnPixels[m];
  }
  std::printf("%s: %d draws, %.0f pixels (%.2f screens) asked; %d draws, %.0f pixels drawn\n", name,
              asked, askedPixels, askedPixels / (640.0 * 480.0), drawn, drawnPixels);
  for (int m = 0; m < 5; ++m) {
    if (cost.askedDraws[m] == 0) continue;
    std::printf("  %-5s %5d draws %9.0f pixels asked, %5d draws %9.0f pixels drawn\n",
                kModeNames[m], cost.askedDraws[m], cost.askedPixels[m], cost.drawnDraws[m],
                cost.drawnPixels[m]);
  }
  std::printf(
      "  %.0f pixels drawn without blending; plus the clear (and the copy to the window when drawn "
      "into the texture)\n",
      cost.unblendedPixels);
}

void DrawStageFrame(benchmark::State& state, bool fullPools) {
  DrawnStage stage(fullPools);
  if (!stage.ok) {
    state.SkipWithError("no offscreen video or no game data");
    return;
  }
  for (int i = 0; i < 10; ++i) stage.drawFrame();  // textures made, atlases filled
  static bool printed[2] = {false, false};
  const FrameCost cost = stage.measureCost();
  if (!printed[fullPools]) {
    if (!printed[!fullPools]) PrintRenderer();
    PrintCost(fullPools ? "stage 1, every pool full" : "stage 1, empty", cost);
    printed[fullPools] = true;
  }
  for (auto _ : state) stage.drawFrame();
  int draws = 0;
  double pixels = 0;
  for (int m = 0; m < 5; ++m) {
    draws += cost.drawnDraws[m];
    pixels += cost.drawnPixels[m];
  }
  state.counters["draws"] = draws;
  state.counters["Mpixels"] = pixels / 1e6;
}

void BM_DrawStageEmpty(benchmark::State& state) { DrawStageFrame(state, false); }
void BM_DrawStageFullPools(benchmark::State& state) { DrawStageFrame(state, true); }

// Wall time, and CPU time of the whole process (the renderer's own threads
// included).
BENCHMARK(BM_DrawStageEmpty)->Unit(benchmark::kMillisecond)->UseRealTime()->MeasureProcessCPUTime();
BENCHMARK(BM_DrawStageFullPools)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->MeasureProcessCPUTime();

}  // namespace
