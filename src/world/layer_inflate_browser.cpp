// The web page's inflater: the browser inflates (DecompressionStream) only as a promise, so
// the page inflates a level file's compressed layers as it takes the file in, before the game
// reads it (src/platform/web/page_levels.js), and the reader looks each stream up here.
#include <emscripten.h>

#include "world/layer_inflate.h"
#include "world/level_file.h"

namespace {

// What the page made of a stream (results as the page's inflatedLayer says).
enum PageInflation : int { kDamaged = -1, kNotInflated = -2, kNoZstd = -3 };

EM_JS(int, PageInflatedLayer,
      (const char* compression, const uint8_t* stream, int length, uint8_t* out, int capacity), {
        return RavelonLevels.inflatedLayer(UTF8ToString(compression),
                                           HEAPU8.subarray(stream, stream + length),
                                           HEAPU8.subarray(out, out + capacity));
      });

}  // namespace

bool InflateLayer(const std::vector<uint8_t>& in, std::string_view compression,
                  std::vector<uint8_t>& out, std::string& why) {
  const std::string wrapper(compression);
  out.assign(kLevelLayerBytes + 1, 0);
  const int produced = PageInflatedLayer(wrapper.c_str(), in.data(), static_cast<int>(in.size()),
                                         out.data(), static_cast<int>(out.size()));
  if (produced < 0) {
    out.clear();
    why = produced == kNoZstd ? "the page does not read zstd layers, as this browser cannot "
                                "inflate them (Tiled saves layers as zlib, gzip or CSV too)"
          : produced == kNotInflated
              ? "its compressed data was not inflated as the page took the file in"
              : "its compressed data is damaged or cut short";
    return false;
  }
  out.resize(static_cast<size_t>(produced));
  if (out.size() > kLevelLayerBytes) {
    why = "its compressed data inflates past " + std::to_string(kLevelLayerBytes) + " bytes";
    return false;
  }
  return true;
}
