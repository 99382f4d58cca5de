// The first steps of the program: the screen-mode question, the window and
// engine set-up, the archive settings and the loading picture.
#pragma once

// 0 when the engine is up and the loading picture is shown; -1 when the
// engine could not start (nothing else has been done then).
int StartEngine();
