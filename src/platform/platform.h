// The platform edge: one small interface that the game core calls, carried by the SDL backend
// in the game and by the headless backend in tests and the runner.
#pragma once

#include <cstdint>
#include <string>

#include "platform/changed_blocks.h"

class Backend {
 public:
  virtual ~Backend() = default;
  // Opens the window of width x height client pixels; false when that is impossible.
  virtual bool OpenWindow(int width, int height, const std::string& title) = 0;
  // The refresh rate asked for when the window opened; only a flip with sync -1 paces by it.
  virtual void SetPacerHertz(int hertz) {}
  // Processes pending window events into the input bookkeeping (input.h).
  virtual void PumpEvents() = 0;
  // Reads the joystick at the port anew; a missing device reads present = false.
  virtual void ReadJoystick(int port) = 0;
  // Before each flip: the blocks of the back buffer that may differ from the last flip's; the
  // rest hold the same pixels. A backend that compares frames need not compare those.
  virtual void NoteChanges(const ChangedBlocks& blocks) {}
  // Shows the back buffer; sync 1 waits for the display's refresh, 0 does not wait.
  virtual void Present(const uint32_t* pixels, int width, int height, int sync) = 0;
  virtual uint32_t Millis() = 0;
  virtual void Sleep(int ms) = 0;
  // Shows the last picture again with the overlay as it now stands (before a pause that would
  // otherwise leave its message unseen); nothing where there is no window.
  virtual void ShowAgain() {}
  // Names the open window anew (the level being played); nothing where there is no window.
  virtual void SetTitle(const std::string& title) {}
  // Called by the main loop after each pass; false ends the loop (the runner's frame limit).
  virtual bool EndOfPass() { return true; }
};

// The backend in use; the core never runs without one.
void SetBackend(Backend* backend);
Backend* CurrentBackend();

// Opens the window and resets the drawing state. Returns false when no window could be opened.
bool OpenGraphics(int width, int height, int depth, int hertz, int flags);
void Flip(int sync);
int32_t ClockMillis();
void SleepMillis(int ms);

extern std::string AppTitle;

// Ends the process at once with the status, flushing standard output first.
[[noreturn]] void EndProgram(int status);
