// Playing a replay back: its map files and art laid out in a scratch folder, the game run on its
// input, and the verdict at the first check that differs.
#include "replay_run.h"

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iostream>

#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/platform.h"
#include "platform/save/safe_write.h"
#include "record/script.h"
#include "record/trace.h"
#include "run_files.h"
#include "run_sound.h"
#include "shot.h"

namespace {

namespace fs = std::filesystem;

void Complain(const std::string& message) {
  std::cerr << "ravelon-sim: " << message << '\n';
}

bool WriteBytes(const fs::path& path, const std::vector<uint8_t>& bytes) {
  std::string why;
  if (WriteFileSafely(path.string(), bytes, why)) return true;
  Complain("cannot write " + path.string() + ": " + why);
  return false;
}

// A file start-up refused stays one it refuses: an empty file is never a map.
bool LayMapFiles(const Replay& replay, const fs::path& folder) {
  for (const ReplayMapFile& map : replay.maps) {
    if (map.state == ReplayMapFile::State::Missing) continue;
    if (!WriteBytes(folder / map.name, map.bytes)) return false;
  }
  return true;
}

// The art comes from the folder given; a picture other than the recorded one may change what
// happens, so it is worth a warning, but the replay still runs and its checks decide.
void CopyArt(const Replay& replay, const fs::path& from, const fs::path& to) {
  for (const ReplayArtFile& art : replay.art) {
    const fs::path source = from / art.name;
    uint64_t hash = 0;
    const bool present = HashFile(source.string(), hash);
    if (present != art.present) {
      Complain("warning: " + art.name +
               (present ? " is here but was missing" : " is missing here") +
               " when the recording was made");
    } else if (present && hash != art.hash) {
      Complain("warning: " + art.name + " differs from the one the recording was made with");
    }
    std::error_code ignored;
    if (present) fs::copy_file(source, to / art.name, ignored);
  }
}

class ScratchFolder {
 public:
  bool Create() {
    std::string pattern = (fs::temp_directory_path(Error) / "ravelon-replay-XXXXXX").string();
    if (Error || !mkdtemp(pattern.data())) return false;
    Path = pattern;
    return true;
  }
  ~ScratchFolder() {
    if (!Path.empty()) fs::remove_all(Path, Error);
  }
  fs::path Path;

 private:
  std::error_code Error;
};

struct ReplayOutcome {
  int passes = 0;
  int differs = 0;      // the first check frame whose state differs; 0 when none did
  int lastMatched = 0;  // the last check frame that matched
};

// The recorded input on the headless backend, checking each check line at the end of its pass.
ReplayOutcome PlayBack(const Replay& replay, TraceOutput& trace, bool tracing) {
  ReplayOutcome outcome;
  Backend* previous = CurrentBackend();
  HeadlessBackend backend;
  PrepareFreshRun(backend, replay.events);
  size_t next_check = 0;
  backend.OnEndOfPass = [&](int pass) {
    if (tracing) trace.Write(TraceFrame(pass));
    if (next_check < replay.checks.size() && replay.checks[next_check].frame == pass) {
      if (StateHash(pass) != replay.checks[next_check].hash) {
        outcome.differs = pass;
        return false;
      }
      outcome.lastMatched = pass;
      ++next_check;
    }
    return pass < replay.endFrame;
  };
  SetKeepUnsavedEditsOnQuit(false);
  RunRavelon(true);
  SetKeepUnsavedEditsOnQuit(true);
  std::fflush(stdout);
  outcome.passes = backend.Passes;
  SetBackend(previous);
  return outcome;
}

int Verdict(const Replay& replay, const ReplayOutcome& outcome) {
  if (outcome.differs > 0) {
    Complain("the state differs from the recording at frame " + std::to_string(outcome.differs) +
             (outcome.lastMatched > 0
                  ? " (it matched at frame " + std::to_string(outcome.lastMatched) + ")"
                  : std::string(" (the first check)")));
    return kExitReplayDiffers;
  }
  if (outcome.passes != replay.endFrame) {
    Complain("the state differs from the recording at frame " + std::to_string(outcome.passes) +
             ": the game ended there, the recording at frame " + std::to_string(replay.endFrame));
    return kExitReplayDiffers;
  }
  Complain("the replay matched the recording: " + std::to_string(replay.endFrame) + " frames, " +
           std::to_string(replay.checks.size()) + " checks");
  return 0;
}

}  // namespace

