// Placeholder bodies, replaced as the drawing layer and the decoders land.
#include "platform/bmp.h"
#include "platform/draw.h"
#include "platform/font.h"
#include "platform/image.h"
#include "platform/pixmap.h"

namespace {
uint32_t Pixels[kBackBufferWidth * kBackBufferHeight];
DrawState State;
}  // namespace

uint32_t* BackBuffer() { return Pixels; }
const DrawState& CurrentDrawState() { return State; }
void ResetDrawState() { State = DrawState{}; }
void SetColor(int, int, int) {}
void SetAlpha(float) {}
void SetBlend(int) {}
void SetClsColor(int, int, int) {}
void SetDrawScale(float, float) {}
void SetDrawOrigin(float, float) {}
void SetViewport(int, int, int, int) {}
void DrawImageFrame(const TImage*, float, float, int) {}
void DrawRect(float, float, float, float) {}
void DrawTextAt(const std::string&, float, float) {}
void DrawPixmap(const TPixmap*, int, int) {}
const uint8_t* GlyphRows(int) { return nullptr; }
void SetLoadMaskColor(int, int, int) {}
std::shared_ptr<TImage> TImage::Load(const std::string&, int) { return nullptr; }
std::shared_ptr<TImage> TImage::LoadAnim(const std::string&, int, int, int, int, int) {
  return nullptr;
}
std::optional<DecodedBitmap> DecodeBmp(const uint8_t*, size_t) { return std::nullopt; }
std::optional<DecodedBitmap> LoadBmpFile(const std::string&) { return std::nullopt; }
std::vector<uint8_t> EncodeBmp24(int, int, const uint32_t*) { return {}; }
bool WriteBmp24(const std::string&, int, int, const uint32_t*) { return false; }
int PixmapBytesPerPixel(int) { return 4; }
std::shared_ptr<TPixmap> TPixmap::Create(int, int, int, int) { return nullptr; }
uint32_t TPixmap::ReadPixel(int, int) const { return 0; }
void TPixmap::WritePixel(int, int, uint32_t) {}
std::shared_ptr<TPixmap> LoadPixmapFile(const std::string&) { return nullptr; }
