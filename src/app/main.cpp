// Entry point: start-up, the scenes one after another, shutdown.
#include "app/GameMain.h"

int main(int argc, char** argv) { return RunGame(argc, argv); }
