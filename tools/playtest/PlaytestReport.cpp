#include "playtest/PlaytestReport.h"

#include <cstdarg>
#include <cstdio>

#include "scenes/Scene_ScoreText.h"

namespace {

// printf onto the end of a string.
void Append(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
void Append(std::string& out, const char* format, ...) {
  char line[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(line, sizeof line, format, args);
  va_end(args);
  out += line;
}

}  // namespace

std::string MinutesSeconds(uint32_t frames) {
  const uint32_t seconds = frames / kFramesPerSecond;
  char text[32];
  std::snprintf(text, sizeof text, "%u:%02u", seconds / 60, seconds % 60);
  return text;
}

std::string Outcome(const PlaytestResult& r) {
  if (r.stats.cleared()) return "cleared";
  if (r.stats.gameOvers > 0) return "game over";
  return r.hitFrameLimit ? "frame limit" : "stopped";
}

std::string ReportText(const PlaytestResult& r) {
  const StageStats& s = r.stats;
  const PlaytestOptions& o = r.options;
  std::string out;
  Append(out, "Stage %d, %s, %s, seed %d, %s bot, continues %s\n", o.stage,
         DifficultyName(o.difficulty), ChargeTypeName(o.chargeType), o.seed, SkillName(o.skill),
         o.takeContinues ? "taken" : "refused");
  if (s.cleared()) {
    Append(out, "  cleared: end command at frame %u (%s)\n", s.endCommandFrame,
           MinutesSeconds(s.endCommandFrame).c_str());
  } else if (s.gameOvers > 0) {
    Append(out, "  NOT cleared: game over at frame %u (%s)\n", s.gameOverFrame,
           MinutesSeconds(s.gameOverFrame).c_str());
  } else {
    Append(out, "  NOT cleared: stopped after %u frames (%s)%s\n", s.playFrames,
           MinutesSeconds(s.playFrames).c_str(), r.hitFrameLimit ? ", the frame limit" : "");
  }
  Append(out, "  %u frames played (%s), %u in the game-over menu\n", s.playFrames,
         MinutesSeconds(s.playFrames).c_str(), s.menuFrames);
  Append(out, "  score %d%s\n", s.score, s.cleared() ? " (clear bonus included)" : "");
  Append(out, "  misses %d, bombs %d (%d of them after a hit), continues %d, game overs %d\n",
         s.misses, s.bombs, s.counterBombs, s.continues, s.gameOvers);
  if (s.agreesWithGame()) {
    out += "  the game's own statistics agree\n";
  } else {
    Append(out, "  MISMATCH: the game counted misses %d, bombs %d, continues %d\n", s.gameMisses,
           s.gameBombs, s.gameContinues);
  }
  out += "  enemy bullets on screen, per 10 seconds of play:\n";
  out += "      time         mean   max\n";
  for (size_t i = 0; i < s.buckets.size(); ++i) {
    const BulletBucket& b = s.buckets[i];
    const uint32_t from = static_cast<uint32_t>(i) * kBucketFrames;
    Append(out, "    %5s-%-5s  %6.1f  %4d\n", MinutesSeconds(from).c_str(),
           MinutesSeconds(from + b.frames).c_str(), b.mean(), b.max);
  }
  const BulletBucket all = s.wholeStage();
  Append(out, "    whole stage  %6.1f  %4d\n", all.mean(), all.max);
  return out;
}

std::string TableText(const std::vector<PlaytestResult>& results) {
  std::string out;
  out +=
      "stage  difficulty  charge       skill     outcome      length  frames  misses  bombs"
      "  continues       score  bullets mean/max\n";
  for (const PlaytestResult& r : results) {
    const StageStats& s = r.stats;
    const uint32_t length = s.cleared() ? s.endCommandFrame : s.playFrames;
    const BulletBucket all = s.wholeStage();
    Append(out, "%5d  %-10s  %-11s  %-8s  %-11s  %6s  %6u  %6d  %5d  %9d  %10d  %7.1f / %d\n",
           r.options.stage, DifficultyName(r.options.difficulty),
           ChargeTypeName(r.options.chargeType), SkillName(r.options.skill), Outcome(r).c_str(),
           MinutesSeconds(length).c_str(), length, s.misses, s.bombs, s.continues, s.score,
           all.mean(), all.max);
  }
  return out;
}

std::string GameReportText(const GameResult& game) {
  std::string out;
  for (const PlaytestResult& stage : game.stages) out += ReportText(stage) + "\n";
  out += TableText(game.stages);
  Append(out, "Game, %s, %s, seed %d, %s bot: %zu stage(s) played, %u frames of cut-scenes\n",
         DifficultyName(game.options.difficulty), ChargeTypeName(game.options.chargeType),
         game.options.seed, SkillName(game.options.skill), game.stages.size(), game.cutSceneFrames);
  if (game.stageWithoutScript != 0) {
    Append(
        out,
        "  reached stage %d, which has no script (Data/Stage/stage%d.csv): the game stops there\n",
        game.stageWithoutScript, game.stageWithoutScript);
  } else if (game.cleared || game.lost) {
    Append(out, "  the game was %s; conversation %d played (%u frames), the result follows\n",
           game.cleared ? "cleared" : "lost", game.closingScene, game.closingSceneFrames);
  } else if (game.hitFrameLimit) {
    out += "  stopped at the frame limit\n";
  }
  return out;
}
