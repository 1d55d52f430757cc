// The editor driven as a user drives it: the mouse, its buttons and keys fed to the input
// bookkeeping, then one FInput per frame.
#pragma once

#include "editor/editor.h"
#include "fluid/fluid.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "support/test_env.h"
#include "world/map.h"
#include "world/scroller.h"

class EditorTest : public GameTest {
 protected:
  void SetUp() override {
    GameTest::SetUp();
    BootSubsystems();
    TMap::FClear();
  }
  static void Mouse(int x, int y) { InputMouseMove(x, y); }
  static void Hold(int button) { InputMouseButton(button, true); }
  static void Release(int button) { InputMouseButton(button, false); }
  // Puts the mouse over the centre of a map cell, the left view's camera at the map's corner.
  static void MouseOverCell(int cx, int cy) { Mouse(cx * 16 + 8, cy * 16 + 8); }
  static void Frame() { TEditor::FInput(); }
  static void PressKey(int key) {
    InputKeyDown(key);
    Frame();
    InputKeyUp(key);
  }
};
