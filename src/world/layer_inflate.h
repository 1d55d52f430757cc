// Inflating a layer's compressed data, the build's own way: the desktop links zlib and zstd
// (world/layer_inflate_zlib.cpp); the web page's browser inflates a file's layers as the page
// takes the file in, and the game looks its results up (world/layer_inflate_browser.cpp).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// `in` (a layer's data, base64 decoded) inflated as `compression` says ("zlib", "gzip" or
// "zstd") into `out`, never past kLevelLayerBytes. False with `why` (one line) on a stream
// that is damaged, cut short, or inflates past a layer's length.
bool InflateLayer(const std::vector<uint8_t>& in, std::string_view compression,
                  std::vector<uint8_t>& out, std::string& why);
