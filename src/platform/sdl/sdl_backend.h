// The game's window on SDL2. The software back buffer is shown scaled by a whole factor and
// centred with black bars (frame_fit.h), through an accelerated renderer where the machine has
// one, else straight into the window's surface. Window events feed the input bookkeeping, with
// the mouse mapped back into frame pixels; pads are read through sdl_pads.h.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "platform/render/frame_changes.h"
#include "platform/render/frame_fit.h"
#include "platform/render/overlay_tracker.h"
#include "platform/sdl/flip_pacer.h"
#include "platform/sdl/sdl_pads.h"

struct WindowChoice {
  int scale = 1;  // the window opens at scale times the frame's size
  bool fullscreen = false;
  bool fill = false;  // the largest picture that fits, even where whole steps of 2 or more do
};

class SdlBackend : public Backend {
 public:
  // joystick_ready: SDL's joystick subsystem is initialised (the game runs without it).
  explicit SdlBackend(bool joystick_ready, WindowChoice choice = {});
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  // The Backend calls: in sdl_backend.cpp, but for Present in sdl_present.cpp.
  bool OpenWindow(int width, int height, const std::string& title) override;
  void SetPacerHertz(int hertz) override { PacerHertz = hertz; }
  void PumpEvents() override;
  void ReadJoystick(int port) override;
  void NoteChanges(const ChangedBlocks& blocks) override { Shown.NoteChanges(blocks); }
  void Present(const uint32_t* pixels, int width, int height, int sync) override;
  uint32_t Millis() override;
  void Sleep(int ms) override;
  void ShowAgain() override;  // in sdl_overlay.cpp
  void SetTitle(const std::string& title) override {
    if (Window) SDL_SetWindowTitle(Window, title.c_str());
  }

 private:
  // sdl_backend.cpp: the window, its events and the pads.
  void HandleEvent(const SDL_Event& event);
  bool HandleWindowKey(const SDL_KeyboardEvent& key);
  void MouseMovedTo(int window_x, int window_y);
  void ConnectPresentPads();
  void ReleasePads();

  // sdl_fullscreen.cpp: desktop full screen, with or without a window manager.
  bool IsFullscreen() const;
  void SetFullscreen(bool on);
  void CoverScreen(bool on);

  // sdl_present.cpp: showing the frame and pacing the flips.
  bool OpenRenderer();
  bool RendererIsSoftware() const;
  void DrawableSize(int& width, int& height) const;
  bool Upload(const uint32_t* pixels, int width, int height);
  void PresentThroughRenderer(const uint32_t* pixels, int width, int height);
  void PresentThroughSurface(const uint32_t* pixels, int width, int height);
  bool PrepareStep(int width, int height);
  FrameFit CurrentFit(int width, int height, int area_width, int area_height) const;
  void SmoothIntoSurface(uint8_t* out, int pitch, const uint32_t* pixels, int width, int height,
                         const FrameRect& area, const FrameFit& fit);
  void SetRendererVsync(bool on);
  void PaceAndShow(int sync);
  void ShowNow();
  void PresentPacedBySoftware();
  double SecondsNow() const;
  void WaitUntil(double seconds);

  // sdl_overlay.cpp: the overlay over the presented picture, never into the back buffer.
  void OverlayThroughRenderer(int width, int height, const SDL_Rect& target);
  void OverlayIntoSurface(uint8_t* pixels, int pitch, int surface_width, int surface_height,
                          const FrameFit& fit, const FrameRect& area);
  static SDL_Rect WindowRect(const FrameRect& rect) {
    return {rect.x, rect.y, rect.width, rect.height};
  }

  WindowChoice Choice;
  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;  // null: frames go to the window's surface
  SDL_Texture* Texture = nullptr;
  int TextureWidth = 0, TextureHeight = 0;
  SDL_Texture* StepTexture = nullptr;  // a smoothed picture's whole step, drawn into
  int StepWidth = 0, StepHeight = 0;
  bool StepRefused = false;               // the renderer would not make one: not asked again
  bool FillAsked = false;                 // --fit, or F9: the largest picture that fits
  SmoothScaler Smoother;                  // the window surface's smoothing
  std::vector<uint32_t> Composite;        // the frame with its overlay, for the surface's smoothing
  SDL_Texture* OverlayTexture = nullptr;  // the overlay layer, blended over the picture
  int OverlayWidth = 0, OverlayHeight = 0;
  bool OverlayUploaded = false;  // the texture holds the overlay's layer
  OverlayTracker Overlay;        // the layer, and what of it the window's surface has blended in

  // What the texture or the window's surface already holds, so only changes are copied.
  ShownFrame Shown;
  RowCover Cover;                             // the areas to paint, frame's and overlay's together
  const SDL_Surface* ShownSurface = nullptr;  // the surface the frame was last scaled into
  const void* ShownSurfacePixels = nullptr;
  int ShownSurfaceWidth = 0, ShownSurfaceHeight = 0;
  FrameFit ShownFit;                     // where the frame sat in it
  bool SurfaceStale = true;              // the window was resized, uncovered or switched in mode
  bool SendWhole = true;                 // the next flip sends the whole surface
  std::vector<SDL_Rect> SendRects;       // else these of its areas
  const uint32_t* LastPixels = nullptr;  // the picture last shown, for ShowAgain
  int LastWidth = 0, LastHeight = 0;
  int FrameWidth = 0, FrameHeight = 0;  // the back buffer's size, for mapping the mouse
  bool CoveringScreen = false;          // full screen made by hand, without a window manager
  SDL_Rect WindowedPlace{};             // where the window was before it covered the screen
  SdlPads Pads;
  bool JoystickReady = false;
  bool PumpUpdatesJoysticks = true;  // SDL updates the joysticks each time it pumps the events

  // Flip pacing: the renderer's vsync where it is real, the pacer's grid for where it is not.
  bool RendererVsync = false;  // what the renderer was last asked for
  FlipPacer Pacer{1.0 / 60, false};

  // The millisecond pacer of sync -1.
  int PacerHertz = 0;
  int64_t PacerTarget = -1;
  int PacerRemainder = 0;
};
