// The runner's command line, its reads of the script, and one run of the game: the real
// start-up and main loop on the headless backend, with the trace, the shot and the timings.
#include "runner.h"

#include <unistd.h>

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>

#include "editor/build_mode.h"
#include "frame/level_start.h"
#include "frame/main_program.h"
#include "frame/overlay.h"
#include "fresh_run.h"
#include "platform/files.h"
#include "platform/platform.h"
#include "platform/quit_signals.h"
#include "platform/render/draw.h"
#include "record/play_recorder.h"
#include "record/script.h"
#include "record/trace.h"
#include "replay_run.h"
#include "run_files.h"
#include "run_sound.h"
#include "shared/play_files.h"
#include "shot.h"
#include "stress.h"
#include "timing.h"
#include "world/current_level.h"

namespace {

bool ParseFrames(const std::string& text, int& frames) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0) return false;
  frames = value;
  return true;
}

bool ParseMusicLevel(const std::string& text, int& music) {
  int value = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || value < 0 || value > 100)
    return false;
  music = value;
  return true;
}

void Complain(const std::string& message) {
  std::cerr << "ravelon-sim: " << message << '\n';
}

// Standard input gets the file reader's size limit too, read in pieces, so an endless stream
// is refused instead of filling the memory.
bool ReadStandardInput(std::string& text, std::string& why) {
  char piece[1 << 16];
  text.clear();
  while (std::cin.read(piece, sizeof piece) || std::cin.gcount() > 0) {
    text.append(piece, static_cast<size_t>(std::cin.gcount()));
    if (text.size() > kMaxFileBytes) {
      why = "the script on standard input is larger than " + std::to_string(kMaxFileBytes >> 20) +
            " MiB";
      return false;
    }
  }
  if (std::cin.bad()) why = "cannot read the script from standard input";
  return !std::cin.bad();
}

// A script file is read as the game reads its own files: a regular file within the size limit.
// A folder, a device or a pipe by name is refused with its reason.
bool ReadScriptText(const std::string& path, std::string& text, std::string& why) {
  if (path == "-") return ReadStandardInput(text, why);
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!error && std::filesystem::exists(status) && !std::filesystem::is_regular_file(status)) {
    why = "the script " + path + " is not a file";
    return false;
  }
  const int64_t length = FileLength(path);
  if (length >= 0 && static_cast<uint64_t>(length) > kMaxFileBytes) {
    why = "the script " + path + " is larger than " + std::to_string(kMaxFileBytes >> 20) + " MiB";
    return false;
  }
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, bytes)) {
    why = "cannot read the script " + path;
    return false;
  }
  text.assign(bytes.begin(), bytes.end());
  return true;
}

// Start-up and the main loop. The stress or water state must be in place before the first pass,
// so that run takes start-up and the loop in two steps (the goodbye between them does nothing).
void RunGame(const RunOptions& options) {
  if (options.frames == 0) {
    RunRavelon(false);
  } else if (StartStateOf(options) != StartState::Loaded) {
    RunRavelon(false);
    BuildStartState(StartStateOf(options));
    TMain::FRun();
  } else {
    RunRavelon(true);
  }
}

// A replay brings its own input and length; the other inputs of a run do not mix with it.
bool ReplayArgumentsFit(const RunOptions& options, bool frames_given, std::string& error) {
  if (options.replay.empty()) {
    if (!options.unpack.empty()) error = "--unpack needs --replay";
    return options.unpack.empty();
  }
  const char* clash = !options.script.empty()       ? "--script"
                      : frames_given                ? "--frames"
                      : options.stress              ? "--stress"
                      : options.water               ? "--water"
                      : options.bench               ? "--bench"
                      : options.overlay             ? "--overlay"
                      : !options.level.empty()      ? "--level"
                      : !options.save_level.empty() ? "--save-level"
                                                    : nullptr;
  if (clash) error = std::string("--replay takes no ") + clash;
  return clash == nullptr;
}

// The play folder's own files (the map pair, the save's journal, the art, the sound recipes) are
// never an output, as the game refuses them: the run would destroy what it plays. Empty when
// every output may be written, else the line that says which one may not.
std::string PlayFileAmongOutputs(const RunOptions& options) {
  std::vector<std::pair<std::string, std::string>> outputs = {
      {"--trace " + options.trace, options.trace},
      {"--shot " + options.shot, options.shot},
      {"--wav " + options.wav, options.wav}};
  if (!options.unpack.empty()) {
    for (const char* name : {"script.txt", kBGMapFile, kBlockMapFile}) {
      const std::string path = (std::filesystem::path(options.unpack) / name).string();
      outputs.push_back({"--unpack " + options.unpack + " (its " + name + ")", path});
    }
  }
  for (auto& [what, path] : outputs)
    path = path == "-" ? std::string() : FromStartFolder(path);
  WorkDir play_folder;
  if (!play_folder.Enter(options.dir)) return {};  // the run itself says it cannot
  for (const auto& [what, path] : outputs) {
    if (path.empty()) continue;
    if (const std::string why = StartUpFileAt(path); !why.empty())
      return what + why.substr(path.size()) + "; choose another name";
  }
  return {};
}

}  // namespace

