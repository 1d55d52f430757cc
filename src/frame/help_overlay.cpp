// The help's switch, its passes, and its panel laid out from the table of commands.
#include "frame/help_overlay.h"

#include <string>

#include "editor/build_mode.h"
#include "frame/overlay.h"
#include "platform/commands.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "platform/render/font.h"

namespace {

bool Shown = false;

constexpr int kPanelMargin = 4;
constexpr int kColumns = 3;
// The font's glyphs carry their own spacing: lines touch, and a page holds 17 rows a column.
constexpr int kLineHeight = kGlyphHeight;
constexpr int kPad = 4;
constexpr uint32_t kPanelColour = 0x101828;
constexpr uint8_t kPanelAlpha = 220;
constexpr uint32_t kHeadingColour = 0xFFD860;
constexpr uint32_t kKeyNameColour = 0x90E0FF;
constexpr uint32_t kHelpColour = 0xFFFFFF;

constexpr CommandMode kPlayPage[] = {
    CommandMode::kPlay,       CommandMode::kLeftView,  CommandMode::kPicker,
    CommandMode::kAnyTime,    CommandMode::kLevelList, CommandMode::kSwitches,
    CommandMode::kFreeCamera, CommandMode::kHelp,      CommandMode::kWindow,
};
constexpr CommandMode kBuildPage[] = {
    CommandMode::kBuild,      CommandMode::kAnyTime, CommandMode::kSwitches,
    CommandMode::kFreeCamera, CommandMode::kHelp,    CommandMode::kWindow,
};

}  // namespace

void THelp::FReset() {
  Shown = false;
}

bool THelp::FShown() {
  return Shown;
}

bool THelp::FTakePass() {
  const int presses = CommandPresses(Command::kHelp);
  if (!Shown && presses == 0) return false;
  if (presses % 2 == 1) {
    Shown = !Shown;
  } else if (presses == 0 && CommandPresses(Command::kHideHelp) != 0) {
    Shown = false;
  }
  ForgetCommandPresses();
  return true;
}

void THelp::FShowPass() {
  TOverlay::FLayOut();
  Flip(1);
}

OverlayBox THelp::FPanel() {
  OverlayBox panel;
  panel.X = kPanelMargin;
  panel.Y = kPanelMargin;
  panel.Width = kBackBufferWidth - 2 * kPanelMargin;
  panel.Height = kBackBufferHeight - 2 * kPanelMargin;
  panel.Colour = kPanelColour;
  panel.Alpha = kPanelAlpha;
  return panel;
}

// The groups flow down the columns; a group that would not fit the rest of a column starts the
// next one, and a group longer than a whole column goes on in the next.
std::span<const CommandMode> THelp::FPageModes(bool building) {
  if (building) return kBuildPage;
  return kPlayPage;
}

void THelp::FLayOut(OverlayScene& scene) {
  FLayOutPage(scene, Build.On);
}

void THelp::FLayOutPage(OverlayScene& scene, bool building) {
  const OverlayBox panel = FPanel();
  scene.Boxes.push_back(panel);
  const int column_width = (panel.Width - kPad) / kColumns;
  const int rows = (panel.Height - 2 * kPad) / kLineHeight;
  int column = 0, row = 0;
  for (const CommandMode mode : FPageModes(building)) {
    const std::vector<HelpLine> lines = HelpLinesOf(mode);
    if (lines.empty()) continue;
    const int needed = static_cast<int>(lines.size()) + 1;
    if (row > 0 && row + needed > rows && column + 1 < kColumns) {
      ++column;
      row = 0;
    }
    const int x = panel.X + kPad + column * column_width;
    AddOverlayText(scene, x, panel.Y + kPad + row * kLineHeight, ModeHeading(mode), kHeadingColour);
    ++row;
    for (const HelpLine& line : lines) {
      if (row >= rows && column + 1 < kColumns) {
        ++column;
        row = 0;
      }
      const int lx = panel.X + kPad + column * column_width;
      const int y = panel.Y + kPad + row * kLineHeight;
      AddOverlayText(scene, lx + kGlyphWidth, y, line.Key, kKeyNameColour);
      const int key_end = lx + kGlyphWidth * (2 + static_cast<int>(line.Key.size()));
      AddOverlayText(scene, key_end, y, line.Help, kHelpColour);
      ++row;
    }
  }
}
