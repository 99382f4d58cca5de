// The difficulty and charge-type selections: what they write into the game,
// where they lead, and the Extra entry.
#include <memory>
#include <string>
#include <vector>

#include "app/Sjis.h"
#include "display/Sprite_Picture.h"
#include "display/Sprite_SelectTable.h"
#include "display/Sprite_String.h"
#include "scenes/Scene_Demo.h"
#include "scenes/Scene_Select_ChargeType.h"
#include "scenes/Scene_Select_Difficulty.h"
#include "scenes/Scene_Title.h"
#include "test_title_fixture.h"

namespace {

class DifficultyTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (scene && scene->menu) scene->terminate();
    if (scene) delete scene->next;
    scene.reset();
    FrontSceneTest::TearDown();
  }
  void Open() {
    scene = std::make_unique<Scene_Select_Difficulty>();
    Begin(*scene);
  }
  std::unique_ptr<Scene_Select_Difficulty> scene;
};

TEST_F(DifficultyTest, FirstFrameShowsNothingThenTheRowUnderTheCursor) {
  Open();
  EXPECT_EQ(scene->menu->rows, (std::vector<std::string>{"Easy", "Normal", "Apocrypha"}));
  EXPECT_EQ(scene->menu->text, "Select Difficulty");
  EXPECT_TRUE(scene->nameLine->text.empty());
  EXPECT_TRUE(scene->descriptionLine->text.empty());
  Step(*scene);
  EXPECT_EQ(scene->nameLine->text, "Easy");
  EXPECT_EQ(scene->descriptionLine->text, Sjis("シューティング初心者用の難易度です"));
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->nameLine->text, "Normal");
  EXPECT_EQ(scene->descriptionLine->text, Sjis("ゲーム好きな方用の難易度です"));
}

TEST_F(DifficultyTest, UpAndDownWrapBetweenEasyAndApocrypha) {
  Open();
  Step(*scene);
  Press(*scene, KEY_UP);
  EXPECT_EQ(scene->nameLine->text, "Apocrypha");
  EXPECT_EQ(scene->descriptionLine->text, Sjis("『ヒト』の本気を味わえる難易度です"));
  EXPECT_TRUE(Requested(SE_SELECT));
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->nameLine->text, "Easy");
}

TEST_F(DifficultyTest, EachRowStoresItsDifficultyAndLeadsToTheChargeType) {
  const int expected[3] = {DIFFICULTY_EASY, DIFFICULTY_NORMAL, DIFFICULTY_APOCRYPHA};
  for (int row = 0; row < 3; ++row) {
    Open();
    Step(*scene);
    for (int i = 0; i < row; ++i) Press(*scene, KEY_DOWN);
    Press(*scene, KEY_Z);
    EXPECT_EQ(gGame.difficulty, expected[row]);
    EXPECT_EQ(gGame.stage, 1);
    EXPECT_TRUE(Requested(SE_OK));
    EXPECT_NE(dynamic_cast<Scene_Select_ChargeType*>(scene->next), nullptr);
    EXPECT_EQ(FramesUntilDone(*scene), 16);
    std::unique_ptr<Scene> next = TakeNext(*scene);
    scene->terminate();
  }
}

TEST_F(DifficultyTest, CancelGoesBackToAFadingInTitle) {
  Open();
  Step(*scene);
  Press(*scene, KEY_DOWN);
  Press(*scene, KEY_X);
  EXPECT_TRUE(Requested(SE_CANCEL));
  EXPECT_FALSE(Requested(SE_OK));
  auto* title = dynamic_cast<Scene_Title*>(scene->next);
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->fadeInAtStart);
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_EASY);  // unchanged by backing out
  // The lines still follow the cursor while the screen fades.
  Press(*scene, KEY_DOWN);
  EXPECT_EQ(scene->nameLine->text, "Normal");
  EXPECT_EQ(FramesUntilDone(*scene), 15);
}

TEST_F(DifficultyTest, OkAndCancelInOneFrameKeepTheChoice) {
  Open();
  Step(*scene);
  Press(*scene, {KEY_Z, KEY_X});
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_EASY);
  EXPECT_NE(dynamic_cast<Scene_Select_ChargeType*>(scene->next), nullptr);
  EXPECT_FALSE(Requested(SE_CANCEL));
}

TEST_F(DifficultyTest, ExtraIsOfferedOnlyOnceUnlocked) {
  Open();
  EXPECT_EQ(scene->menu->rows.size(), 3u);
  scene->terminate();

  gGame.scoreData.extraUnlocked = 1;
  Open();
  ASSERT_EQ(scene->menu->rows.size(), 4u);
  EXPECT_EQ(scene->menu->rows[3], "Extra");
  Step(*scene);
  Press(*scene, KEY_UP);  // Easy wraps to Extra
  EXPECT_EQ(scene->nameLine->text, "Extra");
  EXPECT_FALSE(scene->descriptionLine->text.empty());
  Press(*scene, KEY_Z);
  EXPECT_EQ(gGame.difficulty, DIFFICULTY_EXTRA);
  EXPECT_EQ(gGame.stage, 7);
  EXPECT_NE(dynamic_cast<Scene_Select_ChargeType*>(scene->next), nullptr);
}

class ChargeTypeTest : public FrontSceneTest {
 protected:
  void TearDown() override {
    if (scene && scene->menu) scene->terminate();
    if (scene) delete scene->next;
    scene.reset();
    FrontSceneTest::TearDown();
  }
  void Open() {
    scene = std::make_unique<Scene_Select_ChargeType>();
    Begin(*scene);
    Step(*scene);
  }
  std::unique_ptr<Scene_Select_ChargeType> scene;
};

