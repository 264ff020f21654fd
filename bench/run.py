#!/usr/bin/python3
"""Builds Release and measures the game against the bare-Qt floor, side by side in one run.

Prints one table: start-up to the new-game dialog (game, a reference Qt program, lmemory when
installed), instructions to the dialog under callgrind (game, the reference, the reference in the
dialog's six type styles), unpacking against plain writes, deals, clicks, peak memory and idle
wake-ups.
Every timing is a median of interleaved rounds with min and max.
"""
import os
import re
import shutil
import statistics
import subprocess
import sys
import tempfile
import time

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), ".."))
BUILD = os.path.join(ROOT, "build", "bench")
sys.path.insert(0, os.path.join(ROOT, "tests", "e2e"))
import driver  # noqa: E402

ROUNDS = int(os.environ.get("LOTARO_BENCH_ROUNDS", "7"))
rows = []
notes = []


def row(what, values, unit, target=""):
    if not values:
        rows.append((what, "n/a", "", "", unit, target))
        return
    rows.append((what, "%.1f" % statistics.median(values), "%.1f" % min(values),
                 "%.1f" % max(values), unit, target))


def build():
    subprocess.run(["cmake", "-S", ROOT, "-B", BUILD, "-G", "Ninja", "-DCMAKE_BUILD_TYPE=Release",
                    "-DLOTARO_TESTS=OFF", "-DLOTARO_BENCH=ON"], check=True, stdout=subprocess.DEVNULL)
    subprocess.run(["cmake", "--build", BUILD], check=True, stdout=subprocess.DEVNULL)


