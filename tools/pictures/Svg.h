// Hand-written SVG sources, rasterised with librsvg. Sources may hold
// {{name}} placeholders that the build fills per cell (a flame length, a
// colour), so one small file describes every frame of a sheet.
#pragma once

#include <map>
#include <string>

#include "Canvas.h"

namespace pictures {

using Vars = std::map<std::string, std::string>;

// How a picture is placed in its cell: scaled and turned about the cell's
// centre, then moved.
struct Placement {
  float scaleX = 1, scaleY = 1;
  float angle = 0;  // radians, clockwise on screen
  float dx = 0, dy = 0;
};

// Reads a whole text file; aborts the build with a message when it is missing.
std::string ReadText(const std::string& path);
// Replaces every {{name}}; an unknown name aborts the build (a typo in a source
// should never produce a silently wrong picture).
std::string Substitute(const std::string& text, const Vars& vars);
// Renders the document scaled to width x height, with the placement applied.
Canvas RenderSvg(const std::string& svg, int width, int height, const Placement& p = {});

[[noreturn]] void Fail(const std::string& message);

}  // namespace pictures
