// Stage scenery: where each layer starts, how the script clock drives it
// (including the one-frame changes and the clock jumps of the script), the
// stage-2 light animation that outlives a stage, the stage-4 model turn and
// the stage-5 layers that take their looks from the clock alone.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>

#include "app/Module_Graphics.h"
#include "app/Resources.h"
#include "display/Sprite.h"
#include "display/Sprite_BackGround.h"
#include "display/TestImage.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "objects/Sprite_3DModel.h"
#include "stage/Spriteset_Stage1_Back.h"
#include "stage/Spriteset_Stage2_Back.h"
#include "stage/Spriteset_Stage3_Back.h"
#include "stage/Spriteset_Stage4_Back.h"
#include "stage/Spriteset_Stage5_Back.h"
#include "stage/Spriteset_Stage6_Back.h"
#include "stage/Spriteset_Stage7_Back.h"
#include "stage/StageSeams.h"
#include "support/TempWorkDir.h"

namespace {

class BackTest : public ::testing::Test {
 protected:
  TempWorkDir dir;
  int32_t clock = 0;

  void SetUp() override {
    ASSERT_TRUE(dir.ok());
    engine::headless::Use();
    ASSERT_EQ(EngineInit(), 0);
    gStage2AnimeCounter = 0;
    gStage2AnimeIndex = 0;
  }
  void TearDown() override { EngineEnd(); }

  // Small stand-ins for the scenery pictures, so every load gets a handle.
  static void WriteStage2Pictures() {
    std::filesystem::create_directories("Graphics");
    for (int n = 2; n <= 28; ++n) {
      ASSERT_TRUE(testimage::WritePng("Graphics/stage2-" + std::to_string(n) + ".png", 4, 4));
    }
  }

