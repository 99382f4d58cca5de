// The music list "Sounds/BGM/BGM.tsv": how lines, fields and comments split.
#include <gtest/gtest.h>

#include <string>

#include "app/BgmList.h"
#include "support/TempWorkDir.h"

namespace {

std::vector<BgmEntry> Parse(const std::string& text) {
  return ParseBgmList(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(BgmList, ReadsNameLoopPointAndTitlePerLine) {
  const auto list = Parse("title.ogg\t44100\tMorning Over Velmora\nstage1.ogg\t123\tFirst\n");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path, "Sounds/BGM/title.ogg");
  EXPECT_EQ(list[0].loopPoint, 44100);
  EXPECT_EQ(list[0].title, "Morning Over Velmora");
  EXPECT_EQ(list[1].path, "Sounds/BGM/stage1.ogg");
  EXPECT_EQ(list[1].loopPoint, 123);
  EXPECT_EQ(list[1].title, "First");
}

TEST(BgmList, CrLfEndingsGiveTheSameList) {
  const auto lf = Parse("a.ogg\t10\tA\nb.ogg\t20\tB\n");
  const auto crlf = Parse("a.ogg\t10\tA\r\nb.ogg\t20\tB\r\n");
  ASSERT_EQ(crlf.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(crlf[i].path, lf[i].path);
    EXPECT_EQ(crlf[i].loopPoint, lf[i].loopPoint);
    EXPECT_EQ(crlf[i].title, lf[i].title);
  }
  // A line of two fields ends at the CR: no stray CR in the loop point.
  const auto two = Parse("c.ogg\t77\r\n");
  ASSERT_EQ(two.size(), 1u);
  EXPECT_EQ(two[0].loopPoint, 77);
  EXPECT_EQ(two[0].title, "");
}

TEST(BgmList, CommentLinesAndEmptyLinesAreSkipped) {
  const auto list = Parse(
      "// file\tloop\ttitle\r\n"
      "\r\n"
      "a.ogg\t1\tA\r\n"
      "/ a.ogg is the title tune\n"
      "\n"
      "\tlost.ogg\t5\n"
      "b.ogg\t2\tB\n");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path, "Sounds/BGM/a.ogg");
  EXPECT_EQ(list[1].path, "Sounds/BGM/b.ogg");
  EXPECT_EQ(list[1].loopPoint, 2);
}

TEST(BgmList, CommentInsideAFieldRestartsThatFieldOnTheNextLine) {
  // The title field is cut by the comment and read again from the next line.
  const auto list = Parse("a.ogg\t9\t/note\nReal Title\n");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, "Sounds/BGM/a.ogg");
  EXPECT_EQ(list[0].loopPoint, 9);
  EXPECT_EQ(list[0].title, "Real Title");
}

TEST(BgmList, LastLineWithoutLineEnd) {
  // Two fields and no line end: lost.
  auto list = Parse("a.ogg\t1\tA\nb.ogg\t2");
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].path, "Sounds/BGM/a.ogg");
  // The third field ends at the end of the file, which completes the entry.
  list = Parse("a.ogg\t1\tA\nb.ogg\t2\tB");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].title, "B");
}

TEST(BgmList, EntryCompletesAtTheThirdFieldEvenMidLine) {
  const auto list = Parse("a.ogg\t1\tA\tb.ogg\t2\tB\n");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].path, "Sounds/BGM/b.ogg");
  EXPECT_EQ(list[1].loopPoint, 2);
}

TEST(BgmList, OverlongFieldsAreCutAndTheLineStaysInStep) {
  const std::string longName(100, 'n');
  const std::string longTitle(200, 't');
  const auto list = Parse(longName + "\t" + "5\t" + longTitle + "\nb.ogg\t6\tB\n");
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].path, "Sounds/BGM/" + std::string(63, 'n'));
  EXPECT_EQ(list[0].loopPoint, 5);
  EXPECT_EQ(list[0].title, std::string(63, 't'));
  EXPECT_EQ(list[1].path, "Sounds/BGM/b.ogg");
  EXPECT_EQ(list[1].loopPoint, 6);
}

TEST(BgmList, LoopPointsReadAsDecimalPrefix) {
  const auto list =
      Parse("a.ogg\t 250x\tA\nb.ogg\t\tB\nc.ogg\t99999999999\tC\nd.ogg\t-3\tD\ne.ogg\n");
  ASSERT_EQ(list.size(), 5u);
  EXPECT_EQ(list[0].loopPoint, 250);
  EXPECT_EQ(list[1].loopPoint, 0);
  EXPECT_EQ(list[2].loopPoint, 2147483647);  // stops at the 32-bit end
  EXPECT_EQ(list[3].loopPoint, -3);
  // A line with no loop point starts from the top, whatever the line before had.
  EXPECT_EQ(list[4].loopPoint, 0);
}

TEST(BgmList, ReadFromTheDataDirectory) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  EXPECT_TRUE(ReadBgmList().empty());  // missing file: empty list
  WriteBytes("Sounds/BGM/BGM.tsv", "title.ogg\t1000\tT\r\nstage.ogg\t2000\tS\r\n");
  const auto list = ReadBgmList();
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].path, "Sounds/BGM/stage.ogg");
  EXPECT_EQ(list[1].loopPoint, 2000);
}

}  // namespace
