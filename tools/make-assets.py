#!/usr/bin/python3
"""Generates the game's asset pack under resources/ from redistributable sources.

Run tools/make-assets.sh, which installs the source packages first. Every random choice uses a
fixed seed, so the same sources give the same files. The pack is committed; the normal build
needs none of the sources.
"""
import io
import math
import os
import random
import shutil
import struct
import subprocess
import sys
import tempfile
import wave

import numpy as np
from PIL import Image, ImageChops, ImageDraw, ImageEnhance, ImageFilter, ImageFont

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
OUT = os.path.join(ROOT, "resources")
SOURCES = os.path.join(ROOT, "tools", "asset-sources")
OPENCLIPART = "/usr/share/openclipart/svg"
COMIC = "/usr/share/fonts/opentype/comic-neue"
DEJAVU = "/usr/share/fonts/truetype/dejavu"

credits = []  # (asset, source, author, licence)


def credit(asset, source, author, licence):
    credits.append((asset, source, author, licence))


def save_jpeg(image, path):
    """Baseline JFIF, sRGB, three components, no EXIF and no colour profile."""
    image = image.convert("RGB")
    image.info.pop("icc_profile", None)
    image.info.pop("exif", None)
    os.makedirs(os.path.dirname(path), exist_ok=True)
    image.save(path, "JPEG", quality=88, optimize=True, progressive=False, subsampling=0)


# Beside each face, back and the tile, the same picture at two and three times its size, for cards
# and windows drawn with more device pixels than the picture has ("101@2x.jpg", "101@3x.jpg").
LARGER = (2, 3)


def at_factor(name, factor):
    stem, ext = os.path.splitext(name)
    return name if factor == 1 else "%s@%dx%s" % (stem, factor, ext)


def face_path(face_set, n, factor=1):
    return os.path.join(OUT, "custom", at_factor("%d.jpg" % (100 + 40 * face_set + n), factor))


def with_larger(name):
    return ", ".join(at_factor(name, f) for f in (1,) + LARGER)


def to_srgb(image):
    """Converts an embedded colour profile to sRGB before it is stripped."""
    icc = image.info.get("icc_profile")
    if icc:
        from PIL import ImageCms
        src = ImageCms.ImageCmsProfile(io.BytesIO(icc))
        dst = ImageCms.createProfile("sRGB")
        image = ImageCms.profileToProfile(image.convert("RGB"), src, dst, outputMode="RGB")
    return image.convert("RGB")


# --- face set 0: the numbers 1 to 40, black on yellow, 75 x 75 --------------------------------
def make_digits():
    for factor in (1,) + LARGER:
        side = 75 * factor
        font = ImageFont.truetype(os.path.join(COMIC, "ComicNeue-Bold.otf"), 46 * factor)
        for n in range(1, 41):
            image = Image.new("RGB", (side, side), (255, 224, 32))
            draw = ImageDraw.Draw(image)
            draw.rectangle((0, 0, side - 1, side - 1), outline=(214, 170, 0), width=2 * factor)
            text = str(n)
            box = draw.textbbox((0, 0), text, font=font)
            x = (side - (box[2] - box[0])) / 2 - box[0]
            y = (side - (box[3] - box[1])) / 2 - box[1]
            draw.text((x, y), text, font=font, fill=(0, 0, 0))
            save_jpeg(image, face_path(0, n, factor))
    credit("custom/101-140.jpg, @2x, @3x (Číslice)", "drawn by tools/make-assets.py in Comic Neue Bold",
           "Lotaro developers; font by Craig Rozynski", "GPL-3.0-or-later; font OFL-1.1")


# --- face sets 1 to 3: clip-art on white, 90 x 90 ------------------------------------------------
def render_svg(path, size=480):
    with tempfile.NamedTemporaryFile(suffix=".png") as png:
        subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "--keep-aspect-ratio",
                        "-b", "white", "-o", png.name, path], check=True,
                       stderr=subprocess.DEVNULL)
        image = Image.open(png.name)
        image.load()
    return image.convert("RGB")


def trim_white(image):
    background = Image.new("RGB", image.size, (255, 255, 255))
    diff = ImageChops.difference(image, background).convert("L").point(lambda v: 255 if v > 12 else 0)
    box = diff.getbbox()
    return image.crop(box) if box else image


