// The game's video device on SDL2: one window, an SDL_Renderer, and a
// 640 x 480 target texture that holds the picture. A frame is drawn into
// that texture, so reading pixels always reads the logical picture, and
// present copies it to the window with letterboxing. When the window shows
// the picture 1:1 in 8 bits a channel, a frame that paints the whole screen
// is drawn straight into the window instead: the same pixels, without the
// copy. Draws wait in a queue until the picture is needed (DrawQueue).
//
// Where the only GL is a software one, our own rasteriser draws the picture
// in memory instead (SoftScreen): the same queue, the same pictures.
#include "SdlVideo.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <unordered_set>
#include <vector>

#include "Backend.h"
#include "DrawQueue.h"
#include "Engine.h"
#include "SdlVideoInit.h"
#include "SoftScreen.h"
#include "WindowIcon.h"

namespace engine {

LetterboxRect ComputeLetterbox(int outputWidth, int outputHeight) {
  if (outputWidth <= 0 || outputHeight <= 0) {
    return {0, 0, kLogicalWidth, kLogicalHeight, true};
  }
  const double fit = std::min(static_cast<double>(outputWidth) / kLogicalWidth,
                              static_cast<double>(outputHeight) / kLogicalHeight);
  const int whole = static_cast<int>(std::floor(fit));
  // Crisp whole steps are worth a slightly smaller picture, not a much smaller one.
  const bool integer = whole >= 1 && whole / fit >= 0.9;
  const double scale = integer ? whole : fit;
  const int w = std::max(1, static_cast<int>(std::lround(kLogicalWidth * scale)));
  const int h = std::max(1, static_cast<int>(std::lround(kLogicalHeight * scale)));
  return {(outputWidth - w) / 2, (outputHeight - h) / 2, w, h, integer};
}

namespace {

class SdlVideo final : public VideoDevice {
 public:
  ~SdlVideo() override { close(); }

  bool open(const WindowSettings& settings) override {
    if (up()) return true;
    if (!InitVideoOnADisplay()) return false;
    videoUp_ = true;
    const int width = settings.width > 0 ? settings.width : kLogicalWidth;
    const int height = settings.height > 0 ? settings.height : kLogicalHeight;
    Uint32 flags = SDL_WINDOW_RESIZABLE;
    if (!settings.windowed) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window_ = SDL_CreateWindow(settings.titleUtf8.c_str(), SDL_WINDOWPOS_CENTERED,
                               SDL_WINDOWPOS_CENTERED, width, height, flags);
    if (!window_) return fail();
    filter_ = settings.textureFilter == 0 ? SDL_ScaleModeNearest : SDL_ScaleModeLinear;
    RendererChoice choice = settings.renderer;
    if (choice == RendererChoice::Automatic) choice = RendererFromEnvironment();
    if (choice != RendererChoice::Software && !openRenderer()) return fail();
    if (choice == RendererChoice::Software ||
        (choice == RendererChoice::Automatic && RendererIsSoftware(renderer_))) {
      closeRenderer();
      soft_ = SoftScreen::Open(window_);
      subtractSupported_ = true;
      // Without a surface to present into, the renderer it is after all.
      if (!soft_ && !openRenderer()) return fail();
    }
    std::vector<uint32_t> icon;
    if (BuildWindowIcon(settings.iconId, icon)) {
      SDL_Surface* surface =
          SDL_CreateRGBSurfaceWithFormatFrom(icon.data(), kWindowIconSize, kWindowIconSize, 32,
                                             kWindowIconSize * 4, SDL_PIXELFORMAT_RGBA32);
      if (surface) {
        SDL_SetWindowIcon(window_, surface);
        SDL_FreeSurface(surface);
      }
    }
    closed_ = false;
    const DrawState& d = CurrentDrawState();
    setClip(d.clipOn, d.clip[0], d.clip[1], d.clip[2], d.clip[3]);
    clear();
    return true;
  }

  void close() override {
    queue_.drop();
    opaque_.clear();  // the renderer takes its textures along
    closeRenderer();
    soft_.reset();
    if (window_) SDL_DestroyWindow(window_);
    window_ = nullptr;
    if (videoUp_) SDL_QuitSubSystem(SDL_INIT_VIDEO);
    videoUp_ = false;
  }

  void setTitle(const std::string& titleUtf8) override {
    if (window_) SDL_SetWindowTitle(window_, titleUtf8.c_str());
  }

