// velmora-playtest: a bot plays a stage, or a whole game, of the real game
// headless at full speed and reports how it went: the stage's length, the
// enemy bullets on screen over time, misses, bombs, continues, score and
// whether the stage reached its end command.
//
//   velmora-playtest [-C game-dir] [--stage N | --game] [--difficulty easy|normal|apocrypha]
//                    [--charge shield|laser] [--seed N] [--continue] [--read-frames N]
//                    [--frame-limit N] [--all] [--skill expert|player|newcomer]
//                    [--save-replay FILE]
//
// Defaults: stage 1, Normal, Shield type, seed 1, expert. A stage from 2
// to 6 starts with what a ship carries into it (kCarriedLives, kCarriedBombs,
// kCarriedPower); a stage without a script is refused. --game plays a new
// game from stage 1 through the cut-scenes, taking continues as the
// difficulty allows, until it is won, lost, or reaches a stage without a
// script, and reports every stage. The bot shoots all
// the time, dodges, bombs when a hit cannot be escaped, and reads each message
// of a conversation for --read-frames frames (60; 0 lets every message run
// its own time) before moving it on with OK. At game over it gives up
// unless --continue is given. --frame-limit (108000, menus included) stops
// a stage that never ends.
// --all plays Easy, Normal and Apocrypha one after the other and adds a
// table. --save-replay writes the game as a replay file, as the game saves
// one (one game only, so not with --all).
// --skill sets how well the bot plays: the expert foresees every path and
// rarely dies; a player reacts a quarter of a second late, thinks again
// only every 11 frames, looks less far ahead and around, bombs late and
// not always, and turns late now and then; a newcomer more so, and never
// bombs after a hit. The
// slips come from the bot's own generator, seeded by --seed: the same
// arguments play the same game.
// Every game played is also played back from its record at once, to show
// that the record reproduces it. Exit status: 0 played (cleared or not),
// 1 a record that does not play back in step, counts that disagree with the
// game's, or a replay that could not be written; 2 bad arguments, no engine
// or a stage without a script.
#include <strings.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/HeadlessGame.h"
#include "app/Module_Game.h"
#include "app/Module_Input.h"
#include "engine/Engine.h"
#include "engine/Headless.h"
#include "persist/ReplayFile.h"
#include "playtest/PlaytestReport.h"
#include "playtest/PlaytestRun.h"
#include "scenes/ReplayCheck.h"
#include "scenes/Scene_ScoreText.h"
#include "stage/StageSeams.h"

