// The playtest bot's skills: the expert's path is left exactly as it was,
// and the lower skills play as people do: they see a bullet late, keep to
// a plan, and slip by their own seeded generator, the same way each time.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/Module_Input.h"
#include "objects/FieldFixture.h"
#include "objects/Object_Player.h"
#include "playtest/BotEyes.h"
#include "playtest/BotSkill.h"
#include "playtest/DodgeBot.h"
#include "playtest/Pilot.h"

namespace {

Threat Falling(float x, float y, float vy) {
  Threat t;
  t.x = x;
  t.y = y;
  t.vy = vy;
  t.radius = 3.0f;
  return t;
}

TEST(BotSkillNames, ParseAndNameEachSkill) {
  for (const Skill s : {Skill::Expert, Skill::Player, Skill::Newcomer}) {
    Skill parsed = Skill::Expert;
    ASSERT_TRUE(ParseSkill(SkillName(s), parsed)) << SkillName(s);
    EXPECT_EQ(parsed, s);
  }
  Skill s = Skill::Newcomer;
  EXPECT_TRUE(ParseSkill("PLAYER", s));
  EXPECT_EQ(s, Skill::Player);
  EXPECT_FALSE(ParseSkill("master", s));
  EXPECT_FALSE(ParseSkill("", s));
  // The skills really are ordered: each lower one reacts later.
  EXPECT_EQ(ProfileOf(Skill::Expert).reactionFrames, 0);
  EXPECT_GT(ProfileOf(Skill::Player).reactionFrames, 0);
  EXPECT_GT(ProfileOf(Skill::Newcomer).reactionFrames, ProfileOf(Skill::Player).reactionFrames);
}

TEST(BotRandomTest, SameSeedSameNumbersOtherSeedOthers) {
  BotRandom a(7), b(7), c(8);
  int differ = 0;
  int hits = 0;
  for (int i = 0; i < 1000; ++i) {
    const uint64_t x = a.next();
    EXPECT_EQ(x, b.next());
    if (x != c.next()) ++differ;
    if (a.chance(30)) ++hits;
    b.chance(30);
  }
  EXPECT_GT(differ, 990);
  // About thirty in a hundred.
  EXPECT_GT(hits, 230);
  EXPECT_LT(hits, 370);
  EXPECT_FALSE(a.chance(0));
  EXPECT_TRUE(a.chance(100));
}

TEST(BotEyesTest, TheExpertSeesTheFieldAsItIs) {
  BotEyes eyes(ProfileOf(Skill::Expert));
  const std::vector<Threat> now = {Falling(10.0f, 10.0f, 2.0f), Falling(300.0f, 50.0f, 1.0f)};
  const std::vector<Threat>& seen = eyes.see(now, 192.0f, 384.0f);
  EXPECT_EQ(&seen, &now);
}

TEST(BotEyesTest, ALowerSkillSeesANewBulletOnlyAfterItsReaction) {
  SkillProfile p;
  p.reactionFrames = 5;
  BotEyes eyes(p);
  const std::vector<Threat> empty;
  // Nothing has reached it in its first frames, even what was there.
  const std::vector<Threat> early = {Falling(192.0f, 370.0f, 3.0f)};
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(eyes.see(early, 192.0f, 384.0f).empty()) << i;
  for (int i = 0; i < 10; ++i) {
    EXPECT_EQ(eyes.see(empty, 192.0f, 384.0f).size(), i < 5 ? 1u : 0u) << i;
  }
  // A bullet appears and falls 3 pixels a frame.
  Threat b = Falling(192.0f, 300.0f, 3.0f);
  for (int frame = 0; frame < 5; ++frame) {
    EXPECT_TRUE(eyes.see({b}, 192.0f, 384.0f).empty()) << frame;
    b.y += 3.0f;
  }
  // Seen at last, where its motion has taken it since.
  const std::vector<Threat>& seen = eyes.see({b}, 192.0f, 384.0f);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FLOAT_EQ(seen[0].y, b.y);
  // A bullet that turned is seen going its old way for as long.
  Threat turned = b;
  turned.vy = 0.0f;
  turned.vx = 3.0f;
  EXPECT_FLOAT_EQ(eyes.see({turned}, 192.0f, 384.0f)[0].x, 192.0f);
}

TEST(BotEyesTest, ALimitedViewMissesWhatIsFarFromTheShip) {
  SkillProfile p;
  p.viewRadius = 100.0f;
  BotEyes eyes(p);
  const std::vector<Threat> now = {Falling(192.0f, 300.0f, 0.0f), Falling(192.0f, 100.0f, 0.0f)};
  const std::vector<Threat>& seen = eyes.see(now, 192.0f, 384.0f);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FLOAT_EQ(seen[0].y, 300.0f);
}

TEST(PlanKeeperTest, KeepsAPlanUntilItThinksAgainAndStandsWhenItsHoldIsOver) {
  PlanKeeper every(1);
  EXPECT_EQ(every.steer({DIR_LEFT, true, 4}).directions, DIR_LEFT);
  EXPECT_EQ(every.steer({DIR_RIGHT, false, 4}).directions, DIR_RIGHT);

  PlanKeeper keeper(6);
  EXPECT_EQ(keeper.steer({DIR_LEFT, true, 4}).directions, DIR_LEFT);
  for (int i = 1; i < 4; ++i) {
    const PlannedSteering s = keeper.steer({DIR_RIGHT, false, 16});
    EXPECT_EQ(s.directions, DIR_LEFT) << i;
    EXPECT_TRUE(s.slow);
  }
  EXPECT_EQ(keeper.steer({DIR_RIGHT, false, 16}).directions, 0);  // the short move is over
  EXPECT_EQ(keeper.steer({DIR_RIGHT, false, 16}).directions, 0);
  EXPECT_EQ(keeper.steer({DIR_RIGHT, false, 16}).directions, DIR_RIGHT);  // thinks again
}

TEST(HumanSlipsTest, TheExpertsHandsNeverSlip) {
  HumanSlips slips(ProfileOf(Skill::Expert), 3);
  for (int i = 0; i < 500; ++i) {
    const HumanSlips::Keys planned{static_cast<uint8_t>(i % 16), (i % 3) == 0, (i % 5) == 0};
    const HumanSlips::Keys held{static_cast<uint8_t>((i * 7) % 16), (i % 2) == 0, false};
    const HumanSlips::Keys made = slips.apply(planned, (i % 7) == 0, held);
    EXPECT_EQ(made.directions, planned.directions);
    EXPECT_EQ(made.slow, planned.slow);
    EXPECT_EQ(made.bomb, planned.bomb);
  }
}

TEST(HumanSlipsTest, ANewcomerSometimesTurnsLateAndNeverBombsAfterAHit) {
  HumanSlips slips(ProfileOf(Skill::Newcomer), 3);
  int late = 0;
  int bombs = 0;
  for (int i = 0; i < 400; ++i) {
    const HumanSlips::Keys made = slips.apply({DIR_LEFT, false, true}, false, {DIR_RIGHT, false, false});
    if (made.directions == DIR_RIGHT) ++late;
    if (made.bomb) ++bombs;
    EXPECT_FALSE(slips.apply({0, false, true}, true, {0, false, false}).bomb);
  }
  EXPECT_GT(late, 0);
  EXPECT_LT(late, 400);
  EXPECT_GT(bombs, 0);
  EXPECT_LT(bombs, 400);
}

// The pilots on a real field, through the real frame pass.
class PilotOnFieldTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    gMainShotTimer = gOptionShotTimer = gOptionLaserTimer = 0;
    placePlayer(192.0f, 380.0f);  // where the bot likes to be
    player().bombs = 0;
  }

  void hold(const HumanSlips::Keys& k) {
    std::memcpy(gInput.keysPrev, gInput.keysNow, sizeof gInput.keysPrev);
    std::memset(gInput.keysNow, 0, sizeof gInput.keysNow);
    gInput.keysNow[KEY_C] = k.bomb;
    gInput.keysNow[KEY_LSHIFT] = k.slow;
    gInput.keysNow[KEY_UP] = (k.directions & DIR_UP) != 0;
    gInput.keysNow[KEY_DOWN] = (k.directions & DIR_DOWN) != 0;
    gInput.keysNow[KEY_LEFT] = (k.directions & DIR_LEFT) != 0;
    gInput.keysNow[KEY_RIGHT] = (k.directions & DIR_RIGHT) != 0;
  }

  // Frames of play with the pilot's keys; every frame's keys.
  std::vector<HumanSlips::Keys> play(Pilot& pilot, int frames) {
    std::vector<HumanSlips::Keys> keys;
    HumanSlips::Keys held;
    for (int i = 0; i < frames; ++i) {
      held = pilot.fly(field(), held, !held.bomb);
      keys.push_back(held);
      hold(held);
      if (player().state == PLAYER_COUNTER_BOMB) {
        player().update();
      } else {
        field().framePass();
      }
    }
    return keys;
  }

  // Streams from both sides and from above, aimed at where the ship stands.
  void crossfire() {
    for (int i = 0; i < 10; ++i) {
      enemyBullet(192.0f, 330.0f - 24.0f * i)->vy = 4.0f;
      for (const float side : {-1.0f, 1.0f}) {
        Object_Bullet* b = enemyBullet(192.0f + side * 150.0f, 234.0f - 20.0f * i);
        b->vx = -side * 2.0f;
        b->vy = 2.0f;
      }
    }
  }

  void restart() {
    gGame.misses = 0;
    gGame.bombsUsed = 0;
    field().enemyBullets.releaseAll();
    field().playerShots.releaseAll();
    placePlayer(192.0f, 380.0f);
    player().bombs = 0;
    player().charging = 0;
    player().bombing = 0;
    player().controllable = 1;
  }
};