  bool pumpEvents() override {
    if (!up()) return false;
    SDL_PumpEvents();
    // Pad hot-plug events stay queued for the input device; the pads'
    // motion and button events are dropped (it reads their state), so they
    // cannot fill the queue and crowd out a close request.
    SDL_FlushEvents(SDL_JOYAXISMOTION, SDL_JOYBUTTONUP);
    SDL_FlushEvents(SDL_CONTROLLERAXISMOTION, SDL_CONTROLLERBUTTONUP);
    SDL_FlushEvents(SDL_CONTROLLERTOUCHPADDOWN, SDL_CONTROLLERSENSORUPDATE);
    SDL_Event event;
    while (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_JOYAXISMOTION - 1) > 0 ||
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FINGERDOWN, SDL_LASTEVENT) > 0) {
      handle(event);
    }
    return !closed_;
  }

  void* createTexture(int width, int height, const uint32_t* rgba) override {
    if (!up() || width <= 0 || height <= 0 || !rgba) return nullptr;
    if (soft_) {
      void* texture = soft_->createTexture(width, height, rgba);
      if (AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.insert(texture);
      return texture;
    }
    SDL_Texture* texture = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_RGBA32,
                                             SDL_TEXTUREACCESS_STATIC, width, height);
    if (!texture) return nullptr;
    if (SDL_UpdateTexture(texture, nullptr, rgba, width * 4) != 0) {
      SDL_DestroyTexture(texture);
      return nullptr;
    }
    SDL_SetTextureScaleMode(texture, filter_);
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_BLEND);
    if (AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.insert(texture);
    return texture;
  }

  void updateTexture(void* texture, int x, int y, int width, int height,
                     const uint32_t* rgba) override {
    if (!up() || !texture || !rgba || width <= 0 || height <= 0) return;
    flush();  // queued draws show the texture as it was
    if (soft_) {
      soft_->updateTexture(texture, x, y, width, height, rgba);
    } else {
      const SDL_Rect rect{x, y, width, height};
      SDL_UpdateTexture(static_cast<SDL_Texture*>(texture), &rect, rgba, width * 4);
    }
    if (!AllOpaque(rgba, static_cast<size_t>(width) * height)) opaque_.erase(texture);
  }

  void destroyTexture(void* texture) override {
    if (!up() || !texture) return;
    flush();
    opaque_.erase(texture);
    if (soft_) {
      soft_->destroyTexture(texture);
    } else {
      SDL_DestroyTexture(static_cast<SDL_Texture*>(texture));
    }
  }

  void setClip(bool enabled, int x1, int y1, int x2, int y2) override {
    clipOn_ = enabled;
    const int l = std::clamp(std::min(x1, x2), 0, kLogicalWidth);
    const int r = std::clamp(std::max(x1, x2), 0, kLogicalWidth);
    const int t = std::clamp(std::min(y1, y2), 0, kLogicalHeight);
    const int b = std::clamp(std::max(y1, y2), 0, kLogicalHeight);
    clip_ = SDL_Rect{l, t, r - l, b - t};
    // SDL may read an empty rectangle as "no clipping"; draw nothing instead.
    clipEmpty_ = enabled && (clip_.w == 0 || clip_.h == 0);
    applyClip();
  }

  // Draws are queued until the picture is needed; see DrawQueue.
  void drawGeometry(void* texture, const Vertex* vertices, int vertexCount, const int* indices,
                    int indexCount, int blendMode) override {
    if (!up() || clipEmpty_ || !vertices || !indices || vertexCount <= 0 || indexCount <= 0) {
      return;
    }
    const Vertex* v = vertices;
    if (blendMode == BLEND_SUB && !subtractSupported_) {
      // Nearest built-in: darken by the picture's coverage.
      v = recoloured(vertices, vertexCount, [](Vertex& x) { x.r = x.g = x.b = 0; });
    } else if (blendMode == BLEND_MUL) {
      // dst = src * dst + dst * (1 - srcA): the colour must carry the
      // opacity for a partly opaque draw to fade towards "no change".
      v = recoloured(vertices, vertexCount, [](Vertex& x) {
        x.r = static_cast<uint8_t>((x.r * x.a + 127) / 255);
        x.g = static_cast<uint8_t>((x.g * x.a + 127) / 255);
        x.b = static_cast<uint8_t>((x.b * x.a + 127) / 255);
      });
    }
    const PixelRect clip = clipOn_
                               ? PixelRect{clip_.x, clip_.y, clip_.x + clip_.w, clip_.y + clip_.h}
                               : PixelRect{0, 0, kLogicalWidth, kLogicalHeight};
    if (!Settings().cullDraws) {
      flush();
      decide(false);
      submit(DrawQueue::Out{texture, v, vertexCount, indices, indexCount, blendMode, false, clip,
                            false});
      return;
    }
    const bool textureOpaque = !texture || opaque_.count(texture) != 0;
    queue_.add(texture, v, vertexCount, indices, indexCount, blendMode,
               DeviceBlendFor(blendMode, subtractSupported_), textureOpaque, clip);
  }

