// The engine layer: every contact between the game and the machine.
//
// Plain functions over global state (one window, one screen, tables of
// integer handles), used from the game's single thread only. Failures are
// reported by return values and never stop the program. Text arguments are
// CP932 (Shift-JIS) byte strings.
#pragma once

#include <cstddef>
#include <cstdint>

// ---------------------------------------------------------------------------
// Window and system (start-up and shutdown only)

void ChangeWindowMode(bool windowed);
void SetScreenMode(int width, int height, int colorBits, int refreshRate);
void SetWindowIcon(int iconId);
void EnableEngineLog(bool enable);
void SetWindowTitle(const char* title);
void SetRunWhenInactive(bool run);
void SetTextureFilter(int mode);  // 0 nearest, 1 bilinear, 2 anisotropic
int EngineInit();                 // 0 on success (also when already up), -1 on failure
void EngineEnd();
int PumpMessages();  // nonzero once the window was closed or the program must quit
void SetArchiveExtension(const char* extension);
void SetArchiveKey(const char* key);
// The folder data paths are read under; empty or null is the working
// directory. An installed game reads its data from a system folder and keeps
// the working directory for the player's own files.
void SetDataFolder(const char* folder);

// Platform services the game uses beside the layer: the start-up question
// and the frame pacing sleep. AskYesNo answers false when no box can be shown.
bool AskYesNo(const char* caption, const char* text);
void SleepMilli(int milliseconds);

// ---------------------------------------------------------------------------
// Time

int64_t GetTimeMicro();

// ---------------------------------------------------------------------------
// Images: handles > 0 on success, -1 on failure; 0 means "no image".

int LoadImageFile(const char* path);
int LoadImageCells(const char* path, int total, int columns, int rows, int cellWidth,
                   int cellHeight, int* handles);
int CreateSubImage(int x, int y, int width, int height, int source);
int GetImageSize(int handle, int* width, int* height);
int DeleteImage(int handle);
int DeleteAllImages();
int DrawImageFile(int x, int y, const char* path, bool transparent);

// ---------------------------------------------------------------------------
// Drawing. Clip rectangle, blend mode and brightness stay set until changed.

enum BlendMode { BLEND_NONE = 0, BLEND_ALPHA = 1, BLEND_ADD = 2, BLEND_SUB = 3, BLEND_MUL = 4 };

void SelectBackBuffer();
void ClearDrawTarget();
void PresentFrame();
void DrawImage(int x, int y, int handle, bool transparent);
void DrawImageStretched(int x1, int y1, int x2, int y2, int handle, bool transparent);
void DrawImageQuad(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4, int handle,
                   bool transparent);
void DrawImageRect(int x, int y, int srcX, int srcY, int width, int height, int handle,
                   bool transparent, bool flip);
void DrawImageRotated(int x, int y, int centerX, int centerY, double scale, double angle,
                      int handle, bool transparent, bool flip);
void SetClipRect(int x1, int y1, int x2, int y2);
void SetBlendMode(int mode, int param);
void SetDrawBrightness(int r, int g, int b);
int MakeColor(int r, int g, int b);
void DrawRectangle(int x1, int y1, int x2, int y2, int color, bool filled);
void DrawSegment(int x1, int y1, int x2, int y2, int color, int thickness);
void DrawCircleShape(int x, int y, int radius, int color, bool filled);
int SaveDrawScreen(int x1, int y1, int x2, int y2, const char* path);  // 0 or -1
void PrintOverlay(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ClearOverlay();

// ---------------------------------------------------------------------------
// Text

int CreateFontToHandle(const char* faceName, int size, int thickness, int typeFlags,
                       int charset, int edgeSize, bool italic);
int MeasureText(const char* text, int font);
void DrawTextWithFont(int x, int y, const char* text, int color, int font, int edgeColor);
void DrawTextDefault(int x, int y, const char* text, int color, int edgeColor);

// ---------------------------------------------------------------------------
// Sound

enum SoundPlayMode { PLAY_WAIT = 0, PLAY_BACKGROUND = 1, PLAY_LOOP = 3 };
enum SoundLoadMode { LOAD_MEMORY = 0, LOAD_STREAM = 3 };

void SetSoundLoadMode(int mode);
int LoadSound(const char* path);
int PlaySoundHandle(int handle, int mode, bool fromTop);
int StopSoundHandle(int handle);
int IsSoundPlaying(int handle);  // 1 playing, 0 not, -1 invalid
int SetSoundVolume(int volume, int handle);
int SetSoundLoopPoint(int64_t samplePosition, int handle);
int DeleteSound(int handle);
int DeleteAllSounds();

// ---------------------------------------------------------------------------
// Input

void ReadKeyboard(uint8_t* keys256);
int ReadJoypad(int pad);  // direction bits 0..3, buttons from bit 4; 0 with no pad

// ---------------------------------------------------------------------------
// Data files: read-only access to the game's data, from directories or from
// archives beside them ("Top/rest" falls back to "Top.<ext>").

struct DataFileInfo {
  char name[260];  // file name without its directory
  int64_t size;
  bool isDirectory;
};

int OpenDataFile(const char* path);        // 0 on failure
int64_t DataFileSize(const char* path);    // -1 when the file does not exist
int CloseDataFile(int handle);
int SeekDataFile(int handle, int64_t offset, int origin);  // origin 0 start, 1 current, 2 end
int64_t ReadDataFile(void* buffer, int64_t size, int handle);  // bytes read, -1 bad handle
int DataFileAtEnd(int handle);
int ReadDataChar(int handle);  // 0..255, or -1 at the end
int FindFirstDataFile(const char* pattern, DataFileInfo* out);  // search handle or -1
int FindNextDataFile(int search, DataFileInfo* out);            // 0, or -1 when no more
int FindCloseDataFile(int search);

// ---------------------------------------------------------------------------
// Random numbers (the replays depend on this exact generator)

void SeedRandom(int seed);
int RandomUpTo(int max);  // 0..max inclusive

// ---------------------------------------------------------------------------
// 3D models (one stage background)

struct Vector3 {
  float x, y, z;
};
struct Matrix4 {
  float m[4][4];
};

int LoadModelFile(const char* path);
int DeleteModel(int handle);
Matrix4 MatrixTranslate(float x, float y, float z);
Matrix4 MatrixScale(float sx, float sy, float sz);
Matrix4 MatrixRotateAxis(Vector3 axis, float angle);
Matrix4 MatrixMultiply(const Matrix4& a, const Matrix4& b);  // a applied first
int SetModelMatrix(int handle, const Matrix4& matrix);
void SetOrthoCamera(float viewHeight);
int DrawModel(int handle);
