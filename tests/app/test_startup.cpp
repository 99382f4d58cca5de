// The start-up steps on the headless backend: the screen-mode answer, the
// window settings and the archive settings that follow the engine's start.
#include <gtest/gtest.h>
#include <zip.h>

#include <filesystem>
#include <string>

#include "app/Startup.h"
#include "engine/Backend.h"
#include "engine/Engine.h"
#include "engine/Headless.h"

namespace {

class StartupTest : public ::testing::Test {
 protected:
  void SetUp() override {
    engine::headless::Use();
    engine::Settings() = engine::WindowSettings{};
  }
  void TearDown() override {
    EngineEnd();
    SetArchiveExtension(nullptr);
    SetArchiveKey(nullptr);
  }
};

TEST_F(StartupTest, AnsweringNoAsksForAWindowOf640By480) {
  engine::headless::SetAnswer(false);
  ASSERT_EQ(StartEngine(), 0);
  const engine::WindowSettings& s = engine::Settings();
  EXPECT_TRUE(s.windowed);
  EXPECT_EQ(s.width, 640);
  EXPECT_EQ(s.height, 480);
  EXPECT_EQ(s.colorBits, 32);
  EXPECT_EQ(s.refreshRate, 60);
  EXPECT_EQ(s.iconId, 101);
  EXPECT_EQ(s.titleUtf8, "Velmora 体験版");
  EXPECT_TRUE(s.runWhenInactive);
  EXPECT_EQ(s.textureFilter, 2);
  EXPECT_FALSE(s.engineLog);
  EXPECT_TRUE(engine::EngineIsUp());
}

TEST_F(StartupTest, AnsweringYesKeepsFullScreen) {
  engine::headless::SetAnswer(true);
  ASSERT_EQ(StartEngine(), 0);
  EXPECT_FALSE(engine::Settings().windowed);
}

TEST_F(StartupTest, DataArchivesAreReadWithTheGameKeyAfterStartUp) {
  char pattern[] = "/tmp/velmora-startup-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::string root = pattern;
  const auto old = std::filesystem::current_path();
  std::filesystem::current_path(root);
  // An archive the way the packer writes it: "Data.dat" holding "a.csv".
  int error = 0;
  zip_t* z = zip_open("Data.dat", ZIP_CREATE | ZIP_TRUNCATE, &error);
  ASSERT_NE(z, nullptr);
  static const char kText[] = "1,2,3";
  const zip_int64_t i = zip_file_add(z, "a.csv", zip_source_buffer(z, kText, 5, 0), 0);
  ASSERT_GE(i, 0);
  zip_file_set_encryption(z, static_cast<zip_uint64_t>(i), ZIP_EM_AES_256, "qtvz@R27");
  ASSERT_EQ(zip_close(z), 0);

  const int64_t before = DataFileSize("Data/a.csv");
  ASSERT_EQ(StartEngine(), 0);
  const int64_t after = DataFileSize("Data/a.csv");
  std::filesystem::current_path(old);
  std::filesystem::remove_all(root);
  EXPECT_EQ(before, -1);
  EXPECT_EQ(after, 5);
}

}  // namespace
