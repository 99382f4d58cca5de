// The command line and the choice of the data and save folders: the build
// tree keeps everything in the working directory, an installed game reads
// the system's share folder and writes into the player's home.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>

#include "app/CommandLine.h"
#include "app/GameFolders.h"

namespace {

struct ParseRun {
  ParsedCommandLine parsed;
  std::string out;
  std::string err;
};

ParseRun Parse(std::initializer_list<const char*> args) {
  std::vector<const char*> argv{"velmora"};
  argv.insert(argv.end(), args.begin(), args.end());
  char* outText = nullptr;
  char* errText = nullptr;
  size_t outSize = 0, errSize = 0;
  std::FILE* out = open_memstream(&outText, &outSize);
  std::FILE* err = open_memstream(&errText, &errSize);
  ParseRun run{ParseCommandLine(static_cast<int>(argv.size()), argv.data(), out, err), {}, {}};
  std::fclose(out);
  std::fclose(err);
  run.out = outText;
  run.err = errText;
  std::free(outText);
  std::free(errText);
  return run;
}

TEST(CommandLine, OptionsHelpVersionAndMistakes) {
  ParseRun run = Parse({"--windowed", "--data", "d", "--save", "s"});
  ASSERT_TRUE(run.parsed.options);
  EXPECT_EQ(run.parsed.options->screen, ScreenChoice::Windowed);
  EXPECT_EQ(run.parsed.options->dataFolder, "d");
  EXPECT_EQ(run.parsed.options->saveFolder, "s");
  EXPECT_EQ(Parse({"--windowed", "--fullscreen"}).parsed.options->screen, ScreenChoice::FullScreen);
  EXPECT_EQ(Parse({}).parsed.options->screen, ScreenChoice::Ask);
  EXPECT_FALSE(Parse({}).parsed.options->language);
  EXPECT_EQ(Parse({"--lang", "en"}).parsed.options->language, Language::English);
  EXPECT_EQ(Parse({"--lang", "ja"}).parsed.options->language, Language::Japanese);

  run = Parse({"--help"});
  EXPECT_FALSE(run.parsed.options);
  EXPECT_EQ(run.parsed.exitCode, 0);
  for (const char* option :
       {"--windowed", "--fullscreen", "--data DIR", "--save DIR", "--lang LANG", "--version"}) {
    EXPECT_NE(run.out.find(option), std::string::npos) << option;
  }
  run = Parse({"--version"});
  EXPECT_EQ(run.parsed.exitCode, 0);
  EXPECT_EQ(run.out.rfind("velmora ", 0), 0u);

  for (auto args : {std::initializer_list<const char*>{"--windowd"},
                    {"stray"},
                    {"--data"},
                    {"--save", ""},
                    {"--lang"},
                    {"--lang", "fr"},
                    {"--lang", "EN"}}) {
    run = Parse(args);
    EXPECT_FALSE(run.parsed.options);
    EXPECT_EQ(run.parsed.exitCode, 2);
    EXPECT_NE(run.err.find("velmora --help"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
  }
}

// A made-up machine: which folders hold the data and which may be written.
FolderFacts Machine(std::set<std::string> withData, std::set<std::string> writable) {
  FolderFacts facts;
  facts.workingFolder = "/home/ann/games";
  facts.programFolder = "/usr/bin";
  facts.home = "/home/ann";
  facts.holdsData = [withData](const std::string& f) { return withData.count(f) > 0; };
  facts.writable = [writable](const std::string& f) { return writable.count(f) > 0; };
  return facts;
}

TEST(GameFolders, BuildTreeInstalledAndChosenFolders) {
  // The build tree: data and saves in the working directory, as always.
  FolderFacts tree = Machine({"/home/ann/games", "/usr/share/velmora"}, {"/home/ann/games"});
  GameFolders chosen = ChooseGameFolders({}, tree);
  EXPECT_EQ(chosen.data, "");
  EXPECT_EQ(chosen.save, "");

  // Installed: data from the share folder beside the program, saves in the
  // player's home; XDG_DATA_HOME wins over HOME, but only when absolute.
  FolderFacts installed = Machine({"/usr/share/velmora"}, {"/home/ann/games"});
  chosen = ChooseGameFolders({}, installed);
  EXPECT_EQ(chosen.data, "/usr/share/velmora");
  EXPECT_EQ(chosen.save, "/home/ann/.local/share/velmora");
  installed.xdgDataHome = "/home/ann/xdg";
  EXPECT_EQ(ChooseGameFolders({}, installed).save, "/home/ann/xdg/velmora");
  installed.xdgDataHome = "relative";
  EXPECT_EQ(ChooseGameFolders({}, installed).save, "/home/ann/.local/share/velmora");

  // Data in a working directory that cannot be written: saves go home, and
  // the data folder is named absolutely, as the save folder becomes the
  // working directory.
  chosen = ChooseGameFolders({}, Machine({"/home/ann/games"}, {}));
  EXPECT_EQ(chosen.data, "/home/ann/games");
  EXPECT_EQ(chosen.save, "/home/ann/.local/share/velmora");

  // The command line wins; relative folders are taken from the working
  // directory.
  GameOptions options;
  options.dataFolder = "../data";
  options.saveFolder = "saves";
  chosen = ChooseGameFolders(options, tree);
  EXPECT_EQ(chosen.data, "/home/ann/data");
  EXPECT_EQ(chosen.save, "/home/ann/games/saves");
}

}  // namespace
