#include "playtest/Pilot.h"

HumanSlips::Keys Pilot::fly(Stage_Field& field, const HumanSlips::Keys& held, bool bombMayPress) {
  const BotChoice choice = DecideOnField(field, watch_, bot_, &eyes_);
  const PlannedSteering steering = plans_.steer({choice.directions, choice.slow, choice.hold});
  const HumanSlips::Keys planned{steering.directions, steering.slow, choice.bomb && bombMayPress};
  return slips_.apply(planned, choice.counterBomb, held);
}
