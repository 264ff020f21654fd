#!/usr/bin/python3
"""End-to-end: the built game as a process, under its own Xvfb and never with the user's
settings. Without a display it says so; when the X server goes, or SIGTERM or SIGHUP comes
while the new-game dialog waits, the unpacked tree goes with it and the settings stay as
they were."""
import os
import signal
import subprocess
import sys
import tempfile
import time

SETTINGS = "[Nastaven%ED]\nPo%U010Det=2\n"  # 6 x 5
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def wait_for(condition, what):
    end = time.monotonic() + 15
    while not condition():
        if time.monotonic() > end:
            raise TimeoutError("waited for " + what)
        time.sleep(0.02)


def session(executable, end):
    with tempfile.TemporaryDirectory(prefix="lotaro-e2e-") as root:
        runtime, ini = root + "/runtime", root + "/config/Lotaro/Lotaro.ini"
        os.makedirs(runtime, mode=0o700)
        os.makedirs(os.path.dirname(ini))
        with open(ini, "w", encoding="utf-8") as f:
            f.write(SETTINGS)
        ready, told = os.pipe()  # the server names its display once it takes connections
        xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-screen", "0", "1024x768x24",
                                 "-nolisten", "tcp"], stderr=subprocess.DEVNULL, pass_fds=(told,))
        os.close(told)
        with os.fdopen(ready) as display:  # read to the newline, or the server dies of SIGPIPE
            env = dict(os.environ, DISPLAY=":" + display.readline().strip(),
                       XDG_CONFIG_HOME=root + "/config", XDG_RUNTIME_DIR=runtime,
                       DBUS_SESSION_BUS_ADDRESS="disabled:", SDL_AUDIODRIVER="dummy",
                       QT_QPA_PLATFORM="xcb")
        game = subprocess.Popen([executable], env=env)
        try:
            if end == "X":
                wait_for(lambda: os.listdir(runtime), "the unpacked tree")
                xvfb.kill()  # the X platform then ends the process with exit()
                check(game.wait(15) == 1 and not os.listdir(runtime), "X server gone, tree gone")
                return
            wait_for(lambda: subprocess.run(["xdotool", "search", "--onlyvisible", "--pid",
                                             str(game.pid)], env=env, capture_output=True)
                     .returncode == 0 and os.path.exists(runtime + "/Lotaro/zvuky/3.wav"),
                     "the new-game dialog")
            game.send_signal(end)
            code, left = game.wait(15), os.listdir(runtime)
            with open(ini, encoding="utf-8") as f:
                kept = f.read()
            check(code == 0 and not left and kept == SETTINGS,
                  "%s at the new-game dialog: exit %s, left %s, %r" % (end.name, code, left, kept))
        finally:
            for p in (game, xvfb):
                p.kill()
                p.wait()


def main(executable):
    bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
    alone = subprocess.run([executable], env=bare, capture_output=True, text=True, timeout=60)
    check(alone.returncode == 1 and "No graphical display was found" in alone.stderr,
          "without a display: exit %d, %r" % (alone.returncode, alone.stderr))
    session(executable, "X")
    for number in (signal.SIGTERM, signal.SIGHUP):  # a kill, the end of the session
        session(executable, number)


if __name__ == "__main__":
    main(*sys.argv[1:])
    sys.exit(1 if failures else 0)
