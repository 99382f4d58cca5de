// Entry point: start-up, the scenes one after another, shutdown.
#include "app/GameMain.h"

int main() { return RunGame(); }
