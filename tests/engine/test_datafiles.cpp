// Data files as the game reads them: from the folders in the working
// directory, and from the encrypted archives that may stand in for them.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "engine/Backend.h"
#include "engine/DataFiles.h"
#include "engine/Engine.h"
#include "test_archive_helpers.h"

namespace {

using testing_archive::ReadBytes;
using testing_archive::ScratchDir;
using testing_archive::WriteText;
using testing_archive::WriteZip;

constexpr const char* kKey = "qtvz@R27";

class DataFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    SetArchiveExtension("dat");
    SetArchiveKey(kKey);
  }
  void TearDown() override {
    engine::ReleaseDataFiles();
    SetArchiveExtension(nullptr);
    SetArchiveKey(nullptr);
  }

  static std::string readAll(int handle) {
    std::string text;
    char buffer[7];
    int64_t n;
    while ((n = ReadDataFile(buffer, sizeof buffer, handle)) > 0) text.append(buffer, n);
    return text;
  }

  static std::vector<std::string> search(const char* pattern) {
    std::vector<std::string> names;
    DataFileInfo info;
    const int h = FindFirstDataFile(pattern, &info);
    if (h == -1) return names;
    do {
      names.emplace_back(info.name);
    } while (FindNextDataFile(h, &info) == 0);
    EXPECT_EQ(FindNextDataFile(h, &info), -1);  // stays finished
    EXPECT_EQ(FindCloseDataFile(h), 0);
    return names;
  }

  ScratchDir dir_;
};

TEST_F(DataFilesTest, FolderFileReadsSeeksAndEnds) {
  WriteText("Data/table.csv", "0123456789");
  EXPECT_EQ(DataFileSize("Data/table.csv"), 10);
  const int h = OpenDataFile("Data/table.csv");
  ASSERT_GT(h, 0);

  char buf[4] = {};
  EXPECT_EQ(ReadDataFile(buf, 3, h), 3);
  EXPECT_EQ(std::string(buf, 3), "012");
  EXPECT_EQ(ReadDataChar(h), '3');
  EXPECT_EQ(SeekDataFile(h, 2, 1), 0);  // from here
  EXPECT_EQ(ReadDataChar(h), '6');
  EXPECT_EQ(SeekDataFile(h, -2, 2), 0);  // from the end
  EXPECT_EQ(ReadDataChar(h), '8');
  EXPECT_EQ(DataFileAtEnd(h), 0);
  EXPECT_EQ(ReadDataChar(h), '9');
  EXPECT_NE(DataFileAtEnd(h), 0);
  EXPECT_EQ(ReadDataChar(h), -1);
  EXPECT_EQ(ReadDataFile(buf, 4, h), 0);

  // Seeks outside the file stop at its ends.
  EXPECT_EQ(SeekDataFile(h, -100, 1), 0);
  EXPECT_EQ(ReadDataChar(h), '0');
  EXPECT_EQ(SeekDataFile(h, 100, 0), 0);
  EXPECT_NE(DataFileAtEnd(h), 0);
  EXPECT_EQ(SeekDataFile(h, 0, 7), -1);  // no such origin
  EXPECT_EQ(SeekDataFile(h, 4, 0), 0);
  EXPECT_EQ(readAll(h), "456789");  // a short last read returns what is left

  EXPECT_EQ(CloseDataFile(h), 0);
  EXPECT_EQ(CloseDataFile(h), -1);
  EXPECT_EQ(ReadDataChar(h), -1);
  EXPECT_EQ(ReadDataFile(buf, 1, h), -1);
  EXPECT_NE(DataFileAtEnd(h), 0);
  EXPECT_EQ(SeekDataFile(h, 0, 0), -1);
}

TEST_F(DataFilesTest, MissingFilesAndEmptyFiles) {
  EXPECT_EQ(DataFileSize("Data/none.csv"), -1);
  EXPECT_EQ(OpenDataFile("Data/none.csv"), 0);
  EXPECT_EQ(OpenDataFile(nullptr), 0);
  EXPECT_EQ(OpenDataFile(""), 0);
  std::filesystem::create_directories("Data/folder");
  EXPECT_EQ(DataFileSize("Data/folder"), -1);  // a folder is not a data file
  EXPECT_EQ(OpenDataFile("Data/folder"), 0);

  WriteText("Data/empty.csv", "");
  EXPECT_EQ(DataFileSize("Data/empty.csv"), 0);
  const int h = OpenDataFile("Data/empty.csv");
  ASSERT_GT(h, 0);
  EXPECT_NE(DataFileAtEnd(h), 0);
  EXPECT_EQ(ReadDataChar(h), -1);
}

