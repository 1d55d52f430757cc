// The level list's switch, its passes, and its panel laid out from the folder's files.
#include "frame/level_list.h"

#include <algorithm>

#include "frame/level_open.h"
#include "frame/overlay.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/platform.h"
#include "platform/render/draw.h"
#include "platform/render/font.h"
#include "world/current_level.h"
#include "world/level_folder.h"

namespace {

constexpr int kPanelWidth = 440;
constexpr int kPanelTop = 20;
constexpr int kPanelHeight = kBackBufferHeight - 2 * kPanelTop;
constexpr int kPad = 4;
constexpr int kLineHeight = kGlyphHeight + 1;
constexpr int kRowsTop = kPanelTop + kPad + 2 * kLineHeight;  // below the title and the note
constexpr int kRowsShown = (kPanelHeight - 2 * kPad - 3 * kLineHeight) / kLineHeight;
constexpr uint32_t kPanelColour = 0x101828;
constexpr uint8_t kPanelAlpha = 230;
constexpr uint32_t kTitleColour = 0xFFD860;
constexpr uint32_t kNoteColour = 0xFF9070;
constexpr uint32_t kRowColour = 0xFFFFFF;
constexpr uint32_t kNewLevelColour = 0x90E0FF;
constexpr uint32_t kChoiceColour = 0x3858A0;
constexpr const char* kNewLevelEntry = "New empty level";

bool Shown = false;
bool WaitForRelease = false;
TLevelFolder Folder;
int Choice = 0;
int Top = 0;  // the entry in the first row shown

int EntryCount() {
  return static_cast<int>(Folder.Files.size()) + 1;
}

void Show() {
  Folder = ListLevelFolder();
  if (!Folder.Note.empty()) PrintLine("Level list: " + Folder.Note + ".");
  Choice = 0;
  Top = 0;
  Shown = true;
}

void MoveChoice(int steps) {
  Choice = std::clamp(Choice + steps, 0, EntryCount() - 1);
  if (Choice < Top) Top = Choice;
  if (Choice >= Top + kRowsShown) Top = Choice - kRowsShown + 1;
}

// The entry under the pointer, or -1 off the rows.
int EntryAt(int x, int y) {
  for (int row = 0; row < kRowsShown && Top + row < EntryCount(); ++row) {
    const OverlayBox box = TLevelList::FRowBox(row);
    if (x >= box.X && x < box.X + box.Width && y >= box.Y && y < box.Y + box.Height)
      return Top + row;
  }
  return -1;
}

void OpenChoice() {
  Shown = false;
  if (Choice < static_cast<int>(Folder.Files.size())) {
    OpenLevelFile(LevelFolderPath(Folder.Files[static_cast<size_t>(Choice)]));
  } else {
    OpenEmptyLevel();
  }
}

// A line cut to the panel's width.
std::string Fitted(const std::string& text) {
  constexpr size_t kChars = (kPanelWidth - 2 * kPad) / kGlyphWidth;
  if (text.size() <= kChars) return text;
  std::string cut = text.substr(0, kChars - 3);
  cut += "...";
  return cut;
}

}  // namespace

void TLevelList::FReset() {
  Shown = false;
  WaitForRelease = false;
  Folder = {};
  Choice = Top = 0;
}

bool TLevelList::FShown() {
  return Shown;
}

bool TLevelList::FTakePass() {
  if (WaitForRelease) {
    if (CommandHeld(Command::kListClick)) {
      ForgetCommandPresses();
      return true;
    }
    WaitForRelease = false;
  }
  const bool chord = CommandPresses(Command::kOpenLevelList) != 0 &&
                     ModifiersHeldDuringPass(Command::kOpenLevelList);
  if (!Shown) {
    if (!chord) return false;
    Show();
    ForgetCommandPresses();
    return true;
  }
  if (chord || CommandPresses(Command::kListClose) != 0) {
    Shown = false;
    ForgetCommandPresses();
    return true;
  }
  // The wheel away from the user moves up the list.
  MoveChoice(CommandPresses(Command::kListDown) - CommandPresses(Command::kListUp) - MouseWheelY());
  bool open = CommandPresses(Command::kListOpen) != 0;
  if (CommandPresses(Command::kListClick) != 0) {
    const int entry = EntryAt(MousePosX(), MousePosY());
    if (entry >= 0) {
      Choice = entry;
      open = true;
      WaitForRelease = true;
    }
  }
  ForgetCommandPresses();
  if (open) OpenChoice();
  return true;
}

void TLevelList::FShowPass() {
  TOverlay::FLayOut();
  Flip(1);
}

std::vector<std::string> TLevelList::FEntries() {
  std::vector<std::string> entries;
  for (const std::string& file : Folder.Files)
    entries.push_back(ShownLevelName(file));
  entries.push_back(kNewLevelEntry);
  return entries;
}

int TLevelList::FChoice() {
  return Choice;
}

OverlayBox TLevelList::FPanel() {
  OverlayBox panel;
  panel.X = (kBackBufferWidth - kPanelWidth) / 2;
  panel.Y = kPanelTop;
  panel.Width = kPanelWidth;
  panel.Height = kPanelHeight;
  panel.Colour = kPanelColour;
  panel.Alpha = kPanelAlpha;
  return panel;
}

OverlayBox TLevelList::FRowBox(int row) {
  OverlayBox box;
  box.X = FPanel().X + kPad;
  box.Y = kRowsTop + row * kLineHeight;
  box.Width = kPanelWidth - 2 * kPad;
  box.Height = kLineHeight;
  box.Colour = kChoiceColour;
  return box;
}

void TLevelList::FLayOut(OverlayScene& scene) {
  const OverlayBox panel = FPanel();
  scene.Boxes.push_back(panel);
  const int x = panel.X + kPad;
  std::string title = "Open a level (levels/)";
  // A list longer than the panel says which of its entries show.
  if (EntryCount() > kRowsShown)
    title += "  " + std::to_string(Top + 1) + "-" +
             std::to_string(std::min(Top + kRowsShown, EntryCount())) + " of " +
             std::to_string(EntryCount());
  AddOverlayText(scene, x, panel.Y + kPad, title, kTitleColour);
  if (!Folder.Note.empty())
    AddOverlayText(scene, x, panel.Y + kPad + kLineHeight, Fitted(Folder.Note), kNoteColour);
  const std::vector<std::string> entries = FEntries();
  for (int row = 0; row < kRowsShown && Top + row < EntryCount(); ++row) {
    const int entry = Top + row;
    const OverlayBox box = FRowBox(row);
    if (entry == Choice) scene.Boxes.push_back(box);
    const bool is_new = entry == EntryCount() - 1;
    std::string text = entries[static_cast<size_t>(entry)];
    if (!is_new && LevelFolderPath(Folder.Files[static_cast<size_t>(entry)]) == CurrentLevel.Path)
      text += "  (playing)";
    AddOverlayText(scene, box.X + kGlyphWidth, box.Y, Fitted(text),
                   is_new ? kNewLevelColour : kRowColour);
  }
  AddOverlayText(scene, x, panel.Y + panel.Height - kPad - kGlyphHeight,
                 "Up/Down/wheel choose, Enter/click opens, Escape closes", kTitleColour);
}
