// The game's window on SDL2: a streaming texture shows the software back buffer, window events
// feed the input bookkeeping, and the first joystick is read through SDL's joystick API.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>

#include "platform/platform.h"

class SdlBackend : public Backend {
 public:
  // joystick_ready: SDL's joystick subsystem is initialised (the game runs without it).
  explicit SdlBackend(bool joystick_ready);
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  bool OpenWindow(int width, int height, const std::string& title) override;
  void SetPacerHertz(int hertz) override { PacerHertz = hertz; }
  void PumpEvents() override;
  void ReadJoystick(int port) override;
  void Present(const uint32_t* pixels, int width, int height, int sync) override;
  uint32_t Millis() override;
  void Sleep(int ms) override;

 private:
  void HandleEvent(const SDL_Event& event);
  void OpenFirstJoystick();
  void CloseJoystick();
  bool Upload(const uint32_t* pixels, int width, int height);
  void SetRendererVsync(bool on);
  void PresentInStepWithDisplay();
  void PresentPacedBySoftware();
  double SecondsNow() const;
  void WaitUntil(double seconds);

  SDL_Window* Window = nullptr;
  SDL_Renderer* Renderer = nullptr;
  SDL_Texture* Texture = nullptr;
  int TextureWidth = 0, TextureHeight = 0;
  SDL_Joystick* Joystick = nullptr;
  bool JoystickReady = false;

  // Flip pacing: the renderer's vsync where it is real, a timer for where it is not.
  bool RendererVsync = false;  // what the renderer was last asked for
  double RefreshSeconds = 1.0 / 60;
  double LastFlip = -1;  // when the last sync-1 flip was handed over, seconds

  // The millisecond pacer of sync -1.
  int PacerHertz = 0;
  int64_t PacerTarget = -1;
  int PacerRemainder = 0;
};
