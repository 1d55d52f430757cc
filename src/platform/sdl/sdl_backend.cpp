// The SDL window backend: the window and its streaming texture, the events fed into the input
// bookkeeping, the first joystick, and the flip paced by vsync or, without it, by a timer.
#include "platform/sdl/sdl_backend.h"

#include <cstdio>

#include "platform/input.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_window_icon.h"

namespace {

int MouseButtonOf(Uint8 sdl_button) {
  switch (sdl_button) {
    case SDL_BUTTON_LEFT:
      return kMouseLeft;
    case SDL_BUTTON_RIGHT:
      return kMouseRight;
    case SDL_BUTTON_MIDDLE:
      return kMouseMiddle;
    default:
      return 0;
  }
}

// The game's wheel steps are positive to the right and away from the user, whatever way the
// system turns the wheel's meaning round ("natural" scrolling reports them flipped).
int WheelSteps(Sint32 steps, Uint32 direction) {
  return direction == SDL_MOUSEWHEEL_FLIPPED ? -steps : steps;
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

// Alt+Enter and F11 switch full screen; they are the window's keys, not the game's.
bool IsFullscreenKey(const SDL_Keysym& key) {
  if (key.sym == SDLK_F11) return true;
  const bool enter = key.sym == SDLK_RETURN || key.sym == SDLK_KP_ENTER;
  return enter && (key.mod & KMOD_ALT) != 0;
}

// SDL's text event: UTF-8, a few characters at most. Each character goes to the input as its
// code point; a malformed sequence is passed over byte by byte.
void TypedUtf8(const char* text) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(text);
  for (size_t i = 0; i < SDL_TEXTINPUTEVENT_TEXT_SIZE && bytes[i] != 0;) {
    const unsigned char lead = bytes[i];
    const int length = lead < 0x80         ? 1
                       : (lead >> 5) == 6  ? 2
                       : (lead >> 4) == 14 ? 3
                       : (lead >> 3) == 30 ? 4
                                           : 0;
    char32_t code = length == 1   ? lead
                    : length == 2 ? lead & 0x1F
                    : length == 3 ? lead & 0x0F
                                  : lead & 0x07;
    bool whole = length > 0 && i + static_cast<size_t>(length) <= SDL_TEXTINPUTEVENT_TEXT_SIZE;
    for (int k = 1; whole && k < length; ++k) {
      whole = (bytes[i + k] & 0xC0) == 0x80;
      code = (code << 6) | (bytes[i + k] & 0x3F);
    }
    if (!whole) {
      ++i;
      continue;
    }
    InputText(code);
    i += static_cast<size_t>(length);
  }
}

}  // namespace

SdlBackend::SdlBackend(bool joystick_ready, WindowChoice choice)
    : Choice(choice), FillAsked(choice.fill), JoystickReady(joystick_ready) {
  if (Choice.scale < 1) Choice.scale = 1;
  PumpUpdatesJoysticks = SDL_GetHintBoolean(SDL_HINT_AUTO_UPDATE_JOYSTICKS, SDL_TRUE) &&
                         SDL_JoystickEventState(SDL_QUERY) == SDL_ENABLE;
  ConnectPresentPads();
}

SdlBackend::~SdlBackend() {
  if (OverlayTexture) SDL_DestroyTexture(OverlayTexture);
  if (StepTexture) SDL_DestroyTexture(StepTexture);
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
  const Uint32 flags = SDL_WINDOW_SHOWN | SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
  Window = SDL_CreateWindow(title.c_str(), SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                            width * Choice.scale, height * Choice.scale, flags);
  if (!Window) {
    std::fprintf(stderr, "SDL_CreateWindow: %s\n", SDL_GetError());
    return false;
  }
  SetWindowIconFromArt(Window);
  FrameWidth = width;
  FrameHeight = height;
  if (!OpenRenderer()) {
    SDL_DestroyWindow(Window);
    Window = nullptr;
    return false;
  }
  if (Choice.fullscreen) SetFullscreen(true);
  SDL_DisplayMode mode;
  const int display = SDL_GetWindowDisplayIndex(Window);
  if (display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0) {
    Pacer.SetDisplayHertz(mode.refresh_rate);
  }
  return !Renderer || Upload(nullptr, width, height);
}

void SdlBackend::PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event))
    HandleEvent(event);
}

