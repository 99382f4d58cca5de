// Conversation portraits: picture<n>.png from the sources portraits.txt
// names. The game anchors a portrait at its bottom centre, at x 80 (left) or
// 304 (right) of the play field, so every portrait is 160 x 288 and the two
// sides never overlap.
#include <sstream>

#include "Build.h"
#include "Svg.h"

namespace pictures {

void BuildPortraits(const Context& ctx) {
  constexpr int kWidth = 160, kHeight = 288;
  std::istringstream in(ReadText(ctx.source + "/portraits.txt"));
  std::string line;
  while (std::getline(in, line)) {
    if (line.empty() || line[0] == '#') continue;
    std::istringstream f(line);
    int number = 0;
    std::string design;
    if (!(f >> number >> design) || number < 1) Fail("bad line in portraits.txt: " + line);
    std::string source = ReadText(ctx.source + "/portraits/" + design + ".svg");
    SavePng(ctx, "picture" + std::to_string(number) + ".png", RenderSvg(source, kWidth, kHeight));
  }
}

}  // namespace pictures
