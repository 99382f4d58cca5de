#include "playtest/BotEyes.h"

const std::vector<Threat>& BotEyes::see(const std::vector<Threat>& now, float shipX,
                                        float shipY) {
  if (delay_ <= 0 && viewRadius_ <= 0.0f) return now;
  seen_.push_back(now);
  while (static_cast<int>(seen_.size()) > delay_ + 1) seen_.pop_front();
  perceived_.clear();
  // Nothing has reached the bot yet in the first frames it watches.
  if (static_cast<int>(seen_.size()) <= delay_) return perceived_;
  const int age = delay_;
  for (const Threat& then : seen_.front()) {
    const Threat t = age > 0 ? ThreatAt(then, age) : then;
    if (viewRadius_ > 0.0f && GapTo(t, shipX, shipY) > viewRadius_) continue;
    perceived_.push_back(t);
  }
  return perceived_;
}
