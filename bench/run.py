#!/usr/bin/python3
"""Builds Release and measures the game against the bare-Qt floor, side by side in one run.

Prints one table: start-up to the mapping of the board window, which holds the new-game dialog
(game, a reference Qt program of the same shape, lmemory's first window when installed) at
1024 x 768 and 2560 x 1440, instructions to the dialog under callgrind, unpacking
against plain writes, deals and clicks at several screen sizes, a deal of large own pictures,
peak memory and idle wake-ups. Every timing is a median of interleaved rounds with min and max.

  bench/run [--quick] [--build-dir DIR]

--quick: one round and one figure per row, to show that every measurement still runs.
--build-dir: use the bench programs already built there (configured with LOTARO_BENCH=ON)
instead of building Release into build/bench.
LOTARO_BENCH_ROUNDS sets the number of rounds (7 unless --quick).

Each row provider is a function of the Bench below that adds rows to it; a module of rows
(ownset.py) offers rows(bench), and is imported here and named in PROVIDERS. A measurement that
fails ends the run with an error.
"""
import argparse
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import callgrind  # noqa: E402
import ownset  # noqa: E402
import soundlatency  # noqa: E402
import xsession  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
SMALL, LARGE, HUGE = (1024, 768), (2560, 1440), (3840, 2160)


def at(size):
    return "%dx%d" % size


class Bench:
    def __init__(self, build, rounds, quick):
        self.build, self.rounds, self.quick = build, rounds, quick
        self.rows, self.notes = [], []

    def program(self, *path):
        return os.path.join(self.build, *path)

    def row(self, what, values, unit, target=""):
        if not values or min(values) < 0:
            raise RuntimeError("no figure for " + what)
        self.rows.append((what, "%.1f" % statistics.median(values), "%.1f" % min(values),
                          "%.1f" % max(values), unit, target))

    def single(self, what, value, unit="", target=""):
        self.rows.append((what, value, "", "", unit, target))

    def run(self, program, *args, env=None):
        """The output of a bench program; its failure ends the run."""
        result = subprocess.run([self.program("bench", program), *args], env=env,
                                capture_output=True, text=True, timeout=600)
        if result.returncode != 0:
            raise RuntimeError("%s %s failed (%d): %s" % (program, " ".join(args),
                                                          result.returncode, result.stderr[-2000:]))
        return result.stdout


