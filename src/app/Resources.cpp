#include "app/Resources.h"

#include <cstdio>
#include <string>

#include "app/Sjis.h"
#include "engine/Engine.h"

int PlayerImages[kPlayerSets][16];
int EnemyImages[kEnemySets][16];
int ItemImages[kItemImages];
int BulletImages[kBulletImages];
int EffectImages[kEffectSets][kEffectCells];
std::unique_ptr<Animation> Animations[kAnimationTables];
int ChargeBaseImages[2];
int ChargeBarImage;
int HpBarImage;
int GuideImage;

int FontTrebuchet25;
int FontTrebuchet18Italic;
int FontGothic20;
int FontPGothic15;
int FontFranklin25;
int FontMincho30;

ImageEngineCalls FacadeImageCalls() {
  return {LoadImageFile, LoadImageCells,  CreateSubImage,
          GetImageSize,  DeleteAllImages, CreateFontToHandle};
}
ImageEngineCalls gImageCalls = FacadeImageCalls();

namespace {

// A failed load gives -1; the tables keep 0 for "nothing to draw".
int Handle(int h) { return h > 0 ? h : 0; }

int LoadWhole(const char* path) { return Handle(gImageCalls.loadImage(path)); }

void LoadCells(const char* path, int total, int columns, int rows, int width, int height,
               int* out) {
  for (int i = 0; i < total; ++i) out[i] = 0;
  if (gImageCalls.loadCells(path, total, columns, rows, width, height, out) == -1) {
    for (int i = 0; i < total; ++i) out[i] = 0;
    return;
  }
  for (int i = 0; i < total; ++i) out[i] = Handle(out[i]);
}

}  // namespace

void LoadFonts() {
  // Type 2 is anti-aliased; -1 is the default outline. The Japanese faces
  // use the default character set (-1), the Latin ones the ANSI set (0).
  const std::string gothic = Sjis("ＭＳ ゴシック");
  const std::string pGothic = Sjis("ＭＳ Ｐゴシック");
  const std::string pMincho = Sjis("ＭＳ Ｐ明朝");
  FontTrebuchet25 = gImageCalls.createFont("Trebuchet MS", 25, 4, 2, 0, -1, false);
  FontTrebuchet18Italic = gImageCalls.createFont("Trebuchet MS", 18, 8, 2, 0, -1, true);
  FontGothic20 = gImageCalls.createFont(gothic.c_str(), 20, 4, 2, -1, -1, false);
  FontPGothic15 = gImageCalls.createFont(pGothic.c_str(), 15, 4, 2, -1, -1, false);
  FontFranklin25 = gImageCalls.createFont("Franklin Gothic Medium", 25, 4, 2, 0, -1, false);
  FontMincho30 = gImageCalls.createFont(pMincho.c_str(), 30, 8, 2, -1, -1, false);
}

void LoadImageGrid(const char* path, int rows, int* out) {
  const int total = 4 * rows;
  for (int i = 0; i < total; ++i) out[i] = 0;
  const int whole = gImageCalls.loadImage(path);
  if (whole <= 0) return;
  int w = 0;
  int h = 0;
  if (gImageCalls.imageSize(whole, &w, &h) == -1 || w <= 0 || h <= 0 || w % 4 != 0 ||
      h % rows != 0) {
    // A sheet that does not divide into the grid is used whole in every cell.
    for (int i = 0; i < total; ++i) out[i] = whole;
    return;
  }
  const int cw = w / 4;
  const int ch = h / rows;
  for (int i = 0; i < rows; ++i) {
    for (int j = 0; j < 4; ++j) {
      out[i * 4 + j] = Handle(gImageCalls.subImage(j * cw, i * ch, cw, ch, whole));
    }
  }
}

void LoadSharedImages() {
  char path[64];
  for (int n = 1; n <= kPlayerSets; ++n) {
    std::snprintf(path, sizeof path, "Graphics/player%d.png", n);
    LoadImageGrid(path, 4, PlayerImages[n - 1]);
  }
  for (int n = 1; n <= kEnemySets; ++n) {
    std::snprintf(path, sizeof path, "Graphics/enemy%d.png", n);
    LoadImageGrid(path, 4, EnemyImages[n - 1]);
  }
  LoadImageGrid("Graphics/item.png", 1, ItemImages);
  for (int n = 1; n <= kBulletImages; ++n) {
    std::snprintf(path, sizeof path, "Graphics/bullet%d.png", n);
    BulletImages[n - 1] = LoadWhole(path);
  }
  for (int n = 1; n <= kEffectSets; ++n) {
    std::snprintf(path, sizeof path, "Graphics/effect%d.png", n);
    LoadCells(path, kEffectCells, 5, 5, 128, 128, EffectImages[n - 1]);
  }
  for (int n = 1; n <= kAnimationTables; ++n) Animations[n - 1] = LoadAnimation(n);
  LoadCells("Graphics/charge_base.png", 2, 1, 2, 128, 32, ChargeBaseImages);
  ChargeBarImage = LoadWhole("Graphics/charge_bar.png");
  HpBarImage = LoadWhole("Graphics/hp_bar.png");
  GuideImage = LoadWhole("Graphics/guide.png");
}

void ReleaseSharedResources() {
  for (auto& anim : Animations) anim.reset();
  gImageCalls.deleteAll();
  // The handles died with their images; nothing may draw them afterwards.
  auto clear = [](int* table, int count) {
    for (int i = 0; i < count; ++i) table[i] = 0;
  };
  clear(&PlayerImages[0][0], kPlayerSets * 16);
  clear(&EnemyImages[0][0], kEnemySets * 16);
  clear(ItemImages, kItemImages);
  clear(BulletImages, kBulletImages);
  clear(&EffectImages[0][0], kEffectSets * kEffectCells);
  clear(ChargeBaseImages, 2);
  ChargeBarImage = HpBarImage = GuideImage = 0;
}

const Animation* FindAnimation(int n) {
  int index = (n - 1) % kAnimationTables;
  // The modulo of a number below 1 is negative in C++; wrap it into the table.
  if (index < 0) index += kAnimationTables;
  return Animations[index].get();
}
