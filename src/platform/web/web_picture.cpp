// The web backend's picture: the frame and the overlay over it (messages, the picker's marks;
// never in the game's own picture) converted to the canvas's bytes and sent only where either
// changed since the last time, as the desktop window sends only its changed areas. Nothing is
// allocated while the picture and the overlay keep their size; a scripted page shows the game's
// picture alone, as ravelon-sim's shot does.
#include <emscripten.h>

#include "platform/web/web_backend.h"

void WebBackend::Show(const uint32_t* pixels, int width, int height) {
  const size_t count = static_cast<size_t>(width) * height;
  if (Rgba.size() != count * 4 || Composite.size() != count) {
    Rgba.assign(count * 4, 255);
    Composite.assign(count, 0);
    Shown.Forget();
    Overlay.Forget();
  }
  static const std::vector<FrameRect> kNone;
  const std::vector<FrameRect>& changed = Shown.Update(pixels, width, height);
  const std::vector<FrameRect>& overlay_changed = Script ? kNone : Overlay.Changes(width, height);
  bool sent = false;
  for (const FrameRect& area : Cover.Of(changed, overlay_changed, width, height)) {
    ShowArea(pixels, width, height, area);
    sent = true;
  }
  if (sent) EM_ASM({ RavelonPage.presented(); });
}

void WebBackend::ShowArea(const uint32_t* pixels, int width, int height, const FrameRect& area) {
  Overlay.ComposeArea(pixels, width, height, area, Composite);
  for (int y = area.y; y < area.y + area.height; ++y) {
    const size_t row = static_cast<size_t>(y) * width + area.x;
    const uint32_t* in = &Composite[row];
    uint8_t* out = &Rgba[row * 4];
    for (int x = 0; x < area.width; ++x, out += 4) {
      const uint32_t p = in[x];  // 0x00RRGGBB
      out[0] = static_cast<uint8_t>(p >> 16);
      out[1] = static_cast<uint8_t>(p >> 8);
      out[2] = static_cast<uint8_t>(p);
    }
  }
  EM_ASM({ RavelonPage.present($0, $1, $2, $3, $4, $5, $6); }, Rgba.data(), width, height, area.x,
         area.y, area.width, area.height);
}
