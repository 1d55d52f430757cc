// The game in a web page: the play folder laid out in the page's memory (the art of the build,
// the levels kept in the browser's storage), the web backend in place, start-up, then the passes
// of the main loop, 60 a second by the game's own clock, run from the display's refreshes. The page
// (src/platform/web/page.js) calls the exported functions below for its buttons; a scripted page
// (index.html?script) waits for WebStartScripted and plays a runner's script instead of the
// browser's input.
#include <emscripten.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/build_mode.h"
#include "editor/map_pair_open.h"
#include "frame/game_options.h"
#include "frame/game_sounds.h"
#include "frame/kept_edits.h"
#include "frame/level_import.h"
#include "frame/main_program.h"
#include "platform/files.h"
#include "platform/input.h"
#include "platform/pass_clock.h"
#include "platform/save/safe_write.h"
#include "platform/web/web_audio.h"
#include "platform/web/web_backend.h"
#include "record/play_recorder.h"
#include "record/script.h"
#include "shared/play_files.h"
#include "world/current_level.h"
#include "world/level_file.h"
#include "world/map_pair_file.h"

namespace {

const char* const kPlayFolder = "/play";
const char* const kArtFolder = "/art";  // packed into the build
const char* const kRecordingPath = "/tmp/ravelon-recording.rep";
const char* const kRecordingCopyPath = "/tmp/ravelon-recording-so-far.rep";

WebBackend* Web = nullptr;         // lives as long as the page
PlayRecorder* Recorder = nullptr;  // live play only
bool Recording = false;
int PassesDone = 0;
PassClock Passes;  // when the passes are due
// Why the page holds the game still: the player's pause (Escape), a hidden page, the start
// screen waiting for a click or a key.
constexpr int kHeldByPlayer = 1, kHeldWhileHidden = 2, kHeldAtStart = 4;
int HeldByPage = 0;
bool LoopRunning = false;  // the main loop is called back at each display refresh
int StopAfter = 0;         // scripted: the page holds still after this pass
std::string PendingOpen;
std::string PendingLevelName;  // the file name of a level file to open; empty for a map file
bool Ended = false;
WebAudio Audio;
GameSounds* Sound = nullptr;  // live play only; null for a silent game

// Written as every file the game writes: whole or not at all (platform/save/safe_write.h).
bool CopyFile(const std::filesystem::path& from, const std::filesystem::path& to) {
  std::vector<uint8_t> bytes;
  std::string why;
  return ReadWholeFile(from.string(), bytes) && WriteFileSafely(to.string(), bytes, why);
}

// Emscripten's file system starts with every permission masked off: each file the game
// created (a recording, a backup, a recovered pair) would be one nobody can read back. The
// usual mask of a desktop instead.
void UsualFileMask() {
  umask(022);
}

void LayOutFile(const std::string& name) {
  const std::filesystem::path from = std::filesystem::path(kArtFolder) / name;
  if (!CopyFile(from, std::filesystem::path(kPlayFolder) / name))
    std::fprintf(stderr, "Cannot lay out %s\n", name.c_str());
}

// levels/ starts with the default level as a level file, copied only where none of its name is
// kept yet.
void LayOutDefaultLevel() {
  const std::filesystem::path play(kPlayFolder);
  std::error_code error;
  if (std::filesystem::exists(play / kDefaultLevelFile, error)) return;
  std::filesystem::create_directories(play / kLevelsFolderName, error);
  const std::filesystem::path from = std::filesystem::path(kArtFolder) / kDefaultLevelSource;
  if (!CopyFile(from, play / kDefaultLevelFile))
    std::fprintf(stderr, "Cannot lay out %s\n", kDefaultLevelFile);
}

// As scripts/play.sh lays out play/ (shared/play_files.h): the art, the sound recipes and tunes
// copied in every time, the default level only where no map file is kept yet, so a level saved with
// S is never overwritten.
void LayOutPlayFolder(bool with_stored_levels) {
  UsualFileMask();
  std::error_code error;
  std::filesystem::create_directories(kPlayFolder, error);
  if (with_stored_levels) EM_ASM({ RavelonPage.restoreStored(UTF8ToString($0)); }, kPlayFolder);
  for (const char* name : kEveryRunFiles)
    LayOutFile(name);
  for (const auto& entry : std::filesystem::directory_iterator(kArtFolder, error)) {
    const std::string extension = entry.path().extension().string();
    if (extension == kSoundRecipeExtension || extension == kMusicScoreExtension)
      LayOutFile(entry.path().filename().string());
  }
  for (const char* name : kLevelFiles) {
    if (!std::filesystem::exists(std::filesystem::path(kPlayFolder) / name, error))
      LayOutFile(name);
  }
  LayOutDefaultLevel();
  if (chdir(kPlayFolder) != 0) std::fprintf(stderr, "Cannot enter %s\n", kPlayFolder);
}

void KeepStored() {
  if (Web && !Web->Scripted()) EM_ASM({ RavelonPage.syncStored(UTF8ToString($0)); }, kPlayFolder);
}

void StopRecording() {
  if (!Recording) return;
  Recorder->Finish();
  Recording = false;
}

// A level opened from a file replaces the map between two passes. A replay cannot show that,
// so the recording ends just before it, still whole and downloadable.
void OpenPendingLevel() {
  const std::string path = std::move(PendingOpen);
  const std::string level_name = std::move(PendingLevelName);
  PendingOpen.clear();
  PendingLevelName.clear();
  const bool level_file = !level_name.empty();
  if (Recording && (level_file || FileLength(path) == static_cast<int64_t>(kMapPairFileBytes))) {
    StopRecording();
    EM_ASM({ RavelonPage.note('The recording ends where the level file was opened.'); });
  }
  const bool opened = level_file ? OpenLevelFromOutside(path, level_name) : OpenMapPairAsStep(path);
  std::remove(path.c_str());
  EM_ASM({ RavelonPage.levelOpened($0); }, opened ? 1 : 0);
}

// Escape or a close request: the desktop's goodbye (unsaved edits into recovery/), kept.
void EndGame() {
  Ended = true;
  TMain::FGoodbye();
  StopRecording();
  KeepStored();
  emscripten_cancel_main_loop();
  LoopRunning = false;
  EM_ASM({ RavelonPage.gameEnded(); });
}

// While the page holds the game still the main loop is not called back at all: a page asking
// for every refresh costs the browser a steady share of a core even when it draws nothing.
void SettleLoop() {
  const bool wanted = HeldByPage == 0 && !Ended;
  if (wanted == LoopRunning) return;
  LoopRunning = wanted;
  if (wanted) {
    Passes.Restart();  // a hold's time is not caught up afterwards
    emscripten_resume_main_loop();
  } else {
    emscripten_pause_main_loop();
  }
}

void Hold(int why) {
  HeldByPage |= why;
  SettleLoop();
}

void Release(int why) {
  HeldByPage &= ~why;
  SettleLoop();
}

// Escape on a live page pauses instead of ending: the unsaved edits are kept in recovery/ as
// a quit keeps them, and the page shows its pause screen until the player goes on.
void PauseForThePlayer() {
  TMain::FGoodbye();
  KeepStored();
  QuitFlag = 0;
  Hold(kHeldByPlayer);
  EM_ASM({ RavelonPage.gamePaused(); });
}

void RunOnePass() {
  if (Web->Scripted() && PassesDone >= StopAfter) return;
  if (!PendingOpen.empty()) OpenPendingLevel();
  MainLoopPass();
  ObservePass(++PassesDone);
  KeepEditsWhilePlaying(PassesDone);
  Web->EndOfPass();
  KeepStored();
  if (QuitFlag == 0) return;
  if (Web->Scripted() || CloseRequested() != 0) {
    EndGame();
  } else {
    PauseForThePlayer();
  }
}

// Called once per display refresh: the passes the game's own clock says are due, 60 a second
// at any refresh rate. A pause's time is not caught up afterwards.
void RunDuePasses() {
  if (Ended) return;
  if (Web->Paused() || HeldByPage != 0) {
    Passes.Restart();
    return;
  }
  for (int due = Passes.Due(emscripten_get_now()); due > 0 && !Ended && !Web->Paused(); --due)
    RunOnePass();
}

// The desktop's --mute, --volume N and --music N, as index.html?mute&volume=N&music=N. A bad
// value is said on the console and the sound goes on as if it were not there.
GameOptions SoundOptionsFromPage() {
  char volume[32] = {}, music[32] = {};
  // Bit 0: ?mute; bit 1: a volume, bit 2: a music level, each copied into its buffer.
  const int given =
      EM_ASM_INT({ return RavelonAudio.pageOptions($0, $1, $2); }, volume, sizeof volume, music);
  std::vector<std::string> args;
  if (given & 1) args.push_back("--mute");
  if (given & 2) args.insert(args.end(), {"--volume", volume});
  if (given & 4) args.insert(args.end(), {"--music", music});
  GameOptions options;
  if (const OptionsOutcome outcome = ParseGameOptions(args, options); !outcome.ok) {
    std::fprintf(stderr, "ravelon: %s\n", outcome.error.c_str());
    options = GameOptions();
    options.muted = (given & 1) != 0;
  }
  return options;
}

// No Web Audio is no reason not to play: the game then runs silent.
void StartSound() {
  if (!Audio.Open()) return;
  const GameOptions options = SoundOptionsFromPage();
  SoundSettings settings;
  settings.Volume = options.volume;
  settings.Muted = options.muted;
  settings.Music = options.music;
  Sound = new GameSounds(settings, [](SoundMixer& mixer) { Audio.Feed(mixer); });
}

void StartGame() {
  SetBackend(Web);
  RunRavelon(false);
  emscripten_set_main_loop(RunDuePasses, 0, 0);
  LoopRunning = true;
  SettleLoop();
  EM_ASM({ RavelonPage.gameStarted(); });
}

}  // namespace

