#!/usr/bin/python3
"""End-to-end: the built game under Xvfb, driven with real X input and checked from outside.

A whole one-player 6 x 5 game is played by remembering the faces seen on screen; the dialog,
the board, the result window and the hall of fame must appear where their layout rules put
them, the new entry must reach the settings file, and "Konec" must end the process with the
unpacked tree removed. Further arguments name a window manager and its panel to run first
(e.g. openbox tint2): the board must still cover the panel, and Esc must minimise it.
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import driver  # noqa: E402

failures = []


def check(condition, what):
    print(("ok    " if condition else "FAIL  ") + what)
    if not condition:
        failures.append(what)


def near(actual, expected, slack=1):
    return all(abs(a - e) <= slack for a, e in zip(actual, expected))


def placed(size, card_twips=None, screen=(1024, 768)):
    """Top-left corner in pixels: centred, or left of the side panel when a card size is given."""
    w, h = size
    panel = 1.2 * card_twips if card_twips else 0
    left = (screen[0] * 15 - w * 15 - panel) / 2
    top = (screen[1] * 15 - h * 15) / 2
    return round(left / 15), round(top / 15)


def main():
    executable, desktop = sys.argv[1], sys.argv[2:]
    if not desktop:  # once, on the bare server
        bare = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "QT_QPA_PLATFORM")}
        alone = subprocess.run([executable], env=bare, capture_output=True, text=True, timeout=60)
        check(alone.returncode == 1 and "No graphical display was found" in alone.stderr,
              "without a display: exit %d, %r" % (alone.returncode, alone.stderr))
        lost = driver.Session(executable)
        try:  # the X server goes away under the game: the tree goes with the game
            lost.wait_for(lambda: os.listdir(lost.runtime), 10, "the unpacked tree")
            lost.xvfb.kill()
            check(lost.game.wait(15) == 1 and not os.listdir(lost.runtime), "X server gone, tree gone")
        finally:
            lost.close()
    session = driver.Session(executable, settings={"Počet": 2, "Otočený": 3}, desktop=desktop)
    try:
        dialog = session.wait_dialog(driver.NEW_GAME)
        check(near(dialog, placed(driver.NEW_GAME)), "new-game dialog centred at %s" % (dialog,))
        session.click_in(dialog, 3885 + 450, 6720 + 150)
        session.wait_for(lambda: not session.dialogs(), 10, "the dialog to close")
        board = session.mapped_windows()
        geometry = [session.window_geometry(w) for w in board]
        check((0, 0, 1024, 768) in geometry, "board covers the screen: %s" % geometry)
        screen = session.screen()
        top, bottom = (screen.crop((0, y, 1024, y + 30)).resize((12, 12)) for y in (0, 738))
        check(driver.difference(top, bottom) < 12, "the board's texture where a panel would be")

        def minimise(player, first, second, paired):
            if player.moves != 2 or not desktop:
                return
            before = session.screen()
            session.key("Escape")
            session.wait_for(lambda: not session.mapped_windows(), 5, "the board to minimise")
            subprocess.run(["xdotool", "windowactivate", board[0]], env=session.env)
            # Mapped again, the board shows nothing until it has repainted itself.
            session.wait_for(lambda: session.mapped_windows() == board and
                             session.window_geometry(board[0]) == (0, 0, 1024, 768) and
                             driver.difference(before, session.screen()) < 1, 5,
                             "the board back on the whole screen, showing the same game")

        moves = driver.Player(session, 6, 5, 4000, minimise).play()
        check(15 <= moves <= 30, "a whole 6 x 5 game played in %d moves" % moves)

        result = session.wait_dialog(driver.RESULT_ONE)
        check(near(result, placed(driver.RESULT_ONE)), "result window centred at %s" % (result,))
        session.click_in(result, 1785 + 450, 1995 + 150)
        fame = session.wait_dialog(driver.HALL_OF_FAME)
        check(near(fame, placed(driver.HALL_OF_FAME, 1300)),
              "hall of fame left of the panel at %s" % (fame,))
        session.click_in(fame, 4725 + 450, 7455 + 150)

        dialog = session.wait_dialog(driver.NEW_GAME)
        ini = session.read_settings()
        check("[Mal%FD]" in ini, "the small table reached the settings file")
        small = ini.split("[Mal%FD]")[-1].split("\n[")[0]
        check("0Jm%E9no=Hráč 1\n" in small, "its first place is Hráč 1")
        check("0Oto%U010Den%E9=" + str(moves) + "\n" in small, "with %d moves" % moves)
        print(small.strip())

        session.click_in(dialog, 630 + 450, 6720 + 150)  # "Konec"
        try:
            code = session.game.wait(15)
        except Exception:
            code = None
        check(code == 0, "Konec ended the game (exit code %s)" % code)
        check(not os.path.exists(os.path.join(session.runtime, "Lotaro")),
              "the unpacked tree is gone")
    except Exception as e:  # a window that never came is a failure, not a crash of the test
        failures.append(repr(e))
        print("FAIL  %r" % e)
    finally:
        session.close()
    print("%d passed, %d failed" % (0 if failures else 1, 1 if failures else 0))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
