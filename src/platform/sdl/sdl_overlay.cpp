// The overlay drawn by the window over the presented picture: composed at the picture's own size
// (platform/render/overlay_compose.h) and laid over it at the same whole scale, after the back
// buffer went up, so its text is as crisp as the picture and the back buffer never sees it.
#include <cstdio>

#include "platform/render/overlay_compose.h"
#include "platform/sdl/sdl_backend.h"

bool SdlBackend::ComposeOverlay(int width, int height) {
  const OverlayScene& scene = CurrentOverlayScene();
  const std::string& note = CurrentOverlayNote();
  if (scene.Empty() && note.empty()) return false;
  return ComposeOverlayLayer(scene, note, width, height, OverlayPixels);
}

void SdlBackend::OverlayThroughRenderer(int width, int height, const SDL_Rect& target) {
  if (!ComposeOverlay(width, height)) return;
  if (!OverlayTexture || OverlayWidth != width || OverlayHeight != height) {
    if (OverlayTexture) SDL_DestroyTexture(OverlayTexture);
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
  SDL_UpdateTexture(OverlayTexture, nullptr, OverlayPixels.data(),
                    width * static_cast<int>(sizeof(uint32_t)));
  SDL_RenderCopy(Renderer, OverlayTexture, nullptr, &target);
}

void SdlBackend::OverlayIntoSurface(uint8_t* pixels, int pitch, int surface_width,
                                    int surface_height, const FrameFit& fit, int width,
                                    int height) {
  if (!ComposeOverlay(width, height)) return;
  const OverlayPlacement where{fit.x, fit.y, fit.scale, surface_width, surface_height, pitch};
  BlendOverlayLayer(OverlayPixels, width, height, pixels, where);
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
