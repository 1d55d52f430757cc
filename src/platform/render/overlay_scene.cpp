// The one overlay scene and the standing note, held for the window and the runner's shots.
#include "platform/render/overlay_scene.h"

#include <utility>

namespace {

OverlayScene& Scene() {
  static OverlayScene scene;
  return scene;
}

std::string& Note() {
  static std::string note;
  return note;
}

}  // namespace

void AddOverlayText(OverlayScene& scene, int x, int y, std::string text, uint32_t colour,
                    bool backing) {
  OverlayText line;
  line.X = x;
  line.Y = y;
  line.Text = std::move(text);
  line.Colour = colour;
  line.Backing = backing;
  scene.Texts.push_back(std::move(line));
}

void SetOverlayScene(OverlayScene scene) {
  Scene() = std::move(scene);
}

const OverlayScene& CurrentOverlayScene() {
  return Scene();
}

void SetOverlayNote(const std::string& text) {
  Note() = text;
}

const std::string& CurrentOverlayNote() {
  return Note();
}
