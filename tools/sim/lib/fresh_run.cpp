// A fresh run in this process: the input bookkeeping forgotten, the back buffer black, the
// script handed to the headless backend.
#include "fresh_run.h"

#include <algorithm>

#include "platform/input.h"
#include "platform/render/draw.h"

void PrepareFreshRun(HeadlessBackend& backend, std::vector<ScriptedEvent> script) {
  InputReset();
  std::fill_n(BackBuffer(), kBackBufferWidth * kBackBufferHeight, 0u);
  backend.SetScript(std::move(script));
  SetBackend(&backend);
}
