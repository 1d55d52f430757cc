// The words of the sound's text files (recipes and scores): words apart by spaces and tabs, and
// numbers written out in full.
#pragma once

#include <string_view>
#include <vector>

// The words of one line, apart by spaces, tabs and a stray carriage return.
std::vector<std::string_view> Words(std::string_view line);
// A finite decimal number and nothing else: "nan", "inf" and "1e999" are refused.
bool Number(std::string_view word, double& value);
