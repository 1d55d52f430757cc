// Showing the back buffer: scaled by a whole factor and centred with black bars, or as the
// largest picture that fits smoothed across the last whole step (frame_fit.h), through an
// accelerated renderer where the machine has a real one, else written straight into the
// window's surface (the cheapest path where the graphics are drawn by the processor anyway).
// Either way only what changed since the last flip is copied (frame_changes.h).
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "platform/render/overlay_compose.h"
#include "platform/sdl/sdl_backend.h"

namespace {

// GL drivers that rasterise on the processor: uploading a texture to them and drawing it costs
// more than the whole game pass.
constexpr const char* kSoftwareGL[] = {"llvmpipe", "softpipe", "software", "swrast"};

bool NamesSoftwareGL(std::string name) {
  std::transform(name.begin(), name.end(), name.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  for (const char* part : kSoftwareGL) {
    if (name.find(part) != std::string::npos) return true;
  }
  return false;
}

bool IsGLRenderer(const char* name) {
  return name && std::strncmp(name, "opengl", 6) == 0;
}

// The surface formats the frame is copied into pixel for pixel; others go through SDL's blit.
bool IsXRGB(Uint32 format) {
  return format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_RGB888;
}

// Paints the whole surface outside the frame's rectangle black.
void FillBars(uint8_t* pixels, int pitch, int width, int height, const FrameFit& fit) {
  for (int y = 0; y < height; ++y) {
    uint32_t* row = reinterpret_cast<uint32_t*>(pixels + static_cast<size_t>(y) * pitch);
    if (y < fit.y || y >= fit.y + fit.height) {
      std::fill(row, row + width, 0xFF000000u);
    } else {
      std::fill(row, row + fit.x, 0xFF000000u);
      std::fill(row + fit.x + fit.width, row + width, 0xFF000000u);
    }
  }
}

bool FitsInside(const FrameFit& fit, int width, int height) {
  return fit.x >= 0 && fit.y >= 0 && fit.x + fit.width <= width && fit.y + fit.height <= height;
}

}  // namespace

bool SdlBackend::OpenRenderer() {
  // The window surface, where it is used, must be the window's own pixels and not a texture of
  // yet another renderer.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  const Uint32 attempts[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC,
                             SDL_RENDERER_ACCELERATED};
  for (Uint32 flags : attempts) {
    Renderer = SDL_CreateRenderer(Window, -1, flags);
    if (Renderer) {
      RendererVsync = (flags & SDL_RENDERER_PRESENTVSYNC) != 0;
      break;
    }
  }
  // A renderer asked for by name (SDL_RENDER_DRIVER) is kept, software or not.
  if (Renderer && !SDL_GetHint(SDL_HINT_RENDER_DRIVER) && RendererIsSoftware()) {
    SDL_DestroyRenderer(Renderer);
    Renderer = nullptr;
  }
  if (!Renderer && SDL_GetWindowSurface(Window)) return true;
  // No surface either: whatever renderer SDL still offers.
  if (!Renderer) Renderer = SDL_CreateRenderer(Window, -1, 0);
  if (!Renderer) std::fprintf(stderr, "SDL_CreateRenderer: %s\n", SDL_GetError());
  return Renderer != nullptr;
}

bool SdlBackend::RendererIsSoftware() const {
  SDL_RendererInfo info;
  if (SDL_GetRendererInfo(Renderer, &info) != 0) return false;
  if (info.flags & SDL_RENDERER_SOFTWARE) return true;
  if (!IsGLRenderer(info.name)) return false;
  // The renderer's context is current right after it was made.
  using GetString = const unsigned char* (*)(unsigned);
  constexpr unsigned kGLRenderer = 0x1F01;
  const auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = get_string ? get_string(kGLRenderer) : nullptr;
  return name && NamesSoftwareGL(reinterpret_cast<const char*>(name));
}

void SdlBackend::DrawableSize(int& width, int& height) const {
  width = height = 0;
  if (Renderer) {
    SDL_GetRendererOutputSize(Renderer, &width, &height);
  } else if (SDL_Surface* surface = Window ? SDL_GetWindowSurface(Window) : nullptr) {
    // The surface is what the frame is scaled into, whatever the display's density.
    width = surface->w;
    height = surface->h;
  }
}

bool SdlBackend::Upload(const uint32_t* pixels, int width, int height) {
  if (!Texture || width != TextureWidth || height != TextureHeight) {
    if (Texture) SDL_DestroyTexture(Texture);
    Texture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                width, height);
    if (!Texture) {
      std::fprintf(stderr, "SDL_CreateTexture: %s\n", SDL_GetError());
      return false;
    }
    // The back buffer's top byte is not an alpha: copy, never blend; and never smooth.
    SDL_SetTextureBlendMode(Texture, SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(Texture, SDL_ScaleModeNearest);
    TextureWidth = width;
    TextureHeight = height;
    Shown.Forget();
  }
  if (!pixels) return true;
  // The texture keeps what it was last given: only the changed areas go up again.
  const int pitch = width * static_cast<int>(sizeof *pixels);
  for (const FrameRect& area : Shown.Update(pixels, width, height)) {
    const SDL_Rect rect{area.x, area.y, area.width, area.height};
    SDL_UpdateTexture(Texture, &rect, pixels + static_cast<size_t>(area.y) * width + area.x, pitch);
  }
  return true;
}