def fit_on_white(image, inner, outer):
    image = trim_white(image)
    scale = inner / max(image.size)
    size = (max(1, round(image.width * scale)), max(1, round(image.height * scale)))
    image = image.resize(size, Image.LANCZOS)
    canvas = Image.new("RGB", (outer, outer), (255, 255, 255))
    canvas.paste(image, ((outer - size[0]) // 2, (outer - size[1]) // 2))
    return canvas


def read_list(name):
    with open(os.path.join(SOURCES, name)) as f:
        return [line.strip() for line in f if line.strip() and not line.startswith("#")]


CLIPART_SETS = [(1, "clipart-set1-animals.txt", "Obrázky 1"),
                (2, "clipart-set2-food.txt", "Obrázky 2"),
                (3, "clipart-set3-things.txt", "Obrázky 3")]


PALE = {"animals/fish/seahorse.svg"}


def make_clipart():
    for face_set, listing, caption in CLIPART_SETS:
        files = read_list(listing)
        assert len(files) == 40, listing
        for n, rel in enumerate(files, start=1):
            # The larger faces are drawn from the vector source again, not enlarged.
            for factor, render_size in [(1, 480)] + [(f, 960) for f in LARGER]:
                image = render_svg(os.path.join(OPENCLIPART, rel), render_size)
                if rel in PALE:
                    # Too faint to tell apart at card size: more colour and contrast.
                    image = ImageEnhance.Contrast(ImageEnhance.Color(image).enhance(2.2)) \
                        .enhance(1.6)
                save_jpeg(fit_on_white(image, 80 * factor, 90 * factor),
                          face_path(face_set, n, factor))
            credit("%s (%s %d)" % (with_larger("custom/%d.jpg" % (100 + 40 * face_set + n)),
                                   caption, n),
                   "openclipart-svg: " + rel, "Open Clip Art Library contributors",
                   "public domain")


# --- face set 4: portraits, 90 x 90, copied as they are ----------------------------------------
# The crops were made and looked at once; their originals are not all reachable from a build
# machine, so the crops in tools/asset-sources/portraits/ are the input and stay byte for byte.
# The same crop boxes taken again at 270 x 270 (portraits-270/) are the @3x faces as they are,
# and, reduced, the @2x ones.
def source_name(source, path):
    kind, what = source.split(":", 1)
    if kind == "debian":
        return "%s: %s" % (what, path)
    assert kind == "github", source
    return "github.com/%s: %s" % (what, path)


def make_portraits():
    lines = read_list("portraits.txt")
    assert len(lines) == 40
    for n, line in enumerate(lines, start=1):
        number, source, path, licence, author, cx, cy, side = line.split("|")
        assert int(number) == n, line
        picture = os.path.join(SOURCES, "portraits", "%d.jpg" % n)
        with Image.open(picture) as image:
            assert image.format == "JPEG" and image.size == (90, 90) and image.mode == "RGB"
            # Baseline, no colour profile, no EXIF: what the other faces are too.
            assert not {"progressive", "progression", "icc_profile", "exif"} & image.info.keys(), \
                picture
        os.makedirs(os.path.dirname(face_path(4, n)), exist_ok=True)
        shutil.copyfile(picture, face_path(4, n))
        large = os.path.join(SOURCES, "portraits-270", "%d.jpg" % n)
        with Image.open(large) as image:
            assert image.format == "JPEG" and image.size == (270, 270) and image.mode == "RGB"
            assert not {"progressive", "progression", "icc_profile", "exif"} & image.info.keys(), \
                large
            save_jpeg(image.resize((180, 180), Image.LANCZOS), face_path(4, n, 2))
        shutil.copyfile(large, face_path(4, n, 3))
        credit("%s (Krásné ženy %d)" % (with_larger("custom/%d.jpg" % (260 + n)), n),
               "%s, square crop (tools/asset-sources/portraits/%d.jpg, and at 270 x 270 "
               "portraits-270/%d.jpg)" % (source_name(source, path), n, n), author, licence)


# --- card backs, 100 x 100 ------------------------------------------------------------------------
def periodic_noise(shape, sigma, rng):
    """Gaussian-smoothed white noise that wraps around at its edges (seamless when tiled)."""
    noise = rng.standard_normal(shape)
    fy = np.fft.fftfreq(shape[0])[:, None]
    fx = np.fft.fftfreq(shape[1])[None, :]
    kernel = np.exp(-2 * (math.pi * sigma) ** 2 * (fx ** 2 + fy ** 2))
    smooth = np.real(np.fft.ifft2(np.fft.fft2(noise) * kernel))
    return (smooth - smooth.mean()) / (smooth.std() + 1e-9)


def from_array(rgb):
    return Image.fromarray(np.clip(rgb, 0, 255).astype(np.uint8), "RGB")


def back_wood(rng):
    size = 400
    y, x = np.mgrid[0:size, 0:size].astype(float)
    grain = periodic_noise((size, size), 3, rng)
    long_grain = periodic_noise((size // 8, size), 2, rng).repeat(8, axis=0)
    # Rings of a log cut lengthwise: distance from an axis far to the left, bent by noise.
    distance = np.hypot((x + 500) * 0.22, (y - 230) * 1.5) + 14 * grain
    rings = 0.5 + 0.5 * np.sin(distance / 4.5)
    rings = rings ** 4
    tone = 0.8 - 0.45 * rings + 0.06 * long_grain + 0.04 * grain
    base = np.array([176, 112, 60], float)
    dark = np.array([98, 52, 22], float)
    rgb = dark + (base - dark) * np.clip(tone, 0, 1.2)[..., None]
    return from_array(rgb)


def square_crop(path, cx, cy, side):
    image = to_srgb(Image.open(path))
    s = side * min(image.size)
    x, y = cx * image.width - s / 2, cy * image.height - s / 2
    x = min(max(0, x), image.width - s)
    y = min(max(0, y), image.height - s)
    return image.crop((round(x), round(y), round(x + s), round(y + s)))


def back_leaves(rng):
    path = "/usr/share/backgrounds/Dragonfly_by_Bolly.jpg"
    credit(with_larger("rub/2.jpg") + " (Listí)", "lomiri-wallpapers-16.04: " + path + ", square crop",
           '"Bolly"', "CC-BY-SA-4.0")
    image = square_crop(path, 0.40, 0.70, 0.45)
    return ImageEnhance.Color(image).enhance(1.15)


NEWS_TEXT = (
    "Včera odpoledne se v Praze konalo setkání milovníků deskových her. Pořadatelé "
    "připravili desítky stolů a turnaj v pexesu, který trval až do pozdních večerních "
    "hodin. Vítězka si odnesla pohár a sadu ručně malovaných kartiček. Počasí bude "
    "zítra proměnlivé, na horách sněžení, v nížinách mlhy. Obec Lhota opravila most přes "
    "potok a na jaře vysadí novou alej lip. Knihovna rozšiřuje otevírací dobu o sobotní "
    "dopoledne a zve děti na čtení pohádek. ")


def back_newspaper(rng):
    scale = 4
    size = 100 * scale
    paper = np.array([232, 228, 214], float) + 6 * periodic_noise((size, size), 2, rng)[..., None]
    image = from_array(paper)
    draw = ImageDraw.Draw(image)
    head = ImageFont.truetype(os.path.join(DEJAVU, "DejaVuSerif-Bold.ttf"), 15 * scale)
    body = ImageFont.truetype(os.path.join(DEJAVU, "DejaVuSerif.ttf"), 4 * scale)
    ink = (38, 36, 34)
    draw.text((4 * scale, 1 * scale), "Večerník", font=head, fill=ink)
    draw.line((3 * scale, 20 * scale, 97 * scale, 20 * scale), fill=ink, width=scale)
    # Three columns of running text, a grey picture in the middle column.
    words = (NEWS_TEXT * 8).split()
    columns = [(3, 33), (35, 65), (67, 97)]
    w = 0
    for ci, (left, right) in enumerate(columns):
        y = 23
        while y < 97:
            if ci == 1 and 40 <= y < 66:
                draw.rectangle((left * scale, 40 * scale, right * scale, 64 * scale),
                               fill=(150, 148, 140))
                y = 66
                continue
            line = ""
            while True:
                candidate = (line + " " + words[w % len(words)]).strip()
                if draw.textlength(candidate, font=body) > (right - left) * scale:
                    break
                line = candidate
                w += 1
            draw.text((left * scale, y * scale), line, font=body, fill=ink)
            y += 5
    return image


def shaded_ball(draw, cx, cy, r, colour, highlight):
    """A ball lit from the top left, drawn as rings from dark rim to bright centre."""
    steps = max(4, int(r))
    for i in range(steps, 0, -1):
        t = i / steps
        shade = [int(c * (0.55 + 0.45 * (1 - t))) for c in colour]
        ox, oy = (1 - t) * -r * 0.35, (1 - t) * -r * 0.35
        rr = r * t
        draw.ellipse((cx + ox - rr, cy + oy - rr, cx + ox + rr, cy + oy + rr), fill=tuple(shade))
    hr = r * 0.22
    draw.ellipse((cx - r * 0.4 - hr, cy - r * 0.4 - hr, cx - r * 0.4 + hr, cy - r * 0.4 + hr),
                 fill=highlight)


def back_forest_fruits(rng):
    size = 400
    bed = np.array([34, 62, 30], float) + 22 * periodic_noise((size, size), 6, rng)[..., None] * \
        np.array([0.6, 1.0, 0.5])
    image = from_array(bed)
    draw = ImageDraw.Draw(image)
    pyr = random.Random(4)
    # Leaves first, fruit on top.
    for _ in range(14):
        cx, cy = pyr.uniform(0, size), pyr.uniform(0, size)
        length, angle = pyr.uniform(60, 110), pyr.uniform(0, math.pi)
        dx, dy = math.cos(angle) * length / 2, math.sin(angle) * length / 2
        nx, ny = -dy * 0.38, dx * 0.38
        g = pyr.randint(80, 130)
        draw.polygon([(cx - dx, cy - dy), (cx + nx, cy + ny), (cx + dx, cy + dy),
                      (cx - nx, cy - ny)], fill=(30, g, 36))
        draw.line((cx - dx, cy - dy, cx + dx, cy + dy), fill=(60, g + 40, 60), width=2)
    for _ in range(20):  # raspberries: clusters of small red drupelets
        cx, cy = pyr.uniform(10, size - 10), pyr.uniform(10, size - 10)
        for k in range(12):
            a = k / 12 * 2 * math.pi + pyr.uniform(-0.2, 0.2)
            d = pyr.uniform(0, 18)
            shaded_ball(draw, cx + math.cos(a) * d, cy + math.sin(a) * d, 9,
                        (200, 28, 52), (255, 150, 160))
    for _ in range(34):  # blueberries with their bloom and crown
        cx, cy = pyr.uniform(0, size), pyr.uniform(0, size)
        r = pyr.uniform(15, 21)
        shaded_ball(draw, cx, cy, r, (58, 62, 128), (150, 160, 210))
        draw.ellipse((cx - 3, cy - 3, cx + 3, cy + 3), fill=(30, 28, 50))
    return image.filter(ImageFilter.GaussianBlur(1.2))


def back_technology(rng):
    size = 400
    streaks = periodic_noise((size // 40, size), 1.5, rng).repeat(40, axis=0)
    fine = periodic_noise((size, size), 0.7, rng)
    steel = 168 + 14 * streaks + 6 * fine
    image = from_array(np.stack([steel, steel + 4, steel + 9], axis=-1))
    cog = render_svg(os.path.join(OPENCLIPART, "tools/cog_01.svg"), 300)
    mask = ImageChops.difference(cog, Image.new("RGB", cog.size, (255, 255, 255))) \
        .convert("L").point(lambda v: 255 if v > 10 else 0)
    for cx, cy, side, angle in [(150, 150, 250, 0), (330, 330, 170, 17), (330, 60, 130, 9),
                                 (40, 350, 120, 30)]:
        gear = cog.rotate(angle, resample=Image.BICUBIC, fillcolor=(255, 255, 255))
        gm = mask.rotate(angle, resample=Image.BICUBIC)
        gear, gm = gear.resize((side, side), Image.LANCZOS), gm.resize((side, side), Image.LANCZOS)
        shadow = Image.new("RGB", (side, side), (70, 72, 78))
        image.paste(shadow, (cx - side // 2 + 6, cy - side // 2 + 6), gm)
        image.paste(gear, (cx - side // 2, cy - side // 2), gm)
    credit(with_larger("rub/5.jpg") + " (Technika)", "openclipart-svg: tools/cog_01.svg on drawn brushed steel",
           "Open Clip Art Library contributors", "public domain")
    return image


def back_wall(rng):
    scale = 4
    size = 100 * scale
    mortar = np.array([196, 190, 178], float)
    image = from_array(mortar + 10 * periodic_noise((size, size), 2, rng)[..., None])
    draw = ImageDraw.Draw(image)
    pyr = random.Random(6)
    brick_h, brick_w, gap = 20 * scale // 2, 50 * scale // 2, 2 * scale // 2
    for row in range(size // brick_h + 1):
        offset = 0 if row % 2 == 0 else brick_w // 2
        for col in range(-1, size // brick_w + 2):
            x0 = col * brick_w - offset + gap
            y0 = row * brick_h + gap
            red = pyr.randint(140, 185)
            draw.rectangle((x0, y0, x0 + brick_w - 2 * gap, y0 + brick_h - 2 * gap),
                           fill=(red, int(red * 0.42), int(red * 0.30)))
    texture = np.asarray(image, float) + 14 * periodic_noise((size, size), 1.2, rng)[..., None]
    return from_array(texture).filter(ImageFilter.GaussianBlur(1))


BACKS = [(1, "Dřevo", back_wood), (2, "Listí", back_leaves), (3, "Noviny", back_newspaper),
         (4, "Lesní plody", back_forest_fruits), (5, "Technika", back_technology),
         (6, "Zeď", back_wall)]


def make_backs():
    # Each back is drawn once, larger than any card shows it, and reduced to 100 x 100 and to
    # its two larger sizes from that one drawing.
    for number, caption, make in BACKS:
        rng = np.random.default_rng(1000 + number)
        master = make(rng)
        for factor in (1,) + LARGER:
            side = 100 * factor
            assert min(master.size) >= side
            image = master.resize((side, side), Image.LANCZOS)
            if make is back_leaves:
                # A photograph loses its edges in the reduction.
                image = image.filter(ImageFilter.UnsharpMask(factor, 40, 2))
            save_jpeg(image, os.path.join(OUT, "rub", at_factor("%d.jpg" % number, factor)))
        if number in (1, 3, 4, 6):
            credit("%s (%s)" % (with_larger("rub/%d.jpg" % number), caption), "drawn by tools/make-assets.py" +
                   (" with DejaVu Serif" if number == 3 else ""), "Lotaro developers",
                   "GPL-3.0-or-later" + ("; font: Bitstream Vera licence" if number == 3 else ""))


# --- the background tile: GIF87a, 80 x 79, 256 greys ---------------------------------------------
def upsample_periodic(field, factor):
    """The same smooth periodic field on a grid factor times finer (its spectrum zero-padded):
    every factor-th sample is the original one."""
    h, w = field.shape
    spectrum = np.fft.fftshift(np.fft.fft2(field))
    padded = np.zeros((h * factor, w * factor), complex)
    top, left = h * factor // 2 - h // 2, w * factor // 2 - w // 2
    padded[top:top + h, left:left + w] = spectrum
    return np.real(np.fft.ifft2(np.fft.ifftshift(padded))) * factor * factor


def make_tile():
    rng = np.random.default_rng(79)
    fibres = periodic_noise((79, 80), 0.6, rng)
    clouds = periodic_noise((79, 80), 6, rng)
    write_tile(181.5 + 9 * fibres + 5 * clouds, 1)
    # The larger tiles keep the clouds where they are and get fibres of the same fineness on
    # the screen, so more of them.
    for factor in LARGER:
        large = upsample_periodic(clouds, factor)
        assert np.abs(large[::factor, ::factor] - clouds).max() < 1e-6
        fine = periodic_noise((79 * factor, 80 * factor), 0.6 * factor,
                              np.random.default_rng(79 + factor))
        write_tile(181.5 + 9 * fine + 5 * large, factor)
    credit(with_larger("pozadi/pozadi.gif"), "drawn by tools/make-assets.py", "Lotaro developers",
           "GPL-3.0-or-later")


def write_tile(grey, factor):
    grey = np.clip(np.round(grey), 0, 255).astype(np.uint8)
    image = Image.fromarray(grey, "L").convert("P")
    image.putpalette([v for i in range(256) for v in (i, i, i)])
    image.putdata(grey.flatten().tolist())
    path = os.path.join(OUT, "pozadi", at_factor("pozadi.gif", factor))
    os.makedirs(os.path.dirname(path), exist_ok=True)
    buffer = io.BytesIO()
    image.save(buffer, "GIF", optimize=False)
    data = bytearray(buffer.getvalue())
    # Nothing in the file needs the 89a extensions; the header says what the file is.
    assert data[:6] in (b"GIF87a", b"GIF89a")
    data[:6] = b"GIF87a"
    with open(path, "wb") as f:
        f.write(data)


# --- sounds ---------------------------------------------------------------------------------------
RATE = 22050


def write_pcm(path, samples, channels=1):
    data = np.clip(np.round(samples * 32767), -32768, 32767).astype("<i2")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    with wave.open(path, "wb") as w:
        w.setnchannels(channels)
        w.setsampwidth(2)
        w.setframerate(RATE)
        w.writeframes(data.tobytes())


def envelope(n, attack, decay):
    t = np.arange(n) / RATE
    return np.minimum(1, t / attack) * np.exp(-t / decay)


def sound_turn(rng):
    """A card lifted and laid down: a soft papery swish ending in a tap."""
    n = 6017
    t = np.arange(n) / RATE
    noise = rng.standard_normal(n)
    # Band-limit the noise: a short moving average takes the hiss off.
    swish = np.convolve(noise, np.ones(6) / 6, mode="same")
    swish *= np.sin(np.pi * np.clip(t / 0.16, 0, 1)) ** 2 * 0.5
    tap_start = int(0.165 * RATE)
    tap = np.zeros(n)
    k = np.arange(n - tap_start) / RATE
    tap[tap_start:] = (np.sin(2 * np.pi * 190 * k) * 0.9 + np.convolve(
        rng.standard_normal(n - tap_start), np.ones(3) / 3, mode="same") * 0.5) * np.exp(-k / 0.018)
    s = swish + tap
    s *= np.minimum(1, (n - np.arange(n)) / 200)  # no click at the end
    return 0.7 * s / np.abs(s).max()


def sound_pair(rng):
    """A bright, short chime for a found pair."""
    n = 2292
    t = np.arange(n) / RATE
    s = (np.sin(2 * np.pi * 1318.5 * t) + 0.6 * np.sin(2 * np.pi * 1975.5 * t)
         + 0.25 * np.sin(2 * np.pi * 2637 * t)) * envelope(n, 0.002, 0.035)
    s *= np.minimum(1, (n - np.arange(n)) / 120)
    return 0.75 * s / np.abs(s).max()


def brass(freq, n):
    t = np.arange(n) / RATE
    vibrato = 1 + 0.004 * np.sin(2 * np.pi * 5.5 * t)
    phase = 2 * np.pi * freq * np.cumsum(vibrato) / RATE
    tone = sum((0.85 ** h) * np.sin(h * phase) for h in range(1, 9))
    attack = np.minimum(1, t / 0.025)
    release = np.minimum(1, (n - np.arange(n)) / (0.04 * RATE))
    return tone * attack * release


def sound_fanfare(rng):
    """A short victory fanfare, two trumpets a little apart in the stereo field."""
    n = 58624
    left, right = np.zeros(n), np.zeros(n)
    notes = [(0.00, 0.16, 392.0), (0.18, 0.16, 523.25), (0.36, 0.16, 659.25),
             (0.54, 0.30, 783.99), (0.88, 0.16, 659.25), (1.06, 1.58, 783.99)]
    for start, length, freq in notes:
        a, m = int(start * RATE), int(length * RATE)
        m = min(m, n - a)
        voice = brass(freq, m)
        second = brass(freq * 1.5 if length > 1 else freq * 0.5, m) * 0.45
        left[a:a + m] += voice * 0.9 + second * 0.4
        right[a:a + m] += voice * 0.6 + second * 0.9
    fade = np.ones(n)
    fade[-int(0.6 * RATE):] = np.linspace(1, 0, int(0.6 * RATE)) ** 2
    peak = max(np.abs(left).max(), np.abs(right).max())
    return np.stack([left, right], axis=1) * fade[:, None] * 0.8 / peak


def riff_chunks(data):
    assert data[:4] == b"RIFF" and data[8:12] == b"WAVE"
    chunks, pos = [], 12
    while pos + 8 <= len(data):
        cid, size = data[pos:pos + 4], struct.unpack("<I", data[pos + 4:pos + 8])[0]
        body = data[pos + 8:pos + 8 + size]
        chunks.append((cid, body))
        pos += 8 + size + (size & 1)
    return chunks


def write_riff(path, chunks):
    payload = b"".join(cid + struct.pack("<I", len(body)) + body + (b"\0" if len(body) & 1 else b"")
                       for cid, body in chunks)
    with open(path, "wb") as f:
        f.write(b"RIFF" + struct.pack("<I", 4 + len(payload)) + b"WAVE" + payload)


def make_sounds():
    out = os.path.join(OUT, "zvuky")
    write_pcm(os.path.join(out, "1.wav"), sound_turn(np.random.default_rng(1)))
    write_pcm(os.path.join(out, "2.wav"), sound_pair(np.random.default_rng(2)))
    with tempfile.TemporaryDirectory() as tmp:
        pcm, adpcm = os.path.join(tmp, "pcm.wav"), os.path.join(tmp, "adpcm.wav")
        write_pcm(pcm, sound_fanfare(np.random.default_rng(3)).flatten(), channels=2)
        subprocess.run(["sox", "-D", pcm, "-e", "ms-adpcm", adpcm], check=True)
        with open(adpcm, "rb") as f:
            chunks = dict(riff_chunks(f.read()))
    # Microsoft's own tools put "fact" before "fmt "; readers must cope with either order.
    fmt = chunks[b"fmt "]
    assert struct.unpack("<HHIIHH", fmt[:16])[0] == 2
    assert struct.unpack("<HHIIHH", fmt[:16])[4] == 1024
    assert struct.unpack("<I", chunks[b"fact"])[0] == 58624
    write_riff(os.path.join(out, "3.wav"), [(b"fact", chunks[b"fact"]), (b"fmt ", fmt),
                                            (b"data", chunks[b"data"])])
    for k, what in [(1, "card turn"), (2, "pair found"), (3, "end-of-game fanfare")]:
        credit("zvuky/%d.wav (%s)" % (k, what), "synthesised by tools/make-assets.py",
               "Lotaro developers", "GPL-3.0-or-later")


# --- icon, pointer, font ---------------------------------------------------------------------------
ICON_SIZES = [16, 22, 24, 32, 48, 64, 128, 256]


def draw_icon():
    """Two cards: one face down with the wood back, one turned up with a red heart-shaped pair."""
    s = 1024
    image = Image.new("RGBA", (s, s), (0, 0, 0, 0))
    wood = Image.open(os.path.join(OUT, "rub", "1.jpg")).convert("RGBA").resize((560, 700))

    def card(angle, face, centre):
        layer = Image.new("RGBA", (640, 780), (0, 0, 0, 0))
        d = ImageDraw.Draw(layer)
        d.rounded_rectangle((20, 20, 620, 760), 60, fill=(40, 30, 20, 255))
        d.rounded_rectangle((36, 36, 604, 744), 48, fill=(255, 255, 255, 255))
        if face is None:
            mask = Image.new("L", (560, 700), 0)
            ImageDraw.Draw(mask).rounded_rectangle((0, 0, 559, 699), 40, fill=255)
            layer.paste(wood, (40, 40), mask)
        else:
            face(d)
        layer = layer.rotate(angle, resample=Image.BICUBIC, expand=True)
        image.alpha_composite(layer, (centre[0] - layer.width // 2, centre[1] - layer.height // 2))

    def heart(d):
        d.ellipse((150, 230, 330, 410), fill=(212, 30, 50, 255))
        d.ellipse((310, 230, 490, 410), fill=(212, 30, 50, 255))
        d.polygon([(156, 350), (484, 350), (320, 560)], fill=(212, 30, 50, 255))

    card(14, None, (400, 520))
    card(-10, heart, (620, 500))
    return image


def make_icon():
    big = draw_icon()
    box = big.getbbox()
    side = max(box[2] - box[0], box[3] - box[1]) + 16
    square = Image.new("RGBA", (side, side), (0, 0, 0, 0))
    square.alpha_composite(big.crop(box), ((side - (box[2] - box[0])) // 2,
                                           (side - (box[3] - box[1])) // 2))
    for size in ICON_SIZES:
        path = os.path.join(OUT, "icons", "lotaro-%d.png" % size)
        os.makedirs(os.path.dirname(path), exist_ok=True)
        square.resize((size, size), Image.LANCZOS).save(path, optimize=True)
    credit("icons/lotaro-*.png", "drawn by tools/make-assets.py (uses rub/1.jpg)",
           "Lotaro developers", "GPL-3.0-or-later")


def make_pointer():
    """The pointing hand: 32 x 32, the tip of the index finger at column 12, row 1."""
    cursor = Image.new("RGBA", (32, 32), (0, 0, 0, 0))
    d = ImageDraw.Draw(cursor)
    black, white = (0, 0, 0, 255), (255, 255, 255, 255)
    d.polygon([(3, 14), (6, 13), (10, 17), (10, 23), (7, 22)], fill=white, outline=black)  # thumb
    d.rectangle((8, 15, 26, 27), fill=white, outline=black)  # palm
    for left, top, right in [(10, 1, 14), (14, 8, 18), (18, 9, 22), (22, 11, 26)]:
        d.rectangle((left, top, right, 19), fill=white, outline=black)  # fingers
    d.rectangle((9, 20, 25, 26), fill=white)  # fingers join the palm
    for x in (10, 14):
        d.point([(x, 1)], fill=(0, 0, 0, 0))  # round the finger tips
    d.point([(10, 2), (14, 2)], fill=black)
    d.rectangle((9, 27, 25, 30), fill=black)  # cuff
    d.line((11, 1, 13, 1), fill=black)
    path = os.path.join(OUT, "cursor", "hand.png")
    os.makedirs(os.path.dirname(path), exist_ok=True)
    cursor.save(path)
    credit("cursor/hand.png", "drawn by tools/make-assets.py", "Lotaro developers",
           "GPL-3.0-or-later")


FONTS = ["ComicNeue-Regular.otf", "ComicNeue-Bold.otf", "ComicNeue-Italic.otf",
         "ComicNeue-BoldItalic.otf"]


def make_fonts():
    for name in FONTS:
        dest = os.path.join(OUT, "fonts", name)
        os.makedirs(os.path.dirname(dest), exist_ok=True)
        shutil.copyfile(os.path.join(COMIC, name), dest)
        credit("fonts/" + name, "fonts-comic-neue: " + os.path.join(COMIC, name),
               "Craig Rozynski", "OFL-1.1")


# --- the resource file and the credits ------------------------------------------------------------
def make_qrc():
    groups = [("/custom", "custom", ".jpg"), ("/rub", "rub", ".jpg"), ("/zvuky", "zvuky", ".wav"),
              ("/pozadi", "pozadi", ".gif"), ("/icons", "icons", ".png"),
              ("/cursor", "cursor", ".png"), ("/fonts", "fonts", ".otf")]
    lines = ["<!DOCTYPE RCC>", "<RCC version=\"1.0\">"]
    for prefix, folder, ext in groups:
        names = sorted(n for n in os.listdir(os.path.join(OUT, folder)) if n.endswith(ext))
        names.sort(key=lambda n: (len(n), n))
        # Pictures and sounds are compressed already; rcc would only waste start-up time.
        lines.append('  <qresource prefix="%s">' % prefix)
        for n in names:
            lines.append('    <file alias="%s">%s/%s</file>' % (n, folder, n))
        lines.append("  </qresource>")
    lines.append("</RCC>")
    with open(os.path.join(OUT, "lotaro.qrc"), "w") as f:
        f.write("\n".join(lines) + "\n")


def make_credits():
    credits.sort(key=lambda c: c[0])
    with open(os.path.join(OUT, "CREDITS"), "w") as f:
        f.write("Lotaro: where every picture, sound and font in resources/ comes from\n")
        f.write("=" * 70 + "\n\n")
        f.write("Generated by tools/make-assets.py from Debian packages, except face set 4\n"
                "(Krásné ženy): its portraits were cropped once from the sources named below\n"
                "and are kept in tools/asset-sources/portraits/ (90 x 90) and portraits-270/\n"
                "(the same crop boxes at 270 x 270), with the crop positions in\n"
                "tools/asset-sources/portraits.txt; the generator copies them as they are.\n"
                "Names ending in @2x and @3x are the same picture at two and three times the\n"
                "size, for screens that draw a card with more pixels.\n"
                "The file under CC BY-SA is a crop of the named photograph and is shared\n"
                "under the same licence.\n\n")
        for asset, source, author, licence in credits:
            f.write("%s\n    source:  %s\n    author:  %s\n    licence: %s\n\n"
                    % (asset, source, author, licence))


def contact_sheet(paths, columns, path, scale=1):
    images = [Image.open(p).convert("RGB") for p in paths]
    w, h = images[0].size
    rows = math.ceil(len(images) / columns)
    sheet = Image.new("RGB", (columns * (w + 4) * scale, rows * (h + 4) * scale), (80, 80, 80))
    for i, image in enumerate(images):
        image = image.resize((w * scale, h * scale), Image.NEAREST)
        sheet.paste(image, ((i % columns) * (w + 4) * scale, (i // columns) * (h + 4) * scale))
    sheet.save(path)


if __name__ == "__main__":
    # The credits list what was made in this run, so the pack is always made whole.
    for fn in [make_digits, make_clipart, make_portraits, make_backs, make_tile, make_sounds,
               make_icon, make_pointer, make_fonts, make_qrc, make_credits]:
        fn()
