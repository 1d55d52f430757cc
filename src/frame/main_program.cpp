// Start-up (the window, the subsystems' boots, the art), the start-up print-out of the world's
// constants, one pass of the main loop and the loop itself.
#include "frame/main_program.h"

#include <string>

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/build_mode.h"
#include "editor/editor.h"
#include "editor/level_name_prompt.h"
#include "frame/edit_switches.h"
#include "frame/game.h"
#include "frame/game_sounds.h"
#include "frame/help_overlay.h"
#include "frame/kept_edits.h"
#include "frame/level_list.h"
#include "frame/level_start.h"
#include "frame/overlay.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/quit_signals.h"
#include "platform/random.h"
#include "platform/render/draw.h"
#include "platform/render/image.h"
#include "shared/game_events.h"
#include "shared/play_files.h"
#include "world/block.h"
#include "world/current_level.h"
#include "world/level_save.h"
#include "world/level_starts.h"
#include "world/map.h"
#include "world/map_files.h"
#include "world/recovery_level.h"
#include "world/scroller.h"

// The program-level variables (shared/game_images.h, shared/frame_counters.h, BadguyActor):
// the art LoadArt loads, the counters the loop advances, the bad guy the play state creates.
std::shared_ptr<TImage> AllTilesImage, TileSet0, TileSet1, TileSet2, WaterImage, ActorImage,
    InstrImage;
uint8_t FrameTick, SlowToggle, AnimPhase, QuitFlag;
std::shared_ptr<TActor> BadguyActor;

void ResetProgramVariables() {
  AllTilesImage = TileSet0 = TileSet1 = TileSet2 = WaterImage = ActorImage = InstrImage = nullptr;
  FrameTick = SlowToggle = AnimPhase = QuitFlag = 0;
  BadguyActor = nullptr;
}

namespace {

std::function<void(int)> PassObserver;

// One line of the start-up print-out: the label, padded with tabs as it has always been
// printed, then the value the game actually uses.
void PrintConstant(const char* label_and_tabs, int64_t value) {
  PrintLine(std::string(label_and_tabs) + std::to_string(value));
}

void PrintWorldConstants() {
  PrintLine("---");
  PrintConstant("PIXEL_SHIFT:\t\t", PIXEL_SHIFT);
  PrintConstant("TILE_SHIFT:\t\t", TILE_SHIFT);
  PrintConstant("PIXEL_SHIFT n:\t", PIXEL_UNITS);
  PrintConstant("TILE_SHIFT n:\t", TILE_UNITS);
  PrintLine("---");
  PrintConstant("SCREEN_WIDTH_PIXELS:\t", SCREEN_WIDTH_PIXELS);
  PrintConstant("SCREEN_HEIGHT_PIXELS:\t", SCREEN_HEIGHT_PIXELS);
  PrintConstant("TILE_SIZE_PIXELS:\t\t", TILE_SIZE_PIXELS);
  PrintConstant("SCREEN_WIDTH_TILES:\t", SCREEN_WIDTH_TILES);
  PrintConstant("SCREEN_HEIGHT_TILES:\t", SCREEN_HEIGHT_TILES);
  PrintConstant("SCREEN_WIDTH_UNITS:\t", SCREEN_WIDTH_UNITS);
  PrintConstant("SCREEN_HEIGHT_UNITS:\t", SCREEN_HEIGHT_UNITS);
  PrintLine("---");
  PrintConstant("MAP_WIDTH_TILES:\t\t", MAP_WIDTH_TILES);
  PrintConstant("MAP_HEIGHT_TILES:\t\t", MAP_HEIGHT_TILES);
  PrintConstant("MAP_WIDTH_PIXELS:\t\t", MAP_WIDTH_PIXELS);
  PrintConstant("MAP_HEIGHT_PIXELS:\t\t", MAP_HEIGHT_PIXELS);
  PrintConstant("MAP_WIDTH_UNITS:\t\t", MAP_WIDTH_UNITS);
  PrintConstant("MAP_HEIGHT_UNITS:\t\t", MAP_HEIGHT_UNITS);
  PrintLine("---");
}

void ReportImage(const std::shared_ptr<TImage>& image, const char* loaded) {
  PrintLine(image ? loaded : "Image not found!");
}

void LoadArt() {
  AllTilesImage = TImage::Load(kTileSheetFile, kImageMasked);
  ReportImage(AllTilesImage, "Loaded All Tiles Image");
  TileSet1 = TImage::LoadAnim(kTileSheetFile, 16, 16, 256, 256, kImageMasked);
  TileSet2 = TImage::LoadAnim(kTileSheetFile, 16, 16, 512, 256, kImageMasked);
  TileSet0 = TImage::LoadAnim(kTileSheetFile, 16, 16, 0, 256, kImageMasked);
  WaterImage = TImage::LoadAnim(kWaterSheetFile, 16, 16, 0, 80, kImageMasked);
  ReportImage(WaterImage, "Loaded Water Image");
  ActorImage = TImage::LoadAnim(kActorSheetFile, 16, 24, 0, 48, kImageMasked);
  ReportImage(ActorImage, "Loaded Actor Image");
  InstrImage = TImage::Load(kInstructionsFile, kImageMasked);
}

}  // namespace