int FinishOutputs(TraceOutput& trace, const RunOptions& options, const std::string& shot_path) {
  int status = 0;
  if (!trace.Finish()) {
    Complain("cannot write the trace " + options.trace + ": " + trace.Why());
    status = kExitWriteFailed;
  }
  std::string why;
  if (!shot_path.empty() && !WriteShot(shot_path, options.overlay, why)) {
    Complain("cannot write the shot " + options.shot + ": " + why);
    status = kExitWriteFailed;
  }
  return status;
}

StartState StartStateOf(const RunOptions& options) {
  if (options.stress) return StartState::Stress;
  return options.water ? StartState::FullWater : StartState::Loaded;
}

std::string UsageText() {
  return "usage: ravelon-sim [options]\n"
         "  --dir DIR      working directory of the run (art, map files, saves)\n"
         "  --frames N     passes of the main loop to run (default 1; 0: start-up only)\n"
         "  --script FILE  input script ('-' for standard input), one event per line:\n"
         "                   F key CODE down|up, F mouse X Y, F button 1|2|3 down|up,\n"
         "                   F joy axis x|y VALUE, F joy button N down|up, F close, F focus lost,\n"
         "                   F wheel DX DY\n"
         "  --trace FILE   per-pass state trace ('-' for standard output)\n"
         "  --shot FILE    the back buffer after the last pass, as a 24-bit BMP\n"
         "  --overlay      draw the window's overlay (messages, picker marks) into the shot\n"
         "  --bench        timing figures of update, draw and frame on standard error\n"
         "  --stress       build the benchmarks' stress state before the first pass\n"
         "  --water        fill every open cell with water before the first pass\n"
         "  --plain-draw   draw without the drawing shortcuts: the same picture, more work\n"
         "  --replay FILE  play back a recording of the game (ravelon --record) in a scratch\n"
         "                 folder with its map files and the art of DIR, checking its state;\n"
         "                 exit 3 and the first differing frame when it differs\n"
         "  --unpack OUT   with --replay: write its input as script.txt, and its map files,\n"
         "                 into the folder OUT\n"
         "  --wav FILE     the run's sound as a 16-bit stereo WAV, 800 samples a pass at\n"
         "                 48000 Hz (the recipes *.sfx and tunes *.tune are read from DIR)\n"
         "  --music N      the tune in that sound, 0 to 100 (default 0: no tune)\n"
         "  --level FILE   start with this level file (a Tiled map) instead of the map files\n"
         "  --save-level FILE  write the map as a level file at the end of the run\n"
         "  --help         this text\n"
         "Paths are taken from the folder the runner starts in; the run itself happens in DIR.\n";
}

bool ParseArguments(const std::vector<std::string>& args, RunOptions& options, std::string& error) {
  bool frames_given = false;
  for (size_t i = 0; i < args.size(); ++i) {
    std::string name = args[i];
    std::string value;
    bool has_value = false;
    if (const size_t eq = name.find('='); name.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = name.substr(eq + 1);
      name = name.substr(0, eq);
      has_value = true;
    }
    auto take_value = [&](std::string& into) {
      if (!has_value) {
        if (i + 1 >= args.size()) {
          error = name + " needs a value";
          return false;
        }
        value = args[++i];
      }
      into = value;
      return true;
    };
    auto no_value = [&](bool& flag) {
      if (has_value) {
        error = name + " takes no value";
        return false;
      }
      flag = true;
      return true;
    };
    bool ok = true;
    if (name == "--dir") {
      ok = take_value(options.dir);
      if (ok && options.dir.empty()) error = "--dir needs a folder", ok = false;
    } else if (name == "--frames") {
      frames_given = true;
      std::string text;
      ok = take_value(text);
      if (ok && !ParseFrames(text, options.frames)) {
        error = "--frames needs a whole number 0 or more, not '" + text + "'";
        ok = false;
      }
    } else if (name == "--script" || name == "--trace" || name == "--shot" || name == "--replay" ||
               name == "--unpack" || name == "--wav" || name == "--level" ||
               name == "--save-level") {
      std::string& path = name == "--script"       ? options.script
                          : name == "--trace"      ? options.trace
                          : name == "--shot"       ? options.shot
                          : name == "--replay"     ? options.replay
                          : name == "--wav"        ? options.wav
                          : name == "--level"      ? options.level
                          : name == "--save-level" ? options.save_level
                                                   : options.unpack;
      ok = take_value(path);
      if (ok && path.empty()) error = name + " needs a file name", ok = false;
    } else if (name == "--music") {
      std::string text;
      ok = take_value(text);
      if (ok && !ParseMusicLevel(text, options.music)) {
        error = "--music needs a whole number from 0 to 100, not '" + text + "'";
        ok = false;
      }
    } else if (name == "--bench") {
      ok = no_value(options.bench);
    } else if (name == "--overlay") {
      ok = no_value(options.overlay);
    } else if (name == "--stress") {
      ok = no_value(options.stress);
    } else if (name == "--water") {
      ok = no_value(options.water);
    } else if (name == "--plain-draw") {
      ok = no_value(options.plain_draw);
    } else if (name == "--help" || name == "-h") {
      ok = no_value(options.help);
    } else {
      error = "unknown argument '" + args[i] + "' (see --help)";
      ok = false;
    }
    if (!ok) return false;
  }
  return ReplayArgumentsFit(options, frames_given, error);
}

