// Inside the engine layer: the device parts behind one backend with two
// realisations, SDL2 for the game and headless for tests. Game code never
// includes this header; only the engine's own files and its tests do.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace engine {

enum class RendererChoice { Automatic, Gl, Software };

// What the start-up calls before EngineInit ask of the window.
struct WindowSettings {
  bool windowed = false;
  int width = 640;
  int height = 480;
  int colorBits = 32;
  int refreshRate = 60;
  int iconId = 0;
  std::string titleUtf8;
  bool runWhenInactive = false;
  int textureFilter = 0;  // 0 nearest, 1 bilinear, 2 anisotropic
  bool engineLog = false;
  // Leave out drawing work that shows nowhere (see DrawQueue); false sends
  // every draw to the renderer as asked, so tests can compare the two.
  bool cullDraws = true;
  // Which renderer draws the picture; Automatic takes VELMORA_RENDERER
  // (gl or software), else our own where the GL is a software one.
  RendererChoice renderer = RendererChoice::Automatic;
};
WindowSettings& Settings();

// One corner of a textured or coloured triangle, in screen pixels; u and v
// are normalised texture coordinates, the colour modulates the texel.
struct Vertex {
  float x, y;
  float u, v;
  uint8_t r, g, b, a;
};

class VideoDevice {
 public:
  virtual ~VideoDevice() = default;
  virtual bool open(const WindowSettings& settings) = 0;
  virtual void close() = 0;
  // Handles pending window events; false once the window was closed.
  virtual bool pumpEvents() = 0;
  // A new title for the open window (a window without one ignores it).
  virtual void setTitle(const std::string& titleUtf8) { (void)titleUtf8; }
  // Textures hold straight-alpha RGBA pixels, one uint32_t each (R in the
  // lowest byte). Null on failure.
  virtual void* createTexture(int width, int height, const uint32_t* rgba) = 0;
  virtual void updateTexture(void* texture, int x, int y, int width, int height,
                             const uint32_t* rgba) = 0;
  virtual void destroyTexture(void* texture) = 0;
  virtual void setClip(bool enabled, int x1, int y1, int x2, int y2) = 0;
  // Triangles (indices in threes); a null texture draws plain colour.
  // blendMode is one of the facade's BlendMode values.
  virtual void drawGeometry(void* texture, const Vertex* vertices, int vertexCount,
                            const int* indices, int indexCount, int blendMode) = 0;
  virtual void clear() = 0;
  // Reads the logical 640 x 480 picture drawn so far (before present) as
  // RGBA pixels, R in the lowest byte, alpha 255.
  virtual bool readPixels(int x, int y, int width, int height, uint32_t* rgba) = 0;
  virtual void present() = 0;
  // The start-up question; false when no box can be shown.
  virtual bool askYesNo(const std::string& captionUtf8, const std::string& textUtf8) = 0;
  // Which renderer draws, for benchmarks and logs.
  virtual std::string rendererName() const { return "none"; }
};

class AudioDevice {
 public:
  // Fills interleaved stereo float frames at the device rate.
  using Callback = void (*)(void* user, float* stereo, int frames);
  virtual ~AudioDevice() = default;
  // False when there is no sound device; the mixer then runs silently.
  virtual bool open(int sampleRate, Callback callback, void* user) = 0;
  virtual void close() = 0;
  virtual void lock() = 0;
  virtual void unlock() = 0;
};

class InputDevice {
 public:
  virtual ~InputDevice() = default;
  virtual void open() = 0;
  virtual void close() = 0;
  virtual void readKeyboard(uint8_t* keys256) = 0;
  virtual int readJoypad(int pad) = 0;
};

class ClockDevice {
 public:
  virtual ~ClockDevice() = default;
  virtual int64_t nowMicro() = 0;
  virtual void sleepMilli(int milliseconds) = 0;
};

struct Backend {
  std::unique_ptr<VideoDevice> video;
  std::unique_ptr<AudioDevice> audio;
  std::unique_ptr<InputDevice> input;
  std::unique_ptr<ClockDevice> clock;
  bool headless = false;
};

// Global drawing state of the facade: blend mode and parameter (clamped to
// 0..255), brightness per channel, clip rectangle.
struct DrawState {
  int blendMode = 0;
  int blendParam = 255;
  int bright[3] = {255, 255, 255};
  bool clipOn = false;
  int clip[4] = {0, 0, 640, 480};
};
DrawState& CurrentDrawState();

Backend& CurrentBackend();
bool EngineIsUp();

// Realisations, each in its own file.
std::unique_ptr<VideoDevice> MakeSdlVideo();
std::unique_ptr<AudioDevice> MakeSdlAudio();
std::unique_ptr<InputDevice> MakeSdlInput();
std::unique_ptr<ClockDevice> MakeSdlClock();
std::unique_ptr<VideoDevice> MakeHeadlessVideo();
std::unique_ptr<AudioDevice> MakeHeadlessAudio();
std::unique_ptr<InputDevice> MakeHeadlessInput();
std::unique_ptr<ClockDevice> MakeHeadlessClock();

// Releases owned by each part of the layer, called by EngineEnd.
void ReleaseFonts();
void ReleaseModels();
void ReleaseDataFiles();
void ReleaseOverlay();

// Reads a whole data file (directory first, then archive) into memory;
// false when it does not exist or cannot be read.
bool ReadWholeDataFile(const char* path, std::vector<uint8_t>& out);

// CP932 text to UTF-8 (window title, message box, text drawing).
std::string Cp932ToUtf8(const std::string& cp932);

}  // namespace engine
