// The order in which the game's class-level tables and variables are created (reset, so a test
// can start the program again in the same process) before anything else of the game runs. Each
// owner defines its tables beside its code and knows their start values; this file only keeps
// the order.
#include "actors/actor.h"
#include "actors/profile.h"
#include "art/ref_image.h"
#include "editor/editor.h"
#include "editor/free_camera.h"
#include "fluid/fluid.h"
#include "frame/clock.h"
#include "frame/edit_switches.h"
#include "frame/main_program.h"
#include "world/block.h"
#include "world/level_starts.h"
#include "world/map.h"
#include "world/scroller.h"

void CreateTables() {
  TMap::FResetTables();  // the grids and the actor buckets
  TScroller::FResetTables();
  TEditor::FResetTables();
  TActor::FResetTables();
  TFluid::FResetTables();
  TClock::FResetTables();
  TProfile::FResetTables();
  ResetProgramVariables();  // the images, the frame counters, BadguyActor
  TBlock::FResetTables();
  TRefImage::FResetTables();
  ResetFreeCamera();
  ResetEditSwitches();
  ResetLevelStarts();
}
