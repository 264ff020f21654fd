#!/usr/bin/python3
"""End-to-end: the built game under its own Xvfb, driven with real X input and checked from
outside, never with the user's settings. On the bare server the run ends by SIGTERM at the quit
question; under a window manager and panel (arguments: openbox tint2) the board is minimised and
restored, and the run ends by "Konec"."""
import configparser
import io
import os
import subprocess
import sys
import tempfile
import time
from contextlib import closing

from PIL import Image, ImageChops, ImageStat

SCREEN = (1024, 768)
SETTINGS = "[Nastaven%ED]\nPo%U010Det=2\nOto%U010Den%FD=3\n"  # 6 x 5, turned cards stay up
# The windows at 1024 x 768: the frame's size, its top-left corner (3 px outside the client
# area), the middle of the buttons pressed from that corner. The new-game dialog is centred, the
# quit question centred left of the board's side panel (1.2 cards wide).
NEW_GAME, NEW_GAME_AT, PLAY = (370, 489), (327, 140), (292, 461)
QUIT, QUIT_AT, QUIT_OK, MENU_QUIT = (298, 98), (311, 335), (215, 76), (935, 682)
# The 6 x 5 board: 87-px (1300-twip) cards, the first at (192, 161).
CARD, FIRST_CARD = 87, (192, 161)
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if value := condition():
            return value
        time.sleep(0.02)
    raise TimeoutError("waited %ss for %s" % (seconds, what))


def difference(a, b):
    return sum(ImageStat.Stat(ImageChops.difference(a, b)).mean) / 3


class Session:
    def __init__(self, executable, desktop=()):
        self.tmp = tempfile.TemporaryDirectory(prefix="lotaro-e2e-")
        root = self.tmp.name
        self.runtime, self.ini = root + "/runtime", root + "/config/Lotaro/Lotaro.ini"
        os.makedirs(self.runtime, mode=0o700)
        os.makedirs(os.path.dirname(self.ini))
        with open(self.ini, "w", encoding="utf-8") as f:
            f.write(SETTINGS)
        # The server names its display once it takes connections. It must not reset when its
        # only client leaves, or a window manager connecting then finds none.
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
            wait_for(lambda: not desktop or "(CARDINAL) = " in (w := self.run(
                "xprop", "-root", "_NET_WORKAREA")) and "= 0, 0, 1024, 768" not in w, 30,
                "the panel")
        except TimeoutError:
            self.close()
            raise
        self.game = subprocess.Popen([executable], env=self.env)

    def run(self, *command, text=True):
        return subprocess.run(command, env=self.env, capture_output=True, text=text).stdout

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
        found = {}
        for w in self.run("xdotool", "search", "--onlyvisible", "--pid", str(self.game.pid)).split():
            v = dict(line.split("=") for line in self.run(
                "xdotool", "getwindowgeometry", "--shell", w).split())
            if "HEIGHT" in v:  # not gone meanwhile
                found[w] = tuple(int(v[k]) for k in ("X", "Y", "WIDTH", "HEIGHT"))
        return found

    def wait_dialog(self, size):
        """Waits for a window of the given size; returns its top-left corner."""
        return wait_for(lambda: next((g[:2] for g in self.windows().values() if g[2:] == size),
                                     None), 10, "a %dx%d window" % size)

    def terminated(self, where):
        """SIGTERM ends the run as "Konec" does, from inside a modal window too. The settings
        file keeps every key it had, and a table of the hall of fame in it is whole."""
        before = self.settings()
        self.game.terminate()
        code, after, left = self.game.wait(15), self.settings(), os.listdir(self.runtime)
        whole = all(after.get(s, {}).items() >= keys.items() for s, keys in before.items()) and \
            all(len(keys) == 20 for s, keys in after.items() if s != "Nastaven%ED")
        check(code == 0 and not left and whole,
              "SIGTERM at %s: exit %s, left %s, settings %s" % (where, code, left, after))

    def close(self):  # the private directories go as a whole, the unpacked tree with them
        for p in filter(None, [self.game] + self.desktop + [self.xvfb]):
            p.kill()
            p.wait()
        self.tmp.cleanup()


def main(executable, *desktop):
    if not desktop:
        bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        alone = subprocess.run([executable], env=bare, capture_output=True, text=True, timeout=60)
        check(alone.returncode == 1 and "No graphical display was found" in alone.stderr,
              "without a display: exit %d, %r" % (alone.returncode, alone.stderr))
        with closing(Session(executable)) as s:
            wait_for(lambda: os.listdir(s.runtime), 10, "the unpacked tree")
            s.xvfb.kill()  # the X platform then ends the process with exit()
            check(s.game.wait(15) == 1 and not os.listdir(s.runtime), "X server gone, tree gone")
        with closing(Session(executable)) as s:
            s.wait_dialog(NEW_GAME)
            s.terminated("the new-game dialog")
    with closing(Session(executable, desktop)) as session:
        dialog = session.wait_dialog(NEW_GAME)
        check(dialog == NEW_GAME_AT, "new-game dialog centred at %s" % (dialog,))
        session.click(*PLAY, dialog)
        wait_for(lambda: len(session.windows()) == 1, 10, "the dialog to close")
        board = session.windows()
        check(list(board.values()) == [(0, 0) + SCREEN], "board covers the screen: %s" % board)
        screen = session.screen()
        top, bottom = (screen.crop((0, y, SCREEN[0], y + 30)).resize((12, 12)) for y in (0, 738))
        check(difference(top, bottom) < 12, "the board's texture where a panel would be")

        x, y = FIRST_CARD
        back = session.screen().crop((x, y, x + CARD, y + CARD))
        session.click(CARD // 2, CARD // 2, FIRST_CARD)
        wait_for(lambda: difference(session.screen().crop((x, y, x + CARD, y + CARD)), back) >= 6,
                 5, "the card to show its face")
        if desktop:  # with a card turned up, so that a new deal would show
            before = session.screen()
            session.run("xdotool", "key", "Escape")
            wait_for(lambda: not session.windows(), 5, "the board to minimise")
            session.run("xdotool", "windowactivate", next(iter(board)))
            # Mapped again, the board shows nothing until it has repainted itself.
            wait_for(lambda: session.windows() == board and difference(
                before, session.screen()) < 1, 5, "the board back, showing the same game")
        session.click(*MENU_QUIT)
        quit_at = session.wait_dialog(QUIT)
        check(quit_at == QUIT_AT, "quit question left of the panel at %s" % (quit_at,))
        if not desktop:
            return session.terminated("the quit question")
        session.click(*QUIT_OK, quit_at)
        code = session.game.wait(15)
        check(code == 0 and not os.listdir(session.runtime), "Konec: exit %s, tree gone" % code)


if __name__ == "__main__":
    main(*sys.argv[1:])
    sys.exit(1 if failures else 0)
