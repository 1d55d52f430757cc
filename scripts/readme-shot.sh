#!/usr/bin/env bash
# Makes the picture at the top of the README, docs/ravelon.png: the default level as the game
# shows it a few seconds after start-up, taken with the headless runner's --shot and converted
# to PNG. Run it again after the art or the default level changes.
#   bash scripts/readme-shot.sh [BUILD_DIR]   (default: build; built first if needed)
set -euo pipefail
cd "$(dirname "$0")/.."
build_dir="${1:-build}"
frames=180  # three seconds: the cameras have eased onto the player and the bad guy

[ -x "$build_dir/ravelon-sim" ] || bash scripts/setup.sh "$build_dir"
cmake --build "$build_dir" --target ravelon-sim ravelon_art >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The play folder's files, the default level included, as scripts/play.sh lays them out.
source scripts/play-folder.sh
lay_out_play_folder "$build_dir/art" "$work" --level-always --no-sounds
"$build_dir/ravelon-sim" --dir "$work" --frames "$frames" --shot "$work/shot.bmp" >/dev/null

mkdir -p docs
# The runner writes an uncompressed 24-bit BMP; Python's standard library is enough for the PNG.
python3 - "$work/shot.bmp" docs/ravelon.png <<'PY'
import struct, sys, zlib

data = open(sys.argv[1], "rb").read()
if data[:2] != b"BM":
    sys.exit("readme-shot: the runner's shot is not a BMP")
offset, = struct.unpack_from("<I", data, 10)
width, height, _, bits = struct.unpack_from("<iiHH", data, 18)
if bits != 24 or width <= 0 or height == 0:
    sys.exit("readme-shot: expected an uncompressed 24-bit BMP")
stride = (width * 3 + 3) // 4 * 4
rows = []
for y in range(abs(height)):
    source = y if height < 0 else abs(height) - 1 - y  # positive heights are stored bottom-up
    row = data[offset + source * stride: offset + source * stride + width * 3]
    rgb = bytearray(row)
    rgb[0::3], rgb[2::3] = row[2::3], row[0::3]  # BGR to RGB
    rows.append(b"\0" + bytes(rgb))  # filter type 0 on every row

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

png = b"\x89PNG\r\n\x1a\n"
png += chunk(b"IHDR", struct.pack(">IIBBBBB", width, abs(height), 8, 2, 0, 0, 0))
png += chunk(b"IDAT", zlib.compress(b"".join(rows), 9))
png += chunk(b"IEND", b"")
open(sys.argv[2], "wb").write(png)
PY
echo "docs/ravelon.png written (${frames} frames on the default level)."
