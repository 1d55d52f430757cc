// The headless runner: the real start-up and main loop on the headless backend.
#pragma once

#include <string>
#include <vector>

#include "platform/headless_backend.h"
