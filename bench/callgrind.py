#!/usr/bin/python3
"""Instructions to the new-game dialog under callgrind, offscreen: the game, the bare reference Qt
program and the reference in the dialog's six type styles. instruction_counts(bench) adds the
rows to run.py's table."""
import os
import re
import shutil
import statistics
import subprocess
import time

import xsession


def instructions(program, env):
    """Instructions of all threads under callgrind, offscreen, from launch until the program
    settles (less than half a million in half a second: the dialog is drawn, and at most the
    game's text cursor blinks in it)."""
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
        else:
            total = -1e6
    finally:
        proc.terminate()
        proc.wait()
    return total / 1e6


def instruction_counts(bench):
    if not shutil.which("valgrind"):
        bench.single("instructions to dialog (callgrind)", "n/a", "", "valgrind missing")
        return
    game, ref, styled = [], [], []
    reference = bench.program("bench", "bench_reference")
    env = dict(os.environ, DBUS_SESSION_BUS_ADDRESS="disabled:", SDL_AUDIODRIVER="dummy")
    for _ in range(1 if bench.quick else 3):
        for times, program in ((game, [bench.program("src", "lotaro")]), (ref, [reference]),
                               (styled, [reference, "--six-styles"])):
            private = xsession.Private(env)
            times.append(instructions(program, private.env))
            private.close()
    bench.row("instructions to dialog, offscreen: game", game, "M", "<= 1.3 x reference")
    bench.row("instructions: reference Qt program", ref, "M")
    bench.row("instructions: reference in the six type styles", styled, "M")
    for name, values in (("reference", ref), ("reference in six styles", styled)):
        bench.single("instructions ratio game / " + name,
                     "%.2f" % (statistics.median(game) / statistics.median(values)), "",
                     "<= 1.3" if name == "reference" else "")
