// Placeholder realisations, removed as the graphics part is built.
#include "Backend.h"
#include "Engine.h"
#include "Headless.h"

namespace engine {
DrawState& CurrentDrawState() {
  static DrawState s;
  return s;
}
std::unique_ptr<VideoDevice> MakeSdlVideo() { return MakeHeadlessVideo(); }
void ReleaseOverlay() {}
}  // namespace engine

int LoadImageFile(const char*) { return -1; }
int LoadImageCells(const char*, int, int, int, int, int, int*) { return -1; }
int CreateSubImage(int, int, int, int, int) { return -1; }
int GetImageSize(int, int*, int*) { return -1; }
int DeleteImage(int) { return -1; }
int DeleteAllImages() { return 0; }
int DrawImageFile(int, int, const char*, bool) { return -1; }
void SelectBackBuffer() {}
void ClearDrawTarget() {}
void PresentFrame() {}
void DrawImage(int, int, int, bool) {}
void DrawImageStretched(int, int, int, int, int, bool) {}
void DrawImageQuad(int, int, int, int, int, int, int, int, int, bool) {}
void DrawImageRect(int, int, int, int, int, int, int, bool, bool) {}
void DrawImageRotated(int, int, int, int, double, double, int, bool, bool) {}
void SetClipRect(int, int, int, int) {}
void SetBlendMode(int, int) {}
void SetDrawBrightness(int, int, int) {}
int MakeColor(int r, int g, int b) { return (r << 16) | (g << 8) | b; }
void DrawRectangle(int, int, int, int, int, bool) {}
void DrawSegment(int, int, int, int, int, int) {}
void DrawCircleShape(int, int, int, int, bool) {}
int SaveDrawScreen(int, int, int, int, const char*) { return -1; }
void PrintOverlay(const char*, ...) {}
void ClearOverlay() {}