namespace {

constexpr int kPlayed = 0;
constexpr int kFault = 1;
constexpr int kUnusable = 2;

struct Arguments {
  PlaytestOptions play;
  std::string gameDir;
  std::string replayPath;
  bool all = false;
  bool game = false;
  bool record = false;
  bool stageGiven = false;
  bool help = false;
};

constexpr const char* kUsage =
    "usage: velmora-playtest [-C game-dir] [--stage N | --game] [--difficulty D] [--charge C]\n"
    "                        [--seed N] [--continue] [--read-frames N] [--frame-limit N] [--all]\n"
    "                        [--skill S] [--save-replay FILE] [--record]\n";

int Usage() {
  std::fprintf(stderr, "%sTry 'velmora-playtest --help'.\n", kUsage);
  return kUnusable;
}

int Help() {
  std::printf(
      "%s"
      "A dodging bot plays a stage, or a whole game, headless; the report gives each\n"
      "stage's length, enemy bullets on screen, misses, bombs and score, and checks that\n"
      "the record plays back.\n"
      "  -C DIR              the game's directory (data and key configuration), default: here\n"
      "  --stage N           the stage to play, 1 to 7 (default 1); stages 2 to 6 start\n"
      "                      with 2 lives, 2 bombs and power 250; a stage without a\n"
      "                      script is refused (exit 2)\n"
      "  --game              play a whole game from stage 1 through the cut-scenes (with\n"
      "                      continues as the difficulty allows) and report every stage\n"
      "  --difficulty D      easy, normal, apocrypha or extra (default normal)\n"
      "  --charge C          shield or laser (default shield)\n"
      "  --seed N            the stage's random seed (default 1)\n"
      "  --continue          take continues when the game is lost\n"
      "  --read-frames N     frames a message is read before OK; 0 waits it out (default 60)\n"
      "  --frame-limit N     stop a stage after N frames (default 30 minutes of play)\n"
      "  --all               play Easy, Normal and Apocrypha and print a table\n"
      "  --skill S           expert, player or newcomer (default expert)\n"
      "  --save-replay FILE  write the game's replay to FILE (not with --all); with --game\n"
      "                      it holds every stage played\n"
      "  --record            with --game: a finished game goes into the game directory's\n"
      "                      score.dat as a player's would (ranked as BOT, the clear and\n"
      "                      the Extra stage's opening counted)\n"
      "  --help              print this help and exit\n"
      "Exit status: 0 played, 1 a fault (counts disagree or the record does not play\n"
      "back in step), 2 bad arguments, no game data or a stage without a script.\n",
      kUsage);
  return kPlayed;
}

bool ParseInt(const char* text, long low, long high, long& out) {
  char* end = nullptr;
  const long v = std::strtol(text, &end, 10);
  if (end == text || *end != '\0' || v < low || v > high) return false;
  out = v;
  return true;
}

bool ParseDifficulty(const char* text, int32_t& out) {
  static const struct {
    const char* name;
    int32_t value;
  } kNames[] = {{"easy", DIFFICULTY_EASY},
                {"normal", DIFFICULTY_NORMAL},
                {"apocrypha", DIFFICULTY_APOCRYPHA},
                {"extra", DIFFICULTY_EXTRA}};
  for (const auto& n : kNames) {
    if (strcasecmp(text, n.name) == 0) {
      out = n.value;
      return true;
    }
  }
  long v = 0;
  if (!ParseInt(text, 1, 6, v) || v == 2 || v == 4) return false;
  out = static_cast<int32_t>(v);
  return true;
}

bool ParseCharge(const char* text, int32_t& out) {
  if (strcasecmp(text, "shield") == 0 || std::strcmp(text, "0") == 0) {
    out = CHARGE_SHIELD;
  } else if (strcasecmp(text, "laser") == 0 || std::strcmp(text, "1") == 0) {
    out = CHARGE_LASER;
  } else {
    return false;
  }
  return true;
}

bool ParseArguments(int argc, char** argv, Arguments& a) {
  for (int i = 1; i < argc; ++i) {
    const char* arg = argv[i];
    const bool hasValue = i + 1 < argc;
    long v = 0;
    if (std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0) {
      a.help = true;
    } else if (std::strcmp(arg, "--all") == 0) {
      a.all = true;
    } else if (std::strcmp(arg, "--game") == 0) {
      a.game = true;
    } else if (std::strcmp(arg, "--record") == 0) {
      a.record = true;
    } else if (std::strcmp(arg, "--continue") == 0) {
      a.play.takeContinues = true;
    } else if (!hasValue) {
      return false;
    } else if (std::strcmp(arg, "-C") == 0) {
      a.gameDir = argv[++i];
    } else if (std::strcmp(arg, "--save-replay") == 0) {
      a.replayPath = argv[++i];
    } else if (std::strcmp(arg, "--difficulty") == 0) {
      if (!ParseDifficulty(argv[++i], a.play.difficulty)) return false;
    } else if (std::strcmp(arg, "--skill") == 0) {
      if (!ParseSkill(argv[++i], a.play.skill)) return false;
    } else if (std::strcmp(arg, "--charge") == 0) {
      if (!ParseCharge(argv[++i], a.play.chargeType)) return false;
    } else if (std::strcmp(arg, "--stage") == 0) {
      if (!ParseInt(argv[++i], 1, 7, v)) return false;
      a.play.stage = static_cast<int32_t>(v);
      a.stageGiven = true;
    } else if (std::strcmp(arg, "--seed") == 0) {
      if (!ParseInt(argv[++i], 0, 0x7FFFFFFF, v)) return false;
      a.play.seed = static_cast<int32_t>(v);
    } else if (std::strcmp(arg, "--read-frames") == 0) {
      if (!ParseInt(argv[++i], 0, 100000, v)) return false;
      a.play.readFrames = static_cast<int32_t>(v);
    } else if (std::strcmp(arg, "--frame-limit") == 0) {
      if (!ParseInt(argv[++i], 1, 100000000, v)) return false;
      a.play.frameLimit = static_cast<uint32_t>(v);
    } else {
      return false;
    }
  }
  // One replay file holds one game.
  if (a.all && !a.replayPath.empty()) {
    std::fprintf(stderr, "velmora-playtest: --save-replay takes one game, not --all\n");
    return false;
  }
  if (a.record && !a.game) {
    std::fprintf(stderr,
                 "velmora-playtest: --record needs --game: only a whole game is recorded\n");
    return false;
  }
  if (a.game && a.stageGiven) {
    std::fprintf(stderr, "velmora-playtest: --game starts at stage 1; leave out --stage\n");
    return false;
  }
  // A whole game goes on after a lost one as far as the difficulty allows.
  if (a.game) a.play.takeContinues = true;
  return true;
}

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

// Plays the record back and writes it when asked; returns the status earned.
int CheckAndSaveRecord(ReplayRecord& replay, const std::string& replayPath) {
  int status = kPlayed;
  const ReplayCheckReport check =
      CheckReplay(replay, DefaultStageLinks(), &engine::headless::ClearDraws);
  const bool inStep = check.inStep() && check.stages.size() == replay.stages.size();
  size_t recorded = 0;
  for (const ReplayStage& stage : replay.stages) recorded += stage.frames.size();
  std::printf("  record: %zu stage(s), %zu frames, %s\n", replay.stages.size(), recorded,
              inStep ? "plays back in step" : "DOES NOT play back in step");
  if (!inStep) status = kFault;

  if (!replayPath.empty()) {
    if (WriteReplay(replayPath.c_str(), replay)) {
      std::printf("  replay written to %s\n", replayPath.c_str());
    } else {
      std::printf("  replay could NOT be written to %s\n", replayPath.c_str());
      status = kFault;
    }
  }
  std::fflush(stdout);
  return status;
}

// --record: the finished game goes into the game directory's score.dat the
// way the result and the name entry put a player's there.
int RecordFinishedGame(const GameResult& game) {
  if (!game.cleared && !game.lost) {
    std::printf("  not recorded: the game did not finish\n");
    return kPlayed;
  }
  gGame.scoreData.Load();
  const int slot = gGame.ScoreSlot();
  const int32_t place = slot >= 0 ? RankingPlace(gGame.scoreData.ranking[slot], gGame.score) : -1;
  gGame.RecordRankedResult(place, "BOT", static_cast<int64_t>(std::time(nullptr)));
  if (!gGame.scoreData.Save()) {
    std::fprintf(stderr, "velmora-playtest: the game could not be recorded in score.dat\n");
    return kFault;
  }
  std::printf("  recorded in score.dat: %s; the Extra stage is %s\n",
              place >= 0 ? ("ranked " + std::to_string(place + 1)).c_str() : "not ranked",
              gGame.scoreData.extraUnlocked ? "open" : "closed");
  return kPlayed;
}

// Plays one game (one stage, or a whole game with --game), checks its
// record by playing it back, and prints the report. Returns the exit
// status it earns.
int PlayAndReport(const Arguments& args, const PlaytestOptions& options,
                  std::vector<PlaytestResult>& results) {
  const auto started = std::chrono::steady_clock::now();
  int status = kPlayed;
  ReplayRecord replay;
  if (args.game) {
    const GameResult game = PlayGame(options);
    std::fputs(GameReportText(game).c_str(), stdout);
    for (const PlaytestResult& stage : game.stages) {
      if (!stage.stats.agreesWithGame()) status = kFault;
      results.push_back(stage);
    }
    replay = game.replay;
    if (args.record) status = std::max(status, RecordFinishedGame(game));
  } else {
    results.push_back(PlayStage(options));
    const PlaytestResult& result = results.back();
    std::fputs(ReportText(result).c_str(), stdout);
    if (!result.stats.agreesWithGame()) status = kFault;
    replay = result.replay;
  }
  const double played = SecondsSince(started);
  const auto checking = std::chrono::steady_clock::now();
  status = std::max(status, CheckAndSaveRecord(replay, args.replayPath));
  // Wall time varies from run to run, so it stays out of the report.
  std::fprintf(stderr, "velmora-playtest: %s (%s) played in %.2f s, played back in %.2f s\n",
               DifficultyName(options.difficulty), SkillName(options.skill), played,
               SecondsSince(checking));
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  Arguments args;
  if (!ParseArguments(argc, argv, args)) return Usage();
  if (args.help) return Help();
  // The replay is named from where the program was started.
  if (!args.replayPath.empty()) {
    std::error_code ec;
    const auto absolute = std::filesystem::absolute(args.replayPath, ec);
    if (!ec) args.replayPath = absolute.string();
  }
  if (!StartHeadlessGame("velmora-playtest", args.gameDir)) return kUnusable;
  if (!args.game && !StageHasScript(args.play.stage)) {
    std::fprintf(stderr,
                 "velmora-playtest: stage %d has no script (Data/Stage/stage%d.csv is missing or "
                 "empty): there is nothing to play\n",
                 args.play.stage, args.play.stage);
    EndHeadlessGame();
    return kUnusable;
  }

  std::vector<int32_t> difficulties = {args.play.difficulty};
  if (args.all) difficulties = {DIFFICULTY_EASY, DIFFICULTY_NORMAL, DIFFICULTY_APOCRYPHA};
  std::vector<PlaytestResult> results;
  int status = kPlayed;
  for (size_t i = 0; i < difficulties.size(); ++i) {
    PlaytestOptions options = args.play;
    options.difficulty = difficulties[i];
    if (i > 0) std::printf("\n");
    const int s = PlayAndReport(args, options, results);
    if (s > status) status = s;
  }
  if (args.all) std::printf("\n%s", TableText(results).c_str());

  EndHeadlessGame();
  return status;
}