TEST_F(ChargeTypeTest, EveryDirectionFlipsBetweenTheTwoTypes) {
  Open();
  EXPECT_EQ(scene->menu->rows, (std::vector<std::string>{"Shield type", "Laser type"}));
  EXPECT_EQ(scene->menu->cursor, 0);
  int expected = 0;
  for (int key : {KEY_RIGHT, KEY_LEFT, KEY_DOWN, KEY_UP, KEY_LEFT, KEY_UP}) {
    Press(*scene, key);
    expected = 1 - expected;
    EXPECT_EQ(scene->menu->cursor, expected) << "key " << key;
    EXPECT_TRUE(Requested(SE_SELECT));
  }
}

TEST_F(ChargeTypeTest, ThePictureUnderTheCursorLightsUp) {
  Open();
  for (int i = 0; i < 20; ++i) Step(*scene);
  EXPECT_EQ(scene->shieldPicture->red, 255);
  EXPECT_EQ(scene->laserPicture->red, 130);
  Press(*scene, KEY_RIGHT);
  for (int i = 0; i < 20; ++i) Step(*scene);
  EXPECT_EQ(scene->shieldPicture->red, 130);
  EXPECT_EQ(scene->laserPicture->red, 255);
}

TEST_F(ChargeTypeTest, NormalLaserTakesSlotFiveAndItsBestScore) {
  gGame.difficulty = DIFFICULTY_NORMAL;
  gGame.hiScore = 777;
  for (int slot = 0; slot < kScoreSlots; ++slot) gGame.scoreData.bestScore[slot] = 1000 + slot;
  gGame.scoreData.bestScore[5] = 123456;
  gSound.bgmIndex = 0;  // the title music is playing
  Open();
  for (int i = 0; i < 5; ++i) Step(*scene);
  const uint32_t frameOfChoice = gGraphics.frameCount;
  Press(*scene, KEY_RIGHT);
  Press(*scene, KEY_Z);
  EXPECT_EQ(gGame.chargeType, CHARGE_LASER);
  EXPECT_EQ(gGame.ScoreSlot(), 5);
  EXPECT_EQ(gGame.hiScore, 123456);
  EXPECT_EQ(gGame.startFrame, frameOfChoice + 2);
  EXPECT_FLOAT_EQ(gSound.fadeStep, -8.5f);
  EXPECT_EQ(gSound.fadeFrames, 30);
  EXPECT_TRUE(Requested(SE_OK));
  EXPECT_NE(dynamic_cast<Scene_Demo*>(scene->next), nullptr);
  EXPECT_EQ(FramesUntilDone(*scene), 16);
  // The music has fallen silent by the time the screen is black.
  for (int i = 0; i < 20; ++i) gSound.Update();
  EXPECT_LE(gSound.fadeLevel, 0.5f);
}

TEST_F(ChargeTypeTest, ASlotNeverPlayedGivesAHiScoreOfZero) {
  gGame.difficulty = DIFFICULTY_APOCRYPHA;
  gGame.hiScore = 5000;  // from another slot
  gGame.scoreData.bestScore[8] = 0;
  gGame.scoreData.bestScore[9] = 5000;
  Open();
  Press(*scene, KEY_Z);
  EXPECT_EQ(gGame.chargeType, CHARGE_SHIELD);
  EXPECT_EQ(gGame.hiScore, 0);
}

TEST_F(ChargeTypeTest, ExtraShieldTakesTheExtraSlot) {
  gGame.difficulty = DIFFICULTY_EXTRA;
  gGame.stage = 7;
  gGame.scoreData.bestScore[10] = 31337;
  Open();
  Press(*scene, KEY_Z);
  EXPECT_EQ(gGame.ScoreSlot(), 10);
  EXPECT_EQ(gGame.hiScore, 31337);
  EXPECT_EQ(gGame.stage, 7);  // the cut-scene plays the Extra stage's opening
}

TEST_F(ChargeTypeTest, CancelReturnsToTheDifficultyOrFromExtraToTheTitle) {
  Open();
  Press(*scene, KEY_X);
  EXPECT_TRUE(Requested(SE_CANCEL));
  auto* difficulty = dynamic_cast<Scene_Select_Difficulty*>(scene->next);
  ASSERT_NE(difficulty, nullptr);
  EXPECT_EQ(FramesUntilDone(*scene), 16);
  {
    // A new difficulty menu: back on "Easy".
    std::unique_ptr<Scene> next = TakeNext(*scene);
    scene->terminate();
    Begin(*next);
    Step(*next);
    EXPECT_EQ(difficulty->nameLine->text, "Easy");
    next->terminate();
  }

  gGame.difficulty = DIFFICULTY_EXTRA;
  gGame.stage = 7;
  Open();
  Press(*scene, KEY_X);
  auto* title = dynamic_cast<Scene_Title*>(scene->next);
  ASSERT_NE(title, nullptr);
  EXPECT_TRUE(title->fadeInAtStart);
}

TEST_F(ChargeTypeTest, KeysDoNothingWhileTheScreenFades) {
  Open();
  Press(*scene, KEY_Z);
  Scene* chosen = scene->next;
  for (int key : {KEY_RIGHT, KEY_X, KEY_Z}) {
    Press(*scene, key);
    EXPECT_EQ(scene->menu->cursor, 0);
    EXPECT_TRUE(requested.empty());
    EXPECT_EQ(scene->next, chosen);
  }
  EXPECT_EQ(gGame.chargeType, CHARGE_SHIELD);
}

}  // namespace
