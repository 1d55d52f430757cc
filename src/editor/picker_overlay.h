// What the window shows over the tile picker: the square under the pointer outlined with a
// caption of what it selects, the chosen block and background squares outlined, the two
// picked-style squares labelled, and the sheet's shaded copies dimmed as not pickable.
#pragma once

#include <string>

#include "platform/render/overlay_scene.h"

// The caption for the picker square at (column, row) of the sheet; empty off the sheet.
std::string PickerCaption(int column, int row);

// Adds the picker's marks to the scene when the pointer at (mx, my) shows the picker.
void LayOutPickerOverlay(OverlayScene& scene, int mx, int my);