void SdlBackend::Present(const uint32_t* pixels, int width, int height, int sync) {
  if (!Window) return;
  FrameWidth = width;
  FrameHeight = height;
  LastPixels = pixels;
  LastWidth = width;
  LastHeight = height;
  if (Renderer) {
    PresentThroughRenderer(pixels, width, height);
  } else {
    PresentThroughSurface(pixels, width, height);
  }
  PaceAndShow(sync);
}

void SdlBackend::PresentThroughRenderer(const uint32_t* pixels, int width, int height) {
  if (!Upload(pixels, width, height)) return;
  int area_width = 0, area_height = 0;
  DrawableSize(area_width, area_height);
  const FrameFit fit = CurrentFit(width, height, area_width, area_height);
  const SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
  // Smoothed: the frame and its overlay go up by the whole step, nearest, into a texture of
  // their own, and that one is smoothed down to the picture.
  const bool stepped = fit.smoothed && PrepareStep(width * fit.scale, height * fit.scale);
  if (stepped) {
    const SDL_Rect whole{0, 0, StepWidth, StepHeight};
    SDL_SetRenderTarget(Renderer, StepTexture);
    SDL_RenderCopy(Renderer, Texture, nullptr, &whole);
    OverlayThroughRenderer(width, height, whole);
    SDL_SetRenderTarget(Renderer, nullptr);
  }
  SDL_SetRenderDrawColor(Renderer, 0, 0, 0, 255);
  SDL_RenderClear(Renderer);
  if (stepped) {
    SDL_RenderCopy(Renderer, StepTexture, nullptr, &target);
    return;
  }
  SDL_RenderCopy(Renderer, Texture, nullptr, &target);
  OverlayThroughRenderer(width, height, target);
}

// The whole-step texture of a smoothed picture, remade when the step changes. False where the
// renderer cannot draw into textures, or not one that large: the picture is then scaled
// straight from the frame.
bool SdlBackend::PrepareStep(int width, int height) {
  if (StepTexture && StepWidth == width && StepHeight == height) return true;
  if (StepTexture) SDL_DestroyTexture(StepTexture);
  StepTexture = nullptr;
  StepWidth = StepHeight = 0;
  if (StepRefused || !SDL_RenderTargetSupported(Renderer)) return false;
  StepTexture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                  width, height);
  if (!StepTexture) {
    std::fprintf(stderr, "SDL_CreateTexture (%dx%d step): %s\n", width, height, SDL_GetError());
    StepRefused = true;  // said once; the next size may be allowed again
    return false;
  }
  SDL_SetTextureBlendMode(StepTexture, SDL_BLENDMODE_NONE);
  SDL_SetTextureScaleMode(StepTexture, SDL_ScaleModeLinear);
  StepWidth = width;
  StepHeight = height;
  return true;
}

FrameFit SdlBackend::CurrentFit(int width, int height, int area_width, int area_height) const {
  return ChooseFit(width, height, area_width, area_height, FillAsked);
}

// The window's surface keeps its pixels between flips: the bars are painted when the surface is
// new (a resize, a mode change, a window uncovered), and after that only the frame's changed
// areas, and the overlay's, are scaled into it and sent.
void SdlBackend::PresentThroughSurface(const uint32_t* pixels, int width, int height) {
  // Remade by SDL after every resize; missing while the window cannot be drawn.
  SDL_Surface* surface = SDL_GetWindowSurface(Window);
  SendWhole = true;
  if (!surface || !pixels) return;
  const FrameFit fit = CurrentFit(width, height, surface->w, surface->h);
  if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return;
  if (IsXRGB(surface->format->format) && FitsInside(fit, surface->w, surface->h)) {
    auto* out = static_cast<uint8_t*>(surface->pixels);
    const bool fresh = SurfaceStale || surface != ShownSurface || surface->w != ShownSurfaceWidth ||
                       surface->h != ShownSurfaceHeight || out != ShownSurfacePixels ||
                       fit.x != ShownFit.x || fit.y != ShownFit.y || fit.scale != ShownFit.scale ||
                       fit.width != ShownFit.width || fit.height != ShownFit.height;
    if (fresh) {
      FillBars(out, surface->pitch, surface->w, surface->h, fit);
      Shown.Forget();
      ShownSurface = surface;
      ShownSurfaceWidth = surface->w;
      ShownSurfaceHeight = surface->h;
      ShownSurfacePixels = out;
      ShownFit = fit;
      SurfaceStale = false;
    }
    SendWhole = fresh;
    SendRects.clear();
    const std::vector<FrameRect>& changed = Shown.Update(pixels, width, height);
    const std::vector<FrameRect>& overlay_changed = Overlay.Changes(width, height);
    // Each area is scaled from the frame and then the overlay blended over it, once.
    for (const FrameRect& area : Cover.Of(changed, overlay_changed, width, height)) {
      if (fit.smoothed) {
        SmoothIntoSurface(out, surface->pitch, pixels, width, height, area, fit);
        continue;
      }
      ScaleFrameArea(out, surface->pitch, pixels, width, area, fit);
      if (Overlay.BlendedIn())
        OverlayIntoSurface(out, surface->pitch, surface->w, surface->h, fit, area);
      SendRects.push_back(WindowRect(ScaledArea(area, fit)));
    }
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    return;
  }
  if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  // Other formats, and a window smaller than the frame (cropped): SDL converts and clips, whole.
  ShownSurface = nullptr;
  SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(pixels), width, height, 32, width * 4, SDL_PIXELFORMAT_ARGB8888);
  if (!frame) return;
  SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
  SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
  SDL_Rect target{fit.x, fit.y, fit.width, fit.height};
  SDL_BlitScaled(frame, nullptr, surface, &target);
  SDL_FreeSurface(frame);
}

