"""The game and the reference program as real processes on a private Xvfb of a chosen size, each
with its own settings and runtime directory, never the user's; X input through xdotool, dialogs
found by their pixels (dialogpixels.py)."""
import os
import shutil
import subprocess
import tempfile
import time

import dialogpixels

# The new-game dialog at the design's own pixels, and its "OK" from the dialog's top-left corner.
# On a magnified screen both grow by one factor, so "OK" is found at the same share of the size.
NEW_GAME, PLAY = (370, 489), (292, 461)


def wait_for(condition, seconds, what):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        if value := condition():
            return value
        time.sleep(0.02)
    raise TimeoutError("waited %ss for %s" % (seconds, what))


class Display:
    """An Xvfb without a window manager; the server names its display once it takes connections,
    and must not reset when its only client leaves."""

    def __init__(self, size):
        self.size = size
        ready, told = os.pipe()
        self.server = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0",
                                        "%dx%dx24" % size, "-nolisten", "tcp", "-noreset"],
                                       stderr=subprocess.DEVNULL, pass_fds=(told,))
        os.close(told)
        with os.fdopen(ready) as display:  # to the newline, or the server dies of SIGPIPE
            name = display.readline().strip()
        if not name:
            raise RuntimeError("Xvfb did not start at %dx%d" % size)
        self.env = dict(os.environ, DISPLAY=":" + name, DBUS_SESSION_BUS_ADDRESS="disabled:",
                        QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")

    def close(self):
        self.server.terminate()
        self.server.wait()


class Private:
    """A settings and runtime directory of one run; an INI text may be given."""

    def __init__(self, env, ini=""):
        self.root = tempfile.mkdtemp(prefix="lotaro-bench-")
        runtime, config = self.root + "/run", self.root + "/config"
        os.makedirs(runtime, mode=0o700)
        os.makedirs(config + "/Lotaro")
        with open(config + "/Lotaro/Lotaro.ini", "w", encoding="utf-8") as f:
            f.write(ini)
        self.env = dict(env, XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=runtime)

    def close(self):
        shutil.rmtree(self.root, ignore_errors=True)


class Game:
    """One program started on a display, with private directories."""

    def __init__(self, display, program, ini=""):
        self.display, self.private = display, Private(display.env, ini)
        self.process = subprocess.Popen(program, env=self.private.env,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.pid = self.process.pid

    def xdotool(self, *args):
        return subprocess.run(("xdotool",) + args, env=self.private.env, capture_output=True,
                              text=True).stdout

    def dialog(self):
        """The first of the game's framed dialogs on the screen, or None."""
        return next(iter(dialogpixels.on_screen(self.display.env["DISPLAY"])), None)

    def click(self, x, y):
        self.xdotool("mousemove", str(x), str(y), "click", "1")

    def play(self):
        """Waits for the new-game dialog, presses its "OK" and waits for the dialog to go."""
        x, y, w, h = wait_for(self.dialog, 20, "the new-game dialog")
        self.click(x + PLAY[0] * w // NEW_GAME[0], y + PLAY[1] * h // NEW_GAME[1])
        wait_for(lambda: self.dialog() is None, 20, "the new-game dialog to close")

    def status(self, field):
        """A field of /proc/<pid>/status in kB."""
        with open("/proc/%d/status" % self.pid) as f:
            return next(int(line.split()[1]) for line in f if line.startswith(field + ":"))

    def close(self):
        self.process.kill()
        self.process.wait()
        self.private.close()
