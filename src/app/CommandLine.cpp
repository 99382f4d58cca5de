#include "app/CommandLine.h"

#include <cstring>

#include "app/Version.h"

namespace {

constexpr const char* kHelp =
    "Usage: velmora [OPTION]...\n"
    "A vertical-scrolling shooter.\n"
    "\n"
    "  --windowed      start in a window (no start-up question)\n"
    "  --fullscreen    start full screen (no start-up question)\n"
    "  --data DIR      read the game data from DIR\n"
    "  --save DIR      keep scores, settings, replays and screenshots in DIR\n"
    "  --lang LANG     speak LANG: ja (Japanese) or en (English)\n"
    "  --version       print the version and exit\n"
    "  --help          print this help and exit\n"
    "\n"
    "Without --data the game reads the data in the working directory, else the\n"
    "data installed beside the program (../share/velmora). Without --save it\n"
    "writes into the data folder when that is the working directory and\n"
    "writable, else into $XDG_DATA_HOME/velmora (~/.local/share/velmora).\n"
    "Without --lang the game speaks the language last chosen in its configuration\n"
    "screen, else Japanese where LC_ALL, LC_MESSAGES or LANG (the first one set)\n"
    "starts with \"ja\", else English.\n";

ParsedCommandLine Mistake(std::FILE* err, const char* what, const char* arg) {
  std::fprintf(err, "velmora: %s %s\nTry 'velmora --help'.\n", what, arg);
  return {std::nullopt, 2};
}

}  // namespace

ParsedCommandLine ParseCommandLine(int argc, const char* const* argv, std::FILE* out,
                                   std::FILE* err) {
  GameOptions options;
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      std::fputs(kHelp, out);
      return {std::nullopt, 0};
    }
    if (std::strcmp(arg, "--version") == 0) {
      std::fprintf(out, "velmora %s\n", GameVersion());
      return {std::nullopt, 0};
    }
    if (std::strcmp(arg, "--windowed") == 0) {
      options.screen = ScreenChoice::Windowed;
    } else if (std::strcmp(arg, "--fullscreen") == 0) {
      options.screen = ScreenChoice::FullScreen;
    } else if (std::strcmp(arg, "--data") == 0 || std::strcmp(arg, "--save") == 0) {
      if (i + 1 >= argc || argv[i + 1][0] == '\0') return Mistake(err, "a folder must follow", arg);
      (arg[2] == 'd' ? options.dataFolder : options.saveFolder) = argv[++i];
    } else if (std::strcmp(arg, "--lang") == 0) {
      if (i + 1 >= argc) return Mistake(err, "a language (ja or en) must follow", arg);
      options.language = LanguageFromName(argv[++i]);
      if (!options.language) return Mistake(err, "no such language (ja or en):", argv[i]);
    } else {
      return Mistake(err, "unknown option", arg);
    }
  }
  return {options, 0};
}