// A smoothed picture blends neighbouring frame pixels, overlay and all: the frame with its
// overlay is kept whole at the frame's size (Composite, brought up to date area by area as the
// frame and the overlay change) and smoothed from there.
void SdlBackend::SmoothIntoSurface(uint8_t* out, int pitch, const uint32_t* pixels, int width,
                                   int height, const FrameRect& area, const FrameFit& fit) {
  const size_t count = static_cast<size_t>(width) * height;
  if (Composite.size() != count) Composite.assign(count, 0);
  Overlay.ComposeArea(pixels, width, height, area, Composite);
  Smoother.ScaleArea(out, pitch, Composite.data(), width, height, area, fit);
  SendRects.push_back(WindowRect(SmoothedArea(area, fit, width, height)));
}

void SdlBackend::SetRendererVsync(bool on) {
  if (!Renderer || on == RendererVsync) return;
  // A renderer that cannot switch keeps its mode; the pacer still holds the pace.
  if (SDL_RenderSetVSync(Renderer, on ? 1 : 0) == 0) RendererVsync = on;
}

void SdlBackend::ShowNow() {
  if (Renderer) {
    SDL_RenderPresent(Renderer);
  } else {
    // Fails harmlessly while the window is minimised or being resized. Sent even with nothing
    // changed: the display's queue is flushed on the same beat.
    if (SendWhole) {
      SDL_UpdateWindowSurface(Window);
    } else {
      SDL_UpdateWindowSurfaceRects(Window, SendRects.data(), static_cast<int>(SendRects.size()));
    }
  }
}

// Sync 1 shows each frame one pass after the last: a display refresh at about 60 hertz, and on
// the grid of the game's own clock at any other rate (flip_pacer.h). Renderers under virtual
// displays claim vsync and then return at once, or pace themselves a little faster than the
// display, and the window surface has no sync at all: so the flip also waits for the pacer's
// deadline, by sleeping only.
void SdlBackend::PaceAndShow(int sync) {
  if (sync == 1) {
    SetRendererVsync(Pacer.WantsVsync());
    Pacer.SetDisplayPaces(Renderer && RendererVsync);
    if (Pacer.Deadline(SecondsNow()) >= 0) WaitUntil(Pacer.Deadline());
    const double handed_over = SecondsNow();
    ShowNow();
    Pacer.Flipped(handed_over, SecondsNow());
  } else if (sync == -1 && PacerHertz > 0) {
    PresentPacedBySoftware();
  } else {
    SetRendererVsync(false);
    ShowNow();
  }
}

// The window pacer: 1000 / hertz milliseconds a flip, the remainder spread one millisecond at a
// time (60 hertz: 16 ms, and 17 ms in 40 flips of 60).
void SdlBackend::PresentPacedBySoftware() {
  SetRendererVsync(false);
  const int64_t now = Millis();
  if (PacerTarget < 0) PacerTarget = now;
  PacerTarget += 1000 / PacerHertz;
  PacerRemainder += 1000 % PacerHertz;
  if (PacerRemainder >= PacerHertz) {
    PacerRemainder -= PacerHertz;
    PacerTarget += 1;
  }
  if (PacerTarget > now) {
    Sleep(static_cast<int>(PacerTarget - now));
  } else {
    PacerTarget = now;
  }
  ShowNow();
}

double SdlBackend::SecondsNow() const {
  using Clock = std::chrono::steady_clock;
  return std::chrono::duration<double>(Clock::now().time_since_epoch()).count();
}

// Sleeps to the deadline without spinning: the pacer's grid makes up for a late wake-up.
void SdlBackend::WaitUntil(double deadline) {
  const double left = deadline - SecondsNow();
  if (left <= 0) return;
  std::this_thread::sleep_for(std::chrono::duration<double>(left));
}
