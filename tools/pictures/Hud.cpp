// Items and the score board's gauges: straight renders of their sources.
#include "Build.h"
#include "Svg.h"

namespace pictures {

void BuildItemsAndGauges(const Context& ctx) {
  struct Piece {
    const char* source;
    const char* output;
    int w, h;
  };
  const Piece pieces[] = {
      {"hud/items.svg", "item.png", 64, 16},
      {"hud/charge_base.svg", "charge_base.png", 128, 64},
      {"hud/charge_bar.svg", "charge_bar.png", 112, 8},
      {"hud/hp_bar.svg", "hp_bar.png", 16, 8},
      {"hud/guide.svg", "guide.png", 64, 64},
  };
  for (const Piece& p : pieces)
    SavePng(ctx, p.output, RenderSvg(ReadText(ctx.source + "/" + p.source), p.w, p.h));
}

}  // namespace pictures
