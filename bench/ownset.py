"""Rows of the bench: the first 10 x 8 deal of a large own picture set against a built-in set's."""
import os
import re
import shutil
import statistics
import tempfile
from concurrent.futures import ProcessPoolExecutor


def own_picture(args):
    """One own picture the size of a phone photo, but of flat colours: large in pixels, small in
    bytes, each different."""
    from PIL import Image, ImageDraw
    directory, n = args
    img = Image.new("RGB", (3900, 3900), (6 * n, 180, 255 - 6 * n))
    ImageDraw.Draw(img).rectangle((1300, 1300, 2600, 2600), fill=(250, 250 - 5 * n, 20))
    img.save(os.path.join(directory, "%d.jpg" % n), quality=50, optimize=True)


def rows(bench):
    """The first 10 x 8 deal of 40 own 3900 x 3900 JPEGs against the first deal of a built-in set
    in the same process, in a process of its own each round."""
    data = tempfile.mkdtemp(prefix="lotaro-bench-own-")
    try:
        directory = os.path.join(data, "Lotaro")  # $XDG_DATA_HOME/Lotaro, where the game looks
        os.makedirs(directory)
        with ProcessPoolExecutor(os.cpu_count()) as pool:
            list(pool.map(own_picture, [(directory, n) for n in range(1, 41)]))
        sizes = [os.path.getsize(os.path.join(directory, f)) for f in os.listdir(directory)]
        kb = statistics.mean(sizes) / 1024
        built_in, own, growth = [], [], []
        env = dict(os.environ, XDG_DATA_HOME=data, XDG_RUNTIME_DIR=tempfile.gettempdir())
        for _ in range(bench.rounds):
            out = bench.run("bench_board", "--screen=1024x768", "own", env=env)
            m = re.search(r"built-in / own set: ([\d.]+) ([\d.]+) ms, peak rss ([\d.]+) ([\d.]+)",
                          out)
            if not m:
                raise RuntimeError("bench_board own: " + out)
            built_in.append(float(m.group(1)))
            own.append(float(m.group(2)))
            growth.append(float(m.group(4)) - float(m.group(3)))
    finally:
        shutil.rmtree(data, ignore_errors=True)
    bench.row("first deal 10 x 8 at 1024x768, built-in set", built_in, "ms")
    bench.row("first deal 10 x 8 at 1024x768, 40 own 3900 x 3900 JPEGs (%.0f KB each)" % kb,
              own, "ms", "< 300")
    bench.row("peak RSS of that own-set deal above the built-in deal", growth, "MB", "< 20")
