// A browser's keys as the game's key codes (the virtual-key codes 0..255), the same codes the
// SDL backend gives the same keys; 0 for keys the game has no code for. `key` is the DOM key
// value (what the layout prints), `code` the DOM code (where the key sits).
#pragma once

#include <string_view>

int WebGameKeyCode(std::string_view key, std::string_view code);
