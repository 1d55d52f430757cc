// The overlay drawn by the window over the presented picture: composed at the picture's own size
// (platform/render/overlay_compose.h) and laid over it at the same whole scale, after the back
// buffer went up, so its text is as crisp as the picture and the back buffer never sees it.
#include <cstdio>

#include "platform/render/overlay_compose.h"
#include "platform/sdl/sdl_backend.h"

// The game lays out the same scene frame after frame (the picker's captions stand for as long
// as it is open): the layer is composed again only when the scene, the note or the size differ.
bool SdlBackend::ComposeOverlay(int width, int height) {
  const OverlayScene& scene = CurrentOverlayScene();
  const std::string& note = CurrentOverlayNote();
  if (scene.Empty() && note.empty()) {
    Composed = {};
    return false;
  }
  Composed.Again = Composed.Valid && Composed.Width == width && Composed.Height == height &&
                   Composed.Scene == scene && Composed.Note == note;
  if (Composed.Again) return Composed.Drawn;
  Composed.Drawn = ComposeOverlayLayer(scene, note, width, height, OverlayPixels);
  Composed.Valid = true;
  Composed.Width = width;
  Composed.Height = height;
  Composed.Scene = scene;
  Composed.Note = note;
  return Composed.Drawn;
}

void SdlBackend::OverlayThroughRenderer(int width, int height, const SDL_Rect& target) {
  if (!ComposeOverlay(width, height)) return;
  if (!OverlayTexture || OverlayWidth != width || OverlayHeight != height) {
    if (OverlayTexture) SDL_DestroyTexture(OverlayTexture);
    OverlayUploaded = false;
    OverlayTexture = SDL_CreateTexture(Renderer, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STREAMING, width, height);
    if (!OverlayTexture) {
      std::fprintf(stderr, "SDL_CreateTexture (overlay): %s\n", SDL_GetError());
      OverlayWidth = OverlayHeight = 0;
      return;
    }
    SDL_SetTextureBlendMode(OverlayTexture, SDL_BLENDMODE_BLEND);
    SDL_SetTextureScaleMode(OverlayTexture, SDL_ScaleModeNearest);
    OverlayWidth = width;
    OverlayHeight = height;
  }
  if (!Composed.Again || !OverlayUploaded) {
    SDL_UpdateTexture(OverlayTexture, nullptr, OverlayPixels.data(),
                      width * static_cast<int>(sizeof(uint32_t)));
  }
  OverlayUploaded = true;
  SDL_RenderCopy(Renderer, OverlayTexture, nullptr, &target);
}

// The surface keeps the overlay blended into it, so the areas where this flip's overlay differs
// from the last one's (or where it went away) are repainted like the frame's own changes.
const std::vector<FrameRect>& SdlBackend::OverlayChanges(int width, int height) {
  static const std::vector<FrameRect> kNone;
  const bool shown = ComposeOverlay(width, height);
  if (!shown && !OverlayOnSurface) return kNone;
  // The very layer already blended into the surface.
  if (shown && OverlayOnSurface && Composed.Again) return kNone;
  if (!shown) OverlayPixels.assign(static_cast<size_t>(width) * height, 0);
  OverlayOnSurface = shown;
  return OverlayShown.Update(OverlayPixels.data(), width, height);
}

void SdlBackend::OverlayIntoSurface(uint8_t* pixels, int pitch, int surface_width,
                                    int surface_height, const FrameFit& fit,
                                    const FrameRect& area) {
  const OverlayPlacement where{fit.x, fit.y, fit.scale, surface_width, surface_height, pitch};
  const LayerArea part{area.x, area.y, area.x + area.width, area.y + area.height};
  BlendOverlayArea(OverlayPixels, FrameWidth, FrameHeight, part, pixels, where);
}

void SdlBackend::ShowAgain() {
  if (!Window || !LastPixels) return;
  if (Renderer) {
    PresentThroughRenderer(LastPixels, LastWidth, LastHeight);
  } else {
    PresentThroughSurface(LastPixels, LastWidth, LastHeight);
  }
  ShowNow();
}
