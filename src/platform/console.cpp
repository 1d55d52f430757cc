#include "platform/console.h"

#include <cstdio>
#include <utility>

namespace {
std::function<void(const std::string&)> Sink;
}

void SetConsoleSink(std::function<void(const std::string&)> sink) {
  Sink = std::move(sink);
}

void PrintLine(const std::string& text) {
  if (Sink) {
    Sink(text);
    return;
  }
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fwrite("\r\n", 1, 2, stdout);
  std::fflush(stdout);
}

void PrintNote(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stderr);
  std::fwrite("\n", 1, 1, stderr);
  std::fflush(stderr);
}
