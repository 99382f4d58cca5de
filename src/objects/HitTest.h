// The geometric tests between gameplay objects. Comparisons are strict where
// a touching boundary must not count, and the order of random draws (the
// sparks of laser hits) is part of the behaviour.
#pragma once

#include <cstdint>

class Object;
class Object_Bullet;
class Object_Enemy;
class Object_Player;
class Stage_Field;

enum HitResult { HIT_MISS = 0, HIT_HIT = 1, HIT_GRAZE = 2 };

// Bullet against the ship, with the ship's graze radius.
HitResult TestBulletPlayer(Object_Bullet& bullet, const Object_Player& player);
// A laser, ring or round shape against a circle. A laser hit makes a small
// spark where it touches (one random number).
bool TestShape(Object_Bullet& shape, const Object& circle);
// Enemy body against the ship; also keeps the field's nearest enemy.
bool TestEnemyBody(Stage_Field& field, Object_Enemy& enemy, const Object_Player& player);
// Whether the cancelling shot removes the enemy bullet. A laser may instead
// be cut shorter by the shot (and then stays).
bool TestCancel(Object_Bullet& bullet, Object_Bullet& shot);
// An enemy laser cut by a cancelling laser beam; true when nothing is left.
bool CutLaserWithLaser(Object_Bullet& bullet, Object_Bullet& beam);
