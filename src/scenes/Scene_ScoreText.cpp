#include "scenes/Scene_ScoreText.h"

#include <cstdio>
#include <cstring>
#include <ctime>

std::string RankingPageTitle(int32_t difficulty, int32_t chargeType) {
  return std::string(DifficultyName(difficulty)) + " / " + ChargeTypeName(chargeType);
}

std::string RankingRowText(int32_t place, const ScoreEntry& entry) {
  char row[128];
  if (entry.time == 0) {
    std::snprintf(row, sizeof row, "%02d  --------     ------------     ----/--/-- --:--", place);
    return row;
  }
  char date[32] = "";
  const auto when = static_cast<std::time_t>(entry.time);
  std::tm local{};
  if (localtime_r(&when, &local)) std::strftime(date, sizeof date, "%Y/%m/%d %H:%M", &local);
  // The file's name field need not be terminated: never read past it.
  char name[sizeof entry.name + 1] = {};
  std::memcpy(name, entry.name, sizeof entry.name);
  name[strnlen(entry.name, sizeof entry.name)] = '\0';
  std::snprintf(row, sizeof row, "%02d  %-14s %10d %20s", place, name, entry.score, date);
  return row;
}

int32_t RankingPlace(const ScoreEntry (&rows)[kRankingRows], int32_t score) {
  for (int32_t i = 0; i < kRankingRows; ++i) {
    if (score > rows[i].score) return i;
  }
  return -1;
}
