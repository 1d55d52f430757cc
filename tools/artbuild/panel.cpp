// instr.bmp: the controls in two short lines under a dark band that the frame timings are
// printed on (window x 100..390, y 24..40, which is x 80..370, y 4..20 of the panel).
#include <iostream>
#include <map>

#include "builders.h"
#include "canvas.h"
#include "output.h"
#include "text_art.h"

namespace art {

namespace {

constexpr int kGlyphW = 5;
constexpr int kGlyphH = 7;
constexpr int kAdvance = 6;
constexpr int kBandHeight = 24;
constexpr int kReadoutLeft = 78;  // panel x of the timing read-out's band, less a margin

using Font = std::map<char, std::vector<std::string>>;

bool ReadFont(const std::string& path, Font& font, std::string& error) {
  TextArt text;
  if (!text.Load(path, error)) return false;
  for (const std::vector<std::string>& d : text.Directives) {
    if (d[0] != "glyph" || d.size() != 2 + kGlyphH) return error = path + ": bad glyph line", false;
    char c = d[1] == "space" ? ' ' : d[1][0];
    for (size_t r = 2; r < d.size(); ++r)
      if (d[r].size() != size_t(kGlyphW)) return error = path + ": glyph rows are 5 wide", false;
    font[c] = std::vector<std::string>(d.begin() + 2, d.end());
  }
  return true;
}

// Draws text with a one-pixel shadow below-right; returns the x after the last glyph.
int DrawText(Canvas& c, const Font& font, int x, int y, const std::string& s, Colour ink,
             Colour shadow) {
  for (char ch : s) {
    auto g = font.find(ch);
    if (g != font.end())
      for (int r = 0; r < kGlyphH; ++r)
        for (int k = 0; k < kGlyphW; ++k)
          if (g->second[r][k] == '#') {
            c.Set(x + k + 1, y + r + 1, shadow);
            c.Set(x + k, y + r, ink);
          }
    x += kAdvance;
  }
  return x;
}

// A line of words where "{KEY}" words start a new group in the key colour.
void DrawControls(Canvas& c, const Font& font, int x, int y, const std::vector<std::string>& words,
                  Colour text, Colour key, Colour shadow) {
  for (size_t i = 1; i < words.size(); ++i) {
    std::string w = words[i];
    bool isKey = w.size() > 2 && w.front() == '{' && w.back() == '}';
    if (isKey && i > 1) x += kAdvance;  // groups stand two spaces apart
    if (isKey) w = w.substr(1, w.size() - 2);
    x = DrawText(c, font, x, y, w, isKey ? key : text, shadow) + kAdvance;
  }
}

Colour Need(const TextArt& t, char k) {
  auto it = t.Legend.find(k);
  return it == t.Legend.end() ? Rgb(255, 0, 255) : it->second;
}

bool DrawPanel(const std::string& assetsDir, Canvas& panel, std::string& error) {
  Font font;
  TextArt text;
  if (!ReadFont(assetsDir + "/panel/font.txt", font, error) ||
      !text.Load(assetsDir + "/panel/panel.txt", error))
    return false;
  int w = 380, h = 44;
  std::string title, version;
  std::vector<std::vector<std::string>> lines;
  for (const std::vector<std::string>& d : text.Directives) {
    if (d[0] == "size" && d.size() == 3) {
      try {
        w = std::stoi(d[1]);
        h = std::stoi(d[2]);
      } catch (...) {
        return error = "panel.txt: bad size", false;
      }
    } else if (d[0] == "title" && d.size() == 2) {
      title = d[1];
    } else if (d[0] == "version" && d.size() == 2) {
      version = d[1];
    } else if (d[0] == "line") {
      lines.push_back(d);
    } else {
      return error = "panel.txt: unknown line " + d[0], false;
    }
  }
  if (w < kReadoutLeft + 1 || h < kBandHeight + 1 || w > 800 || h > 288)
    return error = "panel.txt: size out of range", false;
  const Colour fill = Need(text, 'f'), edge = Need(text, 'e'), inset = Need(text, 'i');
  panel = Canvas(w, h, fill);
  panel.Fill(kReadoutLeft, 2, w - kReadoutLeft - 3, kBandHeight - 4, inset);
  panel.HLine(3, w - 4, kBandHeight - 1, edge);
  panel.HLine(1, w - 2, 0, edge);
  panel.HLine(1, w - 2, h - 1, edge);
  panel.VLine(0, 1, h - 2, edge);
  panel.VLine(w - 1, 1, h - 2, edge);
  DrawText(panel, font, 6, 3, title, Need(text, 'k'), inset);
  DrawText(panel, font, 6, 13, version, Need(text, 'v'), inset);
  int y = kBandHeight + 2;
  for (const auto& line : lines) {
    DrawControls(panel, font, 6, y, line, Need(text, 't'), Need(text, 'k'), inset);
    y += kGlyphH + 2;
  }
  // Rounded corners: the four corner pixels are left see-through.
  panel.Set(0, 0, kTransparent);
  panel.Set(w - 1, 0, kTransparent);
  panel.Set(0, h - 1, kTransparent);
  panel.Set(w - 1, h - 1, kTransparent);
  return true;
}

}  // namespace

bool BuildPanel(const std::string& assetsDir, const std::string& outDir) {
  Canvas panel;
  std::string error;
  if (!DrawPanel(assetsDir, panel, error)) {
    std::cerr << "artbuild: " << error << "\n";
    return false;
  }
  return WriteCanvas(outDir + "/instr.bmp", panel);
}

}  // namespace art
