// Runs one scene at a time: start, one update per frame behind the frame
// step, input and sound updates, terminate.
#pragma once

#include "app/Scene.h"

// The scene being run; null before the first scene and after the last.
extern Scene* gCurrentScene;

// One frame as the runner runs it: the frame step (what is shown is the
// state the previous update left), input, sound, the message pump and the
// scene's update. False, with no update, when the window was closed.
bool StepSceneFrame(Scene& scene);

// Runs gCurrentScene from start to terminate and returns its successor.
// Not re-entrant: a call from inside a running scene returns null at once.
// Returns null as well when the window is closed (after terminate).
Scene* RunScene();

// Runs scenes from first until one names no successor, deleting each.
void RunSceneLoop(Scene* first);
