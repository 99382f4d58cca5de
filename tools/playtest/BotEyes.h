// What a playtest bot of some skill makes of the threats on the field: the
// field as it was a reaction time ago, each threat carried on by the motion
// it had then (so a bullet that has just appeared is not seen yet, and a
// turn is seen late), and only what lies within its view round the ship.
// The expert's eyes pass the field on as it is.
#pragma once

#include <deque>
#include <vector>

#include "playtest/BotSkill.h"
#include "playtest/Threats.h"

class BotEyes {
 public:
  explicit BotEyes(const SkillProfile& profile)
      : delay_(profile.reactionFrames), viewRadius_(profile.viewRadius) {}

  // Takes in this frame's threats; returns those the bot acts on. The
  // answer holds until the next call.
  const std::vector<Threat>& see(const std::vector<Threat>& now, float shipX, float shipY);

 private:
  int delay_;
  float viewRadius_;
  std::deque<std::vector<Threat>> seen_;  // oldest first, at most delay_ + 1 frames
  std::vector<Threat> perceived_;
};
