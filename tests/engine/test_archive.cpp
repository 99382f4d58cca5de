// The archive reader on its own: listing, keys, and damaged archives, which
// must fail without crashing and never hand out altered data.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/Archive.h"
#include "test_archive_helpers.h"

namespace {

using engine::Archive;
using testing_archive::ReadBytes;
using testing_archive::ScratchDir;
using testing_archive::WriteZip;

std::vector<uint8_t> makeArchive(const testing_archive::Members& members, const char* key) {
  ScratchDir dir;
  EXPECT_TRUE(WriteZip("a.zip", members, key));
  return ReadBytes("a.zip");
}

std::string asText(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

TEST(ArchiveTest, ListsFilesAndReadsThemWithTheKey) {
  const auto bytes = makeArchive({{"one.txt", "first"}, {"dir/two.txt", "second member"}}, "k3y");
  auto archive = Archive::OpenMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);

  const auto members = archive->Members();
  ASSERT_EQ(members.size(), 2u);
  EXPECT_EQ(members[0].name, "one.txt");
  EXPECT_EQ(members[0].size, 5);
  EXPECT_EQ(members[1].name, "dir/two.txt");

  std::vector<uint8_t> out;
  ASSERT_TRUE(archive->Read("dir/two.txt", "k3y", out));
  EXPECT_EQ(asText(out), "second member");
  EXPECT_EQ(archive->MemberSize("one.txt", "k3y"), 5);

  EXPECT_FALSE(archive->Read("dir/two.txt", "K3Y", out));
  EXPECT_TRUE(out.empty());
  EXPECT_FALSE(archive->Read("dir/two.txt", nullptr, out));
  EXPECT_EQ(archive->MemberSize("one.txt", "nope"), -1);
  EXPECT_FALSE(archive->Read("three.txt", "k3y", out));
  EXPECT_FALSE(archive->Read("dir/", "k3y", out));
  EXPECT_EQ(archive->MemberSize("", "k3y"), -1);
}

TEST(ArchiveTest, PlainMembersReadWithOrWithoutAKey) {
  const auto bytes = makeArchive({{"plain.txt", "open"}}, nullptr);
  auto archive = Archive::OpenMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);
  std::vector<uint8_t> out;
  EXPECT_TRUE(archive->Read("plain.txt", nullptr, out));
  EXPECT_EQ(asText(out), "open");
  EXPECT_TRUE(archive->Read("plain.txt", "any", out));
  EXPECT_EQ(asText(out), "open");
}

TEST(ArchiveTest, NotAnArchive) {
  const std::string junk = "PK\x05\x06 but nothing else of a zip file";
  EXPECT_FALSE(Archive::OpenMemory(reinterpret_cast<const uint8_t*>(junk.data()), junk.size()));
  // An empty file is an archive with nothing in it.
  auto empty = Archive::OpenMemory(reinterpret_cast<const uint8_t*>(""), 0);
  if (empty) {
    EXPECT_TRUE(empty->Members().empty());
    std::vector<uint8_t> out;
    EXPECT_FALSE(empty->Read("a", nullptr, out));
  }
  EXPECT_FALSE(Archive::OpenFile("/nonexistent/velmora/archive.dat"));
}

// Every cut of an archive and every single-byte change either fails or
// gives back exactly the stored bytes.
TEST(ArchiveTest, EveryTruncationAndByteFlipFailsOrReadsTrueData) {
  std::string text;
  for (uint32_t v = 7; text.size() < 120; v = v * 1103515245u + 12345u) text += char(v >> 24);
  const auto good = makeArchive({{"m.bin", text}}, "key");
  std::vector<uint8_t> out;

  for (size_t len = 0; len < good.size(); ++len) {
    std::vector<uint8_t> cut(good.begin(), good.begin() + static_cast<long>(len));
    auto archive = Archive::OpenMemory(cut.data(), cut.size());
    if (archive && archive->Read("m.bin", "key", out)) {
      EXPECT_EQ(asText(out), text) << "cut at " << len;
    }
  }

  int refused = 0;
  for (size_t at = 0; at < good.size(); ++at) {
    std::vector<uint8_t> bad = good;
    bad[at] ^= 0x5A;
    auto archive = Archive::OpenMemory(bad.data(), bad.size());
    if (archive && archive->Read("m.bin", "key", out)) {
      EXPECT_EQ(asText(out), text) << "byte " << at << " changed";
    } else {
      ++refused;
    }
  }
  // Most bytes matter: the salt, the data, the code and the headers.
  EXPECT_GT(refused, static_cast<int>(good.size()) / 2);
}

}  // namespace
