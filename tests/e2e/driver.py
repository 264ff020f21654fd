"""Drives the real game under Xvfb with real X input, and reads the screen back. Each session has
its own X server, window manager if any, settings and runtime directory; never the user's."""
import configparser
import io
import os
import subprocess
import tempfile
import time

from PIL import Image, ImageChops, ImageStat

SCREEN = (1024, 768)
# The game's windows at 1024 x 768: the frame's size, where its top-left corner stands (3 px
# outside the client area), and the middle of the buttons pressed, from that corner.
NEW_GAME, NEW_GAME_AT, PLAY, QUIT = (370, 489), (327, 140), (292, 461), (75, 461)  # centred
RESULT_ONE, RESULT_ONE_AT, RESULT_OK = (293, 174), (366, 297), (152, 146)  # centred
# Centred in the part of the screen left of the board's side panel (1.2 cards wide).
HALL_OF_FAME, HALL_OF_FAME_AT, HALL_OF_FAME_OK = (497, 537), (212, 116), (348, 510)
# The 6 x 5 board at 1024 x 768: 87-px (1300-twip) cards 50 twips apart, so 90 px from a card's
# corner to the next one's, the first at (192, 161).
CARD, FIRST_CARD, PITCH = 87, (192, 161), 90


class Session:
    def __init__(self, executable, ini="", desktop=()):
        self.tmp = tempfile.TemporaryDirectory(prefix="lotaro-e2e-")
        root = self.tmp.name
        self.runtime, self.ini = root + "/runtime", root + "/config/Lotaro/Lotaro.ini"
        os.makedirs(self.runtime, mode=0o700)
        os.makedirs(os.path.dirname(self.ini))
        with open(self.ini, "w", encoding="utf-8") as f:
            f.write(ini)
        # The server picks a free display and names it once it takes connections. It must not
        # reset when its only client leaves, or a window manager connecting then finds none.
        ready, told = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0",
                                      "%dx%dx24" % SCREEN, "-nolisten", "tcp", "-noreset"],
                                     stderr=subprocess.DEVNULL, pass_fds=(told,))
        os.close(told)
        with os.fdopen(ready) as told_display:  # to the newline, or the server dies of SIGPIPE
            self.env = dict(os.environ, DISPLAY=":" + told_display.readline().strip(),
                            XDG_CONFIG_HOME=root + "/config", XDG_RUNTIME_DIR=self.runtime,
                            DBUS_SESSION_BUS_ADDRESS="disabled:", SDL_AUDIODRIVER="dummy",
                            QT_QPA_PLATFORM="xcb")
        self.desktop = [subprocess.Popen([p], env=self.env, stdout=subprocess.DEVNULL,
                                         stderr=subprocess.DEVNULL) for p in desktop]
        self.game = None
        try:  # the game starts once the panel has taken its part of the screen
            self.wait_for(lambda: not desktop or "(CARDINAL) = " in (w := self.run(
                "xprop", "-root", "_NET_WORKAREA")) and "= 0, 0, 1024, 768" not in w, 30,
                "the panel")
        except TimeoutError:
            self.close()
            raise
        self.game = subprocess.Popen([executable], env=self.env)

    def run(self, *command, text=True):
        return subprocess.run(command, env=self.env, capture_output=True, text=text).stdout

    @staticmethod
    def wait_for(condition, seconds, what):
        end = time.monotonic() + seconds
        while time.monotonic() < end:
            if value := condition():
                return value
            time.sleep(0.02)
        raise TimeoutError("waited %ss for %s" % (seconds, what))

    def settings(self):
        """The settings file as sections of keys; a line that is not INI raises."""
        ini = configparser.RawConfigParser(delimiters="=", strict=True, interpolation=None)
        ini.optionxform = str
        ini.read(self.ini, encoding="utf-8")
        return {s: dict(ini[s]) for s in ini.sections()}

    def screen(self):
        return Image.open(io.BytesIO(self.run("import", "-window", "root", "png24:-", text=False)))

    def click(self, x, y, origin=(0, 0)):
        self.run("xdotool", "mousemove", str(origin[0] + x), str(origin[1] + y), "click", "1")

    def windows(self):
        """The game's mapped windows: id -> (x, y, width, height)."""
        found, pid = {}, str(self.game.pid)
        for w in self.run("xdotool", "search", "--onlyvisible", "--pid", pid).split():
            v = dict(line.split("=") for line in self.run(
                "xdotool", "getwindowgeometry", "--shell", w).split())
            if "HEIGHT" in v:  # not gone meanwhile
                found[w] = tuple(int(v[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        return found

    def wait_dialog(self, size):
        """Waits for a window of the given size; returns its top-left corner."""
        return self.wait_for(lambda: next((g[:2] for g in self.windows().values() if g[2:] == size),
                                          None), 10, "a %dx%d window" % size)

    def close(self):  # the private directories go as a whole, the unpacked tree with them
        for p in filter(None, [self.game] + self.desktop + [self.xvfb]):
            p.kill()
            p.wait()
        self.tmp.cleanup()


def difference(a, b):
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3


def play(session, after_move):
    """Plays the 6 x 5 board, where turned cards stay up until the next click, by remembering the
    faces seen; returns the number of moves."""
    corners = [(FIRST_CARD[0] + PITCH * (k % 6), FIRST_CARD[1] + PITCH * (k // 6))
               for k in range(30)]

    def look(k):
        x, y = corners[k]
        return session.screen().crop((x + 6, y + 6, x + CARD - 6, y + CARD - 6)).resize((12, 12))

    def turn(k, last=False):
        session.click(CARD // 2, CARD // 2, corners[k])
        if not last:  # the game ends inside the last click: no face to wait for
            known[k] = session.wait_for(lambda: difference(f := look(k), back) >= 6 and f, 5,
                                        "card %d to show its face" % k)

    def match(k, cards, otherwise=None):
        return next((o for o in sorted(cards & known.keys())
                     if o != k and difference(known[o], known[k]) < 8), otherwise)

    back, known, remaining, moves = look(0), {}, set(range(30)), 0  # known: card -> its face
    while True:
        moves += 1
        first = ([a for a in sorted(remaining & known.keys()) if match(a, remaining) is not None]
                 or sorted(remaining - known.keys()))[0]
        turn(first)
        second = match(first, remaining, min(remaining - known.keys(), default=None))
        turn(second, last=len(remaining) == 2)
        if len(remaining) == 2:
            return moves
        if match(first, {second}) is not None:
            remaining -= {first, second}
        after_move(moves)
