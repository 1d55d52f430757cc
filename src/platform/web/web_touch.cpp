// The page's touch controls: the on-screen arrows and the B and A buttons press the keys the
// table of commands gives those commands, and a finger on the picture is the mouse's left
// button, so a tap or drag in the left view paints and a tap in the picker picks. The page
// (page_touch.js) follows each finger by its own id and lets no press end in the pass it began.
#include "platform/commands.h"
#include "platform/web/web_backend.h"

namespace {

constexpr Command kTouchCommands[] = {Command::kRunLeft, Command::kRunRight, Command::kClimbUp,
                                      Command::kDuck,    Command::kJump,     Command::kAButton};
constexpr int kTouchButtons = static_cast<int>(sizeof kTouchCommands / sizeof kTouchCommands[0]);
constexpr int kLeftButton = 1;  // the game's left mouse button

}  // namespace

void WebBackend::TouchControl(int button, bool down) {
  if (Script || button < 0 || button >= kTouchButtons) return;
  const int key = CodeOf(kTouchCommands[button]);
  Queue(down ? ScriptedEvent::Kind::KeyDown : ScriptedEvent::Kind::KeyUp, key);
}

void WebBackend::TouchPointer(int phase, double css_x, double css_y, double css_width,
                              double css_height) {
  if (Script) return;
  PointerAt(css_x, css_y, css_width, css_height);
  if (phase == static_cast<int>(TouchPhase::kDown)) {
    Queue(ScriptedEvent::Kind::ButtonDown, kLeftButton);
  } else if (phase == static_cast<int>(TouchPhase::kUp)) {
    Queue(ScriptedEvent::Kind::ButtonUp, kLeftButton);
  }
}
