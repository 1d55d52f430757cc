// The overlay layer a window keeps over its picture: composed again only when the scene, the
// note or the picture's size differ from what it was composed from, and, for a picture that has
// the overlay blended into it, the areas where this pass's layer differs from the one blended in
// last (or where it went away), so only those are painted again.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/render/frame_changes.h"
#include "platform/render/overlay_compose.h"
#include "platform/render/overlay_scene.h"

class OverlayTracker {
 public:
  // Brings the layer up to date with the current scene and note. False when they draw nothing.
  bool Compose(int width, int height);
  // The last Compose found the layer already composed from the same scene, note and size.
  bool Again() const { return Cache.Again; }
  // Composes, then the areas of the picture to blend again: none when the very layer is the one
  // blended in already, the whole of the last one when it went away.
  const std::vector<FrameRect>& Changes(int width, int height);
  // The picture has the layer blended in (the last Changes found something drawn).
  bool BlendedIn() const { return Blended; }
  const OverlayLayer& Layer() const { return Pixels; }
  // The picture was made anew: the next Changes gives the whole layer.
  void Forget() { Shown.Forget(); }
  // Copies one area of the frame into `composite` (the frame's size) and blends the layer over
  // it there when the picture has it blended in.
  void ComposeArea(const uint32_t* frame, int width, int height, const FrameRect& area,
                   std::vector<uint32_t>& composite) const;

 private:
  OverlayLayer Pixels;
  struct Composed {
    bool Valid = false, Drawn = false, Again = false;
    int Width = 0, Height = 0;
    OverlayScene Scene;
    std::string Note;
  } Cache;
  ShownFrame Shown;  // the layer last blended in
  bool Blended = false;
};