def build(directory):
    subprocess.run(["cmake", "-S", ROOT, "-B", directory, "-G", "Ninja",
                    "-DCMAKE_BUILD_TYPE=Release", "-DLOTARO_TESTS=OFF", "-DLOTARO_BENCH=ON"],
                   check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", directory], check=True, stdout=subprocess.DEVNULL)


def mapped_ms(bench, env, program, size):
    """Milliseconds from exec to the first frame of the program's window of that size with its
    dialog drawn (0, 0: to the mapping of its first window of any size)."""
    out = subprocess.run([bench.program("bench", "mapwatch"), *map(str, size)] + program,
                         env=env, capture_output=True, text=True, timeout=60)
    return float(out.stdout.strip() or -1)


def startup(bench):
    """To the first frame of the screen-sized board window with the new-game dialog drawn in it;
    the reference maps one of the same size that holds its dialog."""
    lmemory = shutil.which("lmemory", path=os.environ.get("PATH", "") + ":/usr/games")
    for size in (SMALL, LARGE):
        display = xsession.Display(size)
        game, ref, lmem = [], [], []
        try:
            for _ in range(bench.rounds):
                for times, program in ((game, [bench.program("src", "lotaro")]),
                                       (ref, [bench.program("bench", "bench_reference")])):
                    private = xsession.Private(display.env)
                    times.append(mapped_ms(bench, private.env, program, size))
                    private.close()
                if lmemory and size == SMALL:
                    lmem.append(mapped_ms(bench, display.env, [lmemory], (0, 0)))
        finally:
            display.close()
        bench.row("start-up to the dialog drawn at %s: game" % at(size), game, "ms",
                  "<= 1.25 x reference" + (", each <= 250" if size == SMALL else ""))
        bench.row("start-up to the dialog drawn at %s: reference Qt program" % at(size),
                  ref, "ms")
        if lmem:
            bench.row("start-up at %s: lmemory (GTK2), first window" % at(size), lmem, "ms")
        bench.single("start-up ratio game / reference at %s" % at(size),
                     "%.2f" % (statistics.median(game) / statistics.median(ref)), "", "<= 1.25")


TARGETS = {"UnpackAssets": "<= 2 x plain writes", "RemoveAssetTree": "<= 5 ms",
           "deal 10 x 8": "<= 15 ms", "card click": "<= 2 ms", "unpack / floor": "<= 2"}
LARGE_TARGETS = {"deal 10 x 8": "< 25 ms", "card click": "< 2 ms"}


def parse_bench(bench, out, size=None):
    targets = TARGETS if size in (None, SMALL) else LARGE_TARGETS
    suffix = "" if size is None else " at " + at(size)
    for line in out.splitlines():
        m = re.match(r"(.+?)\s+median\s+([\d.]+) ms\s+min\s+([\d.]+)\s+max\s+([\d.]+)", line)
        if m:
            what = m.group(1).strip()
            bench.rows.append((what + suffix, m.group(2), m.group(3), m.group(4), "ms",
                               next((t for k, t in targets.items() if what.startswith(k)), "")))
        elif m := re.match(r"peak rss after 1 / (\d+) deals of 10 x 8: ([\d.]+) ([\d.]+)", line):
            many, one, after = m.group(1), float(m.group(2)), float(m.group(3))
            bench.single("peak RSS after 1 / %s deals of 10 x 8, one process%s"
                         % (many, suffix), "%.1f / %.1f" % (one, after), "MB")
            bench.single("peak RSS growth over %d deals" % (int(many) - 1), "%.1f" % (after - one),
                         "MB", "<= 1")
        elif line.startswith("unpack / floor:"):
            bench.single("unpack / floor", line.split(":")[1].strip(), "",
                         TARGETS["unpack / floor"])
        elif line.strip():
            bench.notes.append(line.strip() + suffix)


def assets_and_board(bench):
    env = dict(os.environ, XDG_RUNTIME_DIR=tempfile.gettempdir())
    parse_bench(bench, bench.run("bench_assets", env=env))
    rounds = "--rounds=%d" % (3 if bench.quick else 15)
    parse_bench(bench, bench.run("bench_board", rounds, "--screen=" + at(SMALL)), SMALL)
    parse_bench(bench, bench.run("bench_board", rounds, "--screen=" + at(LARGE), "deal",
                                   "clicks"), LARGE)
    parse_bench(bench, bench.run("bench_board", rounds, "--screen=" + at(HUGE), "deal"),
                HUGE)


def switches(pid):
    total = 0
    for task in os.listdir("/proc/%d/task" % pid):
        with open("/proc/%d/task/%s/status" % (pid, task)) as f:
            for line in f:
                if "ctxt_switches" in line:
                    total += int(line.split()[1])
    return total


def wakeups_per_second(pid, seconds=5):
    before = switches(pid)
    time.sleep(seconds)
    return (switches(pid) - before) / seconds


# The 10 x 8 board, turned cards staying up ("Počet", "Otočený" in the store's key encoding).
BOARD_10X8 = "[Nastaven%ED]\nPo%U010Det=0\nOto%U010Den%FD=3\n"


def memory_and_idle(bench):
    for size in (SMALL, HUGE):
        display = xsession.Display(size)
        game_rss, ref_rss, idle, clock = [], [], [], []
        try:
            for _ in range(max(1 if bench.quick else 3, bench.rounds // 2)):
                game = xsession.Game(display, [bench.program("src", "lotaro")], BOARD_10X8)
                try:
                    game.play()
                    time.sleep(1.0)  # the board dealt and painted
                    game_rss.append(game.status("VmHWM") / 1024)
                    if size == SMALL:
                        game.click(300, 2)  # the bare window: nothing starts
                        idle.append(wakeups_per_second(game.pid))
                        # The first card starts the clock: 87 px from (12, 26) on 10 x 8.
                        game.click(12 + 87 // 2, 26 + 87 // 2)
                        time.sleep(2)  # its sound has ended and the sound device is closed again
                        clock.append(wakeups_per_second(game.pid))
                finally:
                    game.close()
                ref = xsession.Game(display, [bench.program("bench", "bench_reference")])
                try:
                    xsession.wait_for(ref.dialog, 20, "the reference's dialog")
                    time.sleep(0.5)
                    ref_rss.append(ref.status("VmHWM") / 1024)
                finally:
                    ref.close()
        finally:
            display.close()
        bench.row("peak RSS after a 10 x 8 deal at %s: game" % at(size), game_rss, "MB",
                  "<= reference + 10" if size == SMALL else "<= 80")
        bench.row("peak RSS at %s: reference Qt program" % at(size), ref_rss, "MB")
        if size == SMALL:
            bench.row("wake-ups/s, board idle, no clock", idle, "1/s", "0 (no polling)")
            bench.row("wake-ups/s, clock running", clock, "1/s", "about 1")


def sound_latency(bench):
    if not (shutil.which("pulseaudio") and shutil.which("parec")):
        bench.single("click to first sample of its sound", "n/a", "", "pulseaudio missing")
        return
    for what, values, unit, target in soundlatency.rows(bench.program("src", "lotaro"),
                                                        bench.rounds):
        bench.row(what, values, unit, target)


PROVIDERS = [startup, callgrind.instruction_counts, assets_and_board, ownset.rows, memory_and_idle,
             sound_latency]


def print_table(bench):
    with open("/proc/cpuinfo") as f:
        cpu = next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "?")
    print("machine: %s, %d cores; Xvfb without a window manager; %d rounds; %s"
          % (cpu, os.cpu_count(), bench.rounds, time.strftime("%Y-%m-%d")))
    header = ("figure", "median", "min", "max", "unit", "target")
    rows = bench.rows
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(6)]

    def line(r):
        cells = (str(v).ljust(w) if i in (0, 5) else str(v).rjust(w)
                 for i, (v, w) in enumerate(zip(r, widths)))
        return "| " + " | ".join(cells) + " |"

    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    for note in bench.notes:
        print(note)


def main():
    parser = argparse.ArgumentParser(description="Lotaro's performance table")
    parser.add_argument("--quick", action="store_true", help="one round, one figure per row")
    parser.add_argument("--build-dir", help="bench programs already built there")
    options = parser.parse_args()
    rounds = int(os.environ.get("LOTARO_BENCH_ROUNDS", "1" if options.quick else "7"))
    directory = os.path.abspath(options.build_dir or os.path.join(ROOT, "build", "bench"))
    if not options.build_dir:
        build(directory)
    bench = Bench(directory, max(1, rounds), options.quick)
    for provider in PROVIDERS:
        provider(bench)
    print_table(bench)


if __name__ == "__main__":
    main()
