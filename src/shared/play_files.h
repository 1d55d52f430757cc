// The play folder: the files the game reads from its working folder, and how a play folder is
// laid out from a build's art folder. One list for the game, its tools, the web page
// (frame/web_main.cpp), the tests and the scripts: scripts/play-folder.sh reads the file names
// from the lines below that end in "// every run" or "// when missing", so keep each name on
// its own line.
#pragma once

#include <cstddef>

// Copied from the art folder on every run, so a rebuilt picture always reaches the game.
constexpr const char* kTileSheetFile = "AllTiles8.bmp";           // every run
constexpr const char* kWaterSheetFile = "tall_water.bmp";         // every run
constexpr const char* kActorSheetFile = "ActorGfxKelpo.bmp";      // every run
constexpr const char* kInstructionsFile = "instr.bmp";            // every run
constexpr const char* kPaletteListingFile = "24pal.raw";          // every run
constexpr const char* kReferenceImageFile = "BlockMapImage.bmp";  // every run
// The default level, copied only where no map file is kept yet: a map the player saved with S
// is never overwritten.
constexpr const char* kBGMapFile = "BGMap75x54.raw";        // when missing
constexpr const char* kBlockMapFile = "BlockMap75x54.raw";  // when missing
// The level files of the play folder; it starts with the default level as one, copied like the
// pair only where no file of its name is there yet.
constexpr const char* kLevelsFolderName = "levels";
constexpr const char* kDefaultLevelFile = "levels/default.tmx";
// The art folder keeps it beside the pair, as this file, laid out into levels/.
constexpr const char* kDefaultLevelSource = "default.tmx";
// Every sound recipe and every tune of the art folder is copied in on every run as well.
constexpr const char* kSoundRecipeExtension = ".sfx";
constexpr const char* kMusicScoreExtension = ".tune";

// The pictures start-up loads, in the order it loads them.
constexpr const char* kArtPictureFiles[] = {kTileSheetFile, kWaterSheetFile, kActorSheetFile,
                                            kInstructionsFile};
// The art copied on every run, in this order (the sound recipes aside).
constexpr const char* kEveryRunFiles[] = {kTileSheetFile,      kWaterSheetFile,
                                          kActorSheetFile,     kInstructionsFile,
                                          kPaletteListingFile, kReferenceImageFile};
// The default level's pair.
constexpr const char* kLevelFiles[] = {kBGMapFile, kBlockMapFile};
