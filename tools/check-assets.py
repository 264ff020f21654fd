#!/usr/bin/python3
"""Checks the asset pack under resources/ for the forms the game and its readers rely on.

Faces and backs are baseline JFIF pictures in true colour without EXIF data or a colour profile:
75 pixels square for the numbers (101-140), 90 for the other face sets, 100 for the backs; no two
faces of a set are the same picture. Each face and back is there also at two and three times its
side ("101@2x.jpg", "101@3x.jpg"), in the same form, and the resource list names them. The sounds are 22050 Hz WAV files: 16-bit mono PCM for the
turn (6017 frames) and the pair (2292), stereo Microsoft ADPCM for the fanfare (58624 frames,
1024-byte blocks, its "fact" chunk before "fmt "). The background tile is a GIF87a of 80 x 79
with a full palette of greys, and so are its copies at 160 x 158 and 240 x 237. Every file that
lotaro.qrc names exists.

tools/make-assets.sh runs it on what the generator made; run it alone with /usr/bin/python3
tools/check-assets.py [resources-directory]. It needs python3-pil and prints one line per fault.
"""
import os
import re
import struct
import sys
import wave

from PIL import Image

ROOT = os.path.abspath(sys.argv[1] if len(sys.argv) > 1
                       else os.path.join(os.path.dirname(__file__), "..", "resources"))
faults = []
FACTORS = (1, 2, 3)


def at_factor(name, factor):
    stem, ext = os.path.splitext(name)
    return name if factor == 1 else "%s@%dx%s" % (stem, factor, ext)


def fault(path, what):
    faults.append("%s: %s" % (os.path.relpath(path, ROOT), what))


def jpeg_markers(data):
    """The markers before the scan, with their bodies."""
    markers, pos = [], 2
    while pos + 4 <= len(data) and data[pos] == 0xFF:
        marker = data[pos + 1]
        length = struct.unpack(">H", data[pos + 2:pos + 4])[0]
        markers.append((marker, data[pos + 4:pos + 2 + length]))
        if marker == 0xDA:
            break
        pos += 2 + length
    return markers


def check_picture(path, side):
    with open(path, "rb") as f:
        data = f.read()
    if not data.startswith(b"\xFF\xD8"):
        return fault(path, "not a JPEG file")
    markers = jpeg_markers(data)
    kinds = {m for m, _ in markers}
    if not any(m == 0xE0 and body.startswith(b"JFIF\0") for m, body in markers):
        fault(path, "no JFIF header")
    if any(m == 0xE1 and body.startswith(b"Exif") for m, body in markers):
        fault(path, "carries EXIF data")
    if any(m == 0xE2 and body.startswith(b"ICC_PROFILE") for m, body in markers):
        fault(path, "carries a colour profile")
    if 0xC0 not in kinds or kinds & {0xC1, 0xC2, 0xC3}:
        fault(path, "not a baseline JPEG")
    with Image.open(path) as image:
        if image.mode != "RGB" or image.size != (side, side):
            fault(path, "%s %dx%d, not RGB %dx%d" % (image.mode, *image.size, side, side))
    return data


def check_pictures():
    for factor in FACTORS:
        for number in range(1, 7):
            path = os.path.join(ROOT, "rub", at_factor("%d.jpg" % number, factor))
            if not os.path.exists(path):
                fault(path, "missing")
                continue
            check_picture(path, 100 * factor)
        for face_set in range(5):
            seen = {}
            for n in range(1, 41):
                path = os.path.join(ROOT, "custom",
                                    at_factor("%d.jpg" % (100 + 40 * face_set + n), factor))
                if not os.path.exists(path):
                    fault(path, "missing")
                    continue
                data = check_picture(path, (75 if face_set == 0 else 90) * factor)
                if data in seen:
                    fault(path, "the same picture as %s" % seen[data])
                seen.setdefault(data, os.path.basename(path))


