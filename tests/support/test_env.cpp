// The clean game every test starts from: fresh tables, the headless backend, seed 5 and the
// console lines captured.
#include "support/test_env.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "actors/actor.h"
#include "actors/profile.h"
#include "editor/editor.h"
#include "frame/main_program.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/random.h"
#include "platform/render/draw.h"
#include "shared/game_events.h"
#include "world/block.h"
#include "world/map.h"
#include "world/scroller.h"

bool PlainDrawAsked() {
  const char* flag = std::getenv("RAVELON_PLAIN_DRAW");
  return flag && std::string(flag) == "1";
}

void GameTest::SetUp() {
  SetDrawShortcuts(!PlainDrawAsked());
  CreateTables();
  InputReset();
  ResetDrawState();
  SeedRandom(5);
  SetBackend(&Backend);
  SetConsoleSink([this](const std::string& line) { Lines.push_back(line); });
}

void GameTest::TearDown() {
  SetConsoleSink(nullptr);
  SetBackend(nullptr);
  TGameEvents::FForgetListeners();
  TGameEvents::FClear();
  CreateTables();
}

void GameTest::BootSubsystems() {
  OpenGraphics(WINDOW_WIDTH, WINDOW_HEIGHT, 0, 60, 0);
  TMain::FBootSubsystems();
}

bool GameTest::ConsoleHas(const std::string& line) const {
  return std::find(Lines.begin(), Lines.end(), line) != Lines.end();
}

ScopedWorkDir::ScopedWorkDir() {
  Previous = std::filesystem::current_path().string();
  std::string pattern = (std::filesystem::temp_directory_path() / "ravelon-test-XXXXXX").string();
  std::vector<char> buffer(pattern.begin(), pattern.end());
  buffer.push_back('\0');
  if (!mkdtemp(buffer.data())) std::abort();
  Dir = buffer.data();
  std::filesystem::current_path(Dir);
}

ScopedWorkDir::~ScopedWorkDir() {
  std::filesystem::current_path(Previous);
  std::error_code ignored;
  std::filesystem::permissions(Dir, std::filesystem::perms::owner_all,
                               std::filesystem::perm_options::add, ignored);
  std::filesystem::remove_all(Dir, ignored);
}

void WriteFileBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

std::vector<unsigned char> ReadFileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::vector<unsigned char>(std::istreambuf_iterator<char>(in), {});
}

int EndedProcess() {
  const pid_t child = fork();
  if (child == 0) _exit(0);
  int status = 0;
  waitpid(child, &status, 0);
  return static_cast<int>(child);
}
