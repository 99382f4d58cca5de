// Ship and enemy sheets: 4 x 4 cells (rows: straight, left, right, rising;
// four frames each), every cell rendered from one SVG source with per-cell
// values (exhaust length, spin, where the lights sit) and a squeeze for the
// banking rows.
#include <cmath>
#include <cstdio>
#include <sstream>
#include <vector>

#include "Build.h"
#include "Svg.h"

namespace pictures {
namespace {

std::string Num(float v) {
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", double(v));
  return buf;
}

// The cell size is the source's own width and height attributes.
void SourceSize(const std::string& svg, int* w, int* h) {
  auto attr = [&](const char* name) {
    size_t p = svg.find(std::string(" ") + name + "=\"");
    if (p == std::string::npos) Fail(std::string("SVG source without ") + name);
    return std::atoi(svg.c_str() + p + std::string(name).size() + 3);
  };
  *w = attr("width");
  *h = attr("height");
}

// Values every sheet source may use, for row `row` and frame `frame`.
Vars CellVars(int row, int frame, int cellW, const Vars& extra) {
  static const float kFlame[4] = {0.85f, 1.0f, 1.2f, 0.95f};
  static const float kPulse[4] = {1.0f, 1.1f, 1.18f, 1.08f};
  float lean = row == 1 ? -1.0f : row == 2 ? 1.0f : 0.0f;
  lean *= 1.5f * float(cellW) / 32.0f;
  float centre = float(cellW) / 2;
  bool rising = row == 3;
  Vars v = extra;
  v["flame"] = Num(rising ? kFlame[frame] * 0.5f : kFlame[frame]);
  v["pulse"] = Num(kPulse[frame]);
  v["eye"] = Num(centre + lean);
  v["eyeL"] = Num(centre + lean - 10);
  v["eyeR"] = Num(centre + lean + 10);
  v["eyey"] = Num(rising ? 13.5f : 16.5f);
  v["canopy"] = Num(16 + lean);
  v["rise"] = rising ? "1" : "0";
  v["riseR"] = rising ? "3" : "0";
  // Spins sized so that four frames make one seamless turn of each symmetry.
  v["spin"] = Num(float(frame) * 22.5f);
  v["spin180"] = Num(float(frame) * 45.0f);
  v["spin45"] = Num(float(frame) * 11.25f);
  v["spin60"] = Num(float(frame) * -15.0f);
  v["lampA"] = Num(26 + float(frame) * 14);
  v["lampB"] = Num(26 + float((frame + 2) % 4) * 14);
  v["glow"] = Num(9 * kFlame[frame]);
  return v;
}

// Builds a 4 x 4 sheet. Banking rows are squeezed horizontally; when
// `risingRow` is false the last row repeats the straight row (the ship has no
// rising pose).
Canvas BuildSheet(const std::string& source, const Vars& extra, bool risingRow) {
  int cw, ch;
  SourceSize(source, &cw, &ch);
  Canvas sheet(cw * 4, ch * 4);
  for (int row = 0; row < 4; ++row)
    for (int frame = 0; frame < 4; ++frame) {
      int poseRow = (row == 3 && !risingRow) ? 0 : row;
      Placement p;
      if (poseRow == 1 || poseRow == 2) p.scaleX = 0.86f;
      std::string svg = Substitute(source, CellVars(poseRow, frame, cw, extra));
      sheet.Draw(RenderSvg(svg, cw, ch, p), frame * cw, row * ch);
    }
  return sheet;
}

}  // namespace

void BuildShips(const Context& ctx) {
  std::string ship = ReadText(ctx.source + "/ships/ship.svg");
  std::string glow = ReadText(ctx.source + "/ships/ship_glow.svg");
  std::string option = ReadText(ctx.source + "/ships/option.svg");
  std::string dart = ReadText(ctx.source + "/enemies/dart.svg");
  SavePng(ctx, "player1.png", BuildSheet(ship, {{"shield", "0"}}, false));
  SavePng(ctx, "player2.png", BuildSheet(ship, {{"shield", "1"}}, false));
  SavePng(ctx, "player3.png", BuildSheet(option, {{"c1", "#40ff90"}}, false));
  SavePng(ctx, "player4.png", BuildSheet(option, {{"c1", "#40b0ff"}}, false));
  SavePng(ctx, "player5.png", BuildSheet(glow, {}, false));
  SavePng(ctx, "player6.png", BuildSheet(option, {{"c1", "#ffc040"}}, false));
  // Set 7 is what enemy graphic 0 shows: a plain grey fighter.
  SavePng(ctx, "player7.png", BuildSheet(dart, {{"c1", "#a0a8c0"}, {"c2", "#c0d0ff"}}, true));
}

void BuildEnemies(const Context& ctx) {
  std::istringstream in(ReadText(ctx.source + "/enemies.txt"));
  std::string line;
  std::vector<bool> seen(51, false);
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    int set = 0;
    std::string design, c1, c2;
    if (!(f >> set >> design >> c1 >> c2) || set < 1 || set > 50)
      Fail("bad line in enemies.txt: " + line);
    std::string source = ReadText(ctx.source + "/enemies/" + design + ".svg");
    SavePng(ctx, "enemy" + std::to_string(set) + ".png",
            BuildSheet(source, {{"c1", c1}, {"c2", c2}}, true));
    seen[size_t(set)] = true;
  }
  for (int s = 1; s <= 50; ++s)
    if (!seen[size_t(s)]) Fail("enemies.txt does not list set " + std::to_string(s));
}

}  // namespace pictures
