// The level file being played, named on screen and in the window's title, with a star while
// it has edits no save has kept (a new level from the level list as one not saved yet).
// Playing the map files shows nothing, as it always has.
#pragma once

#include "platform/render/overlay_scene.h"

void LayOutLevelLabel(OverlayScene& scene);
