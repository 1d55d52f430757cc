// A backend without a window: input is fed by a script or a test, the flip never waits and
// the clock is virtual, so a run is the same every time.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "platform/input_event.h"
#include "platform/platform.h"

class HeadlessBackend : public Backend {
 public:
  bool OpenWindow(int width, int height, const std::string& title) override;
  void PumpEvents() override;
  void ReadJoystick(int port) override;
  void NoteChanges(const ChangedBlocks& blocks) override { Noted.Add(blocks); }
  void Present(const uint32_t* pixels, int width, int height, int sync) override;
  uint32_t Millis() override { return VirtualMillis; }
  void Sleep(int ms) override;
  bool EndOfPass() override;

  // Events sorted stably by frame keep their file order within a frame.
  void SetScript(std::vector<ScriptedEvent> events);
  // Called after every pass with the number of the pass just ended; false stops the loop.
  std::function<bool(int pass)> OnEndOfPass;

  int Passes = 0;  // passes of the main loop completed
  int Flips = 0;
  int Sleeps = 0;  // sleep calls (space pauses), counted instead of slept
  bool WindowOpen = false;
  bool RefuseWindow = false;  // tests: pretend no window can be opened
  uint32_t VirtualMillis = 0;
  ChangedBlocks Noted;  // every block noted as changed, for tests to check and clear

 private:
  void Deliver(const ScriptedEvent& event);
  std::vector<ScriptedEvent> Script;
  size_t Next = 0;
  float JoyX = 0, JoyY = 0;
  uint32_t JoyButtons = 0;
};
