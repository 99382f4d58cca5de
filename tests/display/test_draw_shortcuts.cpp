// The video device leaves out drawing work that shows nowhere (draws that
// change no pixel, parts under later opaque pictures) and draws opaque
// pictures without blending. Here real frames of the game are drawn for
// real (SDL offscreen, the built game data) both ways, and the two pictures
// must be the same to the last bit: a stage as played with every kind of
// sprite and blend, its overlays and menus, the other stages' sceneries,
// and the title. Every frame is drawn by SDL's GL renderer and by our own
// software one side by side; each must pass on its own, and our own must
// match GL's picture to within rounding.
#include <SDL.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/Module_Game.h"
#include "app/Module_Graphics.h"
#include "app/Module_Input.h"
#include "app/Resources.h"
#include "app/SceneRunner.h"
#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/Object_Bullet.h"
#include "objects/Object_Enemy.h"
#include "objects/Object_Item.h"
#include "scenes/Scene_Title.h"
#include "stage/Scene_Stage.h"
#include "stage/Spriteset_Stage.h"
#include "stage/Spriteset_Stage2_Back.h"
#include "stage/Spriteset_Stage_Back.h"

namespace {

namespace fs = std::filesystem;

// Both renderers at once, each with its own window: every call goes to
// both, and reading pixels reads GL's picture, keeping our own beside it.
class BothRenderers final : public engine::VideoDevice {
 public:
  std::vector<uint32_t> software;  // our own picture at the last read

  bool open(const engine::WindowSettings& settings) override {
    engine::WindowSettings gl = settings, soft = settings;
    gl.renderer = engine::RendererChoice::Gl;
    soft.renderer = engine::RendererChoice::Software;
    return gl_->open(gl) && soft_->open(soft);
  }
  void close() override {
    textures_.clear();
    soft_->close();
    gl_->close();
  }
  bool pumpEvents() override { return gl_->pumpEvents() && soft_->pumpEvents(); }
  void* createTexture(int w, int h, const uint32_t* rgba) override {
    auto both = std::make_unique<Pair>(
        Pair{gl_->createTexture(w, h, rgba), soft_->createTexture(w, h, rgba)});
    if (!both->gl || !both->soft) return nullptr;
    textures_.push_back(std::move(both));
    return textures_.back().get();
  }
  void updateTexture(void* t, int x, int y, int w, int h, const uint32_t* rgba) override {
    gl_->updateTexture(pair(t).gl, x, y, w, h, rgba);
    soft_->updateTexture(pair(t).soft, x, y, w, h, rgba);
  }
  void destroyTexture(void* t) override {
    gl_->destroyTexture(pair(t).gl);
    soft_->destroyTexture(pair(t).soft);
  }
  void setClip(bool on, int x1, int y1, int x2, int y2) override {
    gl_->setClip(on, x1, y1, x2, y2);
    soft_->setClip(on, x1, y1, x2, y2);
  }
  void drawGeometry(void* t, const engine::Vertex* v, int vertexCount, const int* indices,
                    int indexCount, int blendMode) override {
    gl_->drawGeometry(t ? pair(t).gl : nullptr, v, vertexCount, indices, indexCount, blendMode);
    soft_->drawGeometry(t ? pair(t).soft : nullptr, v, vertexCount, indices, indexCount, blendMode);
  }
  void clear() override {
    gl_->clear();
    soft_->clear();
  }
  bool readPixels(int x, int y, int w, int h, uint32_t* rgba) override {
    software.assign(static_cast<size_t>(w) * h, 0);
    return soft_->readPixels(x, y, w, h, software.data()) && gl_->readPixels(x, y, w, h, rgba);
  }
  void present() override {
    gl_->present();
    soft_->present();
  }
  bool askYesNo(const std::string&, const std::string&) override { return false; }