  void clear() override {
    if (!up()) return;
    queue_.drop();  // all of it painted over
    // The frame starts afresh: it may go wherever suits, decided when the
    // queue is flushed.
    destination_ = Destination::Undecided;
    if (Settings().cullDraws) {
      queue_.addClear(PixelRect{0, 0, kLogicalWidth, kLogicalHeight});
      return;
    }
    decide(false);
    clearNow();
  }

  bool readPixels(int x, int y, int width, int height, uint32_t* rgba) override {
    if (!up() || !rgba || width <= 0 || height <= 0 || x < 0 || y < 0 ||
        x + width > kLogicalWidth || y + height > kLogicalHeight) {
      return false;
    }
    flush();
    if (soft_) {
      soft_->read(x, y, width, height, rgba);
      return true;
    }
    decide(false);
    const SDL_Rect rect{x, y, width, height};
    if (SDL_RenderReadPixels(renderer_, &rect, SDL_PIXELFORMAT_RGBA32, rgba, width * 4) != 0) {
      return false;
    }
    for (size_t i = 0, n = static_cast<size_t>(width) * height; i < n; ++i) {
      rgba[i] |= 0xFF000000u;
    }
    return true;
  }

  void present() override {
    if (!up()) return;
    flush();
    if (soft_) {
      soft_->present(filter_ != SDL_ScaleModeNearest);
      return;
    }
    decide(false);
    lastDestination_ = destination_;
    destination_ = Destination::Undecided;
    if (onWindow_) {
      SDL_RenderPresent(renderer_);
      return;
    }
    SDL_SetRenderTarget(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const LetterboxRect box = ComputeLetterbox(outW, outH);
    SDL_SetTextureScaleMode(target_, box.integerScale ? SDL_ScaleModeNearest : filter_);
    const SDL_Rect dst{box.x, box.y, box.width, box.height};
    SDL_RenderCopy(renderer_, target_, nullptr, &dst);
    SDL_RenderPresent(renderer_);
    // Switching targets resets the clip rectangle.
    SDL_SetRenderTarget(renderer_, target_);
    applyClip();
  }

  std::string rendererName() const override {
    return soft_ ? "velmora software rasteriser" : RendererDescription(renderer_);
  }

  bool askYesNo(const std::string& captionUtf8, const std::string& textUtf8) override {
    const SDL_MessageBoxButtonData buttons[2] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "Yes"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "No"},
    };
    // SDL has no question icon; the information icon is the nearest.
    const SDL_MessageBoxData box{SDL_MESSAGEBOX_INFORMATION | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                                 window_,
                                 captionUtf8.c_str(),
                                 textUtf8.c_str(),
                                 2,
                                 buttons,
                                 nullptr};
    int pressed = -1;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
      // No question on screen is no answer: the caller's "No" stands.
      std::fprintf(stderr, "velmora: cannot show the question \"%s\": %s\n", captionUtf8.c_str(),
                   SDL_GetError());
      return false;
    }
    return pressed == 1;
  }

 private:
  bool fail() {
    close();
    return false;
  }

  bool up() const { return renderer_ || soft_; }

  bool openRenderer() {
    renderer_ =
        SDL_CreateRenderer(window_, -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE);
    if (!renderer_) {
      renderer_ =
          SDL_CreateRenderer(window_, -1, SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE);
    }
    if (!renderer_) return false;
    target_ = SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                kLogicalWidth, kLogicalHeight);
    if (!target_ || SDL_SetRenderTarget(renderer_, target_) != 0) return false;
    onWindow_ = false;
    windowChanged_ = false;
    // Drawing straight into the window is off for now: once the window had
    // been resized after frames went there, the letterboxed picture landed
    // offset by the change in height (seen under Xvfb with software GL).
    // Every frame goes through the texture, which letterboxes correctly.
    directCapable_ = false;
    subtract_ = SDL_ComposeCustomBlendMode(SDL_BLENDFACTOR_SRC_ALPHA, SDL_BLENDFACTOR_ONE,
                                           SDL_BLENDOPERATION_REV_SUBTRACT, SDL_BLENDFACTOR_ZERO,
                                           SDL_BLENDFACTOR_ONE, SDL_BLENDOPERATION_REV_SUBTRACT);
    // Renderers say whether they take a custom mode only when it is set.
    subtractSupported_ = SDL_SetTextureBlendMode(target_, subtract_) == 0;
    SDL_SetTextureBlendMode(target_, SDL_BLENDMODE_NONE);
    return true;
  }

  void closeRenderer() {
    batch_.vertices.clear();
    batch_.indices.clear();
    destination_ = Destination::Undecided;
    lastDestination_ = Destination::Texture;
    onWindow_ = false;
    if (target_) SDL_DestroyTexture(target_);
    if (renderer_) SDL_DestroyRenderer(renderer_);
    target_ = nullptr;
    renderer_ = nullptr;
  }

  void handle(const SDL_Event& event) {
    switch (event.type) {
      case SDL_QUIT:
        closed_ = true;
        break;
      case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) closed_ = true;
        if (event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
            (event.window.data1 != kLogicalWidth || event.window.data2 != kLogicalHeight)) {
          windowChanged_ = true;
        }
        break;
      case SDL_KEYDOWN:
        if ((event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
            (event.key.keysym.mod & KMOD_ALT) && !event.key.repeat) {
          toggleFullScreen();
        }
        break;
      default:
        break;
    }
  }

  void toggleFullScreen() {
    windowChanged_ = true;
    const bool full = SDL_GetWindowFlags(window_) & SDL_WINDOW_FULLSCREEN;
    SDL_SetWindowFullscreen(window_, full ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
  }

  void applyClip() {
    if (!renderer_) return;  // our own rasteriser takes each draw's clip
    SDL_RenderSetClipRect(renderer_, clipOn_ ? &clip_ : nullptr);
  }

  // Sends the queued draws to the renderer.
  void flush() {
    if (queue_.empty()) return;
    queue_.flush(
        PixelRect{0, 0, kLogicalWidth, kLogicalHeight},
        [this](bool paintsScreen) { decide(paintsScreen); },
        [this](const DrawQueue::Out& d) { submit(d); });
    sendBatch();
    applyClip();
  }

  // Where the frame goes, chosen once per frame before its first draw
  // reaches the renderer. The window takes it when it shows the picture
  // 1:1 and the frame paints every pixel (or the last frame was drawn there
  // too, whose pixels a frame that paints only some of them then draws
  // over, as it would in the texture). Once the window has changed size or
  // mode, its own pixels are not trusted again: some drivers make a new
  // surface behind the renderer's back.
  void decide(bool paintsScreen) {
    if (soft_ || destination_ != Destination::Undecided) return;
    int outW = 0, outH = 0;
    SDL_GetRendererOutputSize(renderer_, &outW, &outH);
    const bool direct = Settings().cullDraws && directCapable_ && !windowChanged_ &&
                        outW == kLogicalWidth && outH == kLogicalHeight &&
                        (paintsScreen || lastDestination_ == Destination::Window);
    destination_ = direct ? Destination::Window : Destination::Texture;
    if (direct != onWindow_) {
      SDL_SetRenderTarget(renderer_, direct ? nullptr : target_);
      onWindow_ = direct;
      applyClip();
    }
  }

  void clearNow() {
    if (soft_) {
      soft_->clear();
      return;
    }
    SDL_RenderSetClipRect(renderer_, nullptr);
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
    applyClip();
  }

  // Sets how the texture is sampled for the draws that follow; the draws
  // already handed to the renderer keep theirs.
  void sampleWith(SDL_Texture* texture, SDL_ScaleMode mode) {
    SDL_ScaleMode current = filter_;
    if (SDL_GetTextureScaleMode(texture, &current) == 0 && current == mode) return;
    SDL_RenderFlush(renderer_);
    SDL_SetTextureScaleMode(texture, mode);
  }

  // Hands a draw to the renderer. Draws in a row with the same texture,
  // blend, sampling and clip go as one: the renderer still draws their
  // triangles in order, with less work per draw.
  void submit(const DrawQueue::Out& d) {
    if (soft_) {
      soft_->draw(d, filter_ != SDL_ScaleModeNearest);
      return;
    }
    if (d.clear) {
      sendBatch();
      clearNow();
      return;
    }
    SDL_Texture* tex = static_cast<SDL_Texture*>(d.texture);
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    if (d.replaces) {
      mode = SDL_BLENDMODE_NONE;  // the same pixels, without reading the picture under it
    } else if (d.blendMode == BLEND_ADD) {
      mode = SDL_BLENDMODE_ADD;
    } else if (d.blendMode == BLEND_SUB && subtractSupported_) {
      mode = subtract_;
    } else if (d.blendMode == BLEND_MUL) {
      mode = SDL_BLENDMODE_MUL;
    }
    SDL_ScaleMode sampling = filter_;
    if (tex && filter_ != SDL_ScaleModeNearest && Settings().cullDraws) {
      int tw = 0, th = 0;
      SDL_QueryTexture(tex, nullptr, nullptr, &tw, &th);
      if (TexelsOnPixels(d.vertices, d.vertexCount, d.indices, d.indexCount, tw, th)) {
        sampling = SDL_ScaleModeNearest;
      }
    }
    const bool same = !batch_.vertices.empty() && batch_.texture == tex && batch_.mode == mode &&
                      batch_.sampling == sampling && batch_.clip == d.clip;
    if (!same) {
      sendBatch();
      batch_.texture = tex;
      batch_.mode = mode;
      batch_.sampling = sampling;
      batch_.clip = d.clip;
    }
    const int base = static_cast<int>(batch_.vertices.size());
    batch_.vertices.insert(batch_.vertices.end(), d.vertices, d.vertices + d.vertexCount);
    for (int i = 0; i < d.indexCount; ++i) batch_.indices.push_back(base + d.indices[i]);
    if (!Settings().cullDraws) sendBatch();  // every draw on its own, as asked
  }

  void sendBatch() {
    if (batch_.vertices.empty()) return;
    SDL_Texture* tex = batch_.texture;
    const int set = tex ? SDL_SetTextureBlendMode(tex, batch_.mode)
                        : SDL_SetRenderDrawBlendMode(renderer_, batch_.mode);
    if (set != 0) {  // never let a refused mode lose the draw
      if (tex) {
        SDL_SetTextureBlendMode(tex, SDL_BLENDMODE_BLEND);
      } else {
        SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_BLEND);
      }
    }
    const PixelRect& c = batch_.clip;
    const SDL_Rect clip{c.l, c.t, c.r - c.l, c.b - c.t};
    SDL_RenderSetClipRect(renderer_, &clip);
    if (tex) sampleWith(tex, batch_.sampling);
    const Vertex* v = batch_.vertices.data();
    SDL_RenderGeometryRaw(renderer_, tex, &v->x, sizeof(Vertex),
                          reinterpret_cast<const SDL_Color*>(&v->r), sizeof(Vertex),
                          tex ? &v->u : nullptr, sizeof(Vertex),
                          static_cast<int>(batch_.vertices.size()), batch_.indices.data(),
                          static_cast<int>(batch_.indices.size()), sizeof(int));
    batch_.vertices.clear();
    batch_.indices.clear();
  }

  template <typename Change>
  const Vertex* recoloured(const Vertex* vertices, int count, Change change) {
    scratch_.assign(vertices, vertices + count);
    for (Vertex& v : scratch_) change(v);
    return scratch_.data();
  }

  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* target_ = nullptr;
  std::unique_ptr<SoftScreen> soft_;
  bool videoUp_ = false;
  bool closed_ = false;
  SDL_ScaleMode filter_ = SDL_ScaleModeNearest;
  SDL_BlendMode subtract_ = SDL_BLENDMODE_NONE;
  bool subtractSupported_ = false;
  bool clipOn_ = false;
  bool clipEmpty_ = false;
  SDL_Rect clip_{0, 0, kLogicalWidth, kLogicalHeight};
  std::vector<Vertex> scratch_;
  DrawQueue queue_;
  struct Batch {
    SDL_Texture* texture = nullptr;
    SDL_BlendMode mode = SDL_BLENDMODE_BLEND;
    SDL_ScaleMode sampling = SDL_ScaleModeNearest;
    PixelRect clip;
    std::vector<Vertex> vertices;
    std::vector<int> indices;
  };
  Batch batch_;
  enum class Destination { Undecided, Texture, Window };
  Destination destination_ = Destination::Undecided;
  Destination lastDestination_ = Destination::Texture;
  bool directCapable_ = false;
  bool windowChanged_ = false;
  bool onWindow_ = false;  // the renderer draws into the window, not the texture
  // Textures without a single transparent pixel.
  std::unordered_set<void*> opaque_;
};

}  // namespace

std::unique_ptr<VideoDevice> MakeSdlVideo() { return std::make_unique<SdlVideo>(); }

}  // namespace engine
