// UTF-8 literals turned into the game's CP932 text.
#include <gtest/gtest.h>

#include "app/Sjis.h"

namespace {

TEST(SjisTest, JapaneseTextBecomesCp932Bytes) {
  EXPECT_EQ(Sjis("Velmora 体験版"), "Velmora \x91\xcc\x8c\xb1\x94\xc5");
  // The question mark is the full-width one; the wave dash needs CP932
  // rather than plain Shift-JIS.
  EXPECT_EQ(Sjis("か？"), "\x82\xa9\x81\x48");
  EXPECT_EQ(Sjis("〜"), "\x81\x60");
  EXPECT_EQ(Sjis("①"), "\x87\x40");
  EXPECT_EQ(Sjis("ｱ"), "\xb1");  // half-width kana is one byte
  EXPECT_EQ(Sjis(""), "");
  EXPECT_EQ(Sjis("plain ASCII, 123"), "plain ASCII, 123");
}

TEST(SjisTest, UnwritableAndBrokenInputBecomesQuestionMarks) {
  EXPECT_EQ(Sjis("a😀b"), "a?b");  // no CP932 form: one mark per character
  EXPECT_EQ(Sjis("a\xff"
                 "b"),
            "a?b");                    // not UTF-8 at all
  EXPECT_EQ(Sjis("a\xe4\xbd"), "a?");  // cut in the middle of a character
  EXPECT_EQ(Sjis("\xe4\xbd"
                 "b体"),
            "?b\x91\xcc");
}

}  // namespace
