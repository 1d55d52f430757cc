// The name prompt's passes, its editing and its panel.
#include "editor/level_name_prompt.h"

#include "editor/build_mode.h"
#include "editor/undo_history.h"
#include "platform/commands.h"
#include "platform/console.h"
#include "platform/input.h"
#include "platform/render/draw.h"
#include "platform/render/font.h"
#include "world/level_file.h"
#include "world/level_save.h"

namespace {

constexpr int kPanelWidth = 440;
constexpr int kPad = 4;
constexpr int kLineHeight = kGlyphHeight + 1;
constexpr int kPanelHeight = 2 * kPad + 4 * kLineHeight;
constexpr uint32_t kPanelColour = 0x101828;
constexpr uint8_t kPanelAlpha = 230;
constexpr uint32_t kTitleColour = 0xFFD860;
constexpr uint32_t kNameColour = 0xFFFFFF;
constexpr uint32_t kNoteColour = 0xFF9070;

bool Shown = false;
std::string Name;
std::string Note;

void Close() {
  Shown = false;
  InputWantText(false);
}

void Type(const std::u32string& text) {
  for (const char32_t c : text) {
    if (c == U'\b') {
      if (!Name.empty()) Name.pop_back();
      Note.clear();
      continue;
    }
    // Printable ASCII only: the panel's font shows it, and every file system takes it.
    if (c < 0x20 || c > 0x7E || Name.size() >= kMaxLevelNameBytes) continue;
    Name.push_back(static_cast<char>(c));
    Note.clear();
  }
}

void Save() {
  // The file is NAME.tmx: a name typed with the ending has it once.
  if (Name.size() > 4 && Name.compare(Name.size() - 4, 4, ".tmx") == 0)
    Name.resize(Name.size() - 4);
  // A levels/ that cannot hold the file is no fault of the name: the save says why.
  if (!WhyNoLevelsFolder().empty()) {
    Close();
    SaveNamedLevelFile(LevelToSave(), Name);
    return;
  }
  if (const std::string why = WhyNotNewLevelName(Name); !why.empty()) {
    Note = "Not saved: " + why;
    PrintLine("Level name refused: " + why + ".");
    return;
  }
  Close();
  if (SaveNamedLevelFile(LevelToSave(), Name)) TUndoHistory::FMarkSaved();
}

// A line cut to the panel's width, its end kept (where the typing is).
std::string Fitted(const std::string& text) {
  constexpr size_t kChars = (kPanelWidth - 2 * kPad) / kGlyphWidth;
  return text.size() <= kChars ? text : "..." + text.substr(text.size() - (kChars - 3));
}

}  // namespace

void TNamePrompt::FReset() {
  Close();
  Name.clear();
  Note.clear();
}

void TNamePrompt::FOpen() {
  Name = FirstFreeLevelName();
  Note.clear();
  Shown = true;
  // Typing starts afresh: nothing typed before the panel came counts.
  InputWantText(false);
  InputWantText(true);
}

bool TNamePrompt::FShown() {
  return Shown;
}

bool TNamePrompt::FTakePass() {
  if (!Shown) return false;
  Type(TypedText());
  const bool escape = KeyHitCount(kKeyEscape) != 0;
  const bool enter = KeyHitCount(kKeyEnter) != 0;
  ForgetCommandPresses();
  if (escape) {
    Close();
    PrintLine("No new level file: the name was not given.");
  } else if (enter) {
    Save();
  }
  return true;
}

void TNamePrompt::FLayOut(OverlayScene& scene) {
  OverlayBox panel;
  panel.X = (kBackBufferWidth - kPanelWidth) / 2;
  panel.Y = (kBackBufferHeight - kPanelHeight) / 2;
  panel.Width = kPanelWidth;
  panel.Height = kPanelHeight;
  panel.Colour = kPanelColour;
  panel.Alpha = kPanelAlpha;
  scene.Boxes.push_back(panel);
  const int x = panel.X + kPad;
  int y = panel.Y + kPad;
  AddOverlayText(scene, x, y, "Save as a new level in levels/, named:", kTitleColour);
  AddOverlayText(scene, x, y += kLineHeight, Fitted(Name + "_"), kNameColour);
  if (!Note.empty()) AddOverlayText(scene, x, y + kLineHeight, Fitted(Note), kNoteColour);
  AddOverlayText(scene, x, panel.Y + panel.Height - kPad - kGlyphHeight,
                 "Type a name, Enter saves, Escape gives up", kTitleColour);
}

const std::string& TNamePrompt::FName() {
  return Name;
}

const std::string& TNamePrompt::FNote() {
  return Note;
}
