// Enter: build mode on and off. Building holds the world with the level as built on the map, the
// actors at their starts and the free camera on; playing puts the level as built back fresh and
// starts fresh actors at their starts, as a restart does.
#pragma once

// frame/build_switch.cpp
// At the frame's start, after the building switches: an odd number of presses switches.
void BuildModeKey();
void EnterBuildMode();
// Leaves build mode: the level as built, fresh actors at their starts, the world running.
void PlayBuiltLevel();
// R once build mode has been used: in play the level as built starts again (while building
// there is nothing to restart).
void RestartBuiltLevel();
// At the frame's end while building: the actors stand at the starts as they are now (a start
// placed, moved or removed, an undo).
void BuildUpkeep();
