// The level's name at the bottom left of the picture and in the title.
#include "frame/level_label.h"

#include <string>

#include "editor/undo_history.h"
#include "platform/platform.h"
#include "platform/render/font.h"
#include "shared/game_title.h"
#include "shared/units.h"
#include "world/current_level.h"

namespace {
std::string TitleShown;
}  // namespace

void LayOutLevelLabel(OverlayScene& scene) {
  if (CurrentLevel.Path.empty() && !CurrentLevel.Untitled) return;
  const std::string unsaved = TUndoHistory::FUnsavedEdits() ? " *" : "";
  const std::string name = CurrentLevel.Untitled ? "(new, not saved yet)" : CurrentLevel.Name;
  OverlayText label;
  label.X = 2;
  label.Y = WINDOW_HEIGHT - kGlyphHeight - 2;
  label.Text = "Level " + name + unsaved;
  scene.Texts.push_back(std::move(label));
  const std::string title = std::string(kGameTitle) + " - " + name + unsaved;
  if (title == TitleShown) return;
  TitleShown = title;
  if (Backend* backend = CurrentBackend()) backend->SetTitle(title);
}
