// The overlay drawn by the window over the presented picture: composed at the picture's own size
// (platform/render/overlay_compose.h) and laid over it at the same whole scale, after the back
// buffer went up, so its text is as crisp as the picture and the back buffer never sees it.
#include <cstdio>

#include "platform/render/overlay_compose.h"
#include "platform/sdl/sdl_backend.h"

void SdlBackend::OverlayThroughRenderer(int width, int height, const SDL_Rect& target) {
  if (!Overlay.Compose(width, height)) return;
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
  if (!Overlay.Again() || !OverlayUploaded) {
    SDL_UpdateTexture(OverlayTexture, nullptr, Overlay.Layer().data(),
                      width * static_cast<int>(sizeof(uint32_t)));
  }
  OverlayUploaded = true;
  SDL_RenderCopy(Renderer, OverlayTexture, nullptr, &target);
}

void SdlBackend::OverlayIntoSurface(uint8_t* pixels, int pitch, int surface_width,
                                    int surface_height, const FrameFit& fit,
                                    const FrameRect& area) {
  const OverlayPlacement where{fit.x, fit.y, fit.scale, surface_width, surface_height, pitch};
  const LayerArea part{area.x, area.y, area.x + area.width, area.y + area.height};
  BlendOverlayArea(Overlay.Layer(), FrameWidth, FrameHeight, part, pixels, where);
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
