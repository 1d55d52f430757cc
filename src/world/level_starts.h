// Where a level's actors start. The default level names no starts: it gets the two the play
// state has always used (the bad guy the right view follows, then the player), so a game that
// never touches this table plays exactly as before. A level file or the build mode may set it.
#pragma once

#include <cstdint>
#include <vector>

// A start in world units: the middle of the actor's feet, as TActor::FCreate takes it.
struct TStartPoint {
  int64_t X = 0;
  int64_t Y = 0;
  bool operator==(const TStartPoint&) const = default;
};

struct TLevelStarts {
  TStartPoint Player;
  // In creation order; the first is the bad guy the right view follows. Never empty: a level
  // without bad guys still needs the one the right view follows.
  std::vector<TStartPoint> Badguys;
  bool operator==(const TLevelStarts&) const = default;
};

// The starts of the level being played: FEnterState creates the actors there.
extern TLevelStarts LevelStarts;

// The built-in starts: the bad guy at column 6, feet on row 10; the player at column 6, feet on
// row 33.
TLevelStarts DefaultLevelStarts();
// Puts the built-in starts back (start-up, and a map that names none).
void ResetLevelStarts();
