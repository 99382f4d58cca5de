// The playtest bot on a field of its own: what it foresees of bullets and
// lasers, where it steers, when it bombs, and, through the real frame pass
// with its keys as the ship reads them, that it gets out of the way of
// bullets that hit a ship left alone.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "app/Module_Input.h"
#include "objects/FieldFixture.h"
#include "objects/Object_Player.h"
#include "playtest/BotHands.h"
#include "playtest/DodgeBot.h"
#include "playtest/Threats.h"

namespace {

Threat Disc(float x, float y, float vx, float vy, float radius) {
  Threat t;
  t.x = x;
  t.y = y;
  t.vx = vx;
  t.vy = vy;
  t.radius = radius;
  return t;
}

ShipState ShipAt(float x, float y) {
  ShipState s;
  s.x = x;
  s.y = y;
  s.canBomb = true;
  return s;
}

bool Moves(uint8_t directions, uint8_t bit) { return (directions & bit) != 0; }

TEST(ThreatShapes, LasersAreForeseenAlongTheirWholeBeamAndGrowing) {
  Threat laser;
  laser.shape = ThreatShape::Laser;
  laser.x = 100.0f;
  laser.y = 100.0f;
  laser.angle = 1.5708f;  // straight down
  laser.length = 200.0f;
  laser.radius = 5.0f;
  EXPECT_NEAR(GapTo(laser, 110.0f, 250.0f), 5.0f, 0.01f);   // beside the beam
  EXPECT_NEAR(GapTo(laser, 100.0f, 320.0f), 15.0f, 0.01f);  // past its tip
  EXPECT_LT(GapTo(laser, 102.0f, 150.0f), 0.0f);            // inside
  // Growing two pixels a frame, the tip reaches y 320 in ten frames.
  laser.lengthStep = 2.0f;
  EXPECT_NEAR(GapTo(ThreatAt(laser, 10), 100.0f, 320.0f), -5.0f, 0.01f);

  Threat ring = Disc(0.0f, 0.0f, 0.0f, 0.0f, 50.0f);
  ring.shape = ThreatShape::Ring;
  ring.ringWidth = 10.0f;
  EXPECT_LT(GapTo(ring, 55.0f, 0.0f), 0.0f);  // on the band
  EXPECT_GT(GapTo(ring, 20.0f, 0.0f), 0.0f);  // safe in the middle
}

TEST(ThreatWatchTest, MotionComesFromWhereAnObjectWasLastFrame) {
  Stage_Field field;
  Object_Bullet* b = Object_Bullet::Spawn(field.enemyBullets, 1);
  b->setPosition(100.0f, 100.0f);
  ThreatWatch watch;
  ASSERT_EQ(watch.look(field).size(), 1u);
  // Moved by its parent, not its own velocity: seen all the same.
  b->setPosition(103.0f, 96.0f);
  const std::vector<Threat>& seen = watch.look(field);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_FLOAT_EQ(seen[0].vx, 3.0f);
  EXPECT_FLOAT_EQ(seen[0].vy, -4.0f);
  // A laser turning through the half turn turns a little, not all the way
  // round; it grows as it did.
  Object_Bullet* laser = Object_Bullet::Spawn(field.enemyBullets, 7);
  laser->laser = 1;
  laser->angle = 3.1f;
  laser->length = 100;
  laser->setPosition(50.0f, 50.0f);
  watch.look(field);
  laser->angle = -3.1f;
  laser->length = 110;
  const Threat turned = watch.look(field).back();
  EXPECT_EQ(turned.shape, ThreatShape::Laser);
  EXPECT_NEAR(turned.angleStep, 6.2832f - 6.2f, 0.001f);
  EXPECT_FLOAT_EQ(turned.lengthStep, 10.0f);
  laser->dead = 1;
  field.enemyBullets.release(laser);
  // A bullet still waiting out its spawn delay is not shown yet.
  Object_Bullet* waiting = Object_Bullet::Spawn(field.enemyBullets, 1);
  waiting->active = 0;
  EXPECT_EQ(watch.look(field).size(), 1u);
}

TEST(DodgeBotChoice, StepsAsideFromABulletComingDownOnTheShip) {
  DodgeBot bot;
  const BotChoice c =
      bot.decide(ShipAt(192.0f, 380.0f), {Disc(192.0f, 360.0f, 0.0f, 3.0f, 3.0f)}, Aim{});
  EXPECT_TRUE(Moves(c.directions, DIR_LEFT) || Moves(c.directions, DIR_RIGHT)) << int(c.directions);
  EXPECT_FALSE(Moves(c.directions, DIR_UP));
  EXPECT_EQ(c.firstHit, 0);
  EXPECT_FALSE(c.bomb);
}

TEST(DodgeBotChoice, WithNothingInTheWayGoesUnderItsTargetAndLow) {
  DodgeBot bot;
  Aim aim;
  aim.hasTarget = true;
  aim.targetX = 300.0f;
  BotChoice c = bot.decide(ShipAt(100.0f, 380.0f), {}, aim);
  EXPECT_TRUE(Moves(c.directions, DIR_RIGHT)) << int(c.directions);
  c = bot.decide(ShipAt(192.0f, 200.0f), {}, Aim{});
  EXPECT_TRUE(Moves(c.directions, DIR_DOWN)) << int(c.directions);
  // Already where it wants to be: it stays.
  c = bot.decide(ShipAt(192.0f, 380.0f), {}, Aim{});
  EXPECT_EQ(c.directions, 0);
}

TEST(DodgeBotChoice, BombsOnlyWhenNoPathEscapesANearHit) {
  // Bullets closing in from every side, a few pixels away.
  std::vector<Threat> ring;
  for (int i = 0; i < 16; ++i) {
    const float a = static_cast<float>(i) * 6.2832f / 16.0f;
    ring.push_back(Disc(192.0f + 12.0f * std::cos(a), 380.0f + 12.0f * std::sin(a),
                        -3.0f * std::cos(a), -3.0f * std::sin(a), 3.0f));
  }
  DodgeBot bot;
  ShipState ship = ShipAt(192.0f, 380.0f);
  BotChoice c = bot.decide(ship, ring, Aim{});
  EXPECT_TRUE(c.bomb);
  EXPECT_GE(c.firstHit, 1);
  EXPECT_LE(c.firstHit, DodgeBot::kBombWithin);
  // No bomb in stock, or still invulnerable: no bomb.
  ship.canBomb = false;
  EXPECT_FALSE(bot.decide(ship, ring, Aim{}).bomb);
  ship = ShipAt(192.0f, 380.0f);
  ship.safeFrames = 100;
  EXPECT_FALSE(bot.decide(ship, ring, Aim{}).bomb);
  // The same bullets far away leave time to get out: no bomb.
  for (Threat& t : ring) t.y -= 150.0f;
  EXPECT_FALSE(bot.decide(ShipAt(192.0f, 380.0f), ring, Aim{}).bomb);
}

TEST(DodgeBotChoice, AnswersAHitWithABombWhileItStillCounts) {
  Object_Player ship;
  ship.bombs = 1;
  ship.state = PLAYER_COUNTER_BOMB;
  ship.stateCounter = 2;
  EXPECT_TRUE(ShipStateOf(ship).counterBomb);
  DodgeBot bot;
  EXPECT_TRUE(bot.decide(ShipStateOf(ship), {}, Aim{}).bomb);
  ship.stateCounter = kCounterBombFrames - 1;  // the next update is too late
  EXPECT_FALSE(ShipStateOf(ship).counterBomb);
  ship.stateCounter = 2;
  ship.bombs = 0;
  EXPECT_FALSE(bot.decide(ShipStateOf(ship), {}, Aim{}).bomb);
}

// The bot's keys as the ship reads them, through the real frame pass.
class BotOnFieldTest : public FieldTest {
 protected:
  void SetUp() override {
    FieldTest::SetUp();
    gMainShotTimer = gOptionShotTimer = gOptionLaserTimer = 0;
    placePlayer(192.0f, 384.0f);
    player().bombs = 0;
  }

