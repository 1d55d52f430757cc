#!/usr/bin/env python3
"""Helpers of scripts/tiled-level-check.sh: reading what Tiled exported, and level files
rewritten into the other forms a Tiled map may take (layer encodings, external tilesets,
objects typed by class) before Tiled itself writes them out again.

  tiled_level.py gids JSON BGFILE BLOCKFILE     the exported layers hold the map's styles
  tiled_level.py reencode IN OUT ENC [COMP]     every layer as ENC (csv, base64), COMP compressed
  tiled_level.py encoded FILE ENC [COMP]        every layer of FILE is ENC, COMP compressed
  tiled_level.py external IN OUT                the tilesets moved into .tsx files beside OUT
  tiled_level.py classed IN OUT X Y             objects typed by class, the player at X, Y
"""
import base64
import ctypes
import json
import os
import re
import sys
import zlib

CELLS = 75 * 54


def fail(message):
    sys.exit("tiled_level.py: " + message)


def check_gids(json_path, bg_path, block_path):
    with open(json_path) as f:
        layers = {layer["name"]: layer for layer in json.load(f)["layers"]}
    bg, blocks = open(bg_path, "rb").read(), open(block_path, "rb").read()
    want = {"backgrounds": [0 if b == 255 else 257 + b for b in bg],
            "blocks": [0 if b == 255 else 1 + b for b in blocks],
            "water": [0] * CELLS}
    for name, gids in want.items():
        if name not in layers:
            fail(json_path + " has no layer " + name)
        if layers[name]["data"] != gids:
            fail(json_path + ": layer " + name + " is not the map's styles")
    if not any(g for g in want["blocks"]):
        fail("the map has no blocks to compare")


def zstd_compress(data):
    lib = ctypes.CDLL("libzstd.so.1")
    lib.ZSTD_compressBound.restype = ctypes.c_size_t
    lib.ZSTD_compress.restype = ctypes.c_size_t
    lib.ZSTD_compress.argtypes = [ctypes.c_char_p, ctypes.c_size_t, ctypes.c_char_p,
                                  ctypes.c_size_t, ctypes.c_int]
    out = ctypes.create_string_buffer(lib.ZSTD_compressBound(ctypes.c_size_t(len(data))))
    size = lib.ZSTD_compress(out, len(out), data, len(data), 3)
    return out.raw[:size]


def encode(gids, encoding, compression):
    if encoding == "csv":
        return "\n" + ",".join(str(g) for g in gids) + "\n"
    raw = b"".join(g.to_bytes(4, "little") for g in gids)
    if compression == "zlib":
        raw = zlib.compress(raw)
    elif compression == "gzip":
        c = zlib.compressobj(9, zlib.DEFLATED, 16 + zlib.MAX_WBITS)
        raw = c.compress(raw) + c.flush()
    elif compression == "zstd":
        raw = zstd_compress(raw)
    return "\n   " + base64.b64encode(raw).decode() + "\n  "


DATA = re.compile(r'<data encoding="csv">([^<]*)</data>')


def reencode(src, dst, encoding, compression):
    text = open(src).read()

    def one(match):
        gids = [int(g) for g in match.group(1).replace("\n", "").split(",")]
        attributes = ' encoding="%s"' % encoding
        if compression:
            attributes += ' compression="%s"' % compression
        return "<data%s>%s</data>" % (attributes, encode(gids, encoding, compression))

    text, count = DATA.subn(one, text)
    if count != 3:
        fail(src + " has %d CSV layers, not 3" % count)
    open(dst, "w").write(text)


def check_encoded(path, encoding, compression):
    datas = re.findall(r"<data([^>]*)>", open(path).read())
    if len(datas) != 3:
        fail(path + " has %d layers, not 3" % len(datas))
    for attributes in datas:
        if ('encoding="%s"' % encoding) not in attributes:
            fail(path + ": Tiled wrote a layer as" + attributes)
        if compression and ('compression="%s"' % compression) not in attributes:
            fail(path + ": Tiled wrote a layer as" + attributes)


def external(src, dst):
    text = open(src).read()
    folder = os.path.dirname(dst)

    def one(match):
        first, name, body = match.group(1), match.group(2), match.group(3)
        with open(os.path.join(folder, name + ".tsx"), "w") as f:
            f.write('<?xml version="1.0" encoding="UTF-8"?>\n'
                    '<tileset version="1.8" tiledversion="1.8.2" name="%s"%s</tileset>\n'
                    % (name, body))
        return '<tileset firstgid="%s" source="%s.tsx"/>' % (first, name)

    text, count = re.subn(r'<tileset firstgid="(\d+)" name="(\w+)"(.*?)</tileset>', one, text,
                          flags=re.S)
    if count != 2:
        fail(src + " has %d tilesets, not 2" % count)
    open(dst, "w").write(text)


def classed(src, dst, x, y):
    text = open(src).read().replace(' type="', ' class="')
    text, count = re.subn(r'(class="player" )x="[^"]*" y="[^"]*"', r'\1x="%s" y="%s"' % (x, y),
                          text)
    if count != 1:
        fail(src + " has no player object")
    open(dst, "w").write(text)


def main(args):
    commands = {"gids": (check_gids, 3), "reencode": (reencode, 4), "encoded": (check_encoded, 3),
                "external": (external, 2), "classed": (classed, 4)}
    if not args or args[0] not in commands:
        fail("unknown command (see the top of this file)")
    command, wanted = commands[args[0]]
    given = args[1:] + [""] * (wanted - len(args[1:]))
    if len(given) != wanted:
        fail(args[0] + " takes %d arguments" % wanted)
    command(*given)


if __name__ == "__main__":
    main(sys.argv[1:])
