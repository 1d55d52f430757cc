// The stress state of the benchmarks: the loaded level with a background in every cell, water
// filling every open cell of rows 1..52 and bad guys up to the 500-actor cap, packed into the
// parts of the map the two views show.
#pragma once

void BuildStressState();
