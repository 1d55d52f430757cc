// A level handed over as one file: written from the map as it stands, opened again as the same
// map in one undoable step, and every malformed file refused before the map is touched.
#include <filesystem>
#include <string>
#include <vector>

#include "editor/map_pair_open.h"
#include "editor/undo_history.h"
#include "editor_fixture.h"
#include "world/map_files.h"
#include "world/map_pair_file.h"

namespace {

class MapPairOpen : public EditorTest {
 protected:
  // The map as the pair file states it, plus the water the file never holds.
  static std::vector<uint8_t> MapState() {
    std::vector<uint8_t> state = BGBytes();
    const std::vector<uint8_t> blocks = BlockBytes();
    state.insert(state.end(), blocks.begin(), blocks.end());
    for (int x = 0; x < MAP_WIDTH_TILES; ++x)
      for (int y = 0; y < MAP_HEIGHT_TILES; ++y)
        state.push_back(FillGrid[x][y]);
    return state;
  }
  static void SampleMap() {
    TMap::FCreateBlock(0, 0, 3);
    TMap::FCreateBlock(74, 53, 254);
    TMap::FCreateBlock(10, 20, 18);  // a brick
    TMap::FCreateBlock(11, 20, 21);  // a container
    TMap::FBGSet(3, 4, 7);
    TMap::FBGSet(0, 53, 0);
  }
  ScopedWorkDir Dir;
};

TEST_F(MapPairOpen, ADownloadedLevelOpensAsTheSameMapInOneUndoableStep) {
  SampleMap();
  ASSERT_TRUE(WriteMapPairFile("level.map"));
  const std::vector<uint8_t> file = ReadFileBytes("level.map");
  ASSERT_EQ(file.size(), kMapPairFileBytes);
  const std::vector<uint8_t> bg = BGBytes(), blocks = BlockBytes();
  EXPECT_TRUE(std::equal(bg.begin(), bg.end(), file.begin()));
  EXPECT_TRUE(std::equal(blocks.begin(), blocks.end(), file.begin() + kMapFileBytes));
  const std::vector<uint8_t> saved = MapState();

  TMap::FClear();
  TMap::FCreateBlock(40, 40, 5);
  TMap::FBGSet(41, 40, 9);
  const std::vector<uint8_t> other = MapState();
  ClearConsole();
  ASSERT_TRUE(OpenMapPairAsStep("level.map"));
  EXPECT_EQ(MapState(), saved);
  EXPECT_TRUE(ConsoleHas("Loading maps."));
  EXPECT_TRUE(ConsoleHas("Created 4 block instances."));
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 1u);
  ASSERT_TRUE(TUndoHistory::FUndo());
  EXPECT_EQ(MapState(), other);
  ASSERT_TRUE(TUndoHistory::FRedo());
  EXPECT_EQ(MapState(), saved);
}

TEST_F(MapPairOpen, AMalformedFileIsRefusedWithTheGamesMessageAndChangesNothing) {
  SampleMap();
  const std::vector<uint8_t> before = MapState();
  struct Bad {
    std::string name;
    size_t bytes;
  };
  // A single map file, one byte short or over, empty, and a large foreign file.
  for (const Bad& bad :
       {Bad{"one.raw", kMapFileBytes}, Bad{"short", kMapPairFileBytes - 1},
        Bad{"long", kMapPairFileBytes + 1}, Bad{"empty", 0}, Bad{"huge", size_t{5} << 20}}) {
    WriteFileBytes(bad.name, std::vector<uint8_t>(bad.bytes, 0x41));
    ClearConsole();
    EXPECT_FALSE(OpenMapPairAsStep(bad.name)) << bad.name;
    EXPECT_TRUE(ConsoleHas("Wrong size!")) << bad.name;
    EXPECT_EQ(MapState(), before) << bad.name;
  }
  std::filesystem::create_directory("folder.map");
  for (const char* unreadable : {"missing.map", "folder.map"}) {
    ClearConsole();
    EXPECT_FALSE(OpenMapPairAsStep(unreadable)) << unreadable;
    EXPECT_FALSE(ConsoleHas("Created 4 block instances.")) << unreadable;
    EXPECT_EQ(MapState(), before) << unreadable;
  }
  EXPECT_EQ(TUndoHistory::FUndoSteps(), 0u);
}

}  // namespace
