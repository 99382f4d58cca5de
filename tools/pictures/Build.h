// The parts of the picture build. Each part writes its files into the output
// directory and aborts the build (exit 1) on any error.
#pragma once

#include <string>

#include "Canvas.h"

namespace pictures {

struct Context {
  std::string source;  // content/graphics
  std::string output;  // build/game/Graphics
};

void SavePng(const Context& ctx, const std::string& name, const Canvas& c, bool alpha = true);
void SaveJpeg(const Context& ctx, const std::string& name, const Canvas& c, int quality);

void BuildBullets(const Context& ctx);
void BuildEffects(const Context& ctx);
void BuildAnimations(const Context& ctx);
void BuildShips(const Context& ctx);
void BuildEnemies(const Context& ctx);
void BuildItemsAndGauges(const Context& ctx);
void BuildScenery(const Context& ctx);
// Stages 2 (the rings) and 3 and 4 (the Moon, the Earth).
void BuildRingScenery(const Context& ctx);
void BuildMoonEarthScenery(const Context& ctx);
// Stage 5 (the corridor between dimensions).
void BuildCorridorScenery(const Context& ctx);
// Stage 6 (the azure planet seen close).
void BuildAzureScenery(const Context& ctx);
// The Extra stage (the heavens above the open door).
void BuildHeavenScenery(const Context& ctx);
void BuildScreens(const Context& ctx);
void BuildLogo(const Context& ctx);
// Conversation portraits (picture<n>.png).
void BuildPortraits(const Context& ctx);

// Shared by the screens and the scenery: a dark field of stars.
Canvas StarField(int width, int height, uint32_t seed, float density, float brightness);

}  // namespace pictures
