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
  return screen;
}

SoftScreen::SoftScreen(SDL_Window* window)
    : window_(window), pixels_(static_cast<size_t>(kLogicalWidth) * kLogicalHeight, 0xFF000000u) {}

SoftScreen::~SoftScreen() {
  if (picture_) SDL_FreeSurface(picture_);
}  // the textures go along

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
  soft::Texture* t = found->second.get();
  if (x < 0 || y < 0 || x + width > t->width() || y + height > t->height()) return;
  t->update(x, y, width, height, rgba);
}

void SoftScreen::destroyTexture(void* texture) { textures_.erase(texture); }

void SoftScreen::clear() { std::fill(pixels_.begin(), pixels_.end(), 0xFF000000u); }

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
  const soft::Canvas canvas{pixels_.data(), kLogicalWidth, kLogicalHeight, kLogicalWidth};
  soft::DrawTriangles(canvas, d.clip, static_cast<const soft::Texture*>(d.texture), filtered,
                      d.vertices, d.indices, d.indexCount, blend);
}

void SoftScreen::read(int x, int y, int width, int height, uint32_t* rgba) const {
  for (int row = 0; row < height; ++row) {
    const uint32_t* from = pixels_.data() + static_cast<size_t>(y + row) * kLogicalWidth + x;
    uint32_t* to = rgba + static_cast<size_t>(row) * width;
    for (int col = 0; col < width; ++col) to[col] = soft::ToRgba(from[col]) | 0xFF000000u;
  }
}

void SoftScreen::present(bool smooth) {
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