void SdlBackend::HandleEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
      if (HandleWindowKey(event.key)) break;
      // Auto-repeat never counts as a press.
      if (event.key.repeat == 0) InputKeyDown(GameKeyCode(event.key.keysym));
      break;
    case SDL_KEYUP:
      InputKeyUp(GameKeyCode(event.key.keysym));
      break;
    case SDL_TEXTINPUT:
      TypedUtf8(event.text.text);
      break;
    case SDL_MOUSEMOTION:
      MouseMovedTo(event.motion.x, event.motion.y);
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      MouseMovedTo(event.button.x, event.button.y);
      InputMouseButton(MouseButtonOf(event.button.button), event.type == SDL_MOUSEBUTTONDOWN);
      break;
    case SDL_MOUSEWHEEL:
      InputMouseWheel(WheelSteps(event.wheel.x, event.wheel.direction),
                      WheelSteps(event.wheel.y, event.wheel.direction));
      break;
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
          event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED) {
        InputFocusChanged();
      } else if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
        InputCloseRequest();
      } else if (event.window.event != SDL_WINDOWEVENT_MOVED &&
                 event.window.event != SDL_WINDOWEVENT_ENTER &&
                 event.window.event != SDL_WINDOWEVENT_LEAVE) {
        // Resized, shown, uncovered, restored: the window's pixels are painted whole again.
        SurfaceStale = true;
      }
      break;
    case SDL_QUIT:
      InputCloseRequest();
      break;
    case SDL_JOYDEVICEADDED:
      if (JoystickReady) Pads.Connect(event.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      if (Pads.Disconnect(event.jdevice.which)) ReleasePads();
      break;
    case SDL_AUDIODEVICEADDED:
      SdlAudioDeviceAdded(event.adevice.iscapture != 0);
      break;
    case SDL_AUDIODEVICEREMOVED:
      SdlAudioDeviceRemoved(event.adevice.which, event.adevice.iscapture != 0);
      break;
    default:
      break;
  }
}

// True when the key was the window's own (and so not the game's).
bool SdlBackend::HandleWindowKey(const SDL_KeyboardEvent& key) {
  if (key.keysym.sym == SDLK_F9) {
    if (key.repeat == 0) {
      FillAsked = !FillAsked;
      SurfaceStale = true;
    }
    return true;
  }
  if (!IsFullscreenKey(key.keysym)) return false;
  if (key.repeat == 0) SetFullscreen(!IsFullscreen());
  return true;
}

// The game reads the pointer in frame pixels, whatever the window's size: the position goes
// back through the scale and offset the frame is shown with.
void SdlBackend::MouseMovedTo(int window_x, int window_y) {
  if (!Window || FrameWidth <= 0 || FrameHeight <= 0) {
    InputMouseMove(window_x, window_y);
    return;
  }
  int window_width = 0, window_height = 0, drawable_width = 0, drawable_height = 0;
  SDL_GetWindowSize(Window, &window_width, &window_height);
  DrawableSize(drawable_width, drawable_height);
  const FrameFit fit = CurrentFit(FrameWidth, FrameHeight, drawable_width, drawable_height);
  const int x = DrawableCoordinate(window_x, window_width, drawable_width);
  const int y = DrawableCoordinate(window_y, window_height, drawable_height);
  InputMouseMove(FrameCoordinateIn(x, fit.x, fit.width, FrameWidth),
                 FrameCoordinateIn(y, fit.y, fit.height, FrameHeight));
}

void SdlBackend::ConnectPresentPads() {
  if (!JoystickReady) return;
  for (int i = 0; i < SDL_NumJoysticks(); ++i)
    Pads.Connect(i);
}

// A pad pulled out mid-jump must not leave its last buttons held: every port that had a pad
// reads centred and released until a pad there is read again.
void SdlBackend::ReleasePads() {
  JoystickReading released;
  released.present = true;
  for (int port = 0; port <= Pads.Count(); ++port)
    InputSetJoystick(port, released);
}

// Every read follows a pump of the events (input.cpp), and SDL brings the joysticks up to date
// as it pumps unless told not to: then, and only then, they are updated here. Updating them
// again for each of the four ports cost more than the rest of reading the input.
void SdlBackend::ReadJoystick(int port) {
  if (JoystickReady && !PumpUpdatesJoysticks) SDL_JoystickUpdate();
  InputSetJoystick(port, Pads.Read(port));
}

uint32_t SdlBackend::Millis() {
  return SDL_GetTicks();
}

void SdlBackend::Sleep(int ms) {
  if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
}
