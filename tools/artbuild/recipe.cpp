// Reading tile recipes: ramps and runs line by line, each mistake named by file and line.
#include "recipe.h"

#include <charconv>
#include <sstream>

#include "output.h"
#include "patterns.h"

namespace art {

namespace {

bool ToInt(const std::string& s, int& v) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
  return ec == std::errc() && end == s.data() + s.size();
}

// Plain decimals only ("0.8", "1.15"): what a recipe needs, and the same on every machine.
bool ToFloat(const std::string& s, float& v) {
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), v, std::chars_format::fixed);
  return ec == std::errc() && end == s.data() + s.size();
}

bool ToFloatIn(const std::string& s, float lo, float hi, float& v) {
  return ToFloat(s, v) && v >= lo && v <= hi;
}

bool ReadRamp(const std::vector<std::string>& w, RampTable& ramps, std::string& error) {
  if (w.size() < 5 || (w.size() - 2) % 3 != 0)
    return error = "a ramp needs a name and whole red green blue triples", false;
  std::vector<Colour> tones;
  for (size_t i = 2; i < w.size(); i += 3) {
    int r, g, b;
    if (!ToInt(w[i], r) || !ToInt(w[i + 1], g) || !ToInt(w[i + 2], b) || r < 0 || r > 255 ||
        g < 0 || g > 255 || b < 0 || b > 255)
      return error = "ramp " + w[1] + ": colour values are 0..255", false;
    tones.push_back(Rgb(r, g, b));
  }
  ramps[w[1]] = Ramp(std::move(tones));
  return true;
}

bool FindRamp(const RampTable& ramps, const std::string& name, Ramp& out, std::string& error) {
  auto it = ramps.find(name);
  if (it == ramps.end()) return error = "no ramp named " + name, false;
  out = it->second;
  return true;
}

bool ReadOption(const std::string& word, const RampTable& ramps, TileRecipe& r,
                std::string& error) {
  size_t eq = word.find('=');
  if (eq == std::string::npos) return error = "expected key=value, got " + word, false;
  std::string key = word.substr(0, eq), value = word.substr(eq + 1);
  bool ok = true;
  if (key == "accent") {
    return FindRamp(ramps, value, r.Accent, error);
  } else if (key == "bevel") {
    size_t comma = value.find(',');
    ok = comma != std::string::npos && ToInt(value.substr(0, comma), r.BevelLight) &&
         ToInt(value.substr(comma + 1), r.BevelDark) && r.BevelLight >= 0 && r.BevelLight <= 255 &&
         r.BevelDark >= 0 && r.BevelDark <= 255;
  } else if (key == "light") {
    ok = ToFloatIn(value, 0.2f, 2.0f, r.Light);
  } else if (key == "dark") {
    ok = ToFloatIn(value, 0.2f, 2.0f, r.Dark);
  } else if (key == "scale") {
    ok = ToFloatIn(value, 1.0f, 16.0f, r.Scale);
  } else if (key == "speckle") {
    ok = ToFloatIn(value, 0.0f, 1.0f, r.Speckle);
  } else if (key == "seed") {
    ok = ToInt(value, r.Seed) && r.Seed >= 0;
  } else {
    return error = "unknown key " + key, false;
  }
  if (!ok) return error = "bad value for " + key + ": " + value, false;
  return true;
}

bool ReadTiles(const std::vector<std::string>& w, const RampTable& ramps, TileRecipe& r,
               std::string& error) {
  if (w.size() < 5) return error = "expected: tiles FIRST COUNT PATTERN RAMP [key=value...]", false;
  if (!ToInt(w[1], r.First) || r.First < 0 || r.First > 255)
    return error = "first style must be 0..255: " + w[1], false;
  if (!ToInt(w[2], r.Count) || r.Count < 1 || r.Count > 256 - r.First)
    return error = "count must be 1 or more and stay within 255: " + w[2], false;
  if (!HasPattern(w[3])) return error = "unknown pattern " + w[3], false;
  r.Pattern = w[3];
  if (!FindRamp(ramps, w[4], r.Body, error)) return false;
  r.Accent = r.Body;
  for (size_t i = 5; i < w.size(); ++i)
    if (!ReadOption(w[i], ramps, r, error)) return false;
  return true;
}

}  // namespace

bool ParseRecipes(const std::string& path, const std::string& text, RampTable& ramps,
                  std::vector<TileRecipe>& out, std::string& error) {
  std::istringstream in(text);
  std::string line;
  for (int number = 1; std::getline(in, line); ++number) {
    std::vector<std::string> w = Words(line);
    if (w.empty() || w[0][0] == '#') continue;
    std::string where = path + ":" + std::to_string(number) + ": ";
    if (w[0] == "ramp") {
      if (!ReadRamp(w, ramps, error)) return error = where + error, false;
    } else if (w[0] == "tiles") {
      TileRecipe r;
      r.File = path;
      r.Line = number;
      if (!ReadTiles(w, ramps, r, error)) return error = where + error, false;
      out.push_back(std::move(r));
    } else {
      return error = where + "unknown line starting '" + w[0] + "'", false;
    }
  }
  return true;
}

bool ReadRecipes(const std::string& path, RampTable& ramps, std::vector<TileRecipe>& out,
                 std::string& error) {
  std::string text;
  if (!ReadText(path, text)) return error = "cannot read " + path, false;
  return ParseRecipes(path, text, ramps, out, error);
}

}  // namespace art
