// Images and fonts loaded once at start-up and shared by gameplay, the HUD and
// the menus. The tables are indexed by number so that the enemy table and the
// bullet and effect kinds can name an image set by its number: set n of a
// file name ("enemy7.png") is index n - 1. Every handle is 0 when missing.
#pragma once

#include <cstdint>
#include <memory>

#include "app/AnimeTable.h"

inline constexpr int kPlayerSets = 7;
inline constexpr int kEnemySets = 50;
inline constexpr int kItemImages = 4;
inline constexpr int kBulletImages = 20;
inline constexpr int kEffectSets = 10;
inline constexpr int kEffectCells = 25;
inline constexpr int kAnimationTables = 30;

extern int PlayerImages[kPlayerSets][16];  // 4 x 4 grid each, row-major
extern int EnemyImages[kEnemySets][16];    // 4 x 4 grid each, row-major
extern int ItemImages[kItemImages];        // one row of 4
extern int BulletImages[kBulletImages];
extern int EffectImages[kEffectSets][kEffectCells];              // 5 x 5 cells of 128 x 128
extern std::unique_ptr<Animation> Animations[kAnimationTables];  // null when absent
extern int ChargeBaseImages[2];
extern int ChargeBarImage;
extern int HpBarImage;
extern int GuideImage;

extern int FontTrebuchet25;
extern int FontTrebuchet18Italic;
extern int FontGothic20;  // fixed pitch: the score table and name entry align on it
extern int FontPGothic15;
extern int FontFranklin25;
extern int FontMincho30;

// The engine calls the loaders make; the facade's functions, or recorders in
// tests.
struct ImageEngineCalls {
  int (*loadImage)(const char* path);
  int (*loadCells)(const char* path, int total, int columns, int rows, int cellWidth,
                   int cellHeight, int* handles);
  int (*subImage)(int x, int y, int width, int height, int source);
  int (*imageSize)(int handle, int* width, int* height);
  int (*deleteAll)();
  int (*createFont)(const char* faceName, int size, int thickness, int typeFlags, int charset,
                    int edgeSize, bool italic);
};
ImageEngineCalls FacadeImageCalls();
extern ImageEngineCalls gImageCalls;

// Start-up, fonts first.
void LoadFonts();
// Ships, enemies, items, bullets, effects, animations 1 to 30, charge base,
// charge bar, HP bar, guide.
void LoadSharedImages();
// Shutdown: frees the animation records and releases every image.
void ReleaseSharedResources();

// Loads a sheet of 4 columns and `rows` rows into out[rows * 4]. A sheet whose
// size does not divide into the grid fills every entry with the whole image;
// a missing sheet leaves zeros.
void LoadImageGrid(const char* path, int rows, int* out);

// Animation n as the sprites find it: index (n - 1) modulo 30; null if absent.
const Animation* FindAnimation(int n);
