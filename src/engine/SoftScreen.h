// The picture of the SDL video device when it draws in software: a
// 640 x 480 picture in memory drawn by the rasteriser (SoftRaster.h), and
// presented by copying it into the window's own surface, letterboxed.
// Chosen where the only GL is a software one (see RendererIsSoftware).
//
// Draws are recorded and drawn when the picture is needed (read, present,
// a texture changing); on a machine with two or more processors a second
// thread then draws the odd rows while the caller draws the even ones.
#pragma once

#include <SDL.h>

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "Backend.h"
#include "DrawQueue.h"
#include "SoftRaster.h"

namespace engine {

// What VELMORA_RENDERER asks for ("software" or "gl"); Automatic otherwise.
RendererChoice RendererFromEnvironment();

// Whether the SDL renderer draws through a software rasteriser: SDL's own
// software renderer, or GL whose renderer string names a software one.
bool RendererIsSoftware(SDL_Renderer* renderer);
// The SDL renderer's name, and the GL renderer string under it if any.
std::string RendererDescription(SDL_Renderer* renderer);

class SoftScreen {
 public:
  // Null when the window has no surface to present into.
  static std::unique_ptr<SoftScreen> Open(SDL_Window* window);
  ~SoftScreen();

  void* createTexture(int width, int height, const uint32_t* rgba);
  void updateTexture(void* texture, int x, int y, int width, int height, const uint32_t* rgba);
  void destroyTexture(void* texture);
  void clear();
  void draw(const DrawQueue::Out& d, bool filtered);
  void read(int x, int y, int width, int height, uint32_t* rgba);
  // Copies the picture into the window, scaled smoothly when `smooth` and
  // the scale is not a whole number.
  void present(bool smooth);

 private:
  explicit SoftScreen(SDL_Window* window);

  struct Recorded {
    const soft::Texture* texture;
    bool filtered;
    soft::Blend blend;
    PixelRect clip;
    size_t firstVertex;
    size_t firstIndex;
    int indexCount;
    bool clear;
  };
  // Draws everything recorded so far.
  void finish();
  // The recorded draws on every `step`-th row from `first` on.
  void paint(int first, int step);
  void helperLoop();

  SDL_Window* window_;
  std::vector<uint32_t> pixels_;
  std::vector<Recorded> recorded_;
  std::vector<Vertex> vertices_;
  std::vector<int> indices_;
  std::thread helper_;  // draws the odd rows
  std::mutex mutex_;
  std::condition_variable wake_, done_;
  uint64_t job_ = 0, jobDone_ = 0;
  bool stopping_ = false;
  std::unordered_map<const void*, std::unique_ptr<soft::Texture>> textures_;
  SDL_Surface* picture_ = nullptr;  // over pixels_, in the window's format when it allows
};

}  // namespace engine
