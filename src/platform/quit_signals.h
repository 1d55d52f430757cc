// The signals that end a run from outside: a hang-up (the terminal closed, a logout) and a
// polite kill end the game as Escape does, at the end of the pass, so unsaved edits are kept. A
// write past a file-size limit fails as a full disk does instead of killing the game. A second
// SIGHUP or SIGTERM ends the process at once, as it always did.
#pragma once

// Installs the handlers; the game and the runner call it once before start-up.
void CatchQuitSignals();
// True once SIGHUP or SIGTERM has arrived.
bool QuitSignalled();
