// The game's process entry: read the command line, choose the backend (the SDL window) and run
// the program on it, recording the play when asked.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "frame/game_options.h"
#include "frame/game_sounds.h"
#include "frame/installed_game.h"
#include "frame/level_start.h"
#include "frame/main_program.h"
#include "frame/play_folder_hint.h"
#include "platform/quit_signals.h"
#include "platform/render/draw.h"
#include "platform/render/overlay_compose.h"
#include "platform/render/overlay_scene.h"
#include "platform/sdl/sdl_audio.h"
#include "platform/sdl/sdl_message_box.h"
#include "platform/sdl/sdl_run.h"
#include "record/play_recorder.h"

namespace {

// Missing art is also told over the window and in a message box, where a player looks.
void TellMissingArt(const std::string& folder, const std::vector<std::string>& unreadable,
                    const char* program) {
  const std::vector<std::string> art = ArtFilesAmong(unreadable);
  if (art.empty()) return;
  const std::string note = MissingArtNote(folder, art, program ? program : "");
  SetOverlayNote(note);
  std::string boxed;
  for (const std::string& line : WrapNote(note, 72))
    boxed += (boxed.empty() ? "" : "\n") + line;
  ShowMessageBoxAside("Ravelon: the art is missing", boxed);
}

// Started outside its play folder the game opens on an empty sky: say why, on standard error,
// so the console lines stay exactly the game's own.
void HintAtWrongFolder(const char* program) {
  const std::vector<std::string> unreadable = UnreadablePlayFiles();
  if (unreadable.empty()) return;
  std::error_code error;
  const std::string folder = std::filesystem::current_path(error).string();
  std::fprintf(stderr, "%s\n", PlayFolderHint(error ? "." : folder, unreadable).c_str());
  TellMissingArt(error ? "." : folder, unreadable, program);
}

// The program with its recorder around it, on whichever backend is in place.
int RunRecorded(const GameOptions& options) {
  PlayRecorder recorder;
  recorder.Start(options.record, options.trace);
  const int status = RunRavelon();
  recorder.Finish();
  return status;
}

// No audio device is no reason not to play: the game then runs silent.
std::unique_ptr<GameSounds> StartSound(const GameOptions& options, SdlAudio& audio) {
  if (!audio.Open()) return nullptr;
  SoundSettings settings;
  settings.Volume = options.volume;
  settings.Muted = options.muted;
  settings.Music = options.music;
  auto sounds =
      std::make_unique<GameSounds>(settings, [&audio](SoundMixer& mixer) { audio.Feed(mixer); });
  sounds->SetPauseOutput(
      [&audio](SoundMixer& mixer, uint32_t frames) { audio.FeedAhead(mixer, frames); });
  return sounds;
}

std::string ThisExecutable() {
  std::error_code error;
  const std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "" : exe.string();
}

// Names given on the command line mean what they meant where the game was started.
void AnchorToStartFolder(std::string& path) {
  std::error_code error;
  if (!path.empty()) path = std::filesystem::absolute(path, error).string();
}

// The play folder: --dir, else the installed game's folder in the user's data folder, else the
// current folder (a checkout's play/, where scripts/play.sh starts the game). An installed
// game lays its folder out first. False, said on standard error and in a message box, when
// there is no folder to play in.
bool EnterPlayFolder(GameOptions& options) {
  const std::string installed = InstalledDataFolder(ThisExecutable());
  std::string folder = options.dir;
  if (folder.empty() && !installed.empty())
    folder = UserPlayFolder(std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
  std::string why;
  if (folder.empty()) {
    if (installed.empty()) return true;
    why = "no data folder for the game: neither XDG_DATA_HOME nor HOME names one; use --dir";
  } else if (!installed.empty()) {
    LayOutPlayFolder(installed, folder, why);
  } else if (std::error_code error; !std::filesystem::is_directory(folder, error)) {
    why = "the play folder " + folder + " is not a folder";
  }
  if (why.empty()) {
    AnchorToStartFolder(options.record);
    AnchorToStartFolder(options.trace);
    AnchorToStartFolder(options.level);
    if (chdir(folder.c_str()) == 0) return true;
    why = "the play folder " + folder + " cannot be entered";
  }
  std::fprintf(stderr, "ravelon: %s\n", why.c_str());
  ShowMessageBoxNow("Ravelon cannot start", "The game cannot start: " + why + ".");
  return false;
}

}  // namespace

int main(int argc, char** argv) {
  GameOptions options;
  const OptionsOutcome outcome = ParseGameOptions({argv + 1, argv + argc}, options);
  if (!outcome.ok) {
    std::fprintf(stderr, "ravelon: %s\n", outcome.error.c_str());
    return kBadOptionsStatus;
  }
  if (options.help) {
    std::printf("Usage: ravelon [options]\n%s", GameOptionsHelp().c_str());
    return 0;
  }
  if (!EnterPlayFolder(options)) return 1;
  CatchQuitSignals();
  // A recording over the map or the art would destroy what it records: refused before anything.
  for (const std::string& path : {options.record, options.trace}) {
    if (path.empty()) continue;
    if (const std::string why = StartUpFileAt(path); !why.empty()) {
      std::fprintf(stderr, "ravelon: %s; choose another name\n", why.c_str());
      return kBadOptionsStatus;
    }
  }
  HintAtWrongFolder(argc > 0 ? argv[0] : nullptr);
  SetStartLevelFile(options.level);
  if (options.plain_draw) SetDrawShortcuts(false);
  const int status = RunOnSdl(options.scale, options.fullscreen, options.fit, [&] {
    SdlAudio audio;
    const std::unique_ptr<GameSounds> sound = StartSound(options, audio);
    return RunRecorded(options);
  });
  CloseMessageBoxAside();
  return status;
}
