// The recorder of real play: the replay's header, each pass's input and a state check every 60
// frames, the trace, flushed every second and finished at any exit.
#include "record/play_recorder.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/files.h"
#include "platform/input.h"
#include "record/replay_file.h"
#include "record/script.h"
#include "record/trace.h"
#include "shared/game_title.h"
#include "shared/pass_observer.h"

namespace {

// The recorder in use, finished by an exit that does not return through main (EndProgram).
PlayRecorder* Active = nullptr;

void FinishAtExit() {
  if (Active) Active->Finish();
}

std::FILE* Create(const std::string& path, const char* what) {
  if (path.empty()) return nullptr;
  std::FILE* file = std::fopen(path.c_str(), "wb");
  if (!file) {
    std::fprintf(stderr, "ravelon: cannot create the %s %s (%s); playing without it\n", what,
                 path.c_str(), std::strerror(errno));
  }
  return file;
}

std::string DateNow() {
  const std::time_t now = std::time(nullptr);
  std::tm utc{};
  gmtime_r(&now, &utc);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S UTC", &utc);
  return text;
}

}  // namespace

PlayRecorder::~PlayRecorder() {
  Finish();
}

void PlayRecorder::Start(const std::string& replay_path, const std::string& trace_path) {
  Replay = Create(replay_path, "recording");
  ReplayPath = replay_path;
  Trace = Create(trace_path, "trace");
  if (!Replay && !Trace) return;
  if (Replay) {
    Date = DateNow();
    InputSetPassTap([this](const std::vector<ScriptedEvent>& events) { OnPassInput(events); });
  }
  LastFlush = std::chrono::steady_clock::now();
  SetPassObserver([this](int pass) { OnPassEnd(pass); });
  static const bool registered = std::atexit(FinishAtExit) == 0;
  if (registered) Active = this;
}

// The header is taken when the first pass begins: by then start-up has settled any interrupted
// save and loaded the map files, so the files on disk are the ones the game plays.
void PlayRecorder::OnPassInput(const std::vector<ScriptedEvent>& events) {
  if (!HeaderWritten) {
    Write(ReplayHeaderText(kGameTitle, Date));
    std::fflush(Replay);
    HeaderWritten = true;
  }
  PassEvents = events;
}

void PlayRecorder::OnPassEnd(int pass) {
  Passes = pass;
  if (Replay) {
    std::string lines;
    for (ScriptedEvent event : PassEvents) {
      event.frame = pass;
      lines += FormatScriptEvent(event) + '\n';
    }
    PassEvents.clear();
    if (pass % kReplayCheckEvery == 0) lines += CheckLine(pass);
    Write(lines);
  }
  if (Trace) {
    const std::string frame = TraceFrame(pass);
    std::fwrite(frame.data(), 1, frame.size(), Trace);
  }
  FlushEverySecond();
}

void PlayRecorder::Write(const std::string& text) {
  if (Replay) std::fwrite(text.data(), 1, text.size(), Replay);
}

// A game that dies in the middle keeps all but its last second.
void PlayRecorder::FlushEverySecond() {
  const auto now = std::chrono::steady_clock::now();
  if (now - LastFlush < std::chrono::seconds(1)) return;
  LastFlush = now;
  if (Replay) std::fflush(Replay);
  if (Trace) std::fflush(Trace);
}

bool PlayRecorder::WriteSoFar(const std::string& path) {
  if (!Replay || Passes == 0 || std::fflush(Replay) != 0) return false;
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(ReplayPath, bytes, kReplayMaxBytes)) return false;
  std::string text(bytes.begin(), bytes.end());
  if (Passes % kReplayCheckEvery != 0) text += CheckLine(Passes);
  text += EndLine(Passes);
  std::FILE* copy = std::fopen(path.c_str(), "wb");
  if (!copy) return false;
  const bool written = std::fwrite(text.data(), 1, text.size(), copy) == text.size();
  return std::fclose(copy) == 0 && written;
}

void PlayRecorder::Finish() {
  if (!Replay && !Trace) return;
  if (Active == this) Active = nullptr;
  SetPassObserver(nullptr);
  if (Replay) {
    InputSetPassTap(nullptr);
    if (Passes > 0 && Passes % kReplayCheckEvery != 0) Write(CheckLine(Passes));
    if (Passes > 0) Write(EndLine(Passes));
    if (std::fclose(Replay) != 0)
      std::fprintf(stderr, "ravelon: the recording was not saved whole\n");
  }
  if (Trace) std::fclose(Trace);
  Replay = Trace = nullptr;
}
