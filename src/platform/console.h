// Console lines: the game's only diagnostic channel.
#pragma once

#include <functional>
#include <string>

// Writes the text, a carriage return and a line feed to standard output and flushes at once.
void PrintLine(const std::string& text);

// Redirects console lines (tests capture them); an empty function restores standard output.
void SetConsoleSink(std::function<void(const std::string&)> sink);
