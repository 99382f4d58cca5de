// Entry point (first version: start-up calls and the loading picture).
#include "engine/Engine.h"

int main() {
  if (EngineInit() != 0) return -1;
  while (PumpMessages() == 0) SleepMilli(16);
  EngineEnd();
  return 0;
}
