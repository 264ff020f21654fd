#!/usr/bin/python3
"""End-to-end: the game as a process under its own Xvfb. Without a display it says so; when X goes,
or SIGTERM (new-game dialog) or SIGHUP (board) comes, it ends, unpacked tree and all; its output
closed (no runtime directory: a warning at start-up), it plays on. Under openbox with tint2's
panel the board covers the panel and the dialog stands centred on top of it, a click beside it
notwithstanding."""
import os
import signal
import subprocess
import sys
import tempfile
import time

from PIL import ImageGrab

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "bench"))
import dialogpixels  # noqa: E402  the game's dialogs found on the screen by their edge

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    failures.extend([] if condition else [what])


def wait_for(condition, what):
    end = time.monotonic() + 15
    while not condition():
        if time.monotonic() > end:
            raise TimeoutError("waited for " + what)
        time.sleep(0.02)


def display(root):
    """A private X server and the game's environment on it."""
    runtime, config = root + "/runtime", root + "/config"
    os.makedirs(runtime, mode=0o700)
    # -noreset: the server stays up when the game's display check, its first client, leaves.
    ready, told = os.pipe()  # the display is named once the server takes connections
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], pass_fds=(told,))
    os.close(told)
    with os.fdopen(ready) as display:  # read to the newline, or the server dies of SIGPIPE
        return xvfb, dict(os.environ, DISPLAY=":" + display.readline().strip(),
                          XDG_CONFIG_HOME=config, XDG_RUNTIME_DIR=runtime,
                          DBUS_SESSION_BUS_ADDRESS="disabled:", SDL_AUDIODRIVER="dummy",
                          QT_QPA_PLATFORM="xcb")


def session(executable, end):
    with tempfile.TemporaryDirectory(prefix="lotaro-e2e-") as root:
        runtime, config = root + "/runtime", root + "/config"
        xvfb, env = display(root)
        output = None
        if end == "PIPE":  # the tree goes to TMPDIR, and the toolkit warns of the missing directory
            del env["XDG_RUNTIME_DIR"]
            env["TMPDIR"] = runtime
            closed, output = os.pipe()
            os.close(closed)
        game = subprocess.Popen([executable], env=env, stdout=output, stderr=output)
        if output is not None:
            os.close(output)
        try:
            if end == "X":
                wait_for(lambda: os.listdir(runtime), "the unpacked tree")
                xvfb.kill()  # the X platform then ends the process with exit()
                check(game.wait(15) == 1 and not os.listdir(runtime), "X server gone, tree gone")
                return
            wait_for(lambda: dialogpixels.on_screen(env["DISPLAY"]) and os.path.exists(
                runtime + "/Lotaro/zvuky/3.wav"), "the new-game dialog")
            if end == signal.SIGHUP:  # "OK" in the new-game dialog, centred at 1024 x 768
                subprocess.run(["xdotool", "mousemove", "619", "601", "click", "1"], env=env)
                wait_for(lambda: os.path.exists(config), "the choice stored and the board dealt")
            game.send_signal(signal.SIGTERM if end == "PIPE" else end)
            code, written = game.wait(15), os.path.exists(config)
            left = [name for name in os.listdir(runtime) if name != "runtime-root"]  # the toolkit's
            check(code == 0 and not left and written == (end == signal.SIGHUP), "%s: exit %s, "
                  "left %s, settings written: %s" % (getattr(end, "name", end), code, left,
                                                     written))
        finally:
            for p in (game, xvfb):
                p.kill()
                p.wait()


def desktop(executable):
    with tempfile.TemporaryDirectory(prefix="lotaro-e2e-") as root:
        xvfb, env = display(root)
        desk = [subprocess.Popen([p], env=env, stderr=subprocess.DEVNULL)
                for p in ("openbox", "tint2")]
        wait_for(lambda: subprocess.run(["xdotool", "search", "--class", "tint2"], env=env,
                                        capture_output=True).returncode == 0, "the panel")
        game = subprocess.Popen([executable], env=env)
        try:
            wait_for(lambda: dialogpixels.on_screen(env["DISPLAY"]), "the new-game dialog")
            # A click on the board beside the dialog must leave it on top and answering.
            subprocess.run(["xdotool", "mousemove", "100", "700", "click", "1"], env=env)
            shot = ImageGrab.grab(xdisplay=env["DISPLAY"])
            found = dialogpixels.find(shot)
            x, y, w, h = found[0] if found else (0, 0, 0, 0)
            check(len(found) == 1 and abs(x - (1024 - w) / 2) <= 1 and abs(y - (768 - h) / 2) <= 1,
                  "the dialog centred, on top: %s" % found)
            # tint2's panel is dark, the board's paper light.
            check(min(shot.convert("L").getpixel((i, 760)) for i in range(0, 1024, 8)) > 100,
                  "the board covers the panel")
            subprocess.run(["xdotool", "mousemove", str(x + w - 78), str(y + h - 28), "click", "1"],
                           env=env)  # "OK"
            wait_for(lambda: not dialogpixels.on_screen(env["DISPLAY"]) and os.path.exists(
                root + "/config"), "the dialog gone, the choice stored")
            game.send_signal(signal.SIGTERM)
            check(game.wait(15) == 0, "a game dealt and ended")
        finally:
            for p in [game] + desk + [xvfb]:
                p.kill()
                p.wait()

bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
alone = subprocess.run([sys.argv[1]], env=bare, capture_output=True, text=True, timeout=60)
check(alone.returncode == 1 and "No graphical display was found" in alone.stderr,
      "without a display: exit %d, %r" % (alone.returncode, alone.stderr))
bogus = subprocess.run([sys.argv[1], "--bogus"], env=bare, capture_output=True, text=True)
usage = "Usage: lotaro [--scale=M] [--help | --version]\n"
check(bogus.returncode == 2 and bogus.stderr.endswith(usage) and not bogus.stdout,
      "an unknown option: exit %d, %r" % (bogus.returncode, bogus.stderr))
for end in ("X", signal.SIGTERM, signal.SIGHUP, "PIPE"):  # display lost, kill, logout, no output
    session(sys.argv[1], end)
desktop(sys.argv[1])
sys.exit(1 if failures else 0)
