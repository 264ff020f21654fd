"""The game's dialogs found by their pixels on the screen, wherever they are drawn: as windows of
their own or inside the board. Every dialog has the same raised edge, three rings of a whole
number of device pixels each, outermost first: #C0C0C0 top and left with black bottom and right,
white with #808080, then #C0C0C0 all round; the bottom and right lines run the whole width and
height. Its bottom-right corner is therefore where a long black row and a long black column
meet, and the rest of the edge tells it from a card's or a panel's black lines."""
import numpy as np
from PIL import ImageGrab

LONG = 100  # px of black a dialog's bottom and right lines have at the least
GREY, DARK, WHITE = (0xC0, 0xC0, 0xC0), (0x80, 0x80, 0x80), (0xFF, 0xFF, 0xFF)


def run(line):
    """How many black pixels a line starts with."""
    other = np.flatnonzero(~line)
    return int(other[0]) if other.size else line.size


def find(image):
    """The framed dialogs in a picture as (x, y, width, height) each, edge included."""
    a = np.asarray(image.convert("RGB"))
    black = ~a.any(axis=2)
    # Black ends here, to the right and below: a corner, if long runs lead to it.
    corner = black.copy()
    corner[:, :-1] &= ~black[:, 1:]
    corner[:-1, :] &= ~black[1:, :]
    ys, xs = np.nonzero(corner)
    keep = (xs >= LONG - 1) & (ys >= LONG - 1)
    ys, xs = ys[keep], xs[keep]
    across = np.pad(black.cumsum(axis=1, dtype=np.int32), ((0, 0), (1, 0)))
    down = np.pad(black.cumsum(axis=0, dtype=np.int32), ((1, 0), (0, 0)))
    keep = ((across[ys, xs + 1] - across[ys, xs + 1 - LONG] == LONG)
            & (down[ys + 1, xs] - down[ys + 1 - LONG, xs] == LONG))
    found = []
    for y1, x1 in zip(ys[keep], xs[keep]):
        x0, y0 = x1 + 1 - run(black[y1, x1::-1]), y1 + 1 - run(black[y1::-1, x1])
        ring = 0  # the black ring's width, along the diagonal into the dialog
        while ring < LONG and black[y1 - ring, x1 - ring]:
            ring += 1
        if (tuple(a[y1 - ring, x1 - ring]) == DARK and tuple(a[y0 + ring, x0 + ring]) == WHITE
                and (a[y0, x0:x1 + 1 - ring] == GREY).all()
                and (a[y0:y1 + 1 - ring, x0] == GREY).all()):
            found.append((int(x0), int(y0), int(x1 - x0 + 1), int(y1 - y0 + 1)))
    return found


def on_screen(display):
    """The framed dialogs on an X display (":N")."""
    return find(ImageGrab.grab(xdisplay=display))
