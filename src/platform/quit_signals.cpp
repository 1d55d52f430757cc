// SIGHUP and SIGTERM only set a flag the main loop reads; SIGXFSZ is ignored, so the write that
// meets the limit returns EFBIG and the writer ends its file cleanly.
#include "platform/quit_signals.h"

#include <signal.h>
#include <time.h>

#include <initializer_list>

namespace {

volatile sig_atomic_t Signalled = 0;
volatile time_t FirstSignalAt = 0;

// A second signal this soon after the first is the same request sent twice (timeout(1) and a
// closing terminal signal the process and then its whole group): it changes nothing.
constexpr time_t kSecondSignalSeconds = 3;

time_t NowSeconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);  // safe in a signal handler
  return now.tv_sec;
}

// The first one asks the loop to end; a later one, should the game not get round to it (stuck
// in a long pass), ends the process as the signal always did.
void OnQuitSignal(int signal_number) {
  if (!Signalled) {
    Signalled = 1;
    FirstSignalAt = NowSeconds();
    return;
  }
  if (NowSeconds() - FirstSignalAt < kSecondSignalSeconds) return;
  signal(signal_number, SIG_DFL);
  raise(signal_number);
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
