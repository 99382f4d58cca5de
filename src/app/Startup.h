// The first steps of the program: the screen-mode question, the window and
// engine set-up, the archive settings and the loading picture.
#pragma once

#include <string>

#include "app/CommandLine.h"

// 0 when the engine is up and the loading picture is shown; -1 when the
// engine could not start (nothing else has been done then). The question is
// asked only when the command line did not choose; dataFolder (empty: the
// working directory) is where a missing data folder is looked for.
int StartEngine(ScreenChoice screen = ScreenChoice::Ask, const std::string& dataFolder = {});
