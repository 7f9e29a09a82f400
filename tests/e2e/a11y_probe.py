#!/usr/bin/python3
"""Reads the running game over AT-SPI, the way a screen reader does, and
plays three hits with real clicks on the squares it finds there.

Prints what it read; on a fault says what differs and exits 1.
Usage: a11y_probe.py  (DISPLAY and the session bus come from the caller)"""

import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

DEADLINE = time.monotonic() + 60


def fail(message):
    print("a11y_probe: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def find_app():
    while time.monotonic() < DEADLINE:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "tavrolin":
                return app
        time.sleep(0.3)
    fail("the game never showed up on the accessibility bus")


def walk(node, out):
    out.append(node)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, out)


def snapshot(app):
    """Every named object of the game, by name (first one wins)."""
    nodes = []
    walk(app, nodes)
    named = {}
    for n in nodes:
        if n.name and n.name not in named:
            named[n.name] = n
    return nodes, named


def text_of(named, name):
    node = named.get(name)
    if node is None:
        fail("nothing is called %r; names seen: %s" % (name, sorted(named)))
    return node.description


def read_until(app, name, expected):
    """The description of `name` once it reads `expected` (the game updates
    it a moment after the click), or a failure showing what it read."""
    got = None
    until = time.monotonic() + 10
    while time.monotonic() < until:
        got = text_of(snapshot(app)[1], name)
        if got == expected:
            return
        time.sleep(0.2)
    fail("%s reads %r, expected %r" % (name, got, expected))


def value(text):
    return int(text)  # "-0" is 0, "-4" is -4, "7" is 7


def click(node):
    ext = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if ext.width <= 0 or ext.height <= 0:
        fail("%s has no extent on the screen" % node.name)
    x, y = ext.x + ext.width // 2, ext.y + ext.height // 2
    subprocess.run(["xdotool", "mousemove", "--sync", str(x), str(y), "click", "1"], check=True, timeout=10)


ANNOUNCED = []


def on_description(event):
    ANNOUNCED.append(event.source.name if event.source is not None else None)


def pump(seconds):
    """Lets the accessibility events that have come in reach on_description."""
    context = GLib.MainContext.default()
    until = time.monotonic() + seconds
    while time.monotonic() < until:
        while context.iteration(False):
            pass
        time.sleep(0.05)


def square_name(n):
    row, col = (n - 1) // 5, (n - 1) % 5
    return "Square %d, row %d, column %d" % (n, row + 1, col + 1)


def main():
    app = find_app()
    # The tree is filled in as the window is shown; wait for the squares.
    while True:
        nodes, named = snapshot(app)
        if all(square_name(n) in named for n in range(1, 21)):
            break
        if time.monotonic() > DEADLINE:
            fail("the squares are not all on the bus; names seen: %s" % sorted(named))
        time.sleep(0.3)

    # A fresh game, as the window shows it.
    for n in range(1, 21):
        if text_of(named, square_name(n)) != "-0":
            fail("%s reads %r at the start" % (square_name(n), text_of(named, square_name(n))))
    for name, shown in [("Player 1 score", "Score"), ("Player 2 score", "Score"),
                        ("Player 1 attempts", "Attempts"), ("Player 2 attempts", "Attempts"),
                        ("Next turn is for player", "1")]:
        if text_of(named, name) != shown:
            fail("%s reads %r at the start, the window shows %r" % (name, text_of(named, name), shown))
    for label in ["Next turn is for Player No.", "ITS TURN OF PLAYER 1", "PLAYER-I SCORE", "PLAYER-II SCORE"]:
        if label not in named:
            fail("no label reads %r" % label)

    # The menu bar's commands keep their access keys.
    keys = {}
    for n in nodes:
        if n.getRoleName() == "menu item" or n.getRoleName() == "menu":
            try:
                action = n.queryAction()
            except NotImplementedError:
                continue
            keys[n.name] = " ".join(action.getKeyBinding(i) for i in range(action.nActions))
    for name, key in [("Exit", "X"), ("Set Players", "P"), ("Clear AllScores", "C"),
                      ("Show ScoreBoard", "S"), ("Highest Record", "R"), ("Help", "H")]:
        if name not in keys:
            fail("no menu command %r; menu items seen: %s" % (name, keys))
        if keys[name].upper() != "ALT+" + key:
            fail("menu command %r has key binding %r, expected its access key %s" % (name, keys[name], key))
    print("menu key bindings: %s" % keys)

    # Three hits, alternating players: the hit square's new text is the hit's
    # value, which the score labels then add up.
    pyatspi.Registry.registerEventListener(on_description, "object:property-change:accessible-description")
    score = [0, 0]
    attempts = [0, 0]
    for hit, n in enumerate([7, 2, 14]):
        player = hit % 2
        before = {square_name(k): text_of(named, square_name(k)) for k in range(1, 21)}
        del ANNOUNCED[:]
        click(named[square_name(n)])
        # The turn passes first; then the hit square's text is the value.
        read_until(app, "Next turn is for player", "2" if player == 0 else "1")
        nodes, named = snapshot(app)
        worth = value(text_of(named, square_name(n)))
        score[player] += worth
        attempts[player] += 1
        read_until(app, "Player %d score" % (player + 1), str(score[player]))
        read_until(app, "Player %d attempts" % (player + 1), str(attempts[player]))
        # Screen readers hear of the change: every square whose text the
        # renumbering changed announces it (from the fresh board's "-0"s the
        # first hit changes 18; a later one may happen to change none).
        pump(1.0)
        now = {square_name(k): text_of(snapshot(app)[1], square_name(k)) for k in range(1, 21)}
        changed = {name for name in now if now[name] != before[name]}
        heard = {name for name in ANNOUNCED if name and name.startswith("Square ")}
        if hit == 0 and len(changed) != 18:
            fail("the first hit changed %d squares, expected 18" % len(changed))
        if not changed <= heard:
            fail("after hit %d these squares changed without a word: %s" % (hit + 1, sorted(changed - heard)))
        del ANNOUNCED[:]
        print("hit %d on %s worth %d: scores %s, attempts %s, %d squares renumbered and announced"
              % (hit + 1, square_name(n), worth, score, attempts, len(changed)))
        turn_line = "ITS TURN OF PLAYER %d" % (2 - player)
        if turn_line not in snapshot(app)[1]:
            fail("after hit %d no label reads %r" % (hit + 1, turn_line))
    # The other squares were renumbered with the hit: every text is one of
    # the ten the board uses, each shown twice across the two series.
    texts = sorted(text_of(named, square_name(n)) for n in range(1, 21))
    if texts != sorted(["-0", "1", "-2", "3", "-4", "5", "-6", "7", "-8", "9"] * 2):
        fail("the squares read %s" % texts)
    print("squares read %s" % [text_of(named, square_name(n)) for n in range(1, 21)])


main()
