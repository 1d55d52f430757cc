// Unsaved map edits kept in recovery/: every kKeepEditsEvery passes while playing, so a kill or
// a power cut loses at most that much, and on leaving with Escape, the close button or a hang-up.
#pragma once

// 30 seconds of the game's clock: the passes of the main loop, the headless runner's as well.
constexpr int kKeepEditsEvery = 1800;

// After pass number `pass` of the main loop: every kKeepEditsEvery passes, the map is kept in
// recovery/ if no S has saved it and neither the map files nor the last kept pair hold it.
// Quiet when it works; a failure is said once on standard error.
void KeepEditsWhilePlaying(int pass);
// Leaving with unsaved edits (the game, or the level for another): the pair is kept (or named where
// it already is) with a line on standard error.
void KeepEditsOnQuit();
// Whether edits are kept at all (the default). A replay plays in a scratch folder that is thrown
// away, where a recovery pair would only mislead.
void SetKeepEdits(bool keep);
