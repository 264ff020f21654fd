#!/usr/bin/python3
"""End-to-end: the built game under Xvfb, driven with real X input and checked from outside. A
whole 6 x 5 game is played by remembering faces; on the bare server the run then ends by SIGTERM
at the hall of fame, under a window manager and panel (arguments: openbox tint2) by "Konec"."""
import os
import subprocess
import sys
from contextlib import closing

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import driver  # noqa: E402
from driver import SCREEN, Session  # noqa: E402

SETTINGS = "[Nastaven%ED]\nPo%U010Det=2\nOto%U010Den%FD=3\n"  # 6 x 5, turned cards stay up
failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def terminated(session, where):
    """SIGTERM ends the run as "Konec" does, from inside a modal window too. The settings file
    keeps every key it had, and a table of the hall of fame in it is whole: 5 places, 4 keys."""
    before = session.settings()
    session.game.terminate()
    code, after, left = session.game.wait(15), session.settings(), os.listdir(session.runtime)
    whole = all(after.get(s, {}).items() >= keys.items() for s, keys in before.items()) and \
        all(len(keys) == 20 for s, keys in after.items() if s != "Nastaven%ED")
    check(code == 0 and not left and whole,
          "SIGTERM at %s: exit %s, left %s, settings %s" % (where, code, left, after))


def main(executable, *desktop):
    if not desktop:
        bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        alone = subprocess.run([executable], env=bare, capture_output=True, text=True, timeout=60)
        check(alone.returncode == 1 and "No graphical display was found" in alone.stderr,
              "without a display: exit %d, %r" % (alone.returncode, alone.stderr))
        with closing(Session(executable, SETTINGS)) as s:
            s.wait_for(lambda: os.listdir(s.runtime), 10, "the unpacked tree")
            s.xvfb.kill()  # the X platform then ends the process with exit()
            check(s.game.wait(15) == 1 and not os.listdir(s.runtime), "X server gone, tree gone")
        with closing(Session(executable, SETTINGS)) as s:
            s.wait_dialog(driver.NEW_GAME)
            terminated(s, "the new-game dialog")
    with closing(Session(executable, SETTINGS, desktop)) as session:
        dialog = session.wait_dialog(driver.NEW_GAME)
        check(dialog == driver.NEW_GAME_AT, "new-game dialog centred at %s" % (dialog,))
        session.click(*driver.PLAY, dialog)
        session.wait_for(lambda: len(session.windows()) == 1, 10, "the dialog to close")
        board = session.windows()
        check(list(board.values()) == [(0, 0) + SCREEN], "board covers the screen: %s" % board)
        screen = session.screen()
        top, bottom = (screen.crop((0, y, SCREEN[0], y + 30)).resize((12, 12)) for y in (0, 738))
        check(driver.difference(top, bottom) < 12, "the board's texture where a panel would be")

        def minimise(moves):  # with cards turned up, so that a new deal would show
            if moves == 2 and desktop:
                before = session.screen()
                session.run("xdotool", "key", "Escape")
                session.wait_for(lambda: not session.windows(), 5, "the board to minimise")
                session.run("xdotool", "windowactivate", next(iter(board)))
                # Mapped again, the board shows nothing until it has repainted itself.
                session.wait_for(lambda: session.windows() == board and driver.difference(
                    before, session.screen()) < 1, 5, "the board back, showing the same game")

        moves = driver.play(session, minimise)
        result = session.wait_dialog(driver.RESULT_ONE)
        check(result == driver.RESULT_ONE_AT, "result window centred at %s" % (result,))
        session.click(*driver.RESULT_OK, result)
        fame = session.wait_dialog(driver.HALL_OF_FAME)
        check(fame == driver.HALL_OF_FAME_AT, "hall of fame left of the panel at %s" % (fame,))
        if not desktop:  # before its save
            return terminated(session, "the hall of fame")
        session.click(*driver.HALL_OF_FAME_OK, fame)
        dialog = session.wait_dialog(driver.NEW_GAME)
        small = session.settings().get("Mal%FD", {})
        check(small.get("0Jm%E9no") == "Hráč 1" and small.get("0Oto%U010Den%E9") == str(moves),
              "first place in the settings file: Hráč 1, %d moves" % moves)
        session.click(*driver.QUIT, dialog)
        code = session.game.wait(15)
        check(code == 0 and not os.listdir(session.runtime), "Konec: exit %s, tree gone" % code)


if __name__ == "__main__":
    main(*sys.argv[1:])
    sys.exit(1 if failures else 0)