TEST_F(DataFilesTest, HandlesAreIndependentAndNotReused) {
  WriteText("Data/a.txt", "aaa");
  WriteText("Data/b.txt", "bb");
  const int a = OpenDataFile("Data/a.txt");
  const int b = OpenDataFile("Data/b.txt");
  ASSERT_GT(a, 0);
  ASSERT_GT(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(ReadDataChar(a), 'a');
  EXPECT_EQ(readAll(b), "bb");
  EXPECT_EQ(readAll(a), "aa");
  CloseDataFile(a);
  const int c = OpenDataFile("Data/a.txt");
  EXPECT_NE(c, a);
  EXPECT_EQ(ReadDataChar(a), -1);  // the closed handle stays dead
  EXPECT_EQ(ReadDataChar(c), 'a');
}

TEST_F(DataFilesTest, PathsThatLeaveTheWorkingDirectoryAreRefused) {
  WriteText("../outside.txt", "secret");
  WriteText("Data/inside.txt", "ok");
  EXPECT_EQ(OpenDataFile("../outside.txt"), 0);
  EXPECT_EQ(DataFileSize("../outside.txt"), -1);
  EXPECT_EQ(OpenDataFile("Data/../../outside.txt"), 0);
  EXPECT_EQ(OpenDataFile("Data/../inside.txt"), 0);  // ".." is refused outright
  const std::string absolute = dir_.root() + "/outside.txt";
  EXPECT_EQ(OpenDataFile(absolute.c_str()), 0);
  EXPECT_EQ(DataFileSize(absolute.c_str()), -1);
  DataFileInfo info;
  EXPECT_EQ(FindFirstDataFile("../*.txt", &info), -1);
  std::vector<uint8_t> bytes;
  EXPECT_FALSE(engine::ReadWholeDataFile("../outside.txt", bytes));

  // Harmless spellings of a path inside still work.
  EXPECT_EQ(DataFileSize("./Data//inside.txt"), 2);
}

TEST_F(DataFilesTest, ArchiveStandsInForAMissingFolder) {
  ASSERT_TRUE(
      WriteZip("Graphics.dat", {{"loading.png", "picture"}, {"Sub/deep.csv", "1,2,3"}}, kKey));
  EXPECT_EQ(DataFileSize("Graphics/loading.png"), 7);
  EXPECT_EQ(DataFileSize("Graphics/Sub/deep.csv"), 5);
  EXPECT_EQ(DataFileSize("Graphics/other.png"), -1);
  EXPECT_EQ(DataFileSize("Graphics.dat/loading.png"), -1);

  const int h = OpenDataFile("Graphics/Sub/deep.csv");
  ASSERT_GT(h, 0);
  EXPECT_EQ(SeekDataFile(h, 2, 0), 0);
  EXPECT_EQ(readAll(h), "2,3");
  EXPECT_NE(DataFileAtEnd(h), 0);

  std::vector<uint8_t> bytes;
  ASSERT_TRUE(engine::ReadWholeDataFile("Graphics/loading.png", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "picture");
}

TEST_F(DataFilesTest, FolderWinsOverArchive) {
  ASSERT_TRUE(WriteZip("Data.dat", {{"a.csv", "from archive"}, {"b.csv", "only archive"}}, kKey));
  WriteText("Data/a.csv", "from folder");
  EXPECT_EQ(DataFileSize("Data/a.csv"), 11);
  const int a = OpenDataFile("Data/a.csv");
  EXPECT_EQ(readAll(a), "from folder");
  const int b = OpenDataFile("Data/b.csv");
  EXPECT_EQ(readAll(b), "only archive");  // the folder lacks it
}

TEST_F(DataFilesTest, ArchiveNeedsTheRightKeyAndExtension) {
  ASSERT_TRUE(WriteZip("Data.dat", {{"a.csv", "abc"}}, kKey));
  std::vector<uint8_t> bytes;

  SetArchiveKey("wrongkey");
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
  EXPECT_FALSE(engine::ReadWholeDataFile("Data/a.csv", bytes));
  SetArchiveKey(nullptr);
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);

  SetArchiveKey(kKey);
  SetArchiveExtension("zip");
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
  SetArchiveExtension(std::string(64, 'd').c_str());  // too long: clears it
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
  SetArchiveExtension(std::string(63, 'd').c_str());
  std::filesystem::rename("Data.dat", "Data." + std::string(63, 'd'));
  EXPECT_EQ(DataFileSize("Data/a.csv"), 3);
  SetArchiveExtension(nullptr);
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
}

TEST_F(DataFilesTest, OnlyTwelveCharactersOfTheKeyCount) {
  ASSERT_TRUE(WriteZip("Data.dat", {{"a.csv", "abc"}}, "0123456789ab"));
  SetArchiveKey("0123456789abEXTRA");
  EXPECT_EQ(DataFileSize("Data/a.csv"), 3);
  SetArchiveKey("0123456789a");
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
}

TEST_F(DataFilesTest, DamagedArchivesFailCleanly) {
  // Varied bytes, so that compression leaves plenty of encrypted data.
  std::string text;
  for (uint32_t v = 1; text.size() < 3000; v = v * 1103515245u + 12345u) text += char(v >> 24);
  ASSERT_TRUE(WriteZip("Data.dat", {{"a.csv", text}}, kKey));
  const std::vector<uint8_t> good = ReadBytes("Data.dat");
  ASSERT_GT(good.size(), 200u);

  // Cut short: the directory at the end is gone.
  testing_archive::WriteBytes("Data.dat", good.data(), good.size() / 2);
  EXPECT_EQ(DataFileSize("Data/a.csv"), -1);
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);

  // Encrypted bytes altered: the authentication code no longer matches.
  std::vector<uint8_t> bad = good;
  bad[200] ^= 0x40;
  testing_archive::WriteBytes("Data.dat", bad.data(), bad.size());
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);

  testing_archive::WriteBytes("Data.dat", "", 0);
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);
  WriteText("Data.dat", "this is not an archive at all");
  EXPECT_EQ(OpenDataFile("Data/a.csv"), 0);
  DataFileInfo info;
  EXPECT_EQ(FindFirstDataFile("Data/*", &info), -1);
}

