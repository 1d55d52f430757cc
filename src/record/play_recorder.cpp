// The recorder of real play: the replay's header, each pass's input and a state check every 60
// frames, the trace, written out every second and finished at any exit. Both files are written
// through the safe writer and never over a file start-up reads.
#include "record/play_recorder.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>

#include "platform/files.h"
#include "platform/input.h"
#include "record/replay_file.h"
#include "record/script.h"
#include "record/trace.h"
#include "shared/game_title.h"
#include "shared/pass_observer.h"
#include "shared/play_files.h"
#include "world/map_files.h"

namespace {

// The recorder in use, finished by an exit that does not return through main (EndProgram).
PlayRecorder* Active = nullptr;

void FinishAtExit() {
  if (Active) Active->Finish();
}

std::string DateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return text;
}

// A name as one spelling: the real folder it is in, and its last part.
std::filesystem::path OneSpelling(const std::string& path) {
  std::error_code error;
  const std::filesystem::path full = std::filesystem::absolute(path, error);
  const auto folder = std::filesystem::weakly_canonical(full.parent_path(), error);
  return (error ? full : folder / full.filename()).lexically_normal();
}

}  // namespace

std::string StartUpFileAt(const std::string& path) {
  // The reference image is read at start-up too, though a recording does not list it.
  std::vector<std::string> names = MapFilesReadAtStartUp();
  names.push_back(kReferenceImageFile);
  for (const std::string& name : ReplayArtNames())
    names.push_back(name);
  const std::filesystem::path target = OneSpelling(path);
  for (const std::string& name : names) {
    if (target == OneSpelling(name)) return path + " is " + name + ", which the game reads";
  }
  // So is every sound recipe of the play folder.
  if (target.extension() == kSoundRecipeExtension &&
      target.parent_path() == OneSpelling(kBGMapFile).parent_path()) {
    return path + " is the sound recipe " + target.filename().string() + ", which the game reads";
  }
  return "";
}

PlayRecorder::~PlayRecorder() {
  Finish();
}

bool PlayRecorder::OpenOutput(Output& out, const std::string& path, const char* what) {
  if (path.empty()) return false;
  out.Path = path;
  out.What = what;
  std::string why = StartUpFileAt(path);
  // How every file of the kind begins: a killed game's side file of the same name is removed.
  const std::string signature =
      &out == &Replay ? std::string(kReplayVersionLine) + "\n" : std::string("frame 1\n");
  if (why.empty() && out.File.Open(path, signature)) return true;
  if (why.empty()) why = out.File.Why();
  std::fprintf(stderr, "ravelon: cannot create the %s %s (%s); playing without it\n", what,
               path.c_str(), why.c_str());
  return false;
}

// The first failure of a file is said once; the file then takes no more.
void PlayRecorder::Check(Output& out, bool ok) {
  if (ok || out.Reported) return;
  out.Reported = true;
  // One Append a pass (the recording's header one more): what the file holds whole.
  const size_t appends = out.File.WholeAppends();
  const size_t whole = &out == &Replay && appends > 0 ? appends - 1 : appends;
  std::fprintf(stderr,
               "ravelon: the %s %s could not be written (%s) at frame %d; it ends at frame %zu, "
               "its last complete one\n",
               out.What, out.Path.c_str(), out.File.Why().c_str(), Passes, whole);
}

void PlayRecorder::Start(const std::string& replay_path, const std::string& trace_path) {
  const bool replay = OpenOutput(Replay, replay_path, "recording");
  const bool trace = OpenOutput(Trace, trace_path, "trace");
  if (!replay && !trace) return;
  if (replay) {
    Date = DateNow();
    InputSetPassTap([this](const std::vector<ScriptedEvent>& events) { OnPassInput(events); });
  }
  Hooked = true;
  LastFlush = std::chrono::steady_clock::now();
  SetPassObserver([this](int pass) { OnPassEnd(pass); });
  static const bool registered = std::atexit(FinishAtExit) == 0;
  if (registered) Active = this;
}

// The header is taken when the first pass begins: by then start-up has settled any interrupted
// save and loaded the map files, so the files on disk are the ones the game plays. From then on
// the files stand under their names, so a game that dies keeps what was written out.
void PlayRecorder::OnPassInput(const std::vector<ScriptedEvent>& events) {
  if (!HeaderWritten) {
    HeaderWritten = true;
    if (Replay.Open()) {
      Replay.File.Append(ReplayHeaderText(kGameTitle, Date));
      Check(Replay, Replay.File.Publish());
    }
  }
  PassEvents = events;
}

void PlayRecorder::OnPassEnd(int pass) {
  Passes = pass;
  if (Replay.Open()) {
    std::string lines;
    for (ScriptedEvent event : PassEvents) {
      event.frame = pass;
      lines += FormatScriptEvent(event) + '\n';
    }
    if (pass % kReplayCheckEvery == 0) lines += CheckLine(pass);
    Replay.File.Append(lines);
  }
  PassEvents.clear();
  if (Trace.Open()) Trace.File.Append(TraceFrame(pass));
  // The trace stands under its name from the first pass on (start-up has read what it reads).
  if (pass == 1 && Trace.Open()) Check(Trace, Trace.File.Publish());
  FlushEverySecond();
}

// A game that dies in the middle keeps all but its last second. Each flush ends at the end of a
// pass, so what a kill leaves is whole passes.
void PlayRecorder::FlushEverySecond() {
  const auto now = std::chrono::steady_clock::now();
  if (now - LastFlush < std::chrono::seconds(1)) return;
  LastFlush = now;
  if (Replay.Open()) Check(Replay, Replay.File.Flush());
  if (Trace.Open()) Check(Trace, Trace.File.Flush());
}

bool PlayRecorder::WriteSoFar(const std::string& path) {
  if (!Replay.Open() || !HeaderWritten || Passes == 0 || !Replay.File.Flush()) return false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(Replay.Path, bytes, kReplayMaxBytes)) return false;
  std::string text(bytes.begin(), bytes.end());
  if (Passes % kReplayCheckEvery != 0) text += CheckLine(Passes);
  text += EndLine(Passes);
  std::FILE* copy = std::fopen(path.c_str(), "wb");
  if (!copy) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), copy) == text.size();
  return std::fclose(copy) == 0 && written;
}

void PlayRecorder::Finish() {
  if (!Hooked) return;
  Hooked = false;
  if (Active == this) Active = nullptr;
  SetPassObserver(nullptr);
  InputSetPassTap(nullptr);
  if (Replay.Open() && HeaderWritten) {
    std::string last;
    if (Passes > 0 && Passes % kReplayCheckEvery != 0) last += CheckLine(Passes);
    if (Passes > 0) last += EndLine(Passes);
    Replay.File.Append(last);
    Check(Replay, Replay.File.Commit());
  }
  // No pass began (the window never opened): there is no recording, and no side file is left.
  if (!HeaderWritten) Replay.File.Abandon();
  if (Trace.Open()) Check(Trace, Trace.File.Commit());
}
