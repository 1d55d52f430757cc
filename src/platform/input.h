// Polled keyboard, mouse and joystick input. Inside the main loop the input of a pass is taken
// once, when the pass starts (InputBeginPass): every query of that pass reads the same snapshot,
// whatever arrives meanwhile waits for the next pass. Before the loop runs, each query first lets
// the backend process the window's pending events, so it sees input up to the moment of the call.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/input_event.h"

// The game asks for its keys by command (platform/commands.h); these take any key code.
int KeyHitCount(int key);
int KeyIsDown(int key);
// Down at some moment since the last pass's snapshot, though perhaps up again by this one: a
// modifier of a chord tapped quicker than a frame. Outside the main loop: KeyIsDown.
int KeyHeldDuringPass(int key);
// The mouse buttons, as MouseButtonDown, MouseHitCount and InputMouseButton number them; 0 is
// none (a button the game does not read).
enum MouseButton : int {
  kMouseLeft = 1,
  kMouseRight = 2,
  kMouseMiddle = 3,
};

int MousePosX();
int MousePosY();
int MouseButtonDown(int button);
int MouseHitCount(int button);
// The wheel's steps of this pass: across (positive to the right) and up (positive away from the
// user), each kept within +-kWheelStepLimit. Inside the main loop the steps taken at the pass's
// start, read as often as asked; outside it, the steps since the last read, then cleared.
int MouseWheelX();
int MouseWheelY();
constexpr int kWheelStepLimit = 1 << 20;
int CloseRequested();
// Typed text, for a prompt that asks for a name: only while asked for (InputWantText) is a
// character kept (and a Backspace pressed kept as U'\b' among them), so play never sees one and a
// recording of play holds none. Inside the main loop the characters the pass's snapshot took, read
// as often as asked; outside it, those since the last read, then cleared.
void InputWantText(bool want);
bool InputTextWanted();
std::u32string TypedText();
constexpr size_t kTypedTextLimit = 256;  // characters kept between two reads
float JoyAxisX(int port);
float JoyAxisY(int port);
int JoyButtonDown(int button, int port);

// The bookkeeping the backends feed from their events.
struct JoystickReading {
  bool present = false;
  float x = 0, y = 0;
  uint32_t buttons = 0;
};

void InputKeyDown(int key);  // a repeat while held adds nothing
void InputKeyUp(int key);
void InputMouseButton(int button, bool down);
void InputMouseMove(int x, int y);
void InputMouseWheel(int dx, int dy);  // added up, saturating at +-kWheelStepLimit
void InputText(char32_t character);    // dropped unless text is asked for, or past the limit
void InputFocusChanged();  // lost or regained: keys, key hits, buttons and button hits clear
void InputCloseRequest();
void InputSetJoystick(int port, const JoystickReading& reading);
// Hands a window's event (a key, the mouse, the wheel, text, focus, close) to the calls above, as
// every backend that queues events delivers them; false for the pad's events, which a backend
// reads.
bool InputDeliver(const ScriptedEvent& event);
// Forgets everything: keys, buttons, pointer (0, 0), close flag, joysticks centred; queries
// pump for themselves again until the next InputBeginPass, and the pass tap is removed.
void InputReset();

// Takes the input of a pass of the main loop: the window's pending events and a reading of the
// joysticks. From the first call on, queries read what this took and never pump themselves.
void InputBeginPass();

// Called by InputBeginPass with what changed since the last pass, in the order it happened, as
// script events (frame left at 1): the input the pass's queries see is the input of the last pass
// plus these. Key and button events come only where they change something; the pointer and the
// first joystick appear once per pass at most, with their new values; the wheel once per pass at
// most, with the pass's steps.
using PassInputTap = std::function<void(const std::vector<ScriptedEvent>&)>;
void InputSetPassTap(PassInputTap tap);