TEST_F(DataFilesTest, SearchCoversFolderAndArchiveInNameOrder) {
  WriteText("Data/Event/event2.csv", "folder two");
  WriteText("Data/Event/notes.txt", "n");
  std::filesystem::create_directories("Data/Event/old.csv");
  ASSERT_TRUE(WriteZip("Data.dat",
                       {{"Event/event1.csv", "a1"},
                        {"Event/event2.csv", "archive two"},
                        {"Event/EVENT3.CSV", "a3"},
                        {"Event/More/event9.csv", "a9"},
                        {"Stage/stage1.csv", "s"}},
                       kKey));

  EXPECT_EQ(search("Data/Event/*.csv"),
            (std::vector<std::string>{"EVENT3.CSV", "event1.csv", "event2.csv", "old.csv"}));
  EXPECT_EQ(search("Data/Event/event?.csv"),
            (std::vector<std::string>{"EVENT3.CSV", "event1.csv", "event2.csv"}));
  EXPECT_EQ(search("Data/Event/*"),
            (std::vector<std::string>{"EVENT3.CSV", "More", "event1.csv", "event2.csv", "notes.txt",
                                      "old.csv"}));
  EXPECT_EQ(search("Data/*"), (std::vector<std::string>{"Event", "Stage"}));
  EXPECT_TRUE(search("Data/Event/*.wav").empty());
  EXPECT_TRUE(search("Nothing/*").empty());

  // What the records say about each entry.
  DataFileInfo info;
  const int h = FindFirstDataFile("Data/Event/e*2.csv", &info);
  ASSERT_NE(h, -1);
  EXPECT_STREQ(info.name, "event2.csv");
  EXPECT_EQ(info.size, 10);  // the folder's copy
  EXPECT_FALSE(info.isDirectory);
  EXPECT_EQ(FindNextDataFile(h, &info), -1);
  FindCloseDataFile(h);
  ASSERT_NE(FindFirstDataFile("Data/Event/M*", &info), -1);
  EXPECT_TRUE(info.isDirectory);
  EXPECT_EQ(FindCloseDataFile(12345), -1);
  EXPECT_EQ(FindNextDataFile(12345, &info), -1);
}

// An installed game reads its data from a system folder while the working
// directory holds the player's files: folders, archives and searches all
// follow the data folder, and nothing is read from the working directory.
TEST_F(DataFilesTest, DataFolderElsewhereServesFoldersArchivesAndSearches) {
  WriteText("elsewhere/Data/Event/event1.csv", "from the data folder");
  ASSERT_TRUE(WriteZip("elsewhere/Graphics.dat", {{"loading.png", "picture"}}, kKey));
  WriteText("Data/Event/event1.csv", "working directory");
  WriteText("Data/Event/event2.csv", "working directory");
  const std::string folder = (std::filesystem::current_path() / "elsewhere").string();
  SetDataFolder(folder.c_str());
  std::vector<uint8_t> bytes;
  ASSERT_TRUE(engine::ReadWholeDataFile("Data/Event/event1.csv", bytes));
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "from the data folder");
  EXPECT_EQ(DataFileSize("Data/Event/event2.csv"), -1);
  EXPECT_EQ(DataFileSize("Graphics/loading.png"), 7);
  EXPECT_EQ(search("Data/Event/*.csv"), (std::vector<std::string>{"event1.csv"}));
  EXPECT_EQ(search("*"), (std::vector<std::string>{"Data", "Graphics.dat"}));
  SetDataFolder(nullptr);
  EXPECT_EQ(DataFileSize("Data/Event/event2.csv"), 17);
}

TEST(WildcardTest, StarsAndQuestionMarks) {
  using engine::MatchWildcard;
  EXPECT_TRUE(MatchWildcard("*", ""));
  EXPECT_TRUE(MatchWildcard("*.csv", "enemy1.csv"));
  EXPECT_TRUE(MatchWildcard("*.CSV", "enemy1.csv"));
  EXPECT_FALSE(MatchWildcard("*.csv", "enemy1.csv.bak"));
  EXPECT_TRUE(MatchWildcard("a*b*c", "aXbYbZc"));
  EXPECT_FALSE(MatchWildcard("a*b*c", "aXbYbZ"));
  EXPECT_TRUE(MatchWildcard("stage?.csv", "stage7.csv"));
  EXPECT_FALSE(MatchWildcard("stage?.csv", "stage10.csv"));
  EXPECT_TRUE(MatchWildcard("**x", "x"));
  EXPECT_FALSE(MatchWildcard("", "x"));
}

}  // namespace
