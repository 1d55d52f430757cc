// ravelon-sim: the game's real start-up and main loop without a window (see --help).
#include "runner.h"

int main(int argc, char** argv) {
  return RunnerMain(argc, argv);
}
