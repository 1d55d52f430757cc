// Placeholder bodies, replaced as the editor lands.
#include "editor/editor.h"

int TEditor::FBoot() { return 0; }
int TEditor::FInput() { return 0; }
int TEditor::FDraw() { return 0; }
