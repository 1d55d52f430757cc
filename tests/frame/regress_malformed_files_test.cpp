// The whole game started on a folder where every file is broken in its own way: a truncated
// tile sheet, a header claiming a huge picture, a sheet with too few cells, an empty file, map
// files one byte off. It must say so on the console and play on, painting and pouring included.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "frame/main_program.h"
#include "platform/commands.h"
#include "platform/input.h"
#include "support/test_env.h"

namespace {

using Kind = ScriptedEvent::Kind;

void PutLe(std::vector<unsigned char>& out, uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i)
    out.push_back(static_cast<unsigned char>(value >> (8 * i)));
}

// The 54 header bytes of an uncompressed 24-bit file, with whatever size it claims.
std::vector<unsigned char> Header(uint32_t width, uint32_t height) {
  std::vector<unsigned char> out = {'B', 'M'};
  PutLe(out, 54 + width * height * 3, 4);
  PutLe(out, 0, 4);
  PutLe(out, 54, 4);
  PutLe(out, 40, 4);
  PutLe(out, width, 4);
  PutLe(out, height, 4);
  PutLe(out, 1, 2);
  PutLe(out, 24, 2);
  for (int i = 0; i < 6; ++i)
    PutLe(out, 0, 4);
  return out;
}

class MalformedFilesTest : public GameTest {
 protected:
  ScopedWorkDir Dir;
};

TEST_F(MalformedFilesTest, EveryFileBrokenTheGameStillStartsAndPlays) {
  std::vector<unsigned char> truncated = Header(512, 384);
  truncated.resize(truncated.size() + 1000, 0x7F);  // most of the rows are missing
  WriteFileBytes("AllTiles8.bmp", truncated);
  std::vector<unsigned char> huge = Header(16384, 16384);  // 768 MB of pixels promised
  huge.push_back(0);
  WriteFileBytes("tall_water.bmp", huge);
  std::vector<unsigned char> small = Header(16, 16);  // one cell, where 48 are cut
  small.resize(small.size() + 16 * 16 * 3, 0x40);
  WriteFileBytes("ActorGfxKelpo.bmp", small);
  WriteFileBytes("instr.bmp", {});
  WriteFileBytes("BGMap75x54.raw", std::vector<unsigned char>(4049, 3));
  WriteFileBytes("BlockMap75x54.raw", std::vector<unsigned char>(4051, 21));

  // Paint, erase and pour over the left view, pick in the picker, save, load, restart.
  std::vector<ScriptedEvent> script;
  auto add = [&script](int frame, Kind kind, int a = 0, int b = 0) {
    ScriptedEvent e;
    e.frame = frame;
    e.kind = kind;
    e.a = a;
    e.b = b;
    script.push_back(e);
  };
  add(2, Kind::MouseMove, 500, 40);
  add(2, Kind::ButtonDown, 1);
  add(3, Kind::ButtonUp, 1);
  add(4, Kind::MouseMove, 120, 200);
  add(4, Kind::ButtonDown, 1);
  add(6, Kind::KeyDown, kKeyF);
  add(9, Kind::KeyUp, kKeyF);
  add(10, Kind::ButtonUp, 1);
  add(10, Kind::ButtonDown, 2);
  add(12, Kind::ButtonUp, 2);
  add(14, Kind::KeyDown, kKeyS);
  add(15, Kind::KeyUp, kKeyS);
  add(16, Kind::KeyDown, kKeyL);
  add(17, Kind::KeyUp, kKeyL);
  add(18, Kind::KeyDown, kKeyE);
  add(19, Kind::KeyUp, kKeyE);
  add(20, Kind::KeyDown, kKeyR);
  add(21, Kind::KeyUp, kKeyR);
  add(22, Kind::KeyDown, kKeyRight);
  Backend.SetScript(script);
  Backend.OnEndOfPass = [](int pass) { return pass < 60; };

  EXPECT_EQ(RunRavelon(), 0);
  EXPECT_EQ(Backend.Passes, 60);
  EXPECT_TRUE(ConsoleHas("Image not found!"));
  EXPECT_TRUE(ConsoleHas("Wrong size!"));
  // After S the files are whole again, so L loads them.
  EXPECT_TRUE(ConsoleHas("Saving maps."));
  EXPECT_EQ(ReadFileBytes("BGMap75x54.raw").size(), 4050u);
  EXPECT_EQ(ReadFileBytes("BlockMap75x54.raw").size(), 4050u);
}

}  // namespace