bool Sideways(const HumanSlips::Keys& k) { return (k.directions & (DIR_LEFT | DIR_RIGHT)) != 0; }

TEST_F(PilotOnFieldTest, APlayerReactsLaterThanTheExpertToABulletCloseAbove) {
  enemyBullet(192.0f, 366.0f)->vy = 3.0f;
  Pilot expert;
  const std::vector<HumanSlips::Keys> expertKeys = play(expert, 20);
  EXPECT_TRUE(Sideways(expertKeys[0]));
  EXPECT_EQ(gGame.misses, 0);

  restart();
  enemyBullet(192.0f, 366.0f)->vy = 3.0f;
  Pilot player(Skill::Player, 1);
  const std::vector<HumanSlips::Keys> playerKeys = play(player, 20);
  // Too late to get out of its way.
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(Sideways(playerKeys[i])) << i << " " << int(playerKeys[i].directions);
  }
  EXPECT_EQ(gGame.misses, 1);
}

TEST_F(PilotOnFieldTest, TheDefaultPilotFliesTheExpertsPath) {
  // The plain dodging bot, frame by frame, against the default pilot on
  // the same field: the same keys in every frame.
  crossfire();
  player().bombs = 2;
  std::vector<BotChoice> plain;
  {
    DodgeBot bot;
    ThreatWatch watch;
    bool bombHeld = false;
    for (int i = 0; i < 150; ++i) {
      BotChoice c = DecideOnField(field(), watch, bot);
      c.bomb = c.bomb && !bombHeld;
      bombHeld = c.bomb;
      plain.push_back(c);
      hold({c.directions, c.slow, c.bomb});
      if (player().state == PLAYER_COUNTER_BOMB) {
        player().update();
      } else {
        field().framePass();
      }
    }
  }
  const float plainX = player().x;
  restart();
  crossfire();
  player().bombs = 2;
  Pilot pilot;
  const std::vector<HumanSlips::Keys> keys = play(pilot, 150);
  ASSERT_EQ(keys.size(), plain.size());
  int moved = 0;
  for (size_t i = 0; i < keys.size(); ++i) {
    EXPECT_EQ(keys[i].directions, plain[i].directions) << i;
    EXPECT_EQ(keys[i].slow, plain[i].slow) << i;
    EXPECT_EQ(keys[i].bomb, plain[i].bomb) << i;
    if (keys[i].directions != 0) ++moved;
  }
  EXPECT_GT(moved, 0);
  EXPECT_FLOAT_EQ(player().x, plainX);
  EXPECT_EQ(gGame.misses, 0);
}

TEST_F(PilotOnFieldTest, ALowerSkillPlaysTheSameWayWithTheSameSeed) {
  auto run = [&](Skill skill, uint64_t seed) {
    restart();
    crossfire();
    player().bombs = 2;
    Pilot pilot(skill, seed);
    std::vector<HumanSlips::Keys> keys = play(pilot, 200);
    std::vector<int> flat;
    for (const HumanSlips::Keys& k : keys) flat.push_back(k.directions * 4 + k.slow * 2 + k.bomb);
    flat.push_back(gGame.misses);
    flat.push_back(static_cast<int>(player().x * 100.0f));
    return flat;
  };
  run(Skill::Expert, 1);  // the field's own state settles the same way for each run
  for (const Skill skill : {Skill::Player, Skill::Newcomer}) {
    const std::vector<int> first = run(skill, 5);
    EXPECT_EQ(first, run(skill, 5)) << SkillName(skill);
  }
}

}  // namespace