def xvfb():
    display = ":%d" % (300 + os.getpid() % 300)
    proc = subprocess.Popen(["Xvfb", display, "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    env = dict(os.environ, DISPLAY=display, DBUS_SESSION_BUS_ADDRESS="disabled:",
               QT_QPA_PLATFORM="xcb", SDL_AUDIODRIVER="dummy")
    driver.Session.wait_for(lambda: subprocess.run(["xdpyinfo"], env=env,
                                                   capture_output=True).returncode == 0, 10, "X")
    return proc, env


def private_env(env):
    root = tempfile.mkdtemp(prefix="lotaro-bench-")
    runtime = os.path.join(root, "run")
    os.makedirs(runtime, mode=0o700)
    return root, dict(env, XDG_CONFIG_HOME=os.path.join(root, "config"), XDG_RUNTIME_DIR=runtime)


def mapped_ms(env, size, program):
    out = subprocess.run([os.path.join(BUILD, "bench", "mapwatch"), str(size[0]), str(size[1])]
                         + program, env=env, capture_output=True, text=True, timeout=60)
    return float(out.stdout.strip() or -1)


def startup(env):
    game, ref, lmem = [], [], []
    lmemory = shutil.which("lmemory", path=os.environ.get("PATH", "") + ":/usr/games")
    for _ in range(ROUNDS):
        root, e = private_env(env)
        game.append(mapped_ms(e, (370, 489), [os.path.join(BUILD, "src", "lotaro")]))
        shutil.rmtree(root, ignore_errors=True)
        root, e = private_env(env)
        ref.append(mapped_ms(e, (364, 483), [os.path.join(BUILD, "bench", "bench_reference")]))
        shutil.rmtree(root, ignore_errors=True)
        if lmemory:
            lmem.append(mapped_ms(env, (0, 0), [lmemory]))
    row("start-up to dialog mapped: game", game, "ms", "<= 1.25 x reference, each <= 250")
    row("start-up: reference Qt program", ref, "ms")
    if lmemory:
        row("start-up: lmemory (GTK2), first window", lmem, "ms")
    ratio = statistics.median(game) / statistics.median(ref)
    rows.append(("start-up ratio game / reference", "%.2f" % ratio, "", "", "", "<= 1.25"))


def instructions(program, env):
    """Instructions of all threads under callgrind, offscreen, from launch until the program
    settles (less than half a million in half a second: the dialog is up, only its text cursor
    blinks)."""
    proc = subprocess.Popen(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null"]
                            + program, env=dict(env, QT_QPA_PLATFORM="offscreen"),
                            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    last, total = 0, 0
    try:
        for _ in range(240):
            time.sleep(0.5)
            out = subprocess.run(["callgrind_control", "-e", str(proc.pid)], capture_output=True,
                                 text=True).stdout
            total = sum(int(m.replace(",", "")) for m in re.findall(r"Th \d+\s+([\d,]+)", out))
            if total > 20_000_000 and total - last < 500_000:
                break
            last = total
    finally:
        proc.terminate()
        proc.wait()
    return total / 1e6


def instruction_counts(env):
    if not shutil.which("valgrind"):
        rows.append(("instructions to dialog (callgrind)", "n/a", "", "", "", "valgrind missing"))
        return
    game, ref, styled = [], [], []
    reference = os.path.join(BUILD, "bench", "bench_reference")
    for _ in range(3):
        root, e = private_env(env)
        game.append(instructions([os.path.join(BUILD, "src", "lotaro")], e))
        shutil.rmtree(root, ignore_errors=True)
        root, e = private_env(env)
        ref.append(instructions([reference], e))
        styled.append(instructions([reference, "--six-styles"], e))
        shutil.rmtree(root, ignore_errors=True)
    row("instructions to dialog, offscreen: game", game, "M", "<= 1.3 x reference")
    row("instructions: reference Qt program", ref, "M")
    row("instructions: reference in the six type styles", styled, "M")
    for name, values in (("reference", ref), ("reference in six styles", styled)):
        rows.append(("instructions ratio game / " + name,
                     "%.2f" % (statistics.median(game) / statistics.median(values)), "", "", "",
                     "<= 1.3" if name == "reference" else ""))


TARGETS = {"UnpackAssets": "<= 2 x plain writes", "RemoveAssetTree": "<= 5 ms",
           "deal 10 x 8": "<= 15 ms", "card click": "<= 2 ms", "unpack / floor": "<= 2",
           "own 3900-px photos: deal": "<= 300 ms"}


def target(what):
    return next((t for key, t in TARGETS.items() if what.startswith(key)), "")


def parse_bench(program, env):
    out = subprocess.run([os.path.join(BUILD, "bench", program)], env=env, capture_output=True,
                         text=True, timeout=300).stdout
    for line in out.splitlines():
        m = re.match(r"(.+?)\s+median\s+([\d.]+) ms\s+min\s+([\d.]+)\s+max\s+([\d.]+)", line)
        if m:
            what = m.group(1).strip()
            rows.append((what, m.group(2), m.group(3), m.group(4), "ms", target(what)))
        elif line.startswith("peak rss after 1 / 200 deals"):
            one, many = (float(v) for v in line.split(":")[1].split()[:2])
            rows.append(("peak RSS after 1 / 200 deals of 10 x 8, one process",
                         "%.1f / %.1f" % (one, many), "", "", "MB", ""))
            rows.append(("peak RSS growth over 199 deals", "%.1f" % (many - one), "", "", "MB",
                         "<= 1"))
        elif line.startswith("own 3900-px photos: peak rss above built-in deals:"):
            rows.append(("own 3900-px photos: peak RSS above built-in deals",
                         line.split(":")[2].split()[0], "", "", "MB", "<= 20"))
        elif line.startswith("unpack / floor:"):
            rows.append(("unpack / floor", line.split(":")[1].strip(), "", "", "",
                         target("unpack / floor")))
        elif line.strip():
            notes.append(line.strip())


def status(pid, field):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith(field + ":"):
                return int(line.split()[1])
    return 0


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


def memory_and_idle(env):
    game_rss, ref_rss, idle, clock = [], [], [], []
    for _ in range(max(3, ROUNDS // 2)):
        # The 10 x 8 board, turned cards staying up ("Počet", "Otočený" in Qt's key encoding).
        s = driver.Session(os.path.join(BUILD, "src", "lotaro"),
                           "[Nastaven%ED]\nPo%U010Det=0\nOto%U010Den%FD=3\n")
        try:
            dialog = s.wait_dialog(driver.NEW_GAME)
            s.click(*driver.PLAY, dialog)
            s.wait_for(lambda: len(s.windows()) == 1, 10, "the dialog to close")
            time.sleep(1.0)
            game_rss.append(status(s.game.pid, "VmHWM") / 1024)
            s.click(300, 2)  # the bare window: nothing starts
            idle.append(wakeups_per_second(s.game.pid))
            # The first card starts the clock: 87 px from (12, 26) on the 10 x 8 board.
            s.click(12 + 87 // 2, 26 + 87 // 2)
            time.sleep(2)  # its sound has ended and the sound device is closed again
            clock.append(wakeups_per_second(s.game.pid))
        finally:
            s.close()
        root, e = private_env(env)
        ref = subprocess.Popen([os.path.join(BUILD, "bench", "bench_reference")], env=e)
        time.sleep(1.5)
        ref_rss.append(status(ref.pid, "VmHWM") / 1024)
        ref.terminate()
        ref.wait()
        shutil.rmtree(root, ignore_errors=True)
    row("peak RSS after a 10 x 8 deal: game", game_rss, "MB", "<= reference + 10")
    row("peak RSS: reference Qt program", ref_rss, "MB")
    row("wake-ups/s, board idle, no clock", idle, "1/s", "0 (no polling)")
    row("wake-ups/s, clock running", clock, "1/s", "about 1")


def main():
    build()
    proc, env = xvfb()
    try:
        startup(env)
        instruction_counts(env)
        parse_bench("bench_assets", env)
        parse_bench("bench_board", dict(env, QT_QPA_PLATFORM="offscreen"))
        memory_and_idle(env)
    finally:
        proc.terminate()
    with open("/proc/cpuinfo") as f:
        cpu = next((l.split(":", 1)[1].strip() for l in f if l.startswith("model name")), "?")
    print("machine: %s, %d cores; Xvfb 1024x768, no window manager; %d rounds"
          % (cpu, os.cpu_count(), ROUNDS))
    header = ("figure", "median", "min", "max", "unit", "target")
    widths = [max(len(str(r[i])) for r in rows + [header]) for i in range(6)]

    def line(r):
        cells = (str(v).ljust(w) if i in (0, 5) else str(v).rjust(w)
                 for i, (v, w) in enumerate(zip(r, widths)))
        return "| " + " | ".join(cells) + " |"

    print(line(header))
    print("|" + "|".join("-" * (w + 2) for w in widths) + "|")
    for r in rows:
        print(line(r))
    for note in notes:
        print(note)


if __name__ == "__main__":
    main()
