// The firing codes of enemy scripts: firing settings and bullet patterns.
#pragma once

class Action;
class Object_Enemy;

// Runs a firing code (100 to 214) for the enemy; false when the code is not
// a firing code, so the caller handles it.
bool DoFiringAction(Object_Enemy& enemy, const Action& action);