 private:
  struct Pair {
    void* gl;
    void* soft;
  };
  static const Pair& pair(void* t) { return *static_cast<const Pair*>(t); }
  std::unique_ptr<engine::VideoDevice> gl_ = engine::MakeSdlVideo();
  std::unique_ptr<engine::VideoDevice> soft_ = engine::MakeSdlVideo();
  std::vector<std::unique_ptr<Pair>> textures_;
};

// Our own renderer's picture against GL's: channels may differ by rounding
// (bilinear weights, 8-bit blending), a few pixels more along edges where
// the two break a tie between triangles differently.
constexpr int kChannelTolerance = 4;
constexpr double kEdgePixelShare = 0.0001;

struct Comparison {
  int differing = 0;  // pixels beyond the channel tolerance
  int worst = 0;      // largest channel difference anywhere
  int first = -1;
};

Comparison Compare(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b) {
  Comparison c;
  for (size_t i = 0; i < a.size() && i < b.size(); ++i) {
    int pixelWorst = 0;
    for (int shift : {0, 8, 16}) {
      const int d =
          std::abs(static_cast<int>(a[i] >> shift & 0xFF) - static_cast<int>(b[i] >> shift & 0xFF));
      pixelWorst = std::max(pixelWorst, d);
    }
    c.worst = std::max(c.worst, pixelWorst);
    if (pixelWorst > kChannelTolerance) {
      if (c.first < 0) c.first = static_cast<int>(i);
      ++c.differing;
    }
  }
  return c;
}

class DrawShortcutsTest : public ::testing::Test {
 protected:
  fs::path previous;
  static inline BothRenderers* renderers = nullptr;

  void SetUp() override {
    const fs::path game = VELMORA_GAME_DIR;
    if (!fs::exists(game / "Graphics" / "bg.png")) GTEST_SKIP() << "game data not built";
    setenv("SDL_VIDEODRIVER", "offscreen", 1);
    engine::headless::UseSdl();
    auto both = std::make_unique<BothRenderers>();
    renderers = both.get();
    engine::CurrentBackend().video = std::move(both);
    ChangeWindowMode(true);
    SetTextureFilter(2);  // as the game asks: scaled pictures are filtered
    ASSERT_EQ(EngineInit(), 0) << SDL_GetError();
    previous = fs::current_path();
    fs::current_path(game);
    LoadFonts();
    LoadSharedImages();
    gGame = Module_Game();
    gGame.difficulty = DIFFICULTY_NORMAL;
    gInput = Module_Input();
    gGraphics.fade->visible = false;
    gStage2AnimeCounter = 0;
    gStage2AnimeIndex = 0;
  }

  void TearDown() override {
    engine::Settings().cullDraws = true;
    if (previous.empty()) return;
    gCurrentScene = nullptr;
    ReleaseSharedResources();
    fs::current_path(previous);
    EngineEnd();
    engine::headless::Use();
  }

  struct Pictures {
    std::vector<uint32_t> gl, software;
  };

  // The display tree as it stands, drawn with or without the shortcuts.
  static Pictures Picture(bool cull) {
    engine::Settings().cullDraws = cull;
    SetClipRect(0, 0, 640, 480);
    ClearDrawTarget();
    gGraphics.draw(0, 0);
    std::vector<uint32_t> pixels(640 * 480);
    EXPECT_TRUE(engine::CurrentBackend().video->readPixels(0, 0, 640, 480, pixels.data()));
    PresentFrame();
    return {pixels, renderers->software};
  }

  // Whether the renderer draws into the window rather than into the texture.
  static bool DrawingIntoWindow() {
    SDL_Renderer* renderer = SDL_GetRenderer(SDL_GL_GetCurrentWindow());
    return renderer && SDL_GetRenderTarget(renderer) == nullptr;
  }

  // Both ways, bit for bit; and a picture with something in it, so that two
  // black screens cannot pass for a match.
  static void ExpectSamePicture(const std::string& what) {
    const Pictures both = Picture(false);
    EXPECT_FALSE(DrawingIntoWindow());
    const Pictures bothCulled = Picture(true);
    ExpectSameBits(both.gl, bothCulled.gl, what + " (GL)");
    ExpectSameBits(both.software, bothCulled.software, what + " (software)");
    ExpectNearlySame(both.gl, both.software, what);
  }

  static void ExpectSameBits(const std::vector<uint32_t>& plain,
                             const std::vector<uint32_t>& culled, const std::string& what) {
    // Frames are drawn into the texture and letterboxed into the window.
    EXPECT_FALSE(DrawingIntoWindow()) << what;
    int differing = 0, first = -1, lit = 0;
    for (size_t i = 0; i < plain.size(); ++i) {
      if ((plain[i] & 0xFFFFFF) != 0) ++lit;
      if (plain[i] != culled[i]) {
        if (first < 0) first = static_cast<int>(i);
        ++differing;
      }
    }
    EXPECT_GT(lit, 640 * 480 / 4) << what << ": the picture is mostly black";
    EXPECT_EQ(differing, 0) << what << ": first at (" << first % 640 << ", " << first / 640
                            << "): " << std::hex << (first >= 0 ? plain[first] : 0) << " drawn as "
                            << (first >= 0 ? culled[first] : 0);
  }

