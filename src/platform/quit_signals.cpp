// SIGHUP and SIGTERM only set a flag the main loop reads; SIGXFSZ is ignored, so the write that
// meets the limit returns EFBIG and the writer ends its file cleanly.
#include "platform/quit_signals.h"

#include <signal.h>

#include <initializer_list>

namespace {

volatile sig_atomic_t Signalled = 0;

// The first one asks the loop to end; a second, should the game not get round to it (stuck in
// a long pass), ends the process as the signal always did.
void OnQuitSignal(int signal_number) {
  if (Signalled) {
    signal(signal_number, SIG_DFL);
    raise(signal_number);
    return;
  }
  Signalled = 1;
}

}  // namespace

void CatchQuitSignals() {
  struct sigaction action {};
  action.sa_handler = OnQuitSignal;
  sigemptyset(&action.sa_mask);
  for (const int signal_number : {SIGHUP, SIGTERM})
    sigaction(signal_number, &action, nullptr);
  action.sa_handler = SIG_IGN;
  sigaction(SIGXFSZ, &action, nullptr);
}

bool QuitSignalled() {
  return Signalled != 0;
}
