// Which language the game speaks: the locale's default, the saved choice
// and the command line in their order, and a language file that cannot be
// trusted.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/Language.h"
#include "support/TempWorkDir.h"

namespace {

TEST(Language, LocaleDefaultTakesTheFirstVariableSet) {
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "ja_JP.UTF-8"), Language::Japanese);
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "en_US.UTF-8"), Language::English);
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, "C"), Language::English);
  EXPECT_EQ(LanguageFromLocale(nullptr, nullptr, nullptr), Language::English);
  // LC_ALL over LC_MESSAGES over LANG; an empty one counts as unset.
  EXPECT_EQ(LanguageFromLocale("ja_JP", "en_GB", "en_US"), Language::Japanese);
  EXPECT_EQ(LanguageFromLocale("C", "ja_JP", "ja_JP"), Language::English);
  EXPECT_EQ(LanguageFromLocale("", "ja_JP.eucJP", "en_US"), Language::Japanese);
  EXPECT_EQ(LanguageFromLocale("", "", "ja"), Language::Japanese);
  EXPECT_EQ(LanguageFromLocale("", nullptr, ""), Language::English);
}

TEST(Language, CommandLineOverSavedChoiceOverLocale) {
  constexpr auto ja = Language::Japanese;
  constexpr auto en = Language::English;
  EXPECT_EQ(ChooseLanguage(en, ja, ja), en);
  EXPECT_EQ(ChooseLanguage(ja, en, en), ja);
  EXPECT_EQ(ChooseLanguage(std::nullopt, en, ja), en);
  EXPECT_EQ(ChooseLanguage(std::nullopt, ja, en), ja);
  EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, en), en);
  EXPECT_EQ(ChooseLanguage(std::nullopt, std::nullopt, ja), ja);
}

void WriteFile(const char* path, const std::string& bytes) {
  std::ofstream(path, std::ios::binary) << bytes;
}

TEST(Language, SavedChoiceRoundTripsAndDamageMeansNoChoice) {
  TempWorkDir dir;
  ASSERT_TRUE(dir.ok());
  EXPECT_FALSE(ReadLanguageFile(kLanguagePath)) << "missing file";
  ASSERT_TRUE(WriteLanguageFile(kLanguagePath, Language::English));
  EXPECT_EQ(ReadLanguageFile(kLanguagePath), Language::English);
  ASSERT_TRUE(WriteLanguageFile(kLanguagePath, Language::Japanese));
  EXPECT_EQ(ReadLanguageFile(kLanguagePath), Language::Japanese);
  EXPECT_FALSE(std::filesystem::exists(std::string(kLanguagePath) + ".tmp"));

  for (const std::string& damaged :
       {std::string(), std::string("e"), std::string("fr\n"), std::string("EN\n"),
        std::string("en\n\n"), std::string("en\r\n"), std::string("ja\0", 3),
        std::string(4096, 'j')}) {
    WriteFile(kLanguagePath, damaged);
    EXPECT_FALSE(ReadLanguageFile(kLanguagePath)) << '"' << damaged.substr(0, 8) << '"';
  }
  // A folder where the file should be is no choice either, and not a crash.
  std::filesystem::remove(kLanguagePath);
  std::filesystem::create_directory(kLanguagePath);
  EXPECT_FALSE(ReadLanguageFile(kLanguagePath));
}

}  // namespace
