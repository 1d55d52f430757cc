// What a run needs that start-up itself does not reset, so runs in one process match runs in
// fresh processes: the input bookkeeping and the back buffer (a new process starts it black).
#pragma once

#include <vector>

#include "platform/headless_backend.h"

void PrepareFreshRun(HeadlessBackend& backend, std::vector<ScriptedEvent> script);
