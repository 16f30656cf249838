#!/usr/bin/env python3
"""Writes, for every picture named, a valid freedesktop thumbnail in the
cache's large/ folder that is far larger than that folder's 256 pixels
(4096 px by default), as a careless or hostile program might:

    bench/oversized-thumbnails.py THUMBNAILS-DIR [--side 4096] FILE...

Then `MIRELO_BENCH_THUMBNAILS=THUMBNAILS-DIR mirelo-bench previews FILE...`
shows the peak memory of reading them."""
import hashlib, os, struct, sys, urllib.parse, zlib

def chunk(kind, body):
    return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body) & 0xffffffff)

def main():
    args = sys.argv[1:]
    root = args.pop(0)
    side = 4096
    if args and args[0] == "--side":
        side = int(args[1]); args = args[2:]
    height = side * 2 // 3
    row = b"\0" + bytes([30, 60, 200]) * side
    pixels = zlib.compress(row * height, 6)
    folder = os.path.join(root, "large")
    os.makedirs(folder, mode=0o700, exist_ok=True)
    for path in args:
        path = os.path.abspath(path)
        uri = "file://" + urllib.parse.quote(os.fsencode(path), safe="/!$&'()*+,-.:=@_~")
        info = os.stat(path)
        texts = b"".join(chunk(b"tEXt", key + b"\0" + value.encode()) for key, value in
                         ((b"Thumb::URI", uri), (b"Thumb::MTime", str(int(info.st_mtime))), (b"Thumb::Size", str(info.st_size))))
        png = (b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", side, height, 8, 2, 0, 0, 0)) + texts +
               chunk(b"IDAT", pixels) + chunk(b"IEND", b""))
        with open(os.path.join(folder, hashlib.md5(uri.encode()).hexdigest() + ".png"), "wb") as out:
            out.write(png)

main()
