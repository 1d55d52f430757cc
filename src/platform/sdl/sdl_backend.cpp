// The SDL window backend: the window and its streaming texture, the events fed into the input
// bookkeeping, the first joystick, and the flip paced by vsync or, without it, by a timer.
#include "platform/sdl/sdl_backend.h"

#include <cstdio>

#include "platform/input.h"
#include "platform/sdl/sdl_keys.h"

namespace {

// The timer sleeps until this close to the deadline and spins the rest: sleeps overshoot.
constexpr double kSpinSeconds = 0.002;

float AxisValue(Sint16 raw) {
  // SDL reports every axis over -32768..32767.
  constexpr double kMin = -32768, kMax = 32767;
  return static_cast<float>((raw - kMin) * 2 / (kMax - kMin) - 1);
}

int MouseButtonOf(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return 1;
    case SDL_BUTTON_RIGHT:
      return 2;
    case SDL_BUTTON_MIDDLE:
      return 3;
    default:
      return 0;
  }
}

// Without a display SDL falls back to drivers that draw nowhere: the game would run unseen and
// could never be quit. Those count only when asked for by name.
bool OnAScreen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  if (!driver) return false;
  const std::string name = driver;
  if (name != "offscreen" && name != "dummy") return true;
  const char* asked = SDL_getenv("SDL_VIDEODRIVER");
  return asked && name == asked;
}

}  // namespace

SdlBackend::SdlBackend(bool joystick_ready) : JoystickReady(joystick_ready) {
  if (JoystickReady) OpenFirstJoystick();
}

SdlBackend::~SdlBackend() {
  CloseJoystick();
  if (Texture) SDL_DestroyTexture(Texture);
  if (Renderer) SDL_DestroyRenderer(Renderer);
  if (Window) SDL_DestroyWindow(Window);
}

bool SdlBackend::OpenWindow(int width, int height, const std::string& title) {
  if (Window) return true;
  if (!OnAScreen()) {
    std::fprintf(stderr, "No display to open the window on.\n");
    return false;
  }
  Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, width,
                            height, SDL_WINDOW_SHOWN);
  if (!Window) {
    std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
    return false;
  }
  const Uint32 attempts[] = {SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC,
                             SDL_RENDERER_PRESENTVSYNC, 0};
  for (Uint32 flags : attempts) {
    Renderer = SDL_CreateRenderer(Window, -1, flags);
    if (Renderer) {
      RendererVsync = (flags & SDL_RENDERER_PRESENTVSYNC) != 0;
      break;
    }
  }
  if (!Renderer) {
    std::fprintf(stderr, "SDL_CreateRenderer: %s\n", SDL_GetError());
    SDL_DestroyWindow(Window);
    Window = nullptr;
    return false;
  }
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(Window);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0) {
    RefreshSeconds = 1.0 / mode.refresh_rate;
  }
  return Upload(nullptr, width, height);
}

void SdlBackend::PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event))
    HandleEvent(event);
}

void SdlBackend::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
      // Auto-repeat never counts as a press.
      if (event.key.repeat == 0) InputKeyDown(GameKeyCode(event.key.keysym));
      break;
    case SDL_KEYUP:
      InputKeyUp(GameKeyCode(event.key.keysym));
      break;
    case SDL_MOUSEMOTION:
      InputMouseMove(event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      InputMouseMove(event.button.x, event.button.y);
      InputMouseButton(MouseButtonOf(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        InputFocusChanged();
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        InputCloseRequest();
      }
      break;
    case SDL_QUIT:
      InputCloseRequest();
      break;
    case SDL_JOYDEVICEADDED:
      if (JoystickReady && !Joystick) OpenFirstJoystick();
      break;
    case SDL_JOYDEVICEREMOVED:
      if (Joystick && event.jdevice.which == SDL_JoystickInstanceID(Joystick)) {
        CloseJoystick();
        OpenFirstJoystick();  // another one may still be plugged in
      }
      break;
    default:
      break;
  }
}

void SdlBackend::OpenFirstJoystick() {
  if (!JoystickReady) return;
  for (int i = 0; i < SDL_NumJoysticks() && !Joystick; ++i)
    Joystick = SDL_JoystickOpen(i);
}

void SdlBackend::CloseJoystick() {
  if (Joystick) SDL_JoystickClose(Joystick);
  Joystick = nullptr;
}

void SdlBackend::ReadJoystick(int port) {
  JoystickReading reading;
  if (port == 0 && Joystick) {
    SDL_JoystickUpdate();
    if (SDL_JoystickGetAttached(Joystick)) {
      reading.present = true;
      if (SDL_JoystickNumAxes(Joystick) > 0)
        reading.x = AxisValue(SDL_JoystickGetAxis(Joystick, 0));
      if (SDL_JoystickNumAxes(Joystick) > 1)
        reading.y = AxisValue(SDL_JoystickGetAxis(Joystick, 1));
      const int buttons = SDL_JoystickNumButtons(Joystick);
      for (int b = 0; b < buttons && b < 32; ++b) {
        if (SDL_JoystickGetButton(Joystick, b)) reading.buttons |= 1u << b;
      }
    }
  }
  InputSetJoystick(port, reading);
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
    // The back buffer's top byte is not an alpha: copy, never blend.
    SDL_SetTextureBlendMode(Texture, SDL_BLENDMODE_NONE);
    TextureWidth = width;
    TextureHeight = height;
  }
  if (pixels) SDL_UpdateTexture(Texture, nullptr, pixels, width * static_cast<int>(sizeof *pixels));
  return true;
}

void SdlBackend::SetRendererVsync(bool on) {
  if (on == RendererVsync) return;
  // A renderer that cannot switch keeps its mode; the timers below still hold the pace.
  if (SDL_RenderSetVSync(Renderer, on ? 1 : 0) == 0) RendererVsync = on;
}

void SdlBackend::Present(const uint32_t* pixels, int width, int height, int sync) {
  if (!Renderer || !Upload(pixels, width, height)) return;
  SDL_RenderCopy(Renderer, Texture, nullptr, nullptr);
  if (sync == 1) {
    PresentInStepWithDisplay();
  } else if (sync == -1 && PacerHertz > 0) {
    PresentPacedBySoftware();
  } else {
    SetRendererVsync(false);
    SDL_RenderPresent(Renderer);
  }
}

// Renderers under virtual displays claim vsync and then return at once, or pace themselves in
// whole milliseconds, a little faster than the display. So every sync-1 flip also waits on a
// high-resolution timer until one refresh has passed since the last flip was handed over. Timed
// from the hand-over, the wait never costs a retrace where vsync is real: the last present
// returned at a retrace, so one refresh after it began lies at or before the next retrace.
void SdlBackend::PresentInStepWithDisplay() {
  SetRendererVsync(true);
  if (LastFlip >= 0) WaitUntil(LastFlip + RefreshSeconds);
  LastFlip = SecondsNow();
  SDL_RenderPresent(Renderer);
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
  SDL_RenderPresent(Renderer);
}

uint32_t SdlBackend::Millis() {
  return SDL_GetTicks();
}

void SdlBackend::Sleep(int ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}

double SdlBackend::SecondsNow() const {
  return static_cast<double>(SDL_GetPerformanceCounter()) /
         static_cast<double>(SDL_GetPerformanceFrequency());
}

void SdlBackend::WaitUntil(double deadline) {
  for (;;) {
    const double left = deadline - SecondsNow();
    if (left <= 0) return;
    if (left > kSpinSeconds) SDL_Delay(static_cast<Uint32>((left - kSpinSeconds) * 1000));
  }
}
