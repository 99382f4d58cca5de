// The action prototypes the ship's weapons copy into their shots. Built once;
// the side shots' horizontal speeds are rewritten before every volley.
#pragma once

#include "objects/Action.h"

struct PlayerShotPrototypes {
  Action straight;
  Action innerLeft;
  Action innerRight;
  Action middleLeft;
  Action middleRight;
  Action outerLeft;
  Action outerRight;
  Action shotAlpha;
  Action optionLaserGrowth;
};

PlayerShotPrototypes& ShotPrototypes();
// Side shots spread outward normally and cross in front of the ship in the
// slow formation.
void SetVolleySpread(bool slowFormation);
