// Placeholder realisations, removed as the text part is built.
#include "Backend.h"
#include "Engine.h"

namespace engine {
void ReleaseFonts() {}
}  // namespace engine

int CreateFontToHandle(const char*, int, int, int, int, int, bool) { return -1; }
int MeasureText(const char*, int) { return 0; }
void DrawTextWithFont(int, int, const char*, int, int, int) {}
void DrawTextDefault(int, int, const char*, int, int) {}
