// velmora-replay: plays replay files headless at full speed and reports how
// each recorded stage ended. Every stage must end with the score the next
// stage record starts with, the last with the score in the header, and the
// game's misses, bombs and continues must add up to the header's.
//
//   velmora-replay [-C game-dir] [--lang ja|en] file.vmr...
//
// -C names the game's directory (its data and key configuration are used as
// the game uses them). --lang plays the conversations in that language (the
// Japanese by default); a replay must play in step in either. Exit status: 0 every file plays in
// step, 1 a desync, 2 a file that cannot be read, is damaged or holds no stage, or bad arguments.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "app/HeadlessGame.h"
#include "app/Language.h"
#include "app/Module_Game.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "persist/ReplayFile.h"
#include "scenes/ReplayCheck.h"
#include "scenes/Scene_ScoreText.h"
#include "stage/StageSeams.h"

namespace {

constexpr int kInStep = 0;
constexpr int kDesync = 1;
constexpr int kUnusable = 2;

constexpr const char* kUsage = "usage: velmora-replay [-C game-dir] [--lang ja|en] file.vmr...\n";

int Usage() {
  std::fprintf(stderr, "%sTry 'velmora-replay --help'.\n", kUsage);
  return kUnusable;
}

int Help() {
  std::printf(
      "%s"
      "Plays replay files headless at full speed and reports how each stage ended.\n"
      "A file may hold one stage or a whole game (velmora-playtest --game): every\n"
      "stage must end with the score the next one starts with, the last with the\n"
      "score in the header, and misses, bombs and continues must add up.\n"
      "  file.vmr...  the replay files to check, one after the other\n"
      "  -C DIR       the game's directory (data and key configuration), default: here\n"
      "  --lang LANG  play the conversations in ja (Japanese, the default) or en (English)\n"
      "  --help       print this help and exit\n"
      "Exit status: 0 every file in step, 1 a desync, 2 an unreadable file or bad arguments.\n",
      kUsage);
  return kInStep;
}

int CheckFile(const std::string& path) {
  ReplayRecord record;
  std::string fault;
  if (!ReadReplayHeader(path.c_str(), record.header, &fault)) {
    std::printf("%s: cannot be read\n", path.c_str());
    return kUnusable;
  }
  if (!fault.empty()) {
    std::printf("%s: damaged: %s\n", path.c_str(), fault.c_str());
    return kUnusable;
  }
  if (!ReadReplay(path.c_str(), record)) {
    std::printf("%s: cannot be read\n", path.c_str());
    return kUnusable;
  }
  const ReplayHeader& h = record.header;
  std::printf("%s: %s, %s, %zu stage record(s) (header says %d), final score %d%s\n", path.c_str(),
              DifficultyName(h.difficulty), ChargeTypeName(h.chargeType), record.stages.size(),
              h.stageCount, h.score, h.cleared ? ", cleared" : "");
  if (record.stages.empty()) {
    std::printf("  no stage to play\n");
    return kUnusable;
  }
  // The stage's parts as the game links them (script, conversations,
  // scenery, enemy table).
  const ReplayCheckReport report =
      CheckReplay(record, DefaultStageLinks(), &engine::headless::ClearDraws);
  for (size_t i = 0; i < report.stages.size(); ++i) {
    const ReplayStageCheck& s = report.stages[i];
    const bool last = i + 1 == record.stages.size();
    std::printf("  stage %d: start %d, end %d after %u of %u frames; %s %d: %s\n", s.stage,
                s.startScore, s.endScore, s.playedFrames, s.recordedFrames,
                last ? "header" : "next record", s.expectedScore,
                !s.finished   ? "DESYNC (did not end)"
                : s.matches() ? "ok"
                              : "DESYNC");
  }
  if (report.stages.size() < record.stages.size()) {
    std::printf("  stages %zu to %zu were not reached\n", report.stages.size() + 1,
                record.stages.size());
  }
  std::printf("  totals: continues %d, misses %d, bombs %d (header %d, %d, %d): %s\n",
              report.continuesUsed, report.misses, report.bombsUsed, h.continuesUsed, h.misses,
              h.bombsUsed, report.totalsMatch() ? "ok" : "DESYNC");
  const bool inStep = report.inStep() && report.stages.size() == record.stages.size();
  std::printf("  %s\n", inStep ? "in step" : "DESYNC");
  return inStep ? kInStep : kDesync;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> files;
  std::string gameDir;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return Help();
    } else if (std::strcmp(argv[i], "-C") == 0) {
      if (++i >= argc) return Usage();
      gameDir = argv[i];
    } else if (std::strcmp(argv[i], "--lang") == 0) {
      const auto language = ++i < argc ? LanguageFromName(argv[i]) : std::nullopt;
      if (!language) return Usage();
      gLanguage = *language;
    } else if (argv[i][0] == '-' && argv[i][1] == '-') {
      std::fprintf(stderr, "velmora-replay: unknown option %s\n", argv[i]);
      return Usage();
    } else {
      files.emplace_back(argv[i]);
    }
  }
  if (files.empty()) return Usage();
  // Files are named from where the program was started.
  for (std::string& f : files) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(f, ec);
    if (!ec) f = absolute.string();
  }
  if (!StartHeadlessGame("velmora-replay", gameDir)) return kUnusable;

  int status = kInStep;
  for (const std::string& f : files) {
    const int result = CheckFile(f);
    if (result > status) status = result;
  }
  EndHeadlessGame();
  return status;
}
