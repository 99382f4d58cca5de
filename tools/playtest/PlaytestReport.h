// The texts velmora-playtest prints: the report of one played stage, and
// the table of several difficulties side by side.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "playtest/PlaytestRun.h"

// "m:ss" of a frame count at 60 frames per second (minutes not limited).
std::string MinutesSeconds(uint32_t frames);

// How the stage ended, in a few words: "cleared", "game over", "stopped".
std::string Outcome(const PlaytestResult& result);

std::string ReportText(const PlaytestResult& result);
std::string TableText(const std::vector<PlaytestResult>& results);
// Every stage of a whole game, their table and how the game ended.
std::string GameReportText(const GameResult& game);
