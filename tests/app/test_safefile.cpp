// Write-then-rename of the game's own files.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <string>

#include "app/SafeFile.h"
#include "support/TempWorkDir.h"

namespace {

TEST(SafeFile, WritesReadsAndReplacesWhole) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  EXPECT_EQ(LocalFileSize("a.dat"), -1);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(ReadLocalFile("a.dat", bytes, 100));
  WriteBytes("a.dat", std::string(100, 'x'));
  ASSERT_TRUE(WriteLocalFileAtomic("a.dat", "abc", 3));
  EXPECT_EQ(ReadBytes("a.dat"), "abc");  // the longer old file is gone entirely
  EXPECT_EQ(LocalFileSize("a.dat"), 3);
  EXPECT_FALSE(std::filesystem::exists("a.dat.tmp"));
  ASSERT_TRUE(ReadLocalFile("a.dat", bytes, 3));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "abc");
  EXPECT_FALSE(ReadLocalFile("a.dat", bytes, 2));  // over the limit
  EXPECT_TRUE(bytes.empty());
  std::filesystem::create_directory("folder");
  EXPECT_EQ(LocalFileSize("folder"), -1);
}

TEST(SafeFile, FailedWriteLeavesTheOldFileIntact) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  WriteBytes("a.dat", "old");
  // The temporary's name is taken by a folder: the write cannot start.
  std::filesystem::create_directory("a.dat.tmp");
  EXPECT_FALSE(WriteLocalFileAtomic("a.dat", "new", 3));
  EXPECT_EQ(ReadBytes("a.dat"), "old");
}

TEST(SafeFile, UnwritableDirectoryLeavesTheOldFileIntact) {
  if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  WriteBytes("a.dat", "old");
  ASSERT_EQ(chmod(".", 0555), 0);
  EXPECT_FALSE(WriteLocalFileAtomic("a.dat", "new", 3));
  chmod(".", 0755);
  EXPECT_EQ(ReadBytes("a.dat"), "old");
  EXPECT_FALSE(std::filesystem::exists("a.dat.tmp"));
}

TEST(SafeFile, KeepAsMovesTheBytesAsideAndNeverOverAnEarlierBackup) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  EXPECT_FALSE(KeepLocalFileAs("a.dat", "a.dat.bak"));
  WriteBytes("a.dat", "precious");
  ASSERT_TRUE(KeepLocalFileAs("a.dat", "a.dat.bak"));
  EXPECT_FALSE(std::filesystem::exists("a.dat"));
  EXPECT_EQ(ReadBytes("a.dat.bak"), "precious");
  WriteBytes("a.dat", "also precious");
  ASSERT_TRUE(KeepLocalFileAs("a.dat", "a.dat.bak"));
  EXPECT_EQ(ReadBytes("a.dat.bak"), "precious");
  EXPECT_EQ(ReadBytes("a.dat.bak.2"), "also precious");
}

TEST(SafeFile, TemporariesOfASaveKilledHalfwayAreRemoved) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  WriteBytes("a.dat", "whole");
  WriteBytes("a.dat.tmp", "half");
  std::filesystem::create_directory("replay");
  WriteBytes("replay/x.vmr.tmp", "half");
  WriteBytes("replay/x.vmr", "whole");
  WriteBytes("replay/notes.tmp", "not ours");
  RemoveInterruptedSave("a.dat");
  RemoveInterruptedSave("absent.dat");
  RemoveInterruptedSaves("replay", ".vmr");
  RemoveInterruptedSaves("absent", ".vmr");
  EXPECT_FALSE(std::filesystem::exists("a.dat.tmp"));
  EXPECT_FALSE(std::filesystem::exists("replay/x.vmr.tmp"));
  EXPECT_EQ(ReadBytes("a.dat"), "whole");
  EXPECT_EQ(ReadBytes("replay/x.vmr"), "whole");
  EXPECT_EQ(ReadBytes("replay/notes.tmp"), "not ours");
}

}  // namespace
