// The palette: the fixed drawing and clear colours, and the listing of the palette file.
#include "art/palette.h"

#include <filesystem>

#include "platform/render/draw.h"
#include "support/test_env.h"

namespace {

using Palette = GameTest;

struct Rgb {
  int r, g, b;
  bool operator==(const Rgb&) const = default;
};

Rgb DrawColour() {
  return {CurrentDrawState().r, CurrentDrawState().g, CurrentDrawState().b};
}
Rgb ClearColour() {
  return {CurrentDrawState().cls_r, CurrentDrawState().cls_g, CurrentDrawState().cls_b};
}

const Rgb kTable[16] = {{0, 0, 0},     {4, 25, 39},    {0, 0, 0},       {0, 64, 88},
                        {0, 136, 180}, {0, 159, 219},  {85, 165, 222},  {122, 201, 255},
                        {0, 168, 0},   {218, 96, 33},  {255, 167, 72},  {244, 212, 180},
                        {248, 56, 0},  {231, 99, 247}, {133, 133, 133}, {255, 255, 255}};

TEST_F(Palette, DrawingColours) {
  for (int style = 0; style < 16; ++style) {
    TPalette::FSet(style);
    EXPECT_EQ(DrawColour(), kTable[style]) << style;
  }
  for (int style = 16; style <= 23; ++style) {
    TPalette::FSet(1);
    TPalette::FSet(style);
    EXPECT_EQ(DrawColour(), (Rgb{255, 255, 255})) << style;
  }
  TPalette::FSet(9);
  TPalette::FSet(24);
  TPalette::FSet(-1);
  EXPECT_EQ(DrawColour(), kTable[9]);
}

TEST_F(Palette, ClearColoursWithMagentaFor15) {
  for (int style = 0; style < 15; ++style) {
    TPalette::FBGSet(style);
    EXPECT_EQ(ClearColour(), kTable[style]) << style;
  }
  TPalette::FBGSet(15);
  EXPECT_EQ(ClearColour(), (Rgb{255, 0, 255}));
  TPalette::FBGSet(16);
  TPalette::FBGSet(-1);
  EXPECT_EQ(ClearColour(), (Rgb{255, 0, 255}));
}

TEST_F(Palette, ReadListsTheFileWithoutApplyingIt) {
  ScopedWorkDir dir;
  std::vector<unsigned char> bytes(72);
  for (int i = 0; i < 72; ++i)
    bytes[i] = static_cast<unsigned char>(i * 3);
  bytes[9] = 0, bytes[10] = 64, bytes[11] = 88;
  WriteFileBytes("24pal.raw", bytes);
  TPalette::FSet(4);
  TPalette::FRead();
  ASSERT_EQ(Console().size(), 24u);
  EXPECT_EQ(Console()[0], "Case 0 SetColor 0, 3, 6");
  EXPECT_EQ(Console()[3], "Case 3 SetColor 0, 64, 88");
  EXPECT_EQ(Console()[23], "Case 23 SetColor 207, 210, 213");
  EXPECT_EQ(DrawColour(), kTable[4]);
}

TEST_F(Palette, ReadRefusesMissingOddAndWrongSizedFiles) {
  ScopedWorkDir dir;
  TPalette::FRead();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Failure to load file."}));
  for (size_t size : {71u, 73u, 0u}) {
    ClearConsole();
    WriteFileBytes("24pal.raw", std::vector<unsigned char>(size, 1));
    TPalette::FRead();
    EXPECT_EQ(Console(), (std::vector<std::string>{"Wrong size!"})) << size;
  }
  std::filesystem::remove("24pal.raw");
  std::filesystem::create_directory("24pal.raw");
  ClearConsole();
  TPalette::FRead();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Failure to load file."}));
}

TEST_F(Palette, Poot) {
  TPalette::Poot();
  EXPECT_EQ(Console(), (std::vector<std::string>{"Poot!"}));
}

}  // namespace
