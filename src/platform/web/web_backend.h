// The game's window in a web page: the back buffer shown on a canvas (the page scales it by
// whole steps and keeps it crisp), keys, mouse and game pads from the browser's events fed into
// the input bookkeeping as the SDL backend feeds them, the overlay drawn over the picture shown
// (never into the game's own), and a clock and pause that never block:
// the page runs the passes of the main loop its clock says are due at each display refresh.
//
// Scripted, the backend plays a runner's script instead of the browser's input, on the runner's
// virtual clock, so a page and ravelon-sim show the same frames for the same script.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/headless_backend.h"
#include "platform/input_event.h"
#include "platform/platform.h"
#include "platform/render/frame_changes.h"
#include "platform/render/overlay_tracker.h"
#include "platform/web/web_pads.h"

class WebBackend : public Backend {
 public:
  // script: null for live play from the browser's input.
  explicit WebBackend(std::unique_ptr<HeadlessBackend> script = nullptr);

  bool OpenWindow(int width, int height, const std::string& title) override;
  void PumpEvents() override;
  void ReadJoystick(int port) override;
  void NoteChanges(const ChangedBlocks& blocks) override { Shown.NoteChanges(blocks); }
  void Present(const uint32_t* pixels, int width, int height, int sync) override;
  uint32_t Millis() override;
  // The space pause: a page cannot stop, so the passes are held back until the time is up.
  void Sleep(int ms) override;
  bool EndOfPass() override;
  // The last picture again with the overlay as it stands now (a pause's message).
  void ShowAgain() override;

  // True while a pause holds the passes back.
  bool Paused();
  bool Scripted() const { return Script != nullptr; }

  // The browser's events, queued for the next pass (web_events.cpp).
  void Queue(ScriptedEvent::Kind kind, int a = 0, int b = 0);
  // A pointer position in page pixels, relative to the canvas's corner, as frame pixels.
  void PointerAt(double css_x, double css_y, double css_width, double css_height);
  void FocusLost();
  WebPads& Pads() { return GamePads; }

  // The page's touch controls (web_touch.cpp): on-screen button 0..5 (left, right, up, down, B,
  // A) pressed or let go, and a finger on the picture standing for the mouse's left button.
  enum class TouchPhase { kMove, kDown, kUp };
  void TouchControl(int button, bool down);
  void TouchPointer(int phase, double css_x, double css_y, double css_width, double css_height);

 private:
  void ListenToBrowser();
  // web_picture.cpp: only what changed in the frame or its overlay converted and sent.
  void Show(const uint32_t* pixels, int width, int height);
  void ShowArea(const uint32_t* pixels, int width, int height, const FrameRect& area);

  std::unique_ptr<HeadlessBackend> Script;
  std::vector<ScriptedEvent> Pending;
  std::vector<uint8_t> Rgba;             // the picture as the canvas takes it
  ShownFrame Shown;                      // the frame the canvas holds
  RowCover Cover;                        // the areas to send, frame's and overlay's together
  std::vector<uint32_t> Composite;       // the frame with its overlay, area by area
  OverlayTracker Overlay;                // the overlay the canvas holds
  const uint32_t* LastPixels = nullptr;  // the game's picture last presented
  int FrameWidth = 0, FrameHeight = 0;
  double PausedUntil = 0;  // milliseconds on the page's clock
  WebPads GamePads;
};
