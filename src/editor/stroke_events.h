// What a stroke does to the map, told as game events: a cell painted, erased or given water is
// reported once per stroke however many frames the mouse rests on it, so a listener hears a
// click per cell, not a buzz per frame.
#pragma once

#include "shared/game_events.h"

// Reports the kind at the cell's centre unless this stroke has reported it there already.
void ReportStrokeCell(GameEvent kind, int column, int row);
// Between strokes: every cell may be reported again.
void ForgetStrokeCells();