  template <class Back>
  std::unique_ptr<Back> Make() {
    auto back = std::make_unique<Back>();
    back->setup();
    back->scriptClock = &clock;
    return back;
  }
  // One update for every clock value from `from` to `to`, as the script
  // clock runs through them.
  void Run(Spriteset& back, int32_t from, int32_t to) {
    for (clock = from; clock <= to; ++clock) back.update();
  }
  void At(Spriteset& back, int32_t t) {
    clock = t;
    back.update();
  }
};

TEST_F(BackTest, LayersStartAtTheirPeriodsAndPositions) {
  struct Case {
    Sprite_BackGround_Scroll* layer;
    int32_t period, start;
  };
  auto s1 = Make<Spriteset_Stage1_Back>();
  auto s2 = Make<Spriteset_Stage2_Back>();
  auto s3 = Make<Spriteset_Stage3_Back>();
  auto s4 = Make<Spriteset_Stage4_Back>();
  auto s5 = Make<Spriteset_Stage5_Back>();
  const Case cases[] = {{s1->layer1, 3200, 2752}, {s1->layer2, 2500, 2052}, {s1->layer3, 450, 2},
                        {s2->layer1, 2688, 2240}, {s2->layer2, 450, 2},     {s2->layer3, 450, 2},
                        {s3->layer1, 3840, 2612}, {s4->layer1, 3200, 2752}, {s4->layer2, 380, -68},
                        {s4->layer3, 491, 43},    {s5->layer1, 2400, 1952}, {s5->layer2, 512, 64},
                        {s5->layer3, 704, 256}};
  for (const Case& c : cases) {
    EXPECT_EQ(c.layer->wrapLength, c.period);
    EXPECT_EQ(c.layer->srcY, c.start) << c.period;
    EXPECT_EQ(c.layer->scrollPos, static_cast<float>(c.start)) << c.period;
    EXPECT_EQ(c.layer->srcWidth, 384);
    EXPECT_EQ(c.layer->srcHeight, 448);
  }
  // The looks the layers start with.
  EXPECT_EQ(s1->layer2->image, s1->layer1->image);
  EXPECT_TRUE(s1->layer2->flip);
  EXPECT_EQ(s1->layer2->blendMode, BLEND_ADD);
  EXPECT_EQ(s1->layer2->blendParam, 180);
  EXPECT_EQ(s1->layer3->blendParam, 70);
  EXPECT_EQ(s1->layer3->blue, 150);
  EXPECT_EQ(s1->still1->y, -430);
  EXPECT_TRUE(s2->layer3->flip);
  EXPECT_EQ(s2->still3->blendParam, 0);
  EXPECT_EQ(s4->layer2->blendMode, BLEND_SUB);
  EXPECT_EQ(s4->layer2->blendParam, 50);
  EXPECT_EQ(s4->layer3->blendParam, 150);
  EXPECT_FALSE(s4->model->visible);
  EXPECT_EQ(s4->model->z, -50);
  EXPECT_DOUBLE_EQ(s4->model->scale, 1.3);
  // All of it lies in a play-field viewport below the stage's layers.
  for (Spriteset_Stage_Back* b : {static_cast<Spriteset_Stage_Back*>(s1.get()),
                                  static_cast<Spriteset_Stage_Back*>(s4.get())}) {
    EXPECT_EQ(b->viewport->z, 5);
    EXPECT_EQ(b->viewport->x, 32);
    EXPECT_EQ(b->viewport->y, 16);
    EXPECT_EQ(b->viewport->width, 384);
    EXPECT_EQ(b->viewport->height, 448);
  }
}

TEST_F(BackTest, StageSceneGetsTheSceneryOfItsNumberReadingItsClock) {
  StageLinks links = DefaultStageLinks();
  ASSERT_NE(links.makeScenery, nullptr);
  for (int32_t stage : {1, 2, 3, 4, 5, 6, 7, 0}) {
    std::unique_ptr<Spriteset> made = links.makeScenery(stage, &clock);
    auto* back = dynamic_cast<Spriteset_Stage_Back*>(made.get());
    ASSERT_NE(back, nullptr) << stage;
    EXPECT_EQ(back->scriptClock, &clock);
    const bool own =
        dynamic_cast<Spriteset_Stage1_Back*>(back) || dynamic_cast<Spriteset_Stage2_Back*>(back) ||
        dynamic_cast<Spriteset_Stage3_Back*>(back) || dynamic_cast<Spriteset_Stage4_Back*>(back) ||
        dynamic_cast<Spriteset_Stage5_Back*>(back) || dynamic_cast<Spriteset_Stage6_Back*>(back) ||
        dynamic_cast<Spriteset_Stage7_Back*>(back);
    EXPECT_EQ(own, stage >= 1 && stage <= 7) << stage;
    // Stages without scenery show nothing: an empty viewport.
    if (!own) {
      EXPECT_EQ(back->viewport->slotCount(), 0u);
    }
  }
}

TEST_F(BackTest, DeletingTheSceneryTakesItsViewportAndReleasesItsPictures) {
  WriteStage2Pictures();
  Viewport* viewport = nullptr;
  int32_t frame = 0;
  {
    auto back = Make<Spriteset_Stage2_Back>();
    viewport = back->viewport;
    frame = back->frames[3];
    ASSERT_GT(frame, 0);
    int w = 0, h = 0;
    EXPECT_EQ(GetImageSize(frame, &w, &h), 0);
  }
  EXPECT_TRUE(std::none_of(gGraphics.children.begin(), gGraphics.children.end(),
                           [&](const auto& slot) { return slot->object == viewport; }));
  int w = 0, h = 0;
  EXPECT_EQ(GetImageSize(frame, &w, &h), -1);
}

TEST_F(BackTest, WithoutAClockNothingMoves) {
  auto back = std::make_unique<Spriteset_Stage3_Back>();
  back->setup();
  back->update();
  EXPECT_EQ(back->layer1->srcY, 2612);
  EXPECT_FALSE(back->still1->visible);
}

TEST_F(BackTest, StageOneSlowsToTheDustAtTheBoss) {
  auto back = Make<Spriteset_Stage1_Back>();
  Run(*back, 0, 1500);
  // The limb waits until t passes 1500, then sinks one pixel every tenth frame.
  EXPECT_EQ(back->still1->y, -430);
  Run(*back, 1501, 1600);
  EXPECT_EQ(back->still1->y, -420);
  const float far = back->layer1->scrollPos;
  Run(*back, 1601, 5499);
  EXPECT_LT(back->layer1->scrollPos, far);
  const int32_t stillY = back->still1->y;
  const float farAtBoss = back->layer1->scrollPos, nearAtBoss = back->layer2->scrollPos;
  // From 5500 only the dust moves, fading on nine frames of ten.
  Run(*back, 5500, 5599);
  EXPECT_EQ(back->layer1->scrollPos, farAtBoss);
  EXPECT_EQ(back->layer2->scrollPos, nearAtBoss);
  EXPECT_EQ(back->still1->y, stillY);
  EXPECT_EQ(back->layer3->blendParam, 70 - 90);
}

TEST_F(BackTest, StageThreeStillShowsExactlyFrom7200To7600) {
  auto back = Make<Spriteset_Stage3_Back>();
  for (clock = 7190; clock <= 7610; ++clock) {
    back->update();
    EXPECT_EQ(back->still1->visible, clock >= 7200 && clock <= 7600) << clock;
  }
  // A jump into the window shows it at once; out of it hides it again.
  At(*back, 7400);
  EXPECT_TRUE(back->still1->visible);
  At(*back, 100);
  EXPECT_FALSE(back->still1->visible);
}

TEST_F(BackTest, StageThreeStopsScrollingTwice) {
  auto back = Make<Spriteset_Stage3_Back>();
  auto movesAt = [&](int32_t t) {
    const float before = back->layer1->scrollPos;
    At(*back, t);
    return back->layer1->scrollPos != before;
  };
  for (int32_t t : {0, 5999, 6101, 6899}) EXPECT_TRUE(movesAt(t)) << t;
  for (int32_t t : {6000, 6050, 6100, 6900, 7200, 9000}) EXPECT_FALSE(movesAt(t)) << t;
}

TEST_F(BackTest, StageTwoStepChangesHappenOnlyOnTheirExactClockValues) {
  WriteStage2Pictures();
  auto back = Make<Spriteset_Stage2_Back>();
  // Set both veils to a known value, then pass 7201 without landing on it.
  back->layer2->blendParam = back->layer3->blendParam = 100;
  At(*back, 7199);
  At(*back, 7202);  // even: layer 3 ramps up by one (7200 < t < 7800)
  EXPECT_EQ(back->layer2->blendParam, 100);
  EXPECT_EQ(back->layer3->blendParam, 101);
  At(*back, 7201);
  EXPECT_EQ(back->layer2->blendParam, 0);
  EXPECT_EQ(back->layer3->blendParam, 0);

  // 8300: both veils back at full, only on that exact value.
  back->layer2->blendParam = back->layer3->blendParam = 40;
  At(*back, 8299);
  At(*back, 8301);
  EXPECT_EQ(back->layer2->blendParam, 40);
  At(*back, 8300);
  EXPECT_EQ(back->layer2->blendParam, 255);
  EXPECT_EQ(back->layer3->blendParam, 255);

  // 9900: the broken platform, only when the clock is exactly there.
  const int32_t whole = back->still2->image;
  const int32_t oldFrame = back->frames[0];
  At(*back, 9899);
  At(*back, 9901);
  EXPECT_EQ(back->still2->image, whole);
  EXPECT_EQ(back->frames[0], oldFrame);
  At(*back, 9900);
  EXPECT_NE(back->still2->image, whole);
  EXPECT_GT(back->still2->image, 0);
  int w = 0, h = 0;
  EXPECT_EQ(GetImageSize(whole, &w, &h), -1) << "the whole platform is released";
  for (int i = 0; i < 8; ++i) EXPECT_GT(back->frames[i], 0) << i;
  for (int i = 8; i < 12; ++i) EXPECT_EQ(back->frames[i], 0) << i;
  EXPECT_NE(back->frames[0], oldFrame);
}

TEST_F(BackTest, StageTwoRampsReplayAfterABackwardJump) {
  auto back = Make<Spriteset_Stage2_Back>();
  // 300 even frames below 600: 255 runs down to -45 and keeps counting.
  Run(*back, 0, 700);
  EXPECT_EQ(back->layer2->blendParam, -45);
  // Layer 3 fades on the even frames 602..700.
  EXPECT_EQ(back->layer3->blendParam, 255 - 50);
  const float ringPos = back->layer1->scrollPos;
  // The script jumps back to 100: the ramps run again from there.
  Run(*back, 100, 700);
  EXPECT_EQ(back->layer2->blendParam, -45 - 250);
  EXPECT_EQ(back->layer3->blendParam, 255 - 100);
  EXPECT_NE(back->layer1->scrollPos, ringPos);

  // The platform's limb ramps up to 200 and holds there, twice over.
  Run(*back, 7801, 8399);
  EXPECT_EQ(back->still1->blendParam, 200);
  Run(*back, 7801, 8399);
  EXPECT_EQ(back->still1->blendParam, 200);
}

TEST_F(BackTest, StageTwoCrossFadesThePlatformIn) {
  auto back = Make<Spriteset_Stage2_Back>();
  Run(*back, 7700, 8500);
  EXPECT_EQ(back->still1->blendParam, 200);
  EXPECT_EQ(back->layer3->blendParam, 255);  // set at 8300
  Run(*back, 8501, 8900);
  // 299 frames of 8501..8799; layer 3 fades on 8601..8899.
  EXPECT_EQ(back->still1->blendParam, 200 - 299);
  EXPECT_EQ(back->still2->blendParam, 299);
  EXPECT_EQ(back->still3->blendParam, 299);
  EXPECT_EQ(back->layer3->blendParam, 255 - 299);
  // The veils stop: layer 2 from 8300, layer 3 from 9000.
  const float veil = back->layer2->scrollPos, dust = back->layer3->scrollPos;
  At(*back, 8999);
  EXPECT_EQ(back->layer2->scrollPos, veil);
  EXPECT_NE(back->layer3->scrollPos, dust);
  const float dustAt9000 = back->layer3->scrollPos;
  At(*back, 9000);
  EXPECT_EQ(back->layer3->scrollPos, dustAt9000);
}

TEST_F(BackTest, StageTwoLightsStepEveryEighthFrameAndLoop) {
  WriteStage2Pictures();
  auto back = Make<Spriteset_Stage2_Back>();
  Run(*back, 9000, 9200);  // nothing counts up to 9200
  EXPECT_EQ(gStage2AnimeCounter, 0);
  EXPECT_EQ(back->still3->image, back->frames[0]);
  Run(*back, 9201, 9207);
  EXPECT_EQ(gStage2AnimeIndex, 0);
  At(*back, 9208);
  EXPECT_EQ(gStage2AnimeIndex, 1);
  EXPECT_EQ(back->still3->image, back->frames[0]);
  // Twelve pictures, then the loop goes round 1..11.
  Run(*back, 9209, 9208 + 8 * 11);
  EXPECT_EQ(back->still3->image, back->frames[11]);
  EXPECT_EQ(gStage2AnimeIndex, 1);
  Run(*back, 9297, 9304);
  EXPECT_EQ(back->still3->image, back->frames[1]);
  // After the fall: eight pictures looping from 0.
  Run(*back, 9305, 9900);
  EXPECT_EQ(back->still3->image, 0) << "no released picture is shown";
  Run(*back, 9901, 9901 + 8 * 16);
  EXPECT_LT(gStage2AnimeIndex, 8);
  const bool showsBroken =
      std::find(back->frames, back->frames + 8, back->still3->image) != back->frames + 8;
  EXPECT_TRUE(showsBroken);
}

TEST_F(BackTest, StageTwoLightCountersOutliveTheStage) {
  {
    auto first = Make<Spriteset_Stage2_Back>();
    Run(*first, 9201, 9201 + 8 * 3 + 2);
  }
  EXPECT_EQ(gStage2AnimeIndex, 3);
  EXPECT_EQ(gStage2AnimeCounter, 3);
  auto second = Make<Spriteset_Stage2_Back>();
  EXPECT_EQ(gStage2AnimeIndex, 3);
  Run(*second, 9201, 9205);
  EXPECT_EQ(gStage2AnimeIndex, 4) << "the next stage 2 goes on where the last one stopped";
}

TEST_F(BackTest, StageFourShowsTheGateAndTurnsItInSinglePrecisionSteps) {
  auto back = Make<Spriteset_Stage4_Back>();
  At(*back, 0);
  EXPECT_EQ(back->model->angle, 0.004999999888241291);
  double expected = 0.004999999888241291;
  for (clock = 1; clock < 10000; ++clock) {
    back->update();
    expected += 0.004999999888241291;
    const bool shown = clock >= 8300 && clock <= 8799;
    ASSERT_EQ(back->model->visible, shown) << clock;
    ASSERT_EQ(back->still1->visible, shown) << clock;
  }
  EXPECT_EQ(back->model->angle, expected);
  EXPECT_NE(back->model->angle, 10000 * 0.005);
}

// The heavens climb except at the gate (6500 to 6600) and from the fourth
// heaven on (8380); the halos wake past the gate and brighten at the fourth
// heaven; the Regulator's image shows only during its talk.
TEST_F(BackTest, StageSevenFollowsItsTimelineMarks) {
  auto back = Make<Spriteset_Stage7_Back>();
  Run(*back, 0, 6499);
  EXPECT_FALSE(back->halos->visible);
  const float vault = back->vault->scrollPos;
  Run(*back, 6500, 6600);
  EXPECT_EQ(back->vault->scrollPos, vault);
  EXPECT_FALSE(back->halos->visible);
  Run(*back, 6601, 8379);
  EXPECT_NE(back->vault->scrollPos, vault);
  EXPECT_TRUE(back->halos->visible);
  const int32_t dim = back->halos->blendParam;
  const float climbed = back->vault->scrollPos;
  for (clock = 8380; clock < 9400; ++clock) {
    back->update();
    ASSERT_EQ(back->regulator->visible, clock >= 8500 && clock <= 8799) << clock;
  }
  EXPECT_EQ(back->vault->scrollPos, climbed);
  EXPECT_GT(back->halos->blendParam, dim);
}

TEST_F(BackTest, StageFourLayersThinOutAfter6500) {
  auto back = Make<Spriteset_Stage4_Back>();
  Run(*back, 0, 6500);
  EXPECT_EQ(back->layer2->blendParam, 50);
  EXPECT_EQ(back->layer3->blendParam, 150);
  const float planet = back->layer1->scrollPos;
  Run(*back, 6501, 6600);
  EXPECT_EQ(back->layer1->scrollPos, planet);  // held while 6500 <= t <= 6600
  EXPECT_EQ(back->layer2->blendParam, 0);      // 50 even frames
  EXPECT_EQ(back->layer3->blendParam, 100);
  Run(*back, 6601, 6700);
  EXPECT_NE(back->layer1->scrollPos, planet);
  EXPECT_EQ(back->layer2->blendParam, -50);
  // Layers 2 and 3 scroll on every frame, by 1 and 3, wrapping at 380 and 491.
  const int32_t before2 = back->layer2->srcY, before3 = back->layer3->srcY;
  At(*back, 8000);
  EXPECT_EQ((before2 - back->layer2->srcY + 380) % 380, 1);
  EXPECT_EQ((before3 - back->layer3->srcY + 491) % 491, 3);
}

// The corridor's veil and streaks are set from the clock, not summed frame by
// frame: the talk's jumps (7200 to 7600, or back) land on the look of the
// new moment, and the shaft holds still for the cruiser.
TEST_F(BackTest, StageFiveLooksFollowTheClockAcrossJumps) {
  auto back = Make<Spriteset_Stage5_Back>();
  Run(*back, 0, 2399);
  EXPECT_FALSE(back->layer3->visible);
  EXPECT_EQ(back->layer2->blendMode, BLEND_ADD);
  EXPECT_EQ(back->layer2->blendParam, 60);
  At(*back, 2400);
  EXPECT_TRUE(back->layer3->visible);
  EXPECT_EQ(back->layer3->blendParam, 0);
  Run(*back, 2401, 6001);
  EXPECT_EQ(back->layer3->blendParam, 150);  // thickens to 150 and stays there
  const float shaft = back->layer1->scrollPos;
  Run(*back, 6002, 6100);
  EXPECT_EQ(back->layer1->scrollPos, shaft);
  At(*back, 7200);
  EXPECT_EQ(back->layer2->blendParam, 60);
  At(*back, 7400);
  EXPECT_EQ(back->layer2->blendParam, 105);  // halfway through the flare
  At(*back, 7600);
  EXPECT_EQ(back->layer2->blendParam, 150);
  At(*back, 440);
  EXPECT_EQ(back->layer2->blendParam, 60);
  EXPECT_FALSE(back->layer3->visible);
}

}  // namespace
