// The archive reader on its own: listing, keys, and damaged archives, which
// must fail without crashing and never hand out altered data.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <utility>
#include <vector>

#include "engine/Archive.h"
#include "test_archive_helpers.h"

namespace {

using engine::Archive;
using testing_archive::ReadBytes;
using testing_archive::ScratchDir;
using testing_archive::WriteText;
using testing_archive::WriteZip;

constexpr const char* kKey = "qtvz@R27";

std::vector<uint8_t> makeArchive(const testing_archive::Members& members, const char* key) {
  ScratchDir dir;
  EXPECT_TRUE(WriteZip("a.zip", members, key));
  return ReadBytes("a.zip");
}

std::string asText(const std::vector<uint8_t>& bytes) { return {bytes.begin(), bytes.end()}; }

std::string noise(size_t size) {
  std::string text;
  for (uint32_t v = 7; text.size() < size; v = v * 1103515245u + 12345u) text += char(v >> 24);
  return text;
}

std::string prose() {
  std::string text;
  while (text.size() < 4000) text += "the ship climbs through the falling light\n";
  return text;
}

// The first member reads back as text, and a changed byte in its encrypted
// data or in its authentication code (the last ten stored bytes) is refused.
void expectFirstMemberAuthenticated(const std::vector<uint8_t>& good, const std::string& name,
                                    const std::string& text) {
  auto le = [&](size_t at, int bytes) {
    size_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = v << 8 | good[at + static_cast<size_t>(i)];
    return v;
  };
  // Local header: stored size at 18, name and extra-field lengths at 26, 28.
  const size_t start = 30 + le(26, 2) + le(28, 2);
  const size_t end = start + le(18, 4);
  ASSERT_LE(end, good.size());
  std::vector<uint8_t> out;
  {
    auto archive = Archive::OpenMemory(good.data(), good.size());
    ASSERT_TRUE(archive);
    ASSERT_TRUE(archive->Read(name, kKey, out)) << name;
    EXPECT_EQ(asText(out), text) << name;
  }
  for (const size_t at : {(start + end) / 2, end - 4}) {
    std::vector<uint8_t> bad = good;
    bad[at] ^= 0x01;
    auto archive = Archive::OpenMemory(bad.data(), bad.size());
    ASSERT_TRUE(archive);
    EXPECT_FALSE(archive->Read(name, kKey, out)) << name << ": byte " << at - start << " changed";
    EXPECT_TRUE(out.empty());
  }
}

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

// 7-Zip writes AES members in the "AE-2" form, with no CRC, and stores what
// does not compress (pictures, sounds) rather than deflating it.
TEST(ArchiveTest, ArchivesMadeBy7ZipRead) {
  ScratchDir dir;
  const std::string stored = noise(3000), deflated = prose();
  WriteText("in/noise.bin", stored);
  WriteText("in/text.txt", deflated);
  WriteText("in/tiny.txt", "hi");
  ASSERT_EQ(std::system("cd in && 7z a -tzip -mem=AES256 -pqtvz@R27 ../a.zip "
                        "noise.bin text.txt tiny.txt >/dev/null"),
            0)
      << "needs 7z (p7zip-full)";
  const auto bytes = ReadBytes("a.zip");
  expectFirstMemberAuthenticated(bytes, "noise.bin", stored);

  auto archive = Archive::OpenMemory(bytes.data(), bytes.size());
  ASSERT_TRUE(archive);
  std::vector<uint8_t> out;
  ASSERT_TRUE(archive->Read("text.txt", kKey, out));
  EXPECT_EQ(asText(out), deflated);
  ASSERT_TRUE(archive->Read("tiny.txt", kKey, out));
  EXPECT_EQ(asText(out), "hi");
  EXPECT_EQ(archive->MemberSize("noise.bin", kKey), 3000);
  EXPECT_FALSE(archive->Read("noise.bin", "qtvz@R28", out));
}

// The packer's deflated members carry a CRC too, which does not stop a
// changed authentication code from being noticed.
TEST(ArchiveTest, PackerArchivesAreAuthenticated) {
  expectFirstMemberAuthenticated(makeArchive({{"text.txt", prose()}}, kKey), "text.txt", prose());
}

// Every cut of an archive and every single-byte change either fails or
// gives back exactly the stored bytes.
TEST(ArchiveTest, EveryTruncationAndByteFlipFailsOrReadsTrueData) {
  const std::string text = noise(120);
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
