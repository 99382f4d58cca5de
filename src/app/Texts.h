// Every text a player reads outside the conversations, in both languages.
// Scenes ask for a text by its name and get game text (CP932) in the
// language in use; nothing a player reads is spelled out in a scene.
#pragma once

#include <cstdint>
#include <string>

#include "app/Language.h"

enum class UiText {
  ScreenQuestionCaption,
  ScreenQuestion,
  WindowTitle,
  // Descriptions under the difficulty selection, in the order of the
  // difficulties (Easy, Normal, Apocrypha, Extra).
  EasyDescription,
  NormalDescription,
  ApocryphaDescription,
  ExtraDescription,
  // The result screen's rows, in their order on screen.
  ResultDifficulty,
  ResultChargeType,
  ResultScore,
  ResultEnemiesDestroyed,
  ResultItemsCollected,
  ResultGrazes,
  ResultBulletsErased,
  ResultBombsUsed,
  ResultMisses,
  ResultContinues,
  ResultPlayTime,
  // The replay list's information panel: heading, rows in order, units.
  ReplayInfoHeading,
  ReplayInfoDifficulty,
  ReplayInfoProgress,
  ReplayInfoChargeType,
  ReplayInfoScore,
  ReplayInfoBombsUsed,
  ReplayInfoMisses,
  ReplayInfoContinues,
  ReplayInfoPoints,  // after the score
  ReplayInfoTimes,   // after the counts
  // The question after a game, its answers, and what became of the file
  // ("%s" is the file name).
  ReplaySaveQuestion,
  ReplaySaveYes,
  ReplaySaveNo,
  ReplaySaved,
  ReplayNotSaved,
  Count
};

std::string GameText(UiText id, Language language = gLanguage);
// A text with "%s" in it, filled in.
std::string GameTextWith(UiText id, const std::string& value, Language language = gLanguage);

// Lines 1 and 2 of the title cards of stages 1 to 7 (7 is the Extra stage)
// and of their bosses; empty for any other stage or line.
std::string StageCardLine(int32_t stage, int line, Language language = gLanguage);
std::string BossCardLine(int32_t stage, int line, Language language = gLanguage);
