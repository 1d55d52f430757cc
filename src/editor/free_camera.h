// The free camera: the left view steered by the arrow keys, the wheel and the map overview
// instead of following the player, so the whole map can be edited from where the player stands.
#pragma once

#include <cstdint>

// Defined in editor/free_camera.cpp, all false after ResetFreeCamera; Tab switches the camera
// through EnterFreeCamera and LeaveFreeCamera.
extern bool FreeCameraOn;
extern bool OverviewDragging;  // a button went down over the overview and is not yet let go
// Some mouse button was held at the last frame start: a press is a button held now and not then.
extern bool ButtonsHeldAtFrameStart;

// editor/free_camera.cpp
// The three above false: the camera off, no button held, nothing dragged.
void ResetFreeCamera();
// Before the frame's first move: whether the buttons held now belong to the overview (a press
// that began over it), kept until every button is up.
void FreeCameraFrameStart();
// The arrow keys (faster with Shift) and the wheel (across with Shift) move the left view; a
// press or drag in the overview centres it there. Nothing while the free camera is off.
void FreeCameraInput();
// Whether the pointer's buttons and F are the overview's this frame, so nothing is painted,
// poured or picked through them.
bool PointerOnOverview();
// The free camera on: the left view stays where it stands until steered.
void EnterFreeCamera();
// The free camera off, the overview let go: the left view follows the player again from where
// it stands.
void LeaveFreeCamera();