extern "C" {

// The script's text and the pass after which to hold still; 0 when the script is unreadable
// (the reason on standard error).
EMSCRIPTEN_KEEPALIVE int WebStartScripted(const char* script_text, int frames) {
  if (Web) return 0;
  const ScriptParseResult parsed = ParseScript(script_text);
  if (!parsed.ok) {
    std::fprintf(stderr, "script line %d: %s\n", parsed.errorLine, parsed.error.c_str());
    return 0;
  }
  LayOutPlayFolder(false);
  auto script = std::make_unique<HeadlessBackend>();
  script->SetScript(parsed.events);
  Web = new WebBackend(std::move(script));
  StopAfter = frames;
  StartGame();
  return 1;
}

// The page's pause screen goes away (a key, a click, its button): the game goes on.
EMSCRIPTEN_KEEPALIVE void WebResume() {
  Release(kHeldByPlayer);
}

// The start screen's click or key: the first pass runs.
EMSCRIPTEN_KEEPALIVE void WebBegin() {
  Release(kHeldAtStart);
}

// The page was hidden (another tab, a minimised window) or shown again.
EMSCRIPTEN_KEEPALIVE void WebPageHidden(int hidden) {
  if (hidden) {
    Hold(kHeldWhileHidden);
  } else {
    Release(kHeldWhileHidden);
  }
}

EMSCRIPTEN_KEEPALIVE int WebPassesDone() {
  return PassesDone;
}

// The page's touch controls (page_touch.js): button 0..5 is left, right, up, down, B, A.
EMSCRIPTEN_KEEPALIVE void WebTouchControl(int button, int down) {
  if (Web && !Ended) Web->TouchControl(button, down != 0);
}

// A finger on the picture: phase 0 moves, 1 presses, 2 lets go; the position in page pixels
// from the canvas's corner, with the canvas's size on the page.
EMSCRIPTEN_KEEPALIVE void WebTouchPointer(int phase, double x, double y, double width,
                                          double height) {
  if (Web && !Ended) Web->TouchPointer(phase, x, y, width, height);
}

// For the tests: the player's feet line (larger is lower), or -1 without a player.
EMSCRIPTEN_KEEPALIVE double WebPlayerY() {
  const auto& profile = Profiles[kPlayerProfile];
  return profile && profile->Actor ? static_cast<double>(profile->Actor->YPos) : -1;
}

// The file at path (the page wrote it) becomes the level at the start of the next pass.
EMSCRIPTEN_KEEPALIVE int WebOpenMapPair(const char* path) {
  if (!Web || Ended) return 0;
  PendingOpen = path;
  return 1;
}

// The level file at path (the page wrote it, with what it holds made ready for the game's
// reader) becomes the level at the start of the next pass, kept in levels/ under file_name.
EMSCRIPTEN_KEEPALIVE int WebOpenLevelFile(const char* path, const char* file_name) {
  if (!Web || Ended || !file_name || !*file_name) return 0;
  PendingOpen = path;
  PendingLevelName = file_name;
  return 1;
}

// The level on screen as a level file at path, when it is one (it came from a level file, or is
// a new level): the name to give the file, or empty when the level is the raw pair's (or the
// file could not be written, the reason on the console).
EMSCRIPTEN_KEEPALIVE const char* WebWriteLevelFile(const char* path) {
  static std::string name;
  name.clear();
  if (!Web || (CurrentLevel.Path.empty() && !CurrentLevel.Untitled)) return "";
  std::string why;
  if (!WriteLevelFile(path, LevelToSave(), why)) {
    std::fprintf(stderr, "The level file could not be written: %s\n", why.c_str());
    return "";
  }
  name = CurrentLevel.Path.empty() ? "new-level.tmx"
                                   : std::filesystem::path(CurrentLevel.Path).filename().string();
  return name.c_str();
}

EMSCRIPTEN_KEEPALIVE int WebWriteMapPair(const char* path) {
  return Web && WriteMapPairFile(path) ? 1 : 0;
}

// Where a whole recording of this page's play stands now; empty when there is none.
EMSCRIPTEN_KEEPALIVE const char* WebWriteRecording() {
  if (Recording) return Recorder->WriteSoFar(kRecordingCopyPath) ? kRecordingCopyPath : "";
  return Recorder && FileLength(kRecordingPath) > 0 ? kRecordingPath : "";
}

// The page is going away: as the close button on the desktop, unsaved edits go into recovery/.
EMSCRIPTEN_KEEPALIVE void WebPageClosing() {
  if (!Web || Ended || Web->Scripted()) return;
  QuitFlag = 1;
  EndGame();
}

}  // extern "C"

int main() {
  if (EM_ASM_INT({ return RavelonPage.scripted ? 1 : 0; })) {
    EM_ASM({ RavelonPage.waitingForScript(); });
    return 0;
  }
  LayOutPlayFolder(true);
  Web = new WebBackend();
  Recorder = new PlayRecorder();
  Recorder->Start(kRecordingPath, "");
  Recording = true;
  StartSound();
  HeldByPage |= kHeldAtStart;
  StartGame();
  return 0;
}
