#!/usr/bin/python3
"""Click-to-sound latency: from a click on a card to the first sample of its sound reaching the
sound server. A private PulseAudio with a null sink stands in for the desktop's server; parec
records the sink's monitor in small blocks, each stamped when it arrives, so a sample's time is
known to a few milliseconds (the monitor's own delay is counted in, never taken off).

rows(lotaro_path, rounds) gives (what, values, unit, target) rows; run alone, it prints them.
Needs Xvfb, xdotool, pulseaudio and pulseaudio-utils (parec), PIL and numpy.
"""
import array
import os
import shutil
import statistics
import subprocess
import sys
import tempfile
import threading
import time

import dialogpixels

RATE = 44100
BLOCK = 256  # frames a read: 5.8 ms
# The 10 x 8 board, turned cards staying up ("Počet", "Otočený" in Qt's key encoding); 87 px
# cards from (12, 26) at 1024 x 768.
SETTINGS = "[Nastaven%ED]\nPo%U010Det=0\nOto%U010Den%FD=3\n"
OK = (619, 601)  # "OK" of the new-game dialog, centred at 1024 x 768


def card(k):
    return 12 + 87 * (k % 10) + 43, 26 + 87 * (k // 10) + 43


class Recorder:
    """Keeps the arrival time of every non-silent block of the monitor."""

    def __init__(self, env):
        self.proc = subprocess.Popen(
            ["parec", "--raw", "--device=bench.monitor", "--format=s16le", "--channels=1",
             "--rate=%d" % RATE, "--latency-msec=5"], env=env, stdout=subprocess.PIPE)
        self.sounding = []  # (arrival, frames of silence before the first sample in the block)
        threading.Thread(target=self.read, daemon=True).start()

    def read(self):
        while True:
            data = self.proc.stdout.read(BLOCK * 2)
            now = time.monotonic()
            if not data:
                return
            samples = array.array("h", data)
            first = next((i for i, v in enumerate(samples) if abs(v) > 1), None)
            if first is not None:
                # The block ends at its arrival; its first sound sample came that much earlier.
                self.sounding.append(now - (len(samples) - first) / RATE)

    def first_after(self, t, timeout=3.0):
        end = time.monotonic() + timeout
        while time.monotonic() < end:
            later = [s for s in self.sounding if s >= t]
            if later:
                return later[0]
            time.sleep(0.002)
        return None

    def close(self):
        self.proc.kill()
        self.proc.wait()


def start_server(root):
    env = dict(os.environ, HOME=root, XDG_RUNTIME_DIR=root, XDG_CONFIG_HOME=root + "/config")
    env.pop("PULSE_SERVER", None)
    server = subprocess.Popen(
        ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--log-level=error",
         "-L", "module-null-sink sink_name=bench",
         "-L", "module-native-protocol-unix auth-anonymous=1 socket=%s/pa" % root], env=env)
    env["PULSE_SERVER"] = "unix:%s/pa" % root
    end = time.monotonic() + 10
    while subprocess.run(["pactl", "info"], env=env, capture_output=True).returncode != 0:
        if time.monotonic() > end:
            raise TimeoutError("pulseaudio did not start")
        time.sleep(0.05)
    return server, env


def start_xvfb():
    ready, told = os.pipe()
    xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(told), "-noreset", "-nolisten", "tcp",
                             "-screen", "0", "1024x768x24"], pass_fds=(told,))
    os.close(told)
    with os.fdopen(ready) as f:
        return xvfb, ":" + f.readline().strip()


def one_round(lotaro, env, recorder, gaps):
    """Clicks cards one after another; gives the latency of each sound in ms."""
    with tempfile.TemporaryDirectory(prefix="lotaro-sound-") as root:
        os.makedirs(root + "/config/Lotaro")
        with open(root + "/config/Lotaro/Lotaro.ini", "w") as f:
            f.write(SETTINGS)
        os.makedirs(root + "/run", mode=0o700)
        genv = dict(env, XDG_CONFIG_HOME=root + "/config", XDG_RUNTIME_DIR=root + "/run",
                    QT_QPA_PLATFORM="xcb", DBUS_SESSION_BUS_ADDRESS="disabled:")
        genv.pop("SDL_AUDIODRIVER", None)
        game = subprocess.Popen([lotaro], env=genv)
        try:
            end = time.monotonic() + 20
            while not dialogpixels.on_screen(env["DISPLAY"]):  # the new-game dialog
                if time.monotonic() > end:
                    raise TimeoutError("the new-game dialog")
                time.sleep(0.05)
            time.sleep(1.0)  # a player reads the dialog first
            subprocess.run(["xdotool", "mousemove", str(OK[0]), str(OK[1]), "click", "1"],
                           env=genv)
            while dialogpixels.on_screen(env["DISPLAY"]):
                time.sleep(0.05)
            latencies = []
            for k, gap in enumerate(gaps):
                time.sleep(gap)
                x, y = card(k)
                t = time.monotonic()
                subprocess.run(["xdotool", "mousemove", str(x), str(y), "click", "1"], env=genv)
                heard = recorder.first_after(t)
                latencies.append(None if heard is None else (heard - t) * 1000)
            return latencies
        finally:
            game.terminate()
            try:
                game.wait(10)
            except subprocess.TimeoutExpired:
                game.kill()
                game.wait()


def rows(lotaro_path, rounds):
    root = tempfile.mkdtemp(prefix="lotaro-pa-")
    server, env = start_server(root)
    xvfb, display = start_xvfb()
    env["DISPLAY"] = display
    recorder = Recorder(env)
    # The first card 1 s after the board; one 0.6 s later (device still open); one after 2 s
    # of quiet (the device was given back and opens again).
    first, soon, after_quiet = [], [], []
    try:
        for _ in range(rounds):
            a, b, c = one_round(lotaro_path, env, recorder, [1.0, 0.6, 2.0])
            for values, v in ((first, a), (soon, b), (after_quiet, c)):
                if v is not None:
                    values.append(v)
    finally:
        recorder.close()
        for p in (xvfb, server):
            p.terminate()
            p.wait()
        shutil.rmtree(root, ignore_errors=True)
    return [("click to first sample: first card", first, "ms", "<= 100"),
            ("click to first sample: next card, 0.6 s later", soon, "ms", "<= 50"),
            ("click to first sample: card after 2 s of quiet", after_quiet, "ms", "<= 50")]


if __name__ == "__main__":
    lotaro = sys.argv[1] if len(sys.argv) > 1 else os.path.join(
        os.path.dirname(os.path.abspath(__file__)), "..", "build", "bench", "src", "lotaro")
    n = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    for what, values, unit, target in rows(lotaro, n):
        if values:
            print("%-48s median %6.1f  min %6.1f  max %6.1f %s  (%d of %d)  target %s" % (
                what, statistics.median(values), min(values), max(values), unit, len(values),
                n, target))
        else:
            print("%-48s n/a  target %s" % (what, target))
