#include "SoftScreen.h"

#include <stdlib.h>

#include <cstring>
#include <string>

#include "Engine.h"
#include "SdlVideo.h"
#include "SoftRaster.h"

namespace engine {

RendererChoice RendererFromEnvironment() {
  const char* env = std::getenv("VELMORA_RENDERER");
  if (!env) return RendererChoice::Automatic;
  const std::string value = env;
  if (value == "software") return RendererChoice::Software;
  if (value == "gl") return RendererChoice::Gl;
  return RendererChoice::Automatic;
}

namespace {

// The GL renderer string of the renderer's context, empty without GL.
std::string GlRendererName(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return {};
  if (std::strncmp(info.name, "opengl", 6) != 0) return {};
  // The renderer has made its context current.
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString ? getString(0x1F01) : nullptr;  // GL_RENDERER
  return name ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

bool RendererIsSoftware(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return false;
  if (std::strcmp(info.name, "software") == 0) return true;
  const std::string gl = GlRendererName(renderer);
  for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (gl.find(soft) != std::string::npos) return true;
  }
  return false;
}

std::string RendererDescription(SDL_Renderer* renderer) {
  SDL_RendererInfo info{};
  if (!renderer || SDL_GetRendererInfo(renderer, &info) != 0) return "none";
  const std::string gl = GlRendererName(renderer);
  return gl.empty() ? std::string(info.name) : std::string(info.name) + ", " + gl;
}

std::unique_ptr<SoftScreen> SoftScreen::Open(SDL_Window* window) {
  // The window's surface must be its own pixels, not a texture of a GL
  // renderer made behind our back (which would bring the cost back).
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (!surface) return nullptr;
  std::unique_ptr<SoftScreen> screen(new SoftScreen(window));
  // The same byte layout with or without alpha: take the window's, so the
  // copy needs no conversion.
  const Uint32 format = surface->format->format == SDL_PIXELFORMAT_RGB888
                            ? SDL_PIXELFORMAT_RGB888
                            : SDL_PIXELFORMAT_ARGB8888;
  screen->picture_ = SDL_CreateRGBSurfaceWithFormatFrom(
      screen->pixels_.data(), kLogicalWidth, kLogicalHeight, 32, kLogicalWidth * 4, format);
  if (!screen->picture_) return nullptr;
  SDL_SetSurfaceBlendMode(screen->picture_, SDL_BLENDMODE_NONE);
  if (std::thread::hardware_concurrency() >= 2) {
    SoftScreen* s = screen.get();
    screen->helper_ = std::thread([s] { s->helperLoop(); });
  }
  return screen;
}

SoftScreen::SoftScreen(SDL_Window* window)
    : window_(window), pixels_(static_cast<size_t>(kLogicalWidth) * kLogicalHeight, 0xFF000000u) {}

SoftScreen::~SoftScreen() {
  if (helper_.joinable()) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      stopping_ = true;
    }
    wake_.notify_one();
    helper_.join();
  }
  if (picture_) SDL_FreeSurface(picture_);
}  // the textures go along

void SoftScreen::helperLoop() {
  uint64_t seen = 0;
  for (;;) {
    {
      std::unique_lock<std::mutex> lock(mutex_);
      wake_.wait(lock, [this, seen] { return stopping_ || job_ != seen; });
      if (stopping_) return;
      seen = job_;
    }
    paint(1, 2);
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      jobDone_ = seen;
    }
    done_.notify_one();
  }
}

void SoftScreen::finish() {
  if (recorded_.empty()) return;
  if (helper_.joinable()) {
    {
      const std::lock_guard<std::mutex> lock(mutex_);
      ++job_;
    }
    wake_.notify_one();
    paint(0, 2);
    std::unique_lock<std::mutex> lock(mutex_);
    done_.wait(lock, [this] { return jobDone_ == job_; });
  } else {
    paint(0, 1);
  }
  recorded_.clear();
  vertices_.clear();
  indices_.clear();
}

