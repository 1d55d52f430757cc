// The browser's events for the web backend: keys on the whole page, buttons pressed on the
// canvas and followed wherever the pointer goes while held (as SDL captures the mouse), the
// wheel kept from scrolling the page, and a lost focus letting go of everything.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <string_view>

#include "platform/commands.h"
#include "platform/input.h"
#include "platform/web/web_backend.h"
#include "platform/web/web_keys.h"

namespace {

int HeldButtons = 0;  // bit n: the game's mouse button n is down
bool FKeyHeld = false;

int GameButton(unsigned short dom_button) {
  switch (dom_button) {
    case 0:
      return 1;  // left
    case 2:
      return 2;  // right
    case 1:
      return 3;  // middle
    default:
      return 0;
  }
}

struct CanvasBox {
  double left = 0, top = 0, width = 0, height = 0;
};

CanvasBox CanvasOnPage() {
  CanvasBox box;
  EM_ASM(
      {
        var r = document.getElementById('canvas').getBoundingClientRect();
        HEAPF64[($0 >> 3) + 0] = r.left;
        HEAPF64[($0 >> 3) + 1] = r.top;
        HEAPF64[($0 >> 3) + 2] = r.width;
        HEAPF64[($0 >> 3) + 3] = r.height;
      },
      &box);
  return box;
}

// Moves the pointer; false when it is off the canvas with no button held (SDL reports no
// motion outside the window then either).
bool FollowPointer(WebBackend& backend, const EmscriptenMouseEvent& event) {
  const CanvasBox box = CanvasOnPage();
  const double x = event.clientX - box.left, y = event.clientY - box.top;
  const bool inside = x >= 0 && y >= 0 && x < box.width && y < box.height;
  if (!inside && HeldButtons == 0) return false;
  backend.PointerAt(x, y, box.width, box.height);
  return true;
}

// F11 and Alt+Enter switch full screen, F9 the picture's fit: they are the page's keys, not
// the game's.
bool IsFullscreenKey(const EmscriptenKeyboardEvent& event) {
  const std::string_view code = event.code;
  return code == "F11" || ((code == "Enter" || code == "NumpadEnter") && event.altKey);
}

// One printable character, pressed or repeated without a chord, while a prompt asks for text.
bool TypedCharacter(const EmscriptenKeyboardEvent& event, bool down) {
  const std::string_view key = event.key;
  return down && InputTextWanted() && !event.ctrlKey && !event.metaKey && !event.altKey &&
         key.size() == 1 && key[0] >= 0x20 && key[0] < 0x7F;
}

EM_BOOL OnKey(int type, const EmscriptenKeyboardEvent* event, void* user) {
  auto& backend = *static_cast<WebBackend*>(user);
  const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
  if (IsFullscreenKey(*event)) {
    if (down && !event->repeat) EM_ASM({ RavelonPage.toggleFullscreen(); });
    return EM_TRUE;
  }
  // F9: the largest picture that fits, or whole steps; the page keeps the choice.
  if (std::string_view(event->code) == "F9" && !event->ctrlKey && !event->altKey &&
      !event->metaKey) {
    if (down && !event->repeat) EM_ASM({ RavelonPage.toggleFit(); });
    return EM_TRUE;
  }
  // A name being typed takes the printable characters (the key goes on as a key too, which the
  // prompt forgets, as with SDL's text and key events).
  const bool typed = TypedCharacter(*event, down);
  const int key = WebGameKeyCode(event->key, event->code);
  if (typed) backend.Queue(ScriptedEvent::Kind::Text, static_cast<unsigned char>(event->key[0]));
  if (!key) return typed ? EM_TRUE : EM_FALSE;  // not one of the game's keys
  if (IsPourKey(key)) FKeyHeld = down;
  // Auto-repeat never counts as a press.
  if (!down) {
    backend.Queue(ScriptedEvent::Kind::KeyUp, key);
  } else if (!event->repeat) {
    backend.Queue(ScriptedEvent::Kind::KeyDown, key);
  }
  // The browser keeps its own chords (reload, the address bar, ...) but for the game's own, and
  // every key the game does not read.
  const bool chord = event->ctrlKey || event->metaKey || event->altKey;
  return chord ? PageGivesChordToGame(key) : PageGivesKeyToGame(key);
}

EM_BOOL OnButton(int type, const EmscriptenMouseEvent* event, void* user) {
  auto& backend = *static_cast<WebBackend*>(user);
  const int button = GameButton(event->button);
  if (button == 0) return EM_FALSE;
  const bool down = type == EMSCRIPTEN_EVENT_MOUSEDOWN;
  if (down) {
    // Only a press on the canvas is the game's; a release counts wherever it happens.
    const CanvasBox box = CanvasOnPage();
    const double x = event->clientX - box.left, y = event->clientY - box.top;
    if (x < 0 || y < 0 || x >= box.width || y >= box.height) return EM_FALSE;
    HeldButtons |= 1 << button;
  } else {
    if ((HeldButtons & (1 << button)) == 0) return EM_FALSE;
    HeldButtons &= ~(1 << button);
  }
  FollowPointer(backend, *event);
  backend.Queue(down ? ScriptedEvent::Kind::ButtonDown : ScriptedEvent::Kind::ButtonUp, button);
  return EM_TRUE;
}

EM_BOOL OnMove(int type, const EmscriptenMouseEvent* event, void* user) {
  FollowPointer(*static_cast<WebBackend*>(user), *event);
  return EM_FALSE;
}

// The browser reports the wheel in pixels, lines or pages, and a touch pad in small pieces;
// the game counts notches. A notch is 100 pixels (what Chromium and Firefox report for one),
// 3 lines or a page, and the pieces are added up until they make one. The browser's y grows
// toward the user, the game's away from the user, as the SDL backend gives it.
double WheelRestX = 0, WheelRestY = 0;

double WheelNotches(double delta, unsigned long mode) {
  switch (mode) {
    case DOM_DELTA_LINE:
      return delta / 3.0;
    case DOM_DELTA_PAGE:
      return delta;
    default:
      return delta / 100.0;
  }
}

int WholeNotches(double& rest) {
  const int whole = static_cast<int>(rest);  // toward zero: what is left keeps its sign
  rest -= whole;
  return whole;
}

EM_BOOL OnWheel(int type, const EmscriptenWheelEvent* event, void* user) {
  WheelRestX += WheelNotches(event->deltaX, event->deltaMode);
  WheelRestY -= WheelNotches(event->deltaY, event->deltaMode);
  const int dx = WholeNotches(WheelRestX), dy = WholeNotches(WheelRestY);
  if (dx != 0 || dy != 0) static_cast<WebBackend*>(user)->Queue(ScriptedEvent::Kind::Wheel, dx, dy);
  return EM_TRUE;  // the page must not scroll under the game
}

void LetGo(WebBackend& backend) {
  if (HeldButtons != 0 || FKeyHeld) {
    EM_ASM({
      RavelonPage.note('The page lost the focus in the middle of a stroke: the stroke ends ' +
                       'there (Ctrl+Z takes it back).');
    });
  }
  HeldButtons = 0;
  FKeyHeld = false;
  WheelRestX = WheelRestY = 0;
  backend.FocusLost();
}

EM_BOOL OnFocus(int type, const EmscriptenFocusEvent* event, void* user) {
  LetGo(*static_cast<WebBackend*>(user));
  return EM_FALSE;
}

EM_BOOL OnVisibility(int type, const EmscriptenVisibilityChangeEvent* event, void* user) {
  if (event->hidden) LetGo(*static_cast<WebBackend*>(user));
  return EM_FALSE;
}

// The browser shows a pad only once a button on it was pressed; from then on it is read.
EM_BOOL OnPadConnected(int type, const EmscriptenGamepadEvent* event, void* user) {
  static_cast<WebBackend*>(user)->Pads().Announced();
  return EM_FALSE;
}

}  // namespace

void WebBackend::ListenToBrowser() {
  const char* page = EMSCRIPTEN_EVENT_TARGET_WINDOW;
  emscripten_set_keydown_callback(page, this, EM_TRUE, OnKey);
  emscripten_set_keyup_callback(page, this, EM_TRUE, OnKey);
  emscripten_set_mousedown_callback(page, this, EM_TRUE, OnButton);
  emscripten_set_mouseup_callback(page, this, EM_TRUE, OnButton);
  emscripten_set_mousemove_callback(page, this, EM_TRUE, OnMove);
  emscripten_set_wheel_callback("#canvas", this, EM_TRUE, OnWheel);
  emscripten_set_blur_callback(page, this, EM_FALSE, OnFocus);
  emscripten_set_focus_callback(page, this, EM_FALSE, OnFocus);
  emscripten_set_visibilitychange_callback(this, EM_TRUE, OnVisibility);
  emscripten_set_gamepadconnected_callback(this, EM_FALSE, OnPadConnected);
}
