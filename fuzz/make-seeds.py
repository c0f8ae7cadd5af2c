#!/usr/bin/env python3
"""Writes the seed corpora under fuzz/corpus/ from the sample library and a few hand-made inputs.
Run again after changing an input format; the files it writes are committed."""
import glob
import gzip
import os
import shutil

root = os.path.dirname(os.path.abspath(__file__))
corpus = os.path.join(root, "corpus")
library = sorted(glob.glob(os.path.join(root, "..", "examples", "Poser4", "Runtime", "Libraries",
                                        "*", "*", "*.??2")))
library = [open(p, "rb").read() for p in library]
small = [f for f in library if len(f) < 2000]

settings = (b"[Colors]\r\nBackColor=15136253\r\nShadowColor=16744576\r\nTextColor=0\r\n"
            b"[Folder]\r\nRuntime=C:\\Poser4\\Runtime\r\nLastFolder=C:\\Poser4\\Runtime\\\r\n"
            b"StartInLastFolder=True\r\n[AVSettings]\r\nMoveFile=True\r\n")


def write(target, name, data):
    os.makedirs(os.path.join(corpus, target), exist_ok=True)
    with open(os.path.join(corpus, target, name), "wb") as f:
        f.write(data)


def gz(data, level=6):
    return gzip.compress(data, compresslevel=level, mtime=0)


shutil.rmtree(corpus, ignore_errors=True)

for i, f in enumerate(small):
    write("fuzz_lines", f"library{i}", f)
    write("fuzz_check_parser", f"library{i}", bytes([i]) + f)
    write("fuzz_reference_reader", f"library{i}", bytes([i % 3]) + f)
write("fuzz_lines", "ends", b"a\r\nb\nc\rd\r\n\r\ne\r\r\n\n\r")
write("fuzz_check_parser", "figure", b"\x07" + library[0])
write("fuzz_check_parser", "quoted", b"\x01figureResFile \"C:\\My Runtime\\a.obj\"\r\n"
      b"  objFileGeom 0 0 :Runtime:b.obj\rtextureMap NO_MAP\n\ttextureMap \"\"\r\n"
      b"objFile 3 \"c.obj\"\nreadScript _NONE_\nfile x.pz2")
write("fuzz_reference_reader", "figure", b"\x00" + library[0])

write("fuzz_check_gzip", "here", bytes([1 | (6 << 1)]) + small[0])
write("fuzz_check_gzip", "here-two-members", bytes([1 | (9 << 1) | 32]) + small[1])
write("fuzz_check_gzip", "file", b"\x00" + gz(small[2]))
write("fuzz_check_gzip", "file-two-members", b"\x00" + gz(small[3]) + gz(small[4], 1))
write("fuzz_check_gzip", "file-cut-short", b"\x00" + gz(small[5])[:-12])
write("fuzz_check_gzip", "not-gzip", b"\x00" + small[6][:200])

write("fuzz_profile", "settings", b"Folder\0Runtime\0C:\\Poser4\\Runtime\0" + settings)
write("fuzz_profile", "new-key", b"Colors\0OtherFileColor\0 8421504 \0" + settings)
write("fuzz_profile", "new-section", b"Window\0Left\0\"120\"\0" + settings)
write("fuzz_profile", "bom-lf", b"folder\0runtime\0x\0\xef\xbb\xbf" + settings.replace(b"\r\n", b"\n"))
write("fuzz_profile", "no-last-end", b"A\0k\0v\0[A]\r\nk = old\r\n[B]\rk=b\r[A]\nk=later")
write("fuzz_profile", "empty", b"S\0K\0V\0")

write("fuzz_replace_plan", "any", b"\0:Runtime:Textures:skin.jpg\0\":Runtime:Textures:Skin.jpg\"\0"
      + small[0])
write("fuzz_replace_plan", "any-quoted", b"\0skin.jpg\0\":Runtime:Textures:New.jpg\"\0"
      b"textureMap \"C:\\Runtime\\skin.jpg\"\r\nmap skin.jpg\r\nx \"a\\skin.jpg\" y\nmega.jpg skin.jpg.bak")
write("fuzz_replace_plan", "reversible", b"\x01:Runtime:Old.jpg\0\":Runtime:New.jpg\"\0"
      b"\x01\ttexture\0\x05\t\0\x02\tname\0\x00{\0\x03x\0\x09\tobj\0\x0d\t\0")

for i, path in enumerate([b"C:\\Runtime\\Textures\\Skin.jpg", b"c:\\RUNTIME\\textures\\SKIN.JPG",
                          b"D:\\Props\\Ball.obj", b"C:\\d\\props\\ball.OBJ", b"C:\\a b\\x.y\\",
                          b"C:\\Runtime\\.\\Textures\\\\Sub", b"C:\\..\\c\\file", b"Z:\\tmp",
                          b"C:", b"c:\\no\\such\\Name"]):
    for lookup in range(3):
        write("fuzz_drive_map", f"windows{i}-{lookup}", bytes([1 | (lookup << 1)]) + path)
for i, path in enumerate([b"c/Runtime/Textures/skin.JPG", b"c/d/Props/", b"c//a b/x.y",
                          b"c/Runtime/../file", b"c/back\\slash"]):
    write("fuzz_drive_map", f"host{i}", b"\x02" + path)
write("fuzz_drive_map", "host-root", b"\x00/usr/share")
