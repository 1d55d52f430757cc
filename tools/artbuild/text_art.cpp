// Text pictures and maps: the legend and grid parser, and a named picture drawn into a canvas.
#include "text_art.h"

#include <sstream>

#include "output.h"

namespace art {

namespace {
bool ParseByte(const std::string& s, int& v) {
  if (s.empty() || s.size() > 3) return false;
  v = 0;
  for (char c : s) {
    if (c < '0' || c > '9') return false;
    v = v * 10 + (c - '0');
  }
  return v <= 255;
}

std::string Trimmed(std::string s) {
  while (!s.empty() && (s.back() == '\r' || s.back() == ' '))
    s.pop_back();
  return s;
}
}  // namespace

bool TextArt::Parse(const std::string& text, std::string& error) {
  std::istringstream in(text);
  std::string line;
  std::vector<std::string>* grid = nullptr;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    line = Trimmed(line);
    if (grid) {
      if (!line.empty()) {
        grid->push_back(line);
        continue;
      }
      grid = nullptr;
    }
    if (line.empty() || line[0] == '#') continue;
    std::vector<std::string> w = Words(line);
    std::string where = "line " + std::to_string(number) + ": ";
    if (w[0] == "colour") {
      if (w.size() < 3 || w[1].size() != 1) return error = where + "bad colour entry", false;
      if (w.size() == 3 && w[2] == "none") {
        Legend[w[1][0]] = kTransparent;
        continue;
      }
      int r, g, b;
      if (w.size() != 5 || !ParseByte(w[2], r) || !ParseByte(w[3], g) || !ParseByte(w[4], b))
        return error = where + "bad colour entry", false;
      Legend[w[1][0]] = Rgb(r, g, b);
    } else if (w[0] == "grid") {
      if (w.size() != 2) return error = where + "grid needs one name", false;
      grid = &Grids[w[1]];
      grid->clear();
    } else {
      Directives.push_back(w);
    }
  }
  return true;
}

bool TextArt::Load(const std::string& path, std::string& error) {
  std::string text;
  if (!ReadText(path, text)) return error = "cannot read " + path, false;
  if (!Parse(text, error)) return error = path + ": " + error, false;
  return true;
}

bool TextArt::Picture(const std::string& name, Canvas& out, std::string& error) const {
  auto it = Grids.find(name);
  if (it == Grids.end()) return error = "no grid named " + name, false;
  const std::vector<std::string>& rows = it->second;
  size_t width = 0;
  for (const std::string& r : rows)
    width = std::max(width, r.size());
  out = Canvas(int(width), int(rows.size()));
  for (size_t y = 0; y < rows.size(); ++y)
    for (size_t x = 0; x < rows[y].size(); ++x) {
      auto c = Legend.find(rows[y][x]);
      if (c == Legend.end())
        return error =
                   "grid " + name + " uses '" + std::string(1, rows[y][x]) + "' not in the legend",
               false;
      out.Set(int(x), int(y), c->second);
    }
  return true;
}

}  // namespace art
