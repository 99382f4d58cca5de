// The language the game speaks: Japanese or English. The command line
// decides first, then the player's choice saved in "language.dat", then the
// machine's locale. The file lives beside "setting.dat" (whose layout stays
// volumes only) and holds "ja" or "en" and a line feed.
#pragma once

#include <optional>
#include <string_view>

enum class Language { Japanese = 0, English = 1 };  // the order of the Config screen's rows

// The language in use. Japanese until start-up decides, so code run without
// the game's start-up (tests, tools) sees the texts as they always were.
extern Language gLanguage;

inline constexpr const char* kLanguagePath = "language.dat";

// "ja" or "en"; none for anything else.
std::optional<Language> LanguageFromName(std::string_view name);
const char* LanguageName(Language language);

// The locale variables in their order of strength (LC_ALL, LC_MESSAGES,
// LANG; null for unset): the first one set and not empty decides, Japanese
// for a value starting with "ja", English for any other and when none is set.
Language LanguageFromLocale(const char* lcAll, const char* lcMessages, const char* lang);
Language MachineLanguage();

// The saved choice; none when the file is missing, unreadable or holds
// anything but one of the two names (a line feed after it allowed).
std::optional<Language> ReadLanguageFile(const char* path);
// Written through a temporary like the other saves; false when it failed.
bool WriteLanguageFile(const char* path, Language language);

Language ChooseLanguage(std::optional<Language> commandLine, std::optional<Language> saved,
                        Language machine);
