// velmora-pictures: builds every picture of the game from content/graphics.
//   velmora-pictures build <source dir> <output dir> <stamp file>
//   velmora-pictures contact-sheet <graphics dir> <output png>
//   velmora-pictures icons <icon svg> <output dir>
// The parts run on two threads; each part writes only its own files, so the
// result does not depend on scheduling.
#include <sys/stat.h>

#include <cstdio>
#include <cstring>
#include <functional>
#include <thread>
#include <vector>

#include "Build.h"
#include "Svg.h"

namespace pictures {

void SavePng(const Context& ctx, const std::string& name, const Canvas& c, bool alpha) {
  if (!WritePng(ctx.output + "/" + name, c, alpha)) Fail("cannot write " + name);
}

void SaveJpeg(const Context& ctx, const std::string& name, const Canvas& c, int quality) {
  if (!WriteJpeg(ctx.output + "/" + name, c, quality)) Fail("cannot write " + name);
}

int ContactSheet(const std::string& graphics, const std::string& output);
int BuildIcons(const std::string& svgPath, const std::string& output);

}  // namespace pictures

int main(int argc, char** argv) {
  using namespace pictures;
  if (argc == 5 && std::strcmp(argv[1], "build") == 0) {
    Context ctx{argv[2], argv[3]};
    mkdir(ctx.output.c_str(), 0755);
    // Two queues of roughly equal work.
    std::vector<std::function<void(const Context&)>> first{
        BuildScenery,          BuildBullets,   BuildShips,        BuildLogo,
        BuildMoonEarthScenery, BuildPortraits, BuildHeavenScenery};
    std::vector<std::function<void(const Context&)>> second{
        BuildEffects,        BuildAnimations,  BuildEnemies,         BuildScreens,
        BuildItemsAndGauges, BuildRingScenery, BuildCorridorScenery, BuildAzureScenery};
    std::thread worker([&] {
      for (auto& part : second) part(ctx);
    });
    for (auto& part : first) part(ctx);
    worker.join();
    FILE* stamp = std::fopen(argv[4], "wb");
    if (!stamp) Fail(std::string("cannot write ") + argv[4]);
    std::fclose(stamp);
    return 0;
  }
  if (argc == 4 && std::strcmp(argv[1], "contact-sheet") == 0)
    return ContactSheet(argv[2], argv[3]);
  if (argc == 4 && std::strcmp(argv[1], "icons") == 0) return BuildIcons(argv[2], argv[3]);
  std::fprintf(stderr,
               "usage: velmora-pictures build <source> <output> <stamp>\n"
               "       velmora-pictures contact-sheet <graphics dir> <output.png>\n"
               "       velmora-pictures icons <icon.svg> <output dir>\n");
  return 2;
}
