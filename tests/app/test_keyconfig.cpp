// "keyconfig.dat": load, save, and what is ignored.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "SpineFixture.h"
#include "app/KeyConfig.h"

namespace {

namespace fs = std::filesystem;

class KeyConfigTest : public SpineTest {
 protected:
  void SetUp() override {
    SpineTest::SetUp();
    oldDir = fs::current_path();
    dir = fs::path(testing::TempDir()) /
          ("velmora_keys_" +
           std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    fs::current_path(dir);
  }
  void TearDown() override {
    fs::current_path(oldDir);
    std::error_code ec;
    fs::permissions(dir, fs::perms::owner_all, ec);
    fs::remove_all(dir);
    SpineTest::TearDown();
  }
  static void WriteBytes(const std::vector<uint8_t>& bytes) {
    std::ofstream f(kKeyConfigPath, std::ios::binary);
    f.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  }
  static std::vector<uint8_t> ReadBytes() {
    std::ifstream f(kKeyConfigPath, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
  }
  static std::vector<uint32_t> Masks() {
    return std::vector<uint32_t>(gInput.buttonMask, gInput.buttonMask + kVirtualButtons);
  }
  static std::vector<uint32_t> Defaults() {
    return std::vector<uint32_t>(kDefaultButtonMask, kDefaultButtonMask + kVirtualButtons);
  }
  fs::path oldDir;
  fs::path dir;
};

TEST_F(KeyConfigTest, SaveWritesEightLittleEndianMasksAndLoadReadsThemBack) {
  gInput.buttonMask[BUTTON_BOMB] = 0x4000;
  gInput.buttonMask[BUTTON_SKIP] = 0x80000000u;
  gInput.SaveKeyConfig();
  const std::vector<uint8_t> bytes = ReadBytes();
  ASSERT_EQ(bytes.size(), 32u);
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin(), bytes.begin() + 4),
            (std::vector<uint8_t>{0x10, 0, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 16, bytes.begin() + 20),
            (std::vector<uint8_t>{0x00, 0x40, 0, 0}));
  EXPECT_EQ(std::vector<uint8_t>(bytes.begin() + 28, bytes.end()),
            (std::vector<uint8_t>{0, 0, 0, 0x80}));
  EXPECT_FALSE(fs::exists(std::string(kKeyConfigPath) + ".tmp"));

  const std::vector<uint32_t> saved = Masks();
  gInput.RestoreDefaultButtons();
  gInput.LoadKeyConfig();
  EXPECT_EQ(Masks(), saved);
}

TEST_F(KeyConfigTest, FileOfAnyOtherSizeIsIgnoredAndKeptAsItIs) {
  for (size_t size : {0u, 4u, 31u, 33u, 64u}) {
    WriteBytes(std::vector<uint8_t>(size, 0xFF));
    gInput.RestoreDefaultButtons();
    gInput.LoadKeyConfig();
    EXPECT_EQ(Masks(), Defaults()) << size;
    EXPECT_EQ(ReadBytes().size(), size);  // not rewritten by loading
  }
  fs::remove(kKeyConfigPath);
  gInput.LoadKeyConfig();
  EXPECT_EQ(Masks(), Defaults());
}

TEST_F(KeyConfigTest, SaveIsSkippedDuringPlaybackAndWhenItCannotBeWritten) {
  gInput.replayMode = REPLAY_PLAYING;
  gInput.SaveKeyConfig();
  EXPECT_FALSE(fs::exists(kKeyConfigPath));
  gInput.replayMode = REPLAY_OFF;

  // A directory in the way of the file: nothing written, nothing thrown.
  fs::create_directory(kKeyConfigPath);
  gInput.SaveKeyConfig();
  EXPECT_TRUE(fs::is_directory(kKeyConfigPath));
  fs::remove(kKeyConfigPath);

  // The previous file survives a save into a read-only directory.
  WriteBytes(std::vector<uint8_t>(32, 0x01));
  fs::permissions(dir, fs::perms::owner_read | fs::perms::owner_exec);
  gInput.buttonMask[0] = 0x8000;
  gInput.SaveKeyConfig();
  fs::permissions(dir, fs::perms::owner_all);
  if (::geteuid() != 0) {  // root writes anyway
    EXPECT_EQ(ReadBytes(), std::vector<uint8_t>(32, 0x01));
  }
}

TEST(KeyConfigCodec, DecodeTakesExactly32Bytes) {
  uint32_t masks[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  uint8_t bytes[32];
  EncodeKeyConfig(masks, bytes);
  uint32_t back[8] = {};
  EXPECT_TRUE(DecodeKeyConfig(bytes, 32, back));
  EXPECT_EQ(std::vector<uint32_t>(back, back + 8), std::vector<uint32_t>(masks, masks + 8));
  uint32_t untouched[8] = {9, 9, 9, 9, 9, 9, 9, 9};
  EXPECT_FALSE(DecodeKeyConfig(bytes, 31, untouched));
  EXPECT_FALSE(DecodeKeyConfig(nullptr, 32, untouched));
  EXPECT_EQ(untouched[0], 9u);
}

TEST(KeyConfigCodec, ButtonLettersBySingleBit) {
  EXPECT_EQ(ButtonLetter(0x10), 'A');
  EXPECT_EQ(ButtonLetter(0x20), 'B');
  EXPECT_EQ(ButtonLetter(0x40), 'C');
  EXPECT_EQ(ButtonLetter(1u << 7), 'X');
  EXPECT_EQ(ButtonLetter(1u << 9), 'Z');
  EXPECT_EQ(ButtonLetter(1u << 11), 'R');
  EXPECT_EQ(ButtonLetter(1u << 14), 'D');
  EXPECT_EQ(ButtonLetter(1u << 30), 'W');
  // No bit, several bits, the directions and the unlettered bits: a blank.
  for (uint32_t mask : {0u, 0x30u, 0x1u, 0x8u, 1u << 12, 1u << 21, 1u << 25, 1u << 31}) {
    EXPECT_EQ(ButtonLetter(mask), ' ') << mask;
  }
}

}  // namespace