int RunSimulation(const RunOptions& options) {
  if (options.plain_draw) SetDrawShortcuts(false);
  if (const std::string why = PlayFileAmongOutputs(options); !why.empty()) {
    Complain(why);
    return kExitBadArguments;
  }
  if (!options.replay.empty()) return RunReplay(options);
  std::vector<ScriptedEvent> events;
  if (!options.script.empty()) {
    std::string text, why;
    if (!ReadScriptText(options.script, text, why)) {
      Complain(why);
      return kExitBadArguments;
    }
    ScriptParseResult parsed = ParseScript(text);
    if (!parsed.ok) {
      Complain(options.script + " line " + std::to_string(parsed.errorLine) + ": " + parsed.error);
      return kExitBadArguments;
    }
    events = std::move(parsed.events);
  }
  const std::string shot_path = FromStartFolder(options.shot);
  const std::string wav_path = FromStartFolder(options.wav);
  const std::string save_level_path = FromStartFolder(options.save_level);
  SetStartLevelFile(FromStartFolder(options.level));
  TraceOutput trace;
  if (!trace.Open(FromStartFolder(options.trace))) {
    Complain("cannot write the trace " + options.trace + ": " + trace.Why());
    return kExitBadArguments;
  }
  WorkDir work_dir;
  if (!work_dir.Enter(options.dir)) {
    Complain("cannot enter the folder " + options.dir);
    return kExitBadArguments;
  }

  Backend* previous = CurrentBackend();
  HeadlessBackend backend;
  PrepareFreshRun(backend, events);
  const bool tracing = !options.trace.empty();
  backend.OnEndOfPass = [&](int pass) {
    if (tracing) trace.Write(TraceFrame(pass));
    return pass < options.frames;
  };
  RunSound sound(wav_path, "", options.music);
  RunGame(options);
  const bool sound_written = sound.Finish();
  std::fflush(stdout);
  const std::string final_state = TraceFrame(backend.Passes);
  const int sleeps = backend.Sleeps;
  // The overlay as the window would show it over the last picture, by the run's own clock.
  if (options.overlay) TOverlay::FLayOut();
  SetBackend(previous);

  int status = FinishOutputs(trace, options, shot_path);
  if (!save_level_path.empty()) {
    std::string why;
    if (!WriteLevelFile(save_level_path, LevelToSave(), why)) {
      Complain("cannot write the level " + options.save_level + ": " + why);
      status = kExitWriteFailed;
    }
  }
  if (!sound_written) {
    Complain("cannot write the sound " + options.wav);
    status = kExitWriteFailed;
  }
  if (options.bench) {
    FrameTimings timings = TimeFrames(events, options.frames, StartStateOf(options));
    timings.sleeps = sleeps;
    std::cerr << FormatTimings(timings);
    if (timings.finalTrace != final_state) {
      Complain("warning: the timing run ended in another state than the real run");
    }
  }
  SetStartLevelFile("");
  return status;
}

int RunnerMain(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  RunOptions options;
  std::string error;
  if (!ParseArguments(args, options, error)) {
    Complain(error);
    return kExitBadArguments;
  }
  if (options.help) {
    // Asked for, so it is the run's output, not a complaint.
    std::cout << UsageText();
    return 0;
  }
  CatchQuitSignals();
  return RunSimulation(options);
}