void SoftScreen::paint(int first, int step) {
  soft::Canvas canvas{pixels_.data(), kLogicalWidth, kLogicalHeight, kLogicalWidth, first, step};
  for (const Recorded& r : recorded_) {
    if (r.clear) {
      soft::Fill(canvas, PixelRect{0, 0, kLogicalWidth, kLogicalHeight}, 0xFF000000u);
    } else {
      soft::DrawTriangles(canvas, r.clip, r.texture, r.filtered, vertices_.data() + r.firstVertex,
                          indices_.data() + r.firstIndex, r.indexCount, r.blend);
    }
  }
}

void* SoftScreen::createTexture(int width, int height, const uint32_t* rgba) {
  auto texture = std::make_unique<soft::Texture>(width, height, rgba);
  void* handle = texture.get();
  textures_.emplace(handle, std::move(texture));
  return handle;
}

void SoftScreen::updateTexture(void* texture, int x, int y, int width, int height,
                               const uint32_t* rgba) {
  const auto found = textures_.find(texture);
  if (found == textures_.end()) return;
  finish();  // recorded draws show the texture as it was
  soft::Texture* t = found->second.get();
  if (x < 0 || y < 0 || x + width > t->width() || y + height > t->height()) return;
  t->update(x, y, width, height, rgba);
}

void SoftScreen::destroyTexture(void* texture) {
  finish();
  textures_.erase(texture);
}

void SoftScreen::clear() {
  // Everything before is painted over.
  recorded_.clear();
  vertices_.clear();
  indices_.clear();
  recorded_.push_back(Recorded{nullptr, false, soft::Blend::Replace, PixelRect{}, 0, 0, 0, true});
}

void SoftScreen::draw(const DrawQueue::Out& d, bool filtered) {
  if (d.clear) {
    clear();
    return;
  }
  soft::Blend blend = soft::Blend::Over;
  if (d.replaces) {
    blend = soft::Blend::Replace;
  } else if (d.blendMode == BLEND_ADD) {
    blend = soft::Blend::Add;
  } else if (d.blendMode == BLEND_SUB) {
    blend = soft::Blend::Subtract;
  } else if (d.blendMode == BLEND_MUL) {
    blend = soft::Blend::Multiply;
  }
  recorded_.push_back(Recorded{static_cast<const soft::Texture*>(d.texture), filtered, blend,
                               d.clip, vertices_.size(), indices_.size(), d.indexCount, false});
  vertices_.insert(vertices_.end(), d.vertices, d.vertices + d.vertexCount);
  indices_.insert(indices_.end(), d.indices, d.indices + d.indexCount);
}

void SoftScreen::read(int x, int y, int width, int height, uint32_t* rgba) {
  finish();
  for (int row = 0; row < height; ++row) {
    const uint32_t* from = pixels_.data() + static_cast<size_t>(y + row) * kLogicalWidth + x;
    uint32_t* to = rgba + static_cast<size_t>(row) * width;
    for (int col = 0; col < width; ++col) to[col] = soft::ToRgba(from[col]) | 0xFF000000u;
  }
}

void SoftScreen::present(bool smooth) {
  finish();
  // Asked again each frame: a resized window gets a new surface.
  SDL_Surface* surface = SDL_GetWindowSurface(window_);
  if (!surface) return;
  const LetterboxRect box = ComputeLetterbox(surface->w, surface->h);
  SDL_Rect dst{box.x, box.y, box.width, box.height};
  if (box.x > 0 || box.y > 0 || box.width < surface->w || box.height < surface->h) {
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  }
  const bool sameFormat = surface->format->format == picture_->format->format;
  if (smooth && !box.integerScale && sameFormat) {
    SDL_SoftStretchLinear(picture_, nullptr, surface, &dst);
  } else {
    SDL_BlitScaled(picture_, nullptr, surface, &dst);
  }
  SDL_UpdateWindowSurface(window_);
}

}  // namespace engine
