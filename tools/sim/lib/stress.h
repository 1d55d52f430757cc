// The stress state of the benchmarks: the loaded level with a background in every cell, water
// filling every open cell of rows 1..52 and bad guys up to the 500-actor cap, packed into the
// parts of the map the two views show.
#pragma once

void BuildStressState();

// Water in every open cell of rows 1..52 of the loaded level, and nothing else added: the state
// in which the water's drawing and its step weigh most.
void BuildFullWaterState();

// The states a run may start its first pass in.
enum class StartState { Loaded, Stress, FullWater };
void BuildStartState(StartState state);
