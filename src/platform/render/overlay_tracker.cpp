#include "platform/render/overlay_tracker.h"

#include <cstring>

bool OverlayTracker::Compose(int width, int height) {
  const OverlayScene& scene = CurrentOverlayScene();
  const std::string& note = CurrentOverlayNote();
  if (scene.Empty() && note.empty()) {
    Cache = {};
    return false;
  }
  Cache.Again = Cache.Valid && Cache.Width == width && Cache.Height == height &&
                Cache.Scene == scene && Cache.Note == note;
  if (Cache.Again) return Cache.Drawn;
  Cache.Drawn = ComposeOverlayLayer(scene, note, width, height, Pixels);
  Cache.Valid = true;
  Cache.Width = width;
  Cache.Height = height;
  Cache.Scene = scene;
  Cache.Note = note;
  return Cache.Drawn;
}

const std::vector<FrameRect>& OverlayTracker::Changes(int width, int height) {
  static const std::vector<FrameRect> kNone;
  const bool drawn = Compose(width, height);
  if (!drawn && !Blended) return kNone;
  if (drawn && Blended && Cache.Again) return kNone;
  if (!drawn) Pixels.assign(static_cast<size_t>(width) * height, 0);
  Blended = drawn;
  return Shown.Update(Pixels.data(), width, height);
}

void OverlayTracker::ComposeArea(const uint32_t* frame, int width, int height,
                                 const FrameRect& area, std::vector<uint32_t>& composite) const {
  for (int y = area.y; y < area.y + area.height; ++y) {
    const size_t row = static_cast<size_t>(y) * width + area.x;
    std::memcpy(&composite[row], frame + row, static_cast<size_t>(area.width) * sizeof(uint32_t));
  }
  if (!Blended) return;
  const OverlayPlacement where{0, 0, 1, width, height, width * static_cast<int>(sizeof(uint32_t))};
  const LayerArea part{area.x, area.y, area.x + area.width, area.y + area.height};
  BlendOverlayArea(Pixels, width, height, part, reinterpret_cast<uint8_t*>(composite.data()),
                   where);
}
