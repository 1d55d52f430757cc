// The desktop's inflaters for compressed layer data: zlib's for zlib and gzip streams, zstd's
// own for zstd. Each stops one byte past the length a 75x54 layer needs.
#include <zlib.h>
#include <zstd.h>

#include <memory>

#include "world/layer_inflate.h"
#include "world/level_file.h"

namespace {

// zlib and gzip through zlib's inflater; `window_bits` tells which wrapper it expects.
bool Inflate(const std::vector<uint8_t>& in, int window_bits, std::vector<uint8_t>& out,
             std::string& why) {
  z_stream stream{};
  if (inflateInit2(&stream, window_bits) != Z_OK) {
    why = "the inflater could not start";
    return false;
  }
  out.assign(kLevelLayerBytes + 1, 0);
  stream.next_in = const_cast<Bytef*>(in.data());
  stream.avail_in = static_cast<uInt>(in.size());
  stream.next_out = out.data();
  stream.avail_out = static_cast<uInt>(out.size());
  const int result = inflate(&stream, Z_FINISH);
  const size_t produced = out.size() - stream.avail_out;
  inflateEnd(&stream);
  out.resize(produced);
  if (produced > kLevelLayerBytes) {
    why = "its compressed data inflates past " + std::to_string(kLevelLayerBytes) + " bytes";
    return false;
  }
  if (result != Z_STREAM_END) {
    why = "its compressed data is damaged or cut short";
    return false;
  }
  return true;
}

bool Unzstd(const std::vector<uint8_t>& in, std::vector<uint8_t>& out, std::string& why) {
  std::unique_ptr<ZSTD_DStream, size_t (*)(ZSTD_DStream*)> stream(ZSTD_createDStream(),
                                                                  ZSTD_freeDStream);
  if (!stream || ZSTD_isError(ZSTD_initDStream(stream.get()))) {
    why = "the zstd decoder could not start";
    return false;
  }
  out.assign(kLevelLayerBytes + 1, 0);
  ZSTD_inBuffer input{in.data(), in.size(), 0};
  ZSTD_outBuffer output{out.data(), out.size(), 0};
  size_t left = 1;
  while (input.pos < input.size && output.pos < output.size) {
    left = ZSTD_decompressStream(stream.get(), &output, &input);
    if (ZSTD_isError(left)) {
      why = "its zstd data is damaged";
      return false;
    }
    if (left == 0) break;
  }
  out.resize(output.pos);
  if (output.pos > kLevelLayerBytes) {
    why = "its compressed data inflates past " + std::to_string(kLevelLayerBytes) + " bytes";
    return false;
  }
  if (left != 0) {
    why = "its zstd data is cut short";
    return false;
  }
  return true;
}

}  // namespace

bool InflateLayer(const std::vector<uint8_t>& in, std::string_view compression,
                  std::vector<uint8_t>& out, std::string& why) {
  if (compression == "zstd") return Unzstd(in, out, why);
  return Inflate(in, compression == "gzip" ? 16 + MAX_WBITS : MAX_WBITS, out, why);
}