def riff_chunks(data):
    chunks, pos = [], 12
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        chunks.append((cid, data[pos + 8:pos + 8 + size]))
        pos += 8 + size + (size & 1)
    return chunks


def check_sounds():
    for number, frames in [(1, 6017), (2, 2292)]:
        path = os.path.join(ROOT, "zvuky", "%d.wav" % number)
        try:
            with wave.open(path) as w:
                form = (w.getnchannels(), w.getsampwidth(), w.getframerate(), w.getnframes())
        except (wave.Error, EOFError, OSError) as e:
            fault(path, "not a PCM WAV file (%s)" % e)
            continue
        if form != (1, 2, 22050, frames):
            fault(path, "channels, bytes, rate, frames %s, not %s" % (form, (1, 2, 22050, frames)))
    path = os.path.join(ROOT, "zvuky", "3.wav")
    with open(path, "rb") as f:
        data = f.read()
    if data[:4] != b"RIFF" or data[8:12] != b"WAVE":
        return fault(path, "not a WAV file")
    chunks = riff_chunks(data)
    if [cid for cid, _ in chunks[:3]] != [b"fact", b"fmt ", b"data"]:
        fault(path, "chunks %s, not fact, fmt, data" % [cid for cid, _ in chunks])
    body = dict(chunks)
    fmt = struct.unpack("<HHIIHH", body.get(b"fmt ", b"\0" * 16)[:16])
    form = (fmt[0], fmt[1], fmt[2], fmt[4], fmt[5])
    if form != (2, 2, 22050, 1024, 4):
        fault(path, "format, channels, rate, block, bits %s, not ADPCM 2, 22050, 1024, 4" % (form,))
    if struct.unpack("<I", body.get(b"fact", b"\0" * 4)[:4])[0] != 58624:
        fault(path, "not 58624 frames long")


def check_tile():
    for factor in FACTORS:
        path = os.path.join(ROOT, "pozadi", at_factor("pozadi.gif", factor))
        if not os.path.exists(path):
            fault(path, "missing")
            continue
        with open(path, "rb") as f:
            data = f.read()
        with Image.open(path) as image:
            size = image.size
        # The global colour table: the flags say it is there with 256 entries; each entry is a
        # grey.
        table = data[13:13 + 768] if len(data) > 10 and data[10] & 0x87 == 0x87 else b""
        greys = len(table) == 768 and all(table[i] == table[i + 1] == table[i + 2]
                                          for i in range(0, 768, 3))
        if data[:6] != b"GIF87a" or size != (80 * factor, 79 * factor) or not greys:
            fault(path, "not a GIF87a of %d x %d with 256 greys" % (80 * factor, 79 * factor))


def check_resource_list():
    with open(os.path.join(ROOT, "lotaro.qrc")) as f:
        listed = re.findall(r"<file alias=\"([^\"]+)\">([^<]+)</file>", f.read())
    for alias, name in listed:
        if not os.path.isfile(os.path.join(ROOT, name)):
            fault(os.path.join(ROOT, name), "named in lotaro.qrc but missing")
        elif os.path.basename(name) != alias:
            fault(os.path.join(ROOT, name), "listed in lotaro.qrc as %s" % alias)
    # The game reads the larger pictures from the executable only: each must be built in.
    names = {name for _, name in listed}
    for folder in ("custom", "rub", "pozadi"):
        for picture in sorted(os.listdir(os.path.join(ROOT, folder))):
            if "%s/%s" % (folder, picture) not in names:
                fault(os.path.join(ROOT, folder, picture), "not listed in lotaro.qrc")


if __name__ == "__main__":
    for check in [check_pictures, check_sounds, check_tile, check_resource_list]:
        check()
    for line in faults:
        print(line)
    print("asset pack: %d fault%s" % (len(faults), "" if len(faults) == 1 else "s"))
    sys.exit(1 if faults else 0)
