// libFuzzer target: the input is a bitmap file on disk, loaded as a whole image and cut into
// cells of the sizes the game uses (and a few awkward ones), with and without the mask.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/render/image.h"

namespace {

// Made on first use: the scratch folder silences the console, which must exist by then.
const std::string& File() {
  static const std::string path = fuzz::ScratchPath("fuzz_image.bmp");
  return path;
}

void CheckFrames(const TImage& image, int width, int height) {
  for (const ImageFrame& frame : image.frames)
    fuzz::Check(frame.argb.size() == static_cast<size_t>(width) * height, "frame of the cell size");
}

void CutCells(int cell_width, int cell_height, int sheet_width, int sheet_height) {
  const int64_t available = int64_t{sheet_width / cell_width} * (sheet_height / cell_height);
  // A few cells are enough to reach every corner of the cutting; thousands would only be slow.
  const int count = static_cast<int>(std::min<int64_t>(available, 40));
  for (int flags : {0, kImageMasked | kImageFiltered}) {
    if (count > 0) {
      auto image = TImage::LoadAnim(File(), cell_width, cell_height, 0, count, flags);
      fuzz::Check(image && image->FrameCount() == count, "the cells the sheet holds are cut");
      CheckFrames(*image, cell_width, cell_height);
      if (available > count) {
        auto last =
            TImage::LoadAnim(File(), cell_width, cell_height,
                             static_cast<int>(std::min<int64_t>(available - 1, 1 << 30)), 1, flags);
        fuzz::Check(last && last->FrameCount() == 1, "the last cell is cut");
      }
    }
    // Asking for one cell more than the sheet holds is refused, not read past the sheet.
    if (available < (int64_t{1} << 30)) {
      auto too_many =
          TImage::LoadAnim(File(), cell_width, cell_height, static_cast<int>(available), 1, flags);
      fuzz::Check(!too_many, "a cell past the sheet is refused");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::WriteBytes(File(), data, size);
  SetLoadMaskColor(122, 201, 255);
  auto whole = TImage::Load(File(), kImageMasked);
  auto plain = TImage::Load(File(), 0);
  fuzz::Check(static_cast<bool>(whole) == static_cast<bool>(plain), "the mask does not decide");
  if (!whole) {
    fuzz::Check(!TImage::LoadAnim(File(), 16, 16, 0, 1, kImageMasked), "no cells of a bad file");
    return 0;
  }
  fuzz::Check(whole->FrameCount() == 1, "a whole image is one frame");
  CheckFrames(*whole, whole->width, whole->height);
  for (const auto& cell : {std::pair{16, 16}, std::pair{16, 24}, std::pair{1, 1}, std::pair{7, 3},
                           std::pair{whole->width, whole->height}})
    CutCells(cell.first, cell.second, whole->width, whole->height);
  fuzz::Check(!TImage::LoadAnim(File(), 0, 16, 0, 1, 0), "a zero cell size is refused");
  fuzz::Check(!TImage::LoadAnim(File(), 16, 16, -1, 1, 0), "a negative first cell is refused");
  return 0;
}
