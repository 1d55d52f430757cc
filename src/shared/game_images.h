// The game's images, loaded once at start-up and drawn from by the world, the actors, the
// editor and the frame. Null until loaded (a missing file leaves its handle null).
#pragma once

#include <memory>

class TImage;

// Defined in frame/main_program.cpp, null after ResetProgramVariables there; loaded by
// TMain::FBoot in the same file.
extern std::shared_ptr<TImage> AllTilesImage;  // the whole tile sheet, for the editor's picker
extern std::shared_ptr<TImage> TileSet0, TileSet1, TileSet2;  // the sheet's three 16x16 strips
extern std::shared_ptr<TImage> WaterImage;                    // the water's animation frames
extern std::shared_ptr<TImage> ActorImage;                    // the actors' poses, 16x24
extern std::shared_ptr<TImage> InstrImage;                    // the editor's instructions panel