  void hold(const HeldKeys& k) {
    std::memcpy(gInput.keysPrev, gInput.keysNow, sizeof gInput.keysPrev);
    std::memset(gInput.keysNow, 0, sizeof gInput.keysNow);
    gInput.keysNow[KEY_Z] = k.shot;
    gInput.keysNow[KEY_C] = k.bomb;
    gInput.keysNow[KEY_LSHIFT] = k.slow;
    gInput.keysNow[KEY_UP] = (k.directions & DIR_UP) != 0;
    gInput.keysNow[KEY_DOWN] = (k.directions & DIR_DOWN) != 0;
    gInput.keysNow[KEY_LEFT] = (k.directions & DIR_LEFT) != 0;
    gInput.keysNow[KEY_RIGHT] = (k.directions & DIR_RIGHT) != 0;
  }

  // Frames of play with the bot's keys, or none; the misses they cost.
  int play(int frames, bool withBot) {
    DodgeBot bot;
    ThreatWatch watch;
    bool bombHeld = false;
    for (int i = 0; i < frames; ++i) {
      HeldKeys keys;
      if (withBot) {
        const BotChoice c = DecideOnField(field(), watch, bot);
        keys.directions = c.directions;
        keys.slow = c.slow;
        keys.bomb = c.bomb && !bombHeld;
        bombHeld = keys.bomb;
      }
      hold(keys);
      if (player().state == PLAYER_COUNTER_BOMB) {
        player().update();
        ++counterBombFrames;
      } else {
        field().framePass();
      }
    }
    return gGame.misses;
  }
  int counterBombFrames = 0;

