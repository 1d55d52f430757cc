// Console lines: the game's only diagnostic channel.
#pragma once

#include <functional>
#include <string>

// Writes the text, a carriage return and a line feed to standard output and flushes at once.
void PrintLine(const std::string& text);

// Redirects console lines (tests capture them); an empty function restores standard output.
void SetConsoleSink(std::function<void(const std::string&)> sink);

// A line of our own beyond the game's console (where unsaved edits went, a save finished at
// start-up): standard error, so standard output stays exactly the game's lines.
void PrintNote(const std::string& text);
