// Animation tables: read by the rules the game's loader follows, and checked
// against the picture each one cuts into cells.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <sstream>
#include <vector>

#include "content/test_pictures_support.h"

using namespace picture_test;

namespace {

struct Table {
  int header[7] = {};
  std::vector<int> durations;
};

// Fields end at commas, line feeds and the end of the text; '/' comments to the
// end of the line and restarts the current section; the seven header fields
// must share the first non-comment line.
std::optional<Table> ParseAnime(const std::string& text) {
  Table t;
  int headerRead = 0;
  size_t dataIndex = 0;
  std::string field;
  bool sawField = false;
  auto finish = [&]() -> bool {
    if (!sawField) return true;
    int v = std::atoi(field.c_str());
    field.clear();
    sawField = false;
    if (headerRead < 7) {
      t.header[headerRead++] = v;
      if (headerRead == 7) t.durations.assign(size_t(std::max(0, t.header[6])), 0);
    } else {
      if (dataIndex < t.durations.size()) t.durations[dataIndex] = v;
      ++dataIndex;
    }
    return true;
  };
  for (size_t i = 0; i < text.size(); ++i) {
    char c = text[i];
    if (c == '/') {
      while (i < text.size() && text[i] != '\n') ++i;
      field.clear();
      sawField = false;
      if (headerRead < 7) {
        headerRead = 0;
      } else {
        dataIndex = 0;
      }
      continue;
    }
    if (c == ',' || c == '\n') {
      finish();
      if (c == '\n' && headerRead > 0 && headerRead < 7) return std::nullopt;
      continue;
    }
    field += c;
    sawField = true;
  }
  finish();
  if (headerRead < 7) return std::nullopt;
  return t;
}

TEST(PicturesAnime, ParserFollowsTheFormat) {
  EXPECT_FALSE(ParseAnime("64,64,32,32,4\n2,8\n3,3").has_value());
  auto t = ParseAnime("/ note\n8,8,4,4,2,1,2\n5,6\n/ again\n7\n");
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->durations, (std::vector<int>{7, 6}));
}

TEST(PicturesAnime, TablesMatchTheirPictures) {
  int found = 0;
  for (int n = 1; n <= 30; ++n) {
    std::ifstream in(GraphicsPath("anime" + std::to_string(n) + ".csv"), std::ios::binary);
    if (!in) continue;
    ++found;
    SCOPED_TRACE("anime" + std::to_string(n));
    std::stringstream s;
    s << in.rdbuf();
    auto t = ParseAnime(s.str());
    ASSERT_TRUE(t.has_value()) << "table does not parse";
    int cw = t->header[0], ch = t->header[1], ox = t->header[2], oy = t->header[3];
    int cols = t->header[4], rows = t->header[5], cells = t->header[6];
    EXPECT_GT(cells, 0);
    EXPECT_LE(cells, cols * rows);
    EXPECT_TRUE(ox >= 0 && ox <= cw && oy >= 0 && oy <= ch) << "origin outside the cell";
    Picture p = ReadGraphic("anime" + std::to_string(n) + ".png");
    ASSERT_TRUE(p.ok()) << "picture missing";
    EXPECT_EQ(p.w, cols * cw);
    EXPECT_EQ(p.h, rows * ch);
    for (int k = 0; k < cells; ++k) {
      EXPECT_GT(t->durations[size_t(k)], 0) << "cell " << k << " has no duration";
      EXPECT_GT(OpaqueIn(p, (k % cols) * cw, (k / cols) * ch, cw, ch, 8), 0)
          << "cell " << k << " is empty";
    }
  }
  EXPECT_GE(found, 3) << "stage 1 needs its explosion, warp-in and sparkle animations";
}

}  // namespace