  static void ExpectNearlySame(const std::vector<uint32_t>& gl,
                               const std::vector<uint32_t>& software, const std::string& what) {
    const Comparison c = Compare(gl, software);
    std::printf("%s: software against GL, %d pixels beyond %d, largest difference %d\n",
                what.c_str(), c.differing, kChannelTolerance, c.worst);
    EXPECT_LE(c.differing, static_cast<int>(gl.size() * kEdgePixelShare))
        << what << ": first at (" << c.first % 640 << ", " << c.first / 640 << "): " << std::hex
        << (c.first >= 0 ? gl[c.first] : 0) << " drawn by our own as "
        << (c.first >= 0 ? software[c.first] : 0);
  }
};

// A stage scene as the game starts it, played by its own script.
class StageFrames : public DrawShortcutsTest {
 protected:
  std::unique_ptr<Scene_Stage> scene;

  void begin(int32_t stage) {
    gGame.stage = stage;
    scene = std::make_unique<Scene_Stage>();
    gCurrentScene = scene.get();
    scene->running = true;
    scene->start();
    gGraphics.fade->visible = false;
  }
  void run(int frames) {
    for (int i = 0; i < frames && scene->running; ++i) {
      gInput.update();
      scene->update();
    }
  }
  // Not terminated: that would write the high scores into the game data.
  void TearDown() override {
    gCurrentScene = nullptr;
    scene.reset();
    DrawShortcutsTest::TearDown();
  }

