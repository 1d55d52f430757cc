// Frame benchmarks on the headless backend: the whole pass of the main loop, its update half
// and its draw half, on the default level with the player running right and on the stress
// state (500 actors, water in every open cell, backgrounds everywhere, both views over it);
// and the flip's upload on its own (a copy of the back buffer, as a window texture upload).
//   ravelon-bench [--dir ART_DIR] [benchmark flags]     (ART_DIR default: art/ beside the binary)
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "frame/main_program.h"
#include "fresh_run.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/render/draw.h"
#include "stress.h"
#include "timing.h"

namespace {

std::string ArtDir;

// After this many passes the game starts afresh, so a long benchmark keeps measuring the state
// it names (the player still running, the water not yet settled).
constexpr int kPassesPerGame = 300;

enum class Level { Default, Stress };

class Game {
 public:
  explicit Game(Level level) : TheLevel(level) { Restart(); }
  ~Game() { SetBackend(nullptr); }

  void Restart() {
    Backend = std::make_unique<HeadlessBackend>();
    ScriptedEvent run_right;
    run_right.frame = 1;
    run_right.kind = ScriptedEvent::Kind::KeyDown;
    run_right.a = CodeOf(Command::kRunRight);
    PrepareFreshRun(*Backend, {run_right});
    SetConsoleSink([](const std::string&) {});
    std::filesystem::current_path(ArtDir);
    RunRavelon(false);
    if (TheLevel == Level::Stress) BuildStressState();
    SetConsoleSink(nullptr);
  }

  // Ends a pass as the main loop does, and starts afresh now and then (not timed).
  void EndPass(benchmark::State& state) {
    Backend->EndOfPass();
    if (Backend->Passes < kPassesPerGame && QuitFlag == 0) return;
    state.PauseTiming();
    Restart();
    state.ResumeTiming();
  }

 private:
  Level TheLevel;
  std::unique_ptr<HeadlessBackend> Backend;
};

void BM_Frame(benchmark::State& state, Level level) {
  Game game(level);
  for (auto _ : state) {
    MainLoopPass();
    game.EndPass(state);
  }
}

enum class Half { Update, Draw, UpdateAndDraw };

// The halves are timed by hand inside whole passes, so the game moves on as it plays.
void BM_Half(benchmark::State& state, Level level, Half half) {
  Game game(level);
  for (auto _ : state) {
    const PassTimes t = TimedPass();
    const double micros = half == Half::Update ? t.update
                          : half == Half::Draw ? t.draw
                                               : t.update + t.draw;
    state.SetIterationTime(micros / 1e6);
    game.EndPass(state);
  }
}

void BM_Upload(benchmark::State& state) {
  std::vector<uint32_t> texture(kBackBufferWidth * kBackBufferHeight);
  for (auto _ : state) {
    std::memcpy(texture.data(), FinishedBackBuffer(), texture.size() * sizeof(uint32_t));
    benchmark::DoNotOptimize(texture.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(texture.size() * 4));
}

void Register() {
  const struct {
    const char* name;
    Level level;
  } levels[] = {{"Default", Level::Default}, {"Stress", Level::Stress}};
  for (const auto& l : levels) {
    const std::string name = l.name;
    benchmark::RegisterBenchmark(("Frame/" + name).c_str(), BM_Frame, l.level)
        ->Unit(benchmark::kMicrosecond);
    const struct {
      const char* name;
      Half half;
    } halves[] = {
        {"Update", Half::Update}, {"Draw", Half::Draw}, {"UpdateAndDraw", Half::UpdateAndDraw}};
    for (const auto& h : halves) {
      benchmark::RegisterBenchmark((std::string(h.name) + "/" + name).c_str(), BM_Half, l.level,
                                   h.half)
          ->UseManualTime()
          ->Unit(benchmark::kMicrosecond);
    }
  }
  benchmark::RegisterBenchmark("Upload/816x300x4", BM_Upload)->Unit(benchmark::kMicrosecond);
}

std::string DefaultArtDir() {
  std::error_code error;
  const auto exe = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? "art" : (exe.parent_path() / "art").string();
}

}  // namespace

int main(int argc, char** argv) {
  ArtDir = DefaultArtDir();
  std::vector<char*> rest = {argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--dir") == 0 && i + 1 < argc) {
      ArtDir = argv[++i];
    } else {
      rest.push_back(argv[i]);
    }
  }
  ArtDir = std::filesystem::absolute(ArtDir).string();
  int rest_count = static_cast<int>(rest.size());
  benchmark::Initialize(&rest_count, rest.data());
  if (benchmark::ReportUnrecognizedArguments(rest_count, rest.data())) return 2;
  Register();
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
