// The configuration screen: volume steps heard while the cursor moves, the
// table opening on the stored volume, joypad buttons assigned by letter
// order, "Default" and "Back", and both files written whenever it closes.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "app/KeyConfig.h"
#include "display/Sprite_SelectTable.h"
#include "scenes/Scene_Config.h"
#include "scenes/Scene_Title.h"
#include "scenes/test_title_fixture.h"

namespace {

struct VolumeCall {
  int volume, handle;
};
std::vector<VolumeCall> volumeCalls;

class ConfigTest : public FrontSceneTest {
 protected:
  Scene_Config scene;
  std::vector<int> pressFrameRequests;  // effects asked for in PressPad's press frame

  void SetUp() override {
    FrontSceneTest::SetUp();
    gSound.bgmHandle = 42;
    gSound.engine.setVolume = [](int volume, int handle) {
      volumeCalls.push_back({volume, handle});
      return 0;
    };
    volumeCalls.clear();
    Begin(scene);
  }
  void TearDown() override {
    if (scene.mainMenu) scene.terminate();
    FrontSceneTest::TearDown();
  }

  // Joypad buttons held for one frame, then let go for one.
  void PressPad(uint32_t mask) {
    engine::headless::SetJoypad(static_cast<int>(mask));
    Step(scene);
    pressFrameRequests = requested;
    engine::headless::SetJoypad(0);
    Step(scene);
  }
  void Down(int times = 1) {
    for (int i = 0; i < times; ++i) Press(scene, KEY_DOWN);
  }
  // The main menu's row `row` chosen with the OK key.
  void Open(int row) {
    Down(row);
    Press(scene, KEY_Z);
  }
  int musicVolumeHeard() const {
    for (auto it = volumeCalls.rbegin(); it != volumeCalls.rend(); ++it) {
      if (it->handle == 42) return it->volume;
    }
    return -1;
  }
  static std::vector<uint8_t> FileBytes(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
};

TEST_F(ConfigTest, OpensOnTheMainMenuWithTheCurrentLetters) {
  EXPECT_EQ(scene.state, CONFIG_MAIN);
  EXPECT_TRUE(scene.mainMenu->visible);
  EXPECT_FALSE(scene.volumeTable->visible);
  EXPECT_FALSE(scene.keyTable->visible);
  EXPECT_EQ(scene.mainMenu->text, "Config");
  ASSERT_EQ(scene.volumeTable->rows.size(), 11u);
  EXPECT_EQ(scene.volumeTable->rows[6], "40%");
  ASSERT_EQ(scene.keyTable->rows.size(), 10u);
  const char* expected[] = {
      "OK           A", "Cancel       B", "Shot         A", "Charge       B", "Bomb         C",
      "Slow         X", "Skip         Y", "Pause        Z", "Default",        "Back"};
  for (size_t i = 0; i < 10; ++i) EXPECT_EQ(scene.keyTable->rows[i], expected[i]) << i;
}

TEST_F(ConfigTest, VolumeTableOpensOnTheStoredVolume) {
  EXPECT_EQ(VolumeRow(100), 0);
  EXPECT_EQ(VolumeRow(45), 6);
  EXPECT_EQ(VolumeRow(0), 10);
  EXPECT_LT(VolumeRow(255), 0);

  struct Case {
    int32_t stored, row;
  };
  // 255 is what a missing settings file leaves: the table puts its cursor on
  // "MAX" without touching the volume.
  for (const Case& c : {Case{100, 0}, Case{45, 6}, Case{255, 0}}) {
    SCOPED_TRACE(c.stored);
    gSound.bgmVolume = c.stored;
    Open(CONFIG_ROW_BGM);
    ASSERT_EQ(scene.state, CONFIG_VOLUME);
    EXPECT_TRUE(scene.volumeTable->visible);
    Step(scene);
    EXPECT_EQ(scene.volumeTable->cursor, c.row);
    EXPECT_EQ(gSound.bgmVolume, c.stored) << "opening alone changes nothing";
    Press(scene, KEY_Z);
    EXPECT_EQ(scene.state, CONFIG_MAIN);
    EXPECT_EQ(gSound.bgmVolume, c.stored);
  }
}

TEST_F(ConfigTest, EveryVolumeStepIsHeardAtOnceAndCancelKeepsIt) {
  gSound.bgmVolume = 100;
  Open(CONFIG_ROW_BGM);
  for (int step = 1; step <= 10; ++step) {
    Press(scene, KEY_DOWN);
    EXPECT_EQ(gSound.bgmVolume, 100 - 10 * step);
    EXPECT_EQ(musicVolumeHeard(), (100 - 10 * step) * 255 / 100) << step;
  }
  EXPECT_EQ(scene.volumeTable->rows[static_cast<size_t>(scene.volumeTable->cursor)], "OFF");
  Press(scene, KEY_X);
  EXPECT_TRUE(Requested(SE_CANCEL));
  EXPECT_EQ(scene.state, CONFIG_MAIN);
  EXPECT_FALSE(scene.volumeTable->visible);
  EXPECT_EQ(gSound.bgmVolume, 0);

  // The effect volume is the second row's, and the music stays where it is.
  gSound.seVolume = 45;
  Open(CONFIG_ROW_SE);
  Press(scene, KEY_UP);
  EXPECT_EQ(gSound.seVolume, 50);
  EXPECT_EQ(gSound.bgmVolume, 0);
}

TEST_F(ConfigTest, TwoNewButtonsInOneFrameAssignTheFirstLetter) {
  // Bit 14 shows D and bit 7 shows X: the letter decides, not the bit number.
  EXPECT_EQ(FirstNewButton((1u << 7) | (1u << 14), 0), 1u << 14);
  EXPECT_EQ(FirstNewButton((1u << 5) | (1u << 4), 0), 1u << 4);
  EXPECT_EQ(FirstNewButton((1u << 9) | (1u << 11), 0), 1u << 11);  // R before Z
  // Held from the frame before: not new.
  EXPECT_EQ(FirstNewButton((1u << 4) | (1u << 6), 1u << 4), 1u << 6);
  // Directions and the bits without a letter are never taken.
  EXPECT_EQ(FirstNewButton(0x0F | (1u << 12) | (1u << 21) | (1u << 25) | (1u << 31), 0), 0u);

  Open(CONFIG_ROW_KEYS);
  ASSERT_EQ(scene.state, CONFIG_KEYS);
  Down(2);  // "Shot"
  PressPad((1u << 7) | (1u << 14));
  EXPECT_EQ(gInput.buttonMask[BUTTON_SHOT], 1u << 14);
  EXPECT_EQ(scene.keyTable->rows[2], "Shot         D");
}

TEST_F(ConfigTest, AButtonOnTheBombRowAlsoBombs) {
  Open(CONFIG_ROW_KEYS);
  Down(4);
  PressPad(0x10);
  EXPECT_EQ(pressFrameRequests, std::vector<int>{SE_OK});
  EXPECT_EQ(gInput.buttonMask[BUTTON_BOMB], 0x10u);
  EXPECT_EQ(scene.keyTable->rows[4], "Bomb         A");
  // OK and Shot stay on the same button.
  EXPECT_EQ(gInput.buttonMask[BUTTON_OK], 0x10u);
  EXPECT_EQ(gInput.buttonMask[BUTTON_SHOT], 0x10u);
  // Skip is listed above Pause.
  Down(2);
  PressPad(1u << 30);
  EXPECT_EQ(gInput.buttonMask[BUTTON_SKIP], 1u << 30);
  EXPECT_EQ(gInput.buttonMask[BUTTON_PAUSE], 0x200u);
  EXPECT_EQ(scene.keyTable->rows[6], "Skip         W");
}

TEST_F(ConfigTest, KeysAreNeverAssignedAndCancelOnAButtonRowStays) {
  Open(CONFIG_ROW_KEYS);
  Down(1);  // "Cancel"
  Press(scene, KEY_X);
  Press(scene, KEY_C);
  EXPECT_EQ(scene.state, CONFIG_KEYS);
  EXPECT_TRUE(scene.keyTable->visible);
  for (int i = 0; i < kVirtualButtons; ++i) EXPECT_EQ(gInput.buttonMask[i], kDefaultButtonMask[i]);
  // The Cancel joypad button on that row is simply assigned again.
  PressPad(0x20);
  EXPECT_EQ(scene.state, CONFIG_KEYS);
  EXPECT_EQ(gInput.buttonMask[BUTTON_CANCEL], 0x20u);
}

TEST_F(ConfigTest, DefaultRestoresEveryMaskAndBackOrCancelCloses) {
  Open(CONFIG_ROW_KEYS);
  PressPad(1u << 24);  // OK now on P
  Down(1);
  PressPad(1u << 22);  // Cancel on N
  EXPECT_EQ(scene.keyTable->rows[0], "OK           P");
  Down(7);  // "Default"
  Press(scene, KEY_Z);
  EXPECT_TRUE(Requested(SE_OK));
  for (int i = 0; i < kVirtualButtons; ++i) EXPECT_EQ(gInput.buttonMask[i], kDefaultButtonMask[i]);
  EXPECT_EQ(scene.keyTable->rows[0], "OK           A");
  EXPECT_EQ(scene.state, CONFIG_KEYS);
  Press(scene, KEY_X);  // Cancel on "Default" closes
  EXPECT_EQ(scene.state, CONFIG_MAIN);
  EXPECT_FALSE(scene.keyTable->visible);

  Press(scene, KEY_Z);  // the main menu still points at "Key Config"
  ASSERT_EQ(scene.state, CONFIG_KEYS);
  EXPECT_EQ(scene.keyTable->cursor, kKeyRowDefault);
  Down(1);
  Press(scene, KEY_Z);  // "Back"
  EXPECT_EQ(scene.state, CONFIG_MAIN);
}

TEST_F(ConfigTest, LeavingReturnsToTheTitleAndWritesBothFiles) {
  Open(CONFIG_ROW_KEYS);
  Down(5);
  PressPad(1u << 26);  // Slow on S
  Down(4);
  Press(scene, KEY_Z);  // Back
  Press(scene, KEY_UP);
  Press(scene, KEY_Z);  // "SE Volume"
  Press(scene, KEY_DOWN);
  Press(scene, KEY_Z);
  EXPECT_EQ(gSound.seVolume, 90);
  Press(scene, KEY_X);
  EXPECT_TRUE(scene.leaving);
  EXPECT_TRUE(Requested(SE_CANCEL));
  EXPECT_GT(FramesUntilDone(scene), 0);
  std::unique_ptr<Scene> next = TakeNext(scene);
  EXPECT_NE(dynamic_cast<Scene_Title*>(next.get()), nullptr);
  scene.terminate();

  uint32_t masks[8] = {};
  const std::vector<uint8_t> keys = FileBytes("keyconfig.dat");
  ASSERT_TRUE(DecodeKeyConfig(keys.data(), keys.size(), masks));
  EXPECT_EQ(masks[BUTTON_SLOW], 1u << 26);
  EXPECT_EQ(masks[BUTTON_OK], 0x10u);
  const std::vector<uint8_t> settings = FileBytes("setting.dat");
  ASSERT_EQ(settings.size(), 8u);
  EXPECT_EQ(settings[0], 100);  // music
  EXPECT_EQ(settings[4], 90);   // effects
  EXPECT_FALSE(std::filesystem::exists("keyconfig.dat.tmp"));
  EXPECT_FALSE(std::filesystem::exists("setting.dat.tmp"));
}

TEST_F(ConfigTest, LeavingUnchangedStillWritesTheDefaults) {
  Press(scene, KEY_X);
  EXPECT_GT(FramesUntilDone(scene), 0);
  TakeNext(scene);
  scene.terminate();
  uint32_t masks[8] = {};
  const std::vector<uint8_t> keys = FileBytes("keyconfig.dat");
  ASSERT_TRUE(DecodeKeyConfig(keys.data(), keys.size(), masks));
  for (int i = 0; i < kVirtualButtons; ++i) EXPECT_EQ(masks[i], kDefaultButtonMask[i]);
  EXPECT_EQ(FileBytes("setting.dat").size(), 8u);
}

}  // namespace