  // Every kind of sprite the stage shows, in every blend it uses.
  void crowd() {
    Stage_Field& f = *scene->field;
    SeedRandom(7);
    auto spread = [](int max) { return static_cast<float>(RandomUpTo(max)); };
    for (int k = 0; k < 300; ++k) {
      Object_Bullet* b = Object_Bullet::Spawn(f.enemyBullets, static_cast<int8_t>(1 + k % 20));
      if (!b) break;
      b->setPosition(spread(384), spread(448));
      b->angle = spread(62832) / 10000.0f;
      b->alpha = k % 5 == 0 ? 128 : 255;
      if (k % 25 == 0) {  // beams, some still warning lines
        b->laser = 1;
        b->radius = k % 50 == 0 ? 0 : 6;
        b->length = 250;
      }
      scene->attachBulletSprite(*b, false);
    }
    for (int k = 0; k < 12; ++k) {
      Object_Bullet* s = Object_Bullet::Spawn(f.playerShots, static_cast<int8_t>(k % 2 ? 10 : 0));
      if (!s) break;
      s->setPosition(spread(384), spread(448));
      s->radius = 20 + 10 * k;
      s->scale = 0.3 + 0.2 * k;
      s->alpha = 60 + 15 * k;
      scene->attachBulletSprite(*s, true);
    }
    for (int k = 0; k < 40; ++k) {
      Object_Bullet* s = Object_Bullet::Spawn(f.playerShots, static_cast<int8_t>(7 + k % 3));
      if (!s) break;
      s->setPosition(spread(384), spread(448));
      s->alpha = 50 + k;
      scene->attachBulletSprite(*s, true);
    }
    for (int k = 0; k < 30; ++k) {
      Object_Enemy* e = f.enemies.acquire();
      if (!e) break;
      e->id = NextObjectId();
      e->resetMotion();
      e->resetEnemy();
      e->setPosition(spread(384), spread(300));
      e->graphic = static_cast<uint8_t>(1 + k % 25);
      e->blendMode = k % 3 == 0 ? BLEND_ADD : BLEND_ALPHA;
      e->alpha = k % 4 == 0 ? 100 : 255;
      scene->attachEnemySprite(*e);
    }
    for (int k = 0; k < 60; ++k)
      SpawnItem(f, spread(384), spread(448), static_cast<int8_t>(1 + k % 4));
    for (int k = 0; k < 24; ++k) {
      scene->startEffect(static_cast<int32_t>(spread(384)), static_cast<int32_t>(spread(448)),
                         1 + k % 4, k % 4, 80 + 7 * k, 0.5 + 0.1 * k, 1);
    }
    scene->stageSprites->update();
    scene->scoreBoard->update();
  }
};

TEST_F(StageFrames, StageOneAsPlayedAndCrowded) {
  begin(1);
  ExpectSamePicture("stage 1 at its start");
  run(240);
  ExpectSamePicture("stage 1 after four seconds");
  crowd();
  ExpectSamePicture("stage 1 with every kind of sprite");
  for (int i = 0; i < 5; ++i) {
    run(1);
    ExpectSamePicture("stage 1 crowded, frame " + std::to_string(i));
  }
}

TEST_F(StageFrames, OverlaysFadesAndMenusOverTheField) {
  begin(1);
  run(60);
  crowd();
  scene->showStageTitle();
  scene->showBossName(2);
  for (int i = 0; i < 100; ++i) scene->scoreBoard->update();  // the card half in
  scene->messageWindow->visible = true;
  scene->messageWindow->text = "Test";
  scene->leftPortrait->showPicture(1);
  scene->fieldFade(0, 255, 60);
  for (int i = 0; i < 20; ++i) scene->stageSprites->fieldFade->update();
  ExpectSamePicture("title card, boss bar, message window, portrait, white veil");
  scene->menuBack->blendParam = 120;
  scene->menuTable->visible = true;
  gGraphics.fade->visible = true;
  gGraphics.fade->blendParam = 90;
  ExpectSamePicture("menu and screen fade over it all");
  // The field veil fully white: everything under it is painted over.
  scene->stageSprites->fieldFade->blendParam = 255;
  ExpectSamePicture("white field");
}

// The scenery of a stage through its clock, at moments where its layers
// blend, fade, subtract, turn a model, and where its stills stand.
class SceneryFrames : public DrawShortcutsTest {
 protected:
  void runStage(int32_t stage, const std::vector<int32_t>& clocks) {
    int32_t clock = 0;
    Spriteset_Stage stageSprites;
    stageSprites.background = MakeStageScenery(stage, &clock);
    for (int32_t target : clocks) {
      for (; clock <= target; ++clock) stageSprites.background->update();
      clock = target;
      ExpectSamePicture("stage " + std::to_string(stage) + " at " + std::to_string(target));
      clock = target + 1;
    }
  }
};

TEST_F(SceneryFrames, StageTwo) { runStage(2, {0, 1200, 8350, 8800, 9950}); }
TEST_F(SceneryFrames, StageThree) { runStage(3, {100, 7400}); }
TEST_F(SceneryFrames, StageFour) { runStage(4, {0, 6550, 8600}); }

// A frame that paints only part of the screen (no clear) keeps the rest
// of the last picture, wherever that was drawn.
TEST_F(DrawShortcutsTest, AFrameWithoutAClearDrawsOverTheLastPicture) {
  const int frame = LoadImageFile("Graphics/bg.png");
  const int item = LoadImageFile("Graphics/item.png");
  ASSERT_GT(frame, 0);
  ASSERT_GT(item, 0);
  auto twoFrames = [&](bool cull) {
    engine::Settings().cullDraws = cull;
    SetClipRect(0, 0, 640, 480);
    SetBlendMode(BLEND_NONE, 255);
    SetDrawBrightness(255, 255, 255);
    ClearDrawTarget();
    DrawImage(0, 0, frame, true);
    PresentFrame();
    SetBlendMode(BLEND_ALPHA, 200);
    DrawImage(100, 100, item, true);
    std::vector<uint32_t> pixels(640 * 480);
    EXPECT_TRUE(engine::CurrentBackend().video->readPixels(0, 0, 640, 480, pixels.data()));
    PresentFrame();
    return Pictures{pixels, renderers->software};
  };
  const Pictures plain = twoFrames(false);
  const Pictures culled = twoFrames(true);
  EXPECT_FALSE(DrawingIntoWindow());
  EXPECT_EQ(plain.gl, culled.gl);
  EXPECT_EQ(plain.software, culled.software);
  ExpectNearlySame(plain.gl, plain.software, "a frame over the last");
  DeleteImage(frame);
  DeleteImage(item);
}

TEST_F(DrawShortcutsTest, Title) {
  auto title = std::make_unique<Scene_Title>(false);
  gCurrentScene = title.get();
  title->running = true;
  title->start();
  gGraphics.fade->visible = false;
  for (int i = 0; i < 90; ++i) {
    gInput.update();
    title->update();
  }
  ExpectSamePicture("title");
  title->terminate();  // lets its pictures and sprites go
  gCurrentScene = nullptr;
}

}  // namespace