bool ReadReplayFile(const std::string& path, std::string& text, std::string& error) {
  std::error_code fs_error;
  if (!fs::is_regular_file(path, fs_error)) {
    error = "the replay " + path + " is not a file";
    return false;
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    error = "cannot read the replay " + path;
    return false;
  }
  text.resize(kReplayMaxBytes + 1);
  in.read(text.data(), static_cast<std::streamsize>(text.size()));
  if (in.bad()) {
    error = "cannot read the replay " + path;
    return false;
  }
  text.resize(static_cast<size_t>(in.gcount()));
  if (text.size() > kReplayMaxBytes) {
    error = path + ": larger than the " + std::to_string(kReplayMaxBytes >> 20) +
            " MiB a replay may be; not read further";
    return false;
  }
  return true;
}

bool UnpackReplay(const Replay& replay, const std::string& folder) {
  std::string script = "# frames: " + std::to_string(replay.endFrame) +
                       "\n# recorded play: " + replay.title + ", " + replay.date + '\n';
  for (const ScriptedEvent& event : replay.events)
    script += FormatScriptEvent(event) + '\n';
  return WriteBytes(fs::path(folder) / "script.txt", {script.begin(), script.end()}) &&
         LayMapFiles(replay, folder);
}

int RunReplay(const RunOptions& options) {
  std::string text, error;
  if (!ReadReplayFile(options.replay, text, error)) {
    Complain(error);
    return kExitBadArguments;
  }
  ReplayParseResult parsed = ParseReplay(text);
  text = std::string();
  if (!parsed.ok) {
    const std::string where =
        parsed.errorLine > 0 ? " line " + std::to_string(parsed.errorLine) : std::string();
    Complain(options.replay + where + ": " + parsed.error);
    return kExitBadArguments;
  }
  const Replay& replay = parsed.replay;
  if (replay.endsEarly) {
    Complain(options.replay + " ends early, without its end line (the game was stopped): it is " +
             "played up to its last complete frame, " + std::to_string(replay.endFrame));
  }
  if (!options.unpack.empty() && !UnpackReplay(replay, options.unpack)) {
    Complain("cannot unpack the replay into " + options.unpack);
    return kExitBadArguments;
  }
  TraceOutput trace;
  if (!trace.Open(FromStartFolder(options.trace))) {
    Complain("cannot write the trace " + options.trace + ": " + trace.Why());
    return kExitBadArguments;
  }
  const std::string shot_path = FromStartFolder(options.shot);
  std::error_code ignored;
  const fs::path art_folder = fs::absolute(options.dir.empty() ? "." : options.dir, ignored);
  if (!fs::is_directory(art_folder, ignored)) {
    Complain("cannot enter the folder " + options.dir);
    return kExitBadArguments;
  }
  ScratchFolder scratch;
  if (!scratch.Create() || !LayMapFiles(replay, scratch.Path)) {
    Complain("cannot make a scratch folder for the replay");
    return kExitBadArguments;
  }
  CopyArt(replay, art_folder, scratch.Path);
  ReplayOutcome outcome;
  RunSound sound(FromStartFolder(options.wav), art_folder.string(), options.music);
  {
    WorkDir work_dir;
    if (!work_dir.Enter(scratch.Path.string())) {
      Complain("cannot enter the scratch folder " + scratch.Path.string());
      return kExitBadArguments;
    }
    outcome = PlayBack(replay, trace, !options.trace.empty());
  }
  const int status = Verdict(replay, outcome);
  int written = FinishOutputs(trace, options, shot_path);
  if (!sound.Finish()) {
    Complain("cannot write the sound " + options.wav);
    written = kExitWriteFailed;
  }
  return status == 0 ? written : status;
}
