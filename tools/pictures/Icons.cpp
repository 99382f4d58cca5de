// The application icon at the sizes desktops look for, from its SVG source:
// <output>/<n>x<n>/apps/velmora.png.
#include <filesystem>
#include <string>

#include "Svg.h"

namespace pictures {

int BuildIcons(const std::string& svgPath, const std::string& output) {
  const std::string svg = ReadText(svgPath);
  for (int size : {16, 22, 24, 32, 48, 64, 128, 256}) {
    const std::string sizeName = std::to_string(size) + "x" + std::to_string(size);
    const std::string folder = output + "/" + sizeName + "/apps";
    std::filesystem::create_directories(folder);
    if (!WritePng(folder + "/velmora.png", RenderSvg(svg, size, size))) {
      Fail("cannot write " + folder + "/velmora.png");
    }
  }
  return 0;
}

}  // namespace pictures
