#include "app/GameFolders.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include "engine/Engine.h"

namespace fs = std::filesystem;

namespace {

std::string Absolute(const std::string& folder, const std::string& workingFolder) {
  if (folder.empty()) return workingFolder;
  const fs::path p(folder);
  return (p.is_absolute() ? p : fs::path(workingFolder) / p).lexically_normal().string();
}

std::string Env(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

}  // namespace

GameFolders ChooseGameFolders(const GameOptions& options, const FolderFacts& facts) {
  GameFolders chosen;
  const std::string installedData =
      facts.programFolder.empty() ? "" : Absolute("../share/velmora", facts.programFolder);
  bool dataInWorkingFolder = false;
  if (!options.dataFolder.empty()) {
    chosen.data = Absolute(options.dataFolder, facts.workingFolder);
  } else if (facts.holdsData(facts.workingFolder)) {
    dataInWorkingFolder = true;
  } else if (!installedData.empty() && facts.holdsData(installedData)) {
    chosen.data = installedData;
  } else {
    dataInWorkingFolder = true;
  }

  // Saves stay beside data read from a writable working folder (the build
  // tree); otherwise they go to the user's own data folder.
  const bool savesInWorkingFolder = dataInWorkingFolder && facts.writable(facts.workingFolder);
  if (!options.saveFolder.empty()) {
    chosen.save = Absolute(options.saveFolder, facts.workingFolder);
  } else if (!savesInWorkingFolder) {
    if (fs::path(facts.xdgDataHome).is_absolute()) {
      chosen.save = Absolute("velmora", facts.xdgDataHome);
    } else if (!facts.home.empty()) {
      chosen.save = Absolute(".local/share/velmora", facts.home);
    }
  }
  if (!chosen.save.empty() && chosen.data.empty()) chosen.data = facts.workingFolder;
  return chosen;
}

bool HoldsDataPart(const std::string& folder, const char* part) {
  std::error_code ec;
  const fs::path base(folder.empty() ? "." : folder);
  return fs::is_directory(base / part, ec) ||
         fs::is_regular_file(base / (std::string(part) + ".dat"), ec);
}

bool HoldsGameData(const std::string& folder) { return HoldsDataPart(folder, "Data"); }

FolderFacts MachineFolderFacts() {
  FolderFacts facts;
  std::error_code ec;
  facts.workingFolder = fs::current_path(ec).string();
  const fs::path program = fs::read_symlink("/proc/self/exe", ec);
  if (!ec) facts.programFolder = program.parent_path().string();
  // The XDG rules ignore a relative XDG_DATA_HOME.
  facts.xdgDataHome = Env("XDG_DATA_HOME");
  facts.home = Env("HOME");
  facts.holdsData = HoldsGameData;
  facts.writable = [](const std::string& folder) { return access(folder.c_str(), W_OK) == 0; };
  return facts;
}

bool EnterGameFolders(const GameFolders& folders) {
  if (!folders.save.empty()) {
    std::error_code ec;
    fs::create_directories(folders.save, ec);
    if (ec || chdir(folders.save.c_str()) != 0) {
      std::fprintf(stderr, "velmora: cannot use %s for scores, settings and replays: %s\n",
                   folders.save.c_str(), ec ? ec.message().c_str() : "cannot enter it");
      return false;
    }
  }
  SetDataFolder(folders.data.c_str());
  return true;
}
