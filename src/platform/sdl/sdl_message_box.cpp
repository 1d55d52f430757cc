// The message box in a child process: started before SDL is, so nothing of the game's SDL state
// is shared or copied half-made, and ended with the game.
#include "platform/sdl/sdl_message_box.h"

#include <SDL.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

pid_t BoxProcess = -1;

}  // namespace

void ShowMessageBoxAside(const std::string& title, const std::string& text) {
  if (BoxProcess > 0) return;
  std::fflush(nullptr);
  const pid_t child = fork();
  if (child < 0) return;  // no box, the overlay still tells it
  if (child > 0) {
    BoxProcess = child;
    return;
  }
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_WARNING, title.c_str(), text.c_str(), nullptr);
  _exit(0);
}

void CloseMessageBoxAside() {
  if (BoxProcess <= 0) return;
  kill(BoxProcess, SIGTERM);
  waitpid(BoxProcess, nullptr, 0);
  BoxProcess = -1;
}

void ShowMessageBoxNow(const std::string& title, const std::string& text) {
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_ERROR, title.c_str(), text.c_str(), nullptr);
}
