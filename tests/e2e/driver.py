#!/usr/bin/python3
"""Drives the real game under Xvfb with real X input, and reads the screen back.

Used by the end-to-end test and by hand (python3 tests/e2e/driver.py --help). It starts its
own X server, bare or with a window manager and panel, gives the game private settings and
runtime directories, and never touches the user's own.
"""
import argparse
import io
import os
import shutil
import signal
import subprocess
import sys
import tempfile
import time

from PIL import Image, ImageChops, ImageStat

TWIPS = 15
EDGE = 3  # the dialogs' raised edge around their client area


def encode_ini(text):
    """Qt's INI key encoding: Latin-1 as %XX, anything beyond as %UXXXX."""
    out = ""
    for ch in text:
        o = ord(ch)
        if o < 128 and (ch.isalnum() or ch in "-_."):
            out += ch
        elif o < 256:
            out += "%%%02X" % o
        else:
            out += "%%U%04X" % o
    return out


def card_size(width, height):
    return {(640, 480): 760, (800, 600): 980}.get((width, height), 1300)


def board_layout(width, height, columns, rows):
    """Pixel rectangles of the cards, as the game lays them out."""
    c = card_size(width, height)
    sw, sh = width * TWIPS, height * TWIPS
    left = (sw - (columns + 1.2) * c - (columns - 1) * 50) / 2
    top = (sh - rows * c - (rows - 1) * 50) / 2
    side = round(c / TWIPS)
    rects = []
    for k in range(columns * rows):
        x = left + (k % columns) * (c + 50)
        y = top + (k // columns) * (c + 50)
        rects.append((round(x / TWIPS), round(y / TWIPS), side, side))
    return rects


# Window sizes in pixels with the edge, by which the driver tells the game's windows apart.
NEW_GAME = (370, 489)
RESULT_ONE = (293, 174)
RESULT_TWO = (390, 199)
HALL_OF_FAME = (497, 537)


class Session:
    def __init__(self, executable, width=1024, height=768, settings=None, shots=None, desktop=()):
        self.width, self.height = width, height
        self.root = tempfile.mkdtemp(prefix="lotaro-e2e-")
        self.config = os.path.join(self.root, "config")
        self.runtime = os.path.join(self.root, "runtime")
        os.makedirs(os.path.join(self.config, "Lotaro"))
        os.makedirs(self.runtime, mode=0o700)
        self.shots = shots
        self.shot_count = 0
        if settings:
            self.write_settings("Nastavení", settings)
        # The server picks a free display and names it once it takes connections. It must not
        # reset when its only client leaves, or a window manager connecting then finds none.
        ready, told = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0",
                                      "%dx%dx24" % (width, height), "-nolisten", "tcp", "-noreset"],
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                     pass_fds=(told,))
        os.close(told)
        with os.fdopen(ready) as told_display:  # to the newline, or the server dies of SIGPIPE
            self.display = ":" + told_display.readline().strip()
        self.env = dict(os.environ, DISPLAY=self.display, XDG_CONFIG_HOME=self.config,
                        XDG_RUNTIME_DIR=self.runtime, DBUS_SESSION_BUS_ADDRESS="disabled:",
                        SDL_AUDIODRIVER="dummy", QT_QPA_PLATFORM="xcb")
        # A window manager and its panel, e.g. openbox and tint2; the game starts once the
        # panel has taken its part of the screen.
        self.desktop = [subprocess.Popen([p], env=self.env, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL) for p in desktop]
        self.game = None
        if desktop:
            full = "= 0, 0, %d, %d" % (width, height)
            try:
                self.wait_for(lambda: "_NET_WORKAREA(CARDINAL) = " in self.root_property(
                    "_NET_WORKAREA") and full not in self.root_property("_NET_WORKAREA"), 30,
                    "the panel")
            except TimeoutError:
                self.close()
                raise
        self.game = subprocess.Popen([executable], env=self.env, stdout=subprocess.PIPE,
                                     stderr=subprocess.STDOUT)

    def root_property(self, name):
        return subprocess.run(["xprop", "-root", name], env=self.env, capture_output=True,
                              text=True).stdout

    def write_settings(self, section, values):
        path = os.path.join(self.config, "Lotaro", "Lotaro.ini")
        with open(path, "a") as f:
            f.write("[%s]\n" % encode_ini(section))
            for k, v in values.items():
                f.write("%s=%s\n" % (encode_ini(k), v))

    def read_settings(self):
        path = os.path.join(self.config, "Lotaro", "Lotaro.ini")
        return open(path).read() if os.path.exists(path) else ""

    @staticmethod
    def wait_for(condition, seconds, what):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            value = condition()
            if value:
                return value
            time.sleep(0.02)
        raise TimeoutError("waited %ss for %s" % (seconds, what))

    def screen(self):
        png = subprocess.run(["import", "-window", "root", "png:-"], env=self.env,
                             capture_output=True, check=True).stdout
        return Image.open(io.BytesIO(png)).convert("RGB")

    def save_shot(self, name):
        if not self.shots:
            return None
        os.makedirs(self.shots, exist_ok=True)
        self.shot_count += 1
        path = os.path.join(self.shots, "%03d-%s.png" % (self.shot_count, name))
        self.screen().save(path)
        return path

    def click(self, x, y):
        subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=self.env,
                       check=True)

    def key(self, name):
        subprocess.run(["xdotool", "key", name], env=self.env, check=True)

    def mapped_windows(self):
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(self.game.pid)],
                             env=self.env, capture_output=True, text=True).stdout
        return [w for w in out.split()]

    def window_geometry(self, window):
        out = subprocess.run(["xdotool", "getwindowgeometry", "--shell", window], env=self.env,
                             capture_output=True, text=True).stdout
        values = dict(line.split("=", 1) for line in out.split() if "=" in line)
        return tuple(int(values[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))

    def dialogs(self):
        """Geometries of the mapped windows other than the full-screen board."""
        found = []
        for w in self.mapped_windows():
            try:
                g = self.window_geometry(w)
            except (KeyError, ValueError):
                continue
            if g[2:] != (self.width, self.height):
                found.append(g)
        return found

    def wait_dialog(self, size, seconds=10):
        """Waits for a dialog of the given size in pixels; returns its position."""
        def check():
            for g in self.dialogs():
                if g[2:] == size:
                    return g[:2]
            return None
        return self.wait_for(check, seconds, "a %dx%d window" % size)

    def click_in(self, origin, x_twips, y_twips):
        """Clicks a point of a dialog's client area, given from its top-left in twips."""
        self.click(origin[0] + EDGE + round(x_twips / TWIPS),
                   origin[1] + EDGE + round(y_twips / TWIPS))

    def close(self):
        if self.game and self.game.poll() is None:
            self.game.send_signal(signal.SIGTERM)
            try:
                self.game.wait(10)
            except subprocess.TimeoutExpired:
                self.game.kill()
        for p in self.desktop:
            p.terminate()
            p.wait()
        self.xvfb.terminate()
        self.xvfb.wait()
        shutil.rmtree(self.root, ignore_errors=True)


def signature(image, rect):
    x, y, w, h = rect
    inner = image.crop((x + 6, y + 6, x + w - 6, y + h - 6)).resize((12, 12), Image.BILINEAR)
    return inner


def difference(a, b):
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3


class Player:
    """Plays a board by remembering the faces it has seen."""

    def __init__(self, session, columns, rows, flip_ms, on_move=None):
        self.s = session
        self.rects = board_layout(session.width, session.height, columns, rows)
        self.flip_ms = flip_ms
        self.on_move = on_move
        self.back = None
        self.background = None
        self.known = {}  # card -> signature
        self.gone = set()
        self.moves = 0

    def centre(self, k):
        x, y, w, h = self.rects[k]
        return x + w // 2, y + h // 2

    def state(self, image, k):
        sig = signature(image, self.rects[k])
        if difference(sig, self.back) < 6:
            return "back", sig
        if self.background is not None and difference(sig, self.background) < 12:
            return "gone", sig
        return "face", sig

    def wait_state(self, k, wanted, seconds=5):
        def check():
            image = self.s.screen()
            st, sig = self.state(image, k)
            return (st, sig) if st in wanted else None
        return self.s.wait_for(check, seconds, "card %d to show %s" % (k, wanted))

    def turn(self, k):
        x, y = self.centre(k)
        self.s.click(x, y)
        return self.wait_state(k, ("face",))[1]

    def clear_move(self, a, b):
        """After a completed move: in a timed mode the cards turn or vanish by themselves."""
        if self.flip_ms >= 4000:
            return
        for k in (a, b):
            self.wait_state(k, ("back", "gone"), self.flip_ms / 1000 + 5)

    def play(self):
        """Plays to the last pair; returns the number of moves."""
        image = self.s.screen()
        self.back = signature(image, self.rects[0])
        x, y, w, h = self.rects[0]
        # The bare window above the board stands for a card that has left.
        self.background = image.crop((x + 6, 2, x + w - 6, 2 + h - 12)).resize((12, 12))
        remaining = set(range(len(self.rects)))
        while remaining:
            last = len(remaining) == 2
            pair = self.pick_known_pair(remaining)
            if pair:
                first, second = pair
                self.turn(first)
            else:
                first = min(k for k in remaining if k not in self.known)
                self.known[first] = self.turn(first)
                second = self.find_match(first, remaining)
                if second is None:
                    second = min(k for k in remaining if k not in self.known)
            self.moves += 1
            if last:
                # The game ends inside this click: no face to wait for.
                self.s.click(*self.centre(second))
                if self.on_move:
                    self.on_move(self, first, second, True)
                return self.moves
            self.known[second] = self.turn(second)
            paired = difference(self.known[first], self.known[second]) < 8
            if self.on_move:
                self.on_move(self, first, second, paired)
            if paired:
                remaining -= {first, second}
            self.clear_move(first, second)
        return self.moves

    def pick_known_pair(self, remaining):
        items = [k for k in sorted(remaining) if k in self.known]
        for i, a in enumerate(items):
            for b in items[i + 1:]:
                if difference(self.known[a], self.known[b]) < 8:
                    return a, b
        return None

    def find_match(self, k, remaining):
        for other in sorted(remaining):
            if other != k and other in self.known and \
                    difference(self.known[other], self.known[k]) < 8:
                return other
        return None


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("executable")
    parser.add_argument("--players", type=int, default=1, choices=(1, 2))
    parser.add_argument("--flip", type=int, default=3, choices=(0, 1, 2, 3))
    parser.add_argument("--board", type=int, default=2, choices=(0, 1, 2))
    parser.add_argument("--shots", default=None, help="folder for screenshots along the way")
    parser.add_argument("--desktop", nargs="*", default=[], help="window manager and panel")
    args = parser.parse_args()
    columns, rows = [(10, 8), (8, 6), (6, 5)][args.board]
    session = Session(args.executable, settings={
        "DvaHráči": args.players - 1, "Počet": args.board, "Otočený": args.flip}, shots=args.shots,
        desktop=args.desktop)
    try:
        dialog = session.wait_dialog(NEW_GAME)
        session.save_shot("new-game")
        session.click_in(dialog, 3885 + 450, 6720 + 150)
        session.wait_for(lambda: not session.dialogs(), 10, "the dialog to close")
        session.save_shot("start")

        def on_move(player, a, b, paired):
            if player.moves in (1, 3) or (paired and player.moves % 6 == 0):
                session.save_shot("move%d" % player.moves)

        moves = Player(session, columns, rows, 1000 * (args.flip + 1), on_move).play()
        print("played %d moves" % moves)
        if args.players == 2:
            result = session.wait_dialog(RESULT_TWO)
            session.save_shot("result")
            session.click_in(result, 2415 + 450, 2310 + 150)
        else:
            result = session.wait_dialog(RESULT_ONE)
            session.save_shot("result")
            session.click_in(result, 1785 + 450, 1995 + 150)
            try:
                fame = session.wait_dialog(HALL_OF_FAME, 3)
                time.sleep(0.6)
                session.save_shot("hall-of-fame")
                session.click_in(fame, 4725 + 450, 7455 + 150)
            except TimeoutError:
                print("no new record")
        dialog = session.wait_dialog(NEW_GAME)
        session.save_shot("next-game")
        print(session.read_settings())
    finally:
        session.close()


if __name__ == "__main__":
    sys.exit(main())