void AdvanceCounters() {
  if (WorldHeld) return;
  if (++FrameTick < 7) return;
  FrameTick = 0;
  if (++SlowToggle >= 2) SlowToggle = 0;
  if (++AnimPhase >= 4) AnimPhase = 0;
}

int TMain::FDefaultState() {
  PrintLine("TMain default state.");
  return 0;
}

int TMain::FBoot() {
  if (!OpenGraphics(WINDOW_WIDTH, WINDOW_HEIGHT, 0, 60, 0)) {
    PrintLine("Cannot open the window.");
    EndProgram(1);
  }
  SetLoadMaskColor(122, 201, 255);
  SetClsColor(122, 201, 255);
  FDefaultState();
  FBootSubsystems();
  LoadArt();
  return 0;
}

int TMain::FBootSubsystems() {
  TScroller::FBoot();
  TEditor::FBoot();
  TMap::FBoot();
  TActor::FBoot();
  TProfile::FBoot();
  TBlock::FBoot();
  return 0;
}

void MainLoopPass() {
  InputBeginPass();
  if (QuitSignalled()) QuitFlag = 1;
  // A pass with F1, or with the help shown, is the help's: the game waits. So it does behind
  // the level list, whose passes take F1 too.
  if (!TLevelList::FShown() && !TNamePrompt::FShown() && THelp::FTakePass()) {
    if (CloseRequested() != 0) QuitFlag = 1;
    THelp::FShowPass();
    return;
  }
  // The name prompt of a new level file is the same: the game waits while a name is typed.
  if (TNamePrompt::FTakePass()) {
    if (CloseRequested() != 0) QuitFlag = 1;
    TOverlay::FLayOut();
    Flip(1);
    return;
  }
  if (TLevelList::FTakePass()) {
    if (CloseRequested() != 0) QuitFlag = 1;
    TLevelList::FShowPass();
    return;
  }
  // Escape drops build mode's paste or drag first, when one is under way.
  if (CommandPresses(Command::kQuit) != 0 && !TBuild::FEscape()) QuitFlag = 1;
  if (CloseRequested() != 0) QuitFlag = 1;
  TGame::FRun();
  if (CommandPresses(Command::kPause) != 0) {
    TGameEvents::FReport(GameEvent::kPaused, 0, 0, 3000);
    TOverlay::FShowPause();
    SoundBeforePause();
    SleepMillis(3000);
  }
  AdvanceCounters();
  SoundKeysPass();
  TGameEvents::FDeliver();
}

void SetPassObserver(std::function<void(int pass)> observer) {
  PassObserver = std::move(observer);
}

void ObservePass(int pass) {
  if (PassObserver) PassObserver(pass);
}

void SetKeepUnsavedEditsOnQuit(bool keep) {
  SetKeepEdits(keep);
}

int TMain::FRun() {
  int pass = 0;
  while (QuitFlag == 0) {
    MainLoopPass();
    ObservePass(++pass);
    KeepEditsWhilePlaying(pass);
    Backend* backend = CurrentBackend();
    if (backend && !backend->EndOfPass()) break;
  }
  return 0;
}

// Leaving with Escape, the close button or a hang-up never throws edits away: what no S has
// saved goes into recovery/ as a pair the map files can be replaced with.
int TMain::FGoodbye() {
  if (QuitFlag != 0) KeepEditsOnQuit();
  return 0;
}

int RunRavelon(bool run_loop) {
  TGameEvents::FClear();
  TOverlay::FStart();
  CreateTables();
  AppTitle = kGameTitle;
  PrintWorldConstants();
  SeedRandom(5);
  TMain::FBoot();
  // A level file names its starts, so it is read before the play state makes the actors.
  TLevel start_level;
  const bool level_file = ReadStartLevel(start_level);
  if (level_file) LevelStarts = start_level.Starts;
  TGame::FEnterState();
  FinishInterruptedMapSave();
  if (level_file) {
    UseStartLevel(start_level);
  } else {
    TMap::FLoadState();
    // A map file that is there but was refused is said on screen as well: S would save over it.
    if (LoadFailure why; MapFileRefused(why))
      TGameEvents::FReport(GameEvent::kLoadFailed, 0, 0, static_cast<int32_t>(why));
  }
  TScroller::FRefreshFromMap();
  TBuild::FLevelReplaced();
  // The offer is of what is played: the pair on the map files, the level's own kept copy on a
  // level file.
  if (level_file ? RecoveryLevelIsNewer() : RecoveryPairIsNewer())
    TGameEvents::FReport(GameEvent::kRecoveryOffered);
  if (run_loop) TMain::FRun();
  TMain::FGoodbye();
  return 0;
}