  void column(float x, float fromY, float speed, int count) {
    for (int i = 0; i < count; ++i) {
      Object_Bullet* b = enemyBullet(x, fromY - 24.0f * static_cast<float>(i));
      b->vy = speed;
    }
  }
};

TEST_F(BotOnFieldTest, AStillShipIsHitByABulletJustAboveIt) {
  column(192.0f, 370.0f, 3.0f, 1);
  EXPECT_EQ(play(20, false), 1);
}

TEST_F(BotOnFieldTest, TheBotMovesAwayFromABulletJustAboveIt) {
  column(192.0f, 370.0f, 3.0f, 1);
  DodgeBot bot;
  ThreatWatch watch;
  const BotChoice first = DecideOnField(field(), watch, bot);
  EXPECT_NE(first.directions & (DIR_LEFT | DIR_RIGHT), 0) << int(first.directions);
  EXPECT_EQ(play(20, true), 0);
  EXPECT_NE(player().x, 192.0f);
  EXPECT_EQ(player().state, PLAYER_NORMAL);
}

TEST_F(BotOnFieldTest, TheBotSlipsBetweenStreamsAimedAtIt) {
  // Three fast streams: straight down on the ship, and crossing from both
  // sides towards where it stands.
  column(192.0f, 330.0f, 4.0f, 10);
  for (int i = 0; i < 10; ++i) {
    for (const float side : {-1.0f, 1.0f}) {
      Object_Bullet* b = enemyBullet(192.0f + side * 150.0f, 234.0f - 20.0f * i);
      b->vx = -side * 2.0f;
      b->vy = 2.0f;
    }
  }
  EXPECT_GT(play(150, false), 0);
  // The same field again, with the bot at the stick.
  gGame.misses = 0;
  field().enemyBullets.releaseAll();
  placePlayer(192.0f, 384.0f);
  column(192.0f, 330.0f, 4.0f, 10);
  for (int i = 0; i < 10; ++i) {
    for (const float side : {-1.0f, 1.0f}) {
      Object_Bullet* b = enemyBullet(192.0f + side * 150.0f, 234.0f - 20.0f * i);
      b->vx = -side * 2.0f;
      b->vy = 2.0f;
    }
  }
  EXPECT_EQ(play(150, true), 0);
}

TEST_F(BotOnFieldTest, TheBotBombsBeforeAnInescapableHitLands) {
  player().bombs = 1;
  for (int i = 0; i < 24; ++i) {
    const float a = static_cast<float>(i) * 6.2832f / 24.0f;
    Object_Bullet* b = enemyBullet(192.0f + 14.0f * std::cos(a), 384.0f + 14.0f * std::sin(a));
    b->vx = -3.0f * std::cos(a);
    b->vy = -3.0f * std::sin(a);
  }
  EXPECT_EQ(play(30, true), 0);
  EXPECT_EQ(gGame.bombsUsed, 1);
  EXPECT_EQ(player().bombs, 0);
  // The bomb came first: the ship was never hit.
  EXPECT_EQ(counterBombFrames, 0);
}

TEST_F(BotOnFieldTest, TheBotKnowsTheFrameItsInvulnerabilityEnds) {
  // Three frames before the ship can be hit again, a fast bullet comes
  // straight through where it stands, just then.
  auto setUp = [&] {
    placePlayer(192.0f, 380.0f);
    player().state = PLAYER_INVULNERABLE;
    player().stateCounter = kInvulnerableFrames - 3;
    player().bombs = 0;
    player().controllable = 1;
    // The wreck of the first try cleared the air round it: gone too.
    field().enemyBullets.releaseAll();
    field().playerShots.releaseAll();
    column(192.0f, 380.0f - 3 * 30.0f, 30.0f, 1);
  };
  setUp();
  EXPECT_EQ(play(10, false), 1);
  gGame.misses = 0;
  setUp();
  EXPECT_EQ(play(10, true), 0);
}

TEST_F(BotOnFieldTest, TheShipGoesWhereTheBotForesawIt) {
  // The bot's model of the ship's steering, against the ship itself: every
  // direction at full speed and slow, held back by a bomb, and at the edges.
  struct Start {
    float x, y;
    bool bombing;
  };
  const Start starts[] = {{192.0f, 384.0f, false}, {17.0f, 25.0f, false}, {366.0f, 422.0f, true}};
  for (const Start& s : starts) {
    for (uint8_t directions = 0; directions < 16; ++directions) {
      for (const bool slow : {false, true}) {
        placePlayer(s.x, s.y);
        player().bombing = s.bombing;
        const ShipPoint foreseen =
            SteerShip(ShipStateOf(player()), {player().x, player().y}, directions, slow);
        HeldKeys k;
        k.directions = directions;
        k.slow = slow;
        hold(k);
        player().update();
        EXPECT_FLOAT_EQ(player().x, foreseen.x) << int(directions) << " slow " << slow;
        EXPECT_FLOAT_EQ(player().y, foreseen.y) << int(directions) << " slow " << slow;
      }
    }
  }
}

}  // namespace
