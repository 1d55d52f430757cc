// ActorGfxKelpo.bmp: 48 frames of 16x24, eight to a row, facing right. Each pose of
// assets/actor/kelpo.txt is drawn from its joints, so a pose is changed by moving a few numbers.
#include <iostream>
#include <map>

#include "builders.h"
#include "canvas.h"
#include "output.h"
#include "text_art.h"

namespace art {

namespace {

constexpr int kFrameW = 16;
constexpr int kFrameH = 24;
constexpr int kFrames = 48;
constexpr int kSheetColumns = 8;
constexpr int kFeetRow = 21;  // the last row drawn; the two below stay empty

struct Point {
  int X = 0;
  int Y = 0;
};

struct Pose {
  int Frame = -1;
  int Head = 0;
  Point Neck, Hip;
  Point FrontKnee, FrontFoot, BackKnee, BackFoot;
  Point FrontElbow, FrontHand, BackElbow, BackHand;
  bool HasDust = false;
  Point Dust;
};

struct Colours {
  Colour Shirt, Belt, Pants, Shoe, Skin, Outline;
};

bool ReadInts(const std::vector<std::string>& w, size_t& i, int count, int* out) {
  for (int k = 0; k < count; ++k, ++i) {
    if (i >= w.size()) return false;
    try {
      size_t used = 0;
      out[k] = std::stoi(w[i], &used);
      if (used != w[i].size()) return false;
    } catch (...) {
      return false;
    }
  }
  return true;
}

bool ParsePose(const std::vector<std::string>& w, Pose& p) {
  size_t i = 1;
  if (!ReadInts(w, i, 1, &p.Frame) || p.Frame < 0 || p.Frame >= kFrames) return false;
  while (i < w.size()) {
    const std::string key = w[i++];
    int v[4];
    if (key == "head") {
      if (!ReadInts(w, i, 1, v)) return false;
      p.Head = v[0];
    } else if (key == "neck" || key == "hip" || key == "dust") {
      if (!ReadInts(w, i, 2, v)) return false;
      Point& q = key == "neck" ? p.Neck : key == "hip" ? p.Hip : p.Dust;
      q = {v[0], v[1]};
      if (key == "dust") p.HasDust = true;
    } else if (key == "fleg" || key == "bleg" || key == "farm" || key == "barm") {
      if (!ReadInts(w, i, 4, v)) return false;
      Point* a = key == "fleg"   ? &p.FrontKnee
                 : key == "bleg" ? &p.BackKnee
                 : key == "farm" ? &p.FrontElbow
                                 : &p.BackElbow;
      a[0] = {v[0], v[1]};
      a[1] = {v[2], v[3]};
    } else {
      return false;
    }
  }
  return true;
}

// A line drawn with a square pen centred on each point.
void Stroke(Canvas& c, Point a, Point b, int pen, Colour colour) {
  int o = pen / 2;
  c.Line(a.X - o, a.Y - o, b.X - o, b.Y - o, colour, pen);
}

void Leg(Canvas& f, Point hip, Point knee, Point foot, Colour pants, Colour shoe) {
  Stroke(f, hip, knee, 2, pants);
  Stroke(f, knee, foot, 2, pants);
  f.HLine(foot.X - 1, foot.X + 1, foot.Y, shoe);
  f.HLine(foot.X - 1, foot.X, foot.Y - 1, shoe);
}

// Bare arms with short sleeves: skin reads against the shirt where an arm crosses the body.
void Arm(Canvas& f, Point shoulder, Point elbow, Point hand, Colour sleeve, Colour skin) {
  f.Line(shoulder.X, shoulder.Y, elbow.X, elbow.Y, skin);
  f.Line(elbow.X, elbow.Y, hand.X, hand.Y, skin);
  f.Set(shoulder.X, shoulder.Y, sleeve);
  f.Set(shoulder.X + (elbow.X > shoulder.X) - (elbow.X < shoulder.X),
        shoulder.Y + (elbow.Y > shoulder.Y) - (elbow.Y < shoulder.Y), sleeve);
}

Canvas DrawPose(const Pose& p, const Colours& c, const Canvas& head) {
  Canvas f(kFrameW, kFrameH);
  const float back = 0.72f;
  Point shoulder{p.Neck.X, p.Neck.Y + 1};
  Arm(f, shoulder, p.BackElbow, p.BackHand, Shade(c.Shirt, back), Shade(c.Skin, back));
  Leg(f, p.Hip, p.BackKnee, p.BackFoot, Shade(c.Pants, back), Shade(c.Shoe, back));
  Stroke(f, p.Neck, p.Hip, 4, c.Shirt);
  f.HLine(p.Hip.X - 2, p.Hip.X + 1, p.Hip.Y, c.Belt);
  Leg(f, p.Hip, p.FrontKnee, p.FrontFoot, c.Pants, c.Shoe);
  f.Blit(head, p.Neck.X - 3, p.Neck.Y - head.Height());
  Arm(f, shoulder, p.FrontElbow, p.FrontHand, Shade(c.Shirt, 0.85f), c.Skin);
  f.Outline(c.Outline, kFeetRow);
  if (p.HasDust) {  // a puff kicked up by the braking foot
    const Colour dust = Rgb(236, 228, 210);
    f.Set(p.Dust.X, p.Dust.Y, dust);
    f.Set(p.Dust.X + 1, p.Dust.Y - 1, dust);
    f.Set(p.Dust.X - 1, p.Dust.Y + 1, Rgb(200, 190, 170));
  }
  for (int y = kFeetRow + 1; y < kFrameH; ++y)
    f.HLine(0, kFrameW - 1, y, kTransparent);
  return f;
}

bool LegendColour(const TextArt& t, char key, Colour& out, std::string& error) {
  auto it = t.Legend.find(key);
  if (it == t.Legend.end()) return error = std::string("missing body colour ") + key, false;
  out = it->second;
  return true;
}

bool BuildSheet(const std::string& assetsDir, Canvas& sheet, std::string& error) {
  TextArt text;
  if (!text.Load(assetsDir + "/actor/kelpo.txt", error)) return false;
  Colours c;
  if (!LegendColour(text, '1', c.Shirt, error) || !LegendColour(text, '2', c.Belt, error) ||
      !LegendColour(text, '3', c.Pants, error) || !LegendColour(text, '4', c.Shoe, error) ||
      !LegendColour(text, '5', c.Skin, error) || !LegendColour(text, '6', c.Outline, error))
    return false;
  std::map<int, Canvas> heads;
  for (int h = 0; text.Has("head" + std::to_string(h)); ++h)
    if (!text.Picture("head" + std::to_string(h), heads[h], error)) return false;
  for (const std::vector<std::string>& d : text.Directives) {
    Pose p;
    if (d[0] != "pose" || !ParsePose(d, p)) return error = "bad pose line: " + d[0], false;
    if (!heads.count(p.Head)) return error = "pose uses a head that has no grid", false;
    Canvas frame = DrawPose(p, c, heads[p.Head]);
    sheet.BlitPart(frame, 0, 0, kFrameW, kFrameH, (p.Frame % kSheetColumns) * kFrameW,
                   (p.Frame / kSheetColumns) * kFrameH);
  }
  return true;
}

}  // namespace

bool BuildActorSheet(const std::string& assetsDir, const std::string& outDir) {
  Canvas sheet(kSheetColumns * kFrameW, (kFrames / kSheetColumns) * kFrameH);
  std::string error;
  if (!BuildSheet(assetsDir, sheet, error)) {
    std::cerr << "artbuild: " << assetsDir << "/actor/kelpo.txt: " << error << "\n";
    return false;
  }
  return WriteCanvas(outDir + "/ActorGfxKelpo.bmp", sheet);
}

}  // namespace art
