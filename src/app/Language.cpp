#include "app/Language.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "app/SafeFile.h"

Language gLanguage = Language::Japanese;

namespace {

constexpr size_t kLanguageFileMax = 16;

bool IsSet(const char* value) { return value != nullptr && value[0] != '\0'; }

}  // namespace

std::optional<Language> LanguageFromName(std::string_view name) {
  if (name == "ja") return Language::Japanese;
  if (name == "en") return Language::English;
  return std::nullopt;
}

const char* LanguageName(Language language) { return language == Language::Japanese ? "ja" : "en"; }

Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang) {
  for (const char* value : {lcAll, lcMessages, lang}) {
    if (!IsSet(value)) continue;
    return std::string_view(value).starts_with("ja") ? Language::Japanese : Language::English;
  }
  return Language::English;
}

Language MachineLanguage() {
  return LanguageFromLocale(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

std::optional<Language> ReadLanguageFile(const char* path) {
  const int64_t size = LocalFileSize(path);
  if (size < 0 || size > static_cast<int64_t>(kLanguageFileMax)) return std::nullopt;
  std::vector<uint8_t> bytes;
  if (!ReadLocalFile(path, bytes, kLanguageFileMax)) return std::nullopt;
  std::string text(bytes.begin(), bytes.end());
  if (!text.empty() && text.back() == '\n') text.pop_back();
  return LanguageFromName(text);
}

bool WriteLanguageFile(const char* path, Language language) {
  const std::string text = std::string(LanguageName(language)) + "\n";
  return WriteLocalFileAtomic(path, text.data(), text.size());
}

Language ChooseLanguage(std::optional<Language> commandLine, std::optional<Language> saved,
                        Language machine) {
  if (commandLine) return *commandLine;
  if (saved) return *saved;
  return machine;
}
