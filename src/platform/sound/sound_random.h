// The sound's own generator (never the game's): a seed from a sound's name and a xorshift step,
// so the same script always gives the same samples.
#pragma once

#include <cstdint>
#include <string>

inline uint32_t NameSeed(const std::string& name) {
  uint32_t hash = 2166136261u;
  for (const char c : name)
    hash = (hash ^ static_cast<uint8_t>(c)) * 16777619u;
  return hash != 0 ? hash : 1;
}

inline uint32_t NextRandom(uint32_t& state) {
  state ^= state << 13;
  state ^= state >> 17;
  state ^= state << 5;
  return state;
}
