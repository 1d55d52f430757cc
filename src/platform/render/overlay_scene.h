// What the window draws over the presented picture: boxes and lines of text in the picture's
// own pixels, laid out by the game and composed by whoever shows the picture (the window, or the
// runner's shots). None of it ever reaches the back buffer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct OverlayBox {
  int X = 0, Y = 0, Width = 0, Height = 0;
  uint32_t Colour = 0;   // 0x00RRGGBB
  uint8_t Alpha = 255;   // 255 covers, 0 leaves the picture as it is
  bool Outline = false;  // a one-pixel frame instead of a filled box
  bool operator==(const OverlayBox&) const = default;
};

struct OverlayText {
  int X = 0, Y = 0;  // the top left of the first glyph cell
  std::string Text;  // codes outside the font show as blanks
  uint32_t Colour = 0xFFFFFF;
  uint8_t Alpha = 255;
  bool Backing = true;  // a dark band behind the line, so it reads over any picture
  bool operator==(const OverlayText&) const = default;
};

struct OverlayScene {
  std::vector<OverlayBox> Boxes;  // drawn first, in order
  std::vector<OverlayText> Texts;
  bool Empty() const { return Boxes.empty() && Texts.empty(); }
  // The window composes a scene again only when it differs from the last one.
  bool operator==(const OverlayScene&) const = default;
};

// One line of text at (x, y), its glyph cells' top left; `backing` puts the dark band behind it.
void AddOverlayText(OverlayScene& scene, int x, int y, std::string text, uint32_t colour,
                    bool backing = false);

// The scene the game laid out for the picture being shown; replaced whole every frame.
void SetOverlayScene(OverlayScene scene);
const OverlayScene& CurrentOverlayScene();

// A standing note that stays until cleared (empty text), drawn centred over everything else:
// the window's word when the game cannot run as it should, such as missing art.
void SetOverlayNote(const std::string& text);
const std::string& CurrentOverlayNote();
