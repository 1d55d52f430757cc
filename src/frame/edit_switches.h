// The keys that switch how the frame runs while a level is built: Tab the free camera, P the
// world held still, H the instructions panel, T play from the pointer.
#pragma once

// Defined in frame/edit_switches.cpp; ResetEditSwitches puts them at their start values (the
// world running, the panel shown).
extern bool WorldHeld;   // P: no actor, water, boulder or block moves, and the frame counters wait
extern bool PanelShown;  // H: the instructions panel and the profiler's figures over it

// frame/edit_switches.cpp
void ResetEditSwitches();
// At the start of the frame's update, before anything moves: Tab, P and H, each taken once per
// press (two presses in one frame switch back). Each change is reported as a game event.
void EditSwitchKeys();
// At the end of the frame's update, before R: T, so the frame ends with the player standing
// exactly where it was put.
void PlayFromPointerKey();
// The free camera and the held world switched as Tab and P do (each change reported).
void SetFreeCamera(bool on);
void SetWorldHeld(bool held);
// The player's pad for this frame: the keyboard and the stick, or nothing at all while the free
// camera has the arrow keys.
void ReadPlayerPad();
// T: the player's actor stands in the cell under the pointer (in the left view, or in the
// overview), feet on the cell's bottom and still; the free camera and the hold go off. Over a
// block, the border ring, the gap, the strip or the right view nothing happens. True if placed.
bool PlayFromPointer();
// Whether T would place the player: a free cell inside the border ring under the pointer.
bool PointerCellPlayable();
