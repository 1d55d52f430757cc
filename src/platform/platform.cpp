// The calls the game makes on the current backend: window, flip, clock, sleep and the way out.
#include "platform/platform.h"

#include <cstdio>
#include <cstdlib>

#include "platform/render/draw.h"

std::string AppTitle;

namespace {
Backend* Current = nullptr;
}

void SetBackend(Backend* backend) {
  Current = backend;
}
Backend* CurrentBackend() {
  return Current;
}

bool OpenGraphics(int width, int height, int depth, int hertz, int flags) {
  ResetDrawState();
  if (!Current) return false;
  Current->SetPacerHertz(hertz);
  return Current->OpenWindow(width, height, AppTitle);
}

void Flip(int sync) {
  if (!Current) return;
  const uint32_t* pixels = FinishedBackBuffer();
  Current->NoteChanges(TakeBackBufferChanges());
  Current->Present(pixels, kBackBufferWidth, kBackBufferHeight, sync);
}

int32_t ClockMillis() {
  return Current ? static_cast<int32_t>(Current->Millis()) : 0;
}

void SleepMillis(int ms) {
  if (ms > 0 && Current) Current->Sleep(ms);
}

void EndProgram(int status) {
  std::fflush(stdout);
  std::exit(status);
}
