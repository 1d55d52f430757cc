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
