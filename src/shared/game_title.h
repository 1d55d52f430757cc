// The game's name and version as the window caption shows it; recordings of play carry it too.
#pragma once

inline constexpr const char* kGameTitle = "Ravelon v0.09a";
