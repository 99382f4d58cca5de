// Texts shared by the result, ranking and replay screens: the rows of a
// ranking page (the difficulty and charge-type names are with Module_Game).
#pragma once

#include <cstdint>
#include <string>

#include "app/Module_Game.h"  // DifficultyName, ChargeTypeName
#include "persist/ScoreData.h"

// The heading of a ranking page: "Normal / Laser type".
std::string RankingPageTitle(int32_t difficulty, int32_t chargeType);
// Row `place` (1 to 10) of a ranking page: place, name, score and the date
// in local time, in columns that line up in a fixed-pitch font. A row never
// used (time 0) shows dashes in the same columns.
std::string RankingRowText(int32_t place, const ScoreEntry& entry);
// The place a score earns in a ranking table: the first row it beats
// outright (a tie goes below), or -1. A score of 0 never beats an empty row.
int32_t RankingPlace(const ScoreEntry (&rows)[kRankingRows], int32_t score);
