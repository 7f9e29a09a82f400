#!/usr/bin/python3
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
"""Reads the running game over AT-SPI, the way a screen reader does, and
plays three hits with real clicks on the squares it finds there.

With --press-game LOGFILE it plays a whole game instead, as a screen-reader
user does without a mouse: it presses Reset and then twenty squares through
their accessible press actions only (no X11 tool, so it runs on any
display), checks each hit's effect on the scores, attempts and turn it
reads, the winner banner at the end, and that LOGFILE (the game's score log)
then holds that game's record, whole.

Prints what it read; on a fault says what differs and exits 1.
Usage: a11y_probe.py [--press-game LOGFILE]
       (the display and the session bus come from the caller)"""

import argparse
import os
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


def shows(description):
    """What a square shows, from its description ("Shows -4")."""
    if not description.startswith("Shows "):
        fail("a square is described as %r, not as what it shows" % description)
    return description[len("Shows "):]


def square_text(named, n):
    return shows(text_of(named, square_name(n)))


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


def board(app):
    """The tree once the window is shown, with all twenty squares in it."""
    while True:
        nodes, named = snapshot(app)
        if all(square_name(n) in named for n in range(1, 21)):
            return nodes, named
        if time.monotonic() > DEADLINE:
            fail("the squares are not all on the bus; names seen: %s" % sorted(named))
        time.sleep(0.3)


def play_with_clicks():
    app = find_app()
    nodes, named = board(app)

    # A fresh game, as the window shows it.
    for n in range(1, 21):
        if square_text(named, n) != "-0":
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
        worth = value(square_text(named, n))
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
    texts = sorted(square_text(named, n) for n in range(1, 21))
    if texts != sorted(["-0", "1", "-2", "3", "-4", "5", "-6", "7", "-8", "9"] * 2):
        fail("the squares read %s" % texts)
    print("squares read %s" % [square_text(named, n) for n in range(1, 21)])


# What Qt's AT-SPI bridge calls the press action (QAccessibleActionInterface::
# pressAction()) of buttons and of the game's clickable labels; "click" is
# what other toolkits call theirs.
PRESS_NAMES = ("Press", "click")


def action_names(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def press(node):
    """Presses `node` through its accessible press action, as a screen
    reader's "activate" does."""
    names = action_names(node)
    index = next((i for i, name in enumerate(names) if name in PRESS_NAMES), None)
    if index is None:
        fail("%s (%s) offers no press action; its actions: %s" % (node.name, node.getRoleName(), names))
    if not node.queryAction().doAction(index):
        fail("pressing %s was refused" % node.name)
    return names[index]


def wait_until(what, check, seconds=10):
    """Polls check() (letting the game's events in meanwhile) until it gives
    None; fails with what it gave last."""
    until = time.monotonic() + seconds
    while True:
        pump(0.05)
        problem = check()
        if problem is None:
            return
        if time.monotonic() > until:
            fail("%s: %s" % (what, problem))
        time.sleep(0.1)


def reads(named, pairs):
    """A check that the described labels read as given."""
    def check():
        wrong = ["%s reads %r, not %r" % (name, named[name].description, want)
                 for name, want in pairs if named[name].description != want]
        return "; ".join(wrong) or None
    return check


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def read_log(path):
    """The log's lines (CR LF ends), or None while it is not whole."""
    try:
        with open(path, "rb") as f:
            data = f.read()
    except FileNotFoundError:
        return None
    if not data.endswith(b"\r\n"):
        return None
    return data[:-2].decode("utf-8").split("\r\n")


def play_with_presses(log_path):
    app = find_app()
    nodes, named = board(app)
    # Listening for the changes keeps what the bus tells of them current.
    pyatspi.Registry.registerEventListener(lambda event: None, "object:property-change:accessible-description",
                                           "object:state-changed:showing")

    # Labels that only show something offer nothing to press.
    email = [n for n in nodes if n.name.startswith("Email: ")]
    if len(email) != 1:
        fail("no single label shows the e-mail address: %s" % [n.name for n in email])
    for node in [named["Player 1 score"], named["Player 2 attempts"], email[0]]:
        if any(name in PRESS_NAMES for name in action_names(node)):
            fail("%s offers a press action: %s" % (node.name, action_names(node)))

    resets = [n for n in nodes if n.name == "Reset" and n.getRoleName() == "push button"]
    if len(resets) != 1:
        fail("no single Reset button in the tree")
    press(resets[0])
    banner = [n for n in nodes if n.name == "WON"]
    if len(banner) != 1:
        fail("no single label of the winner banner reads 'WON'")
    fresh = [("Player 1 score", "Score"), ("Player 2 score", "Score"), ("Player 1 attempts", "Attempts"),
             ("Player 2 attempts", "Attempts"), ("Next turn is for player", "1")]
    wait_until("after Reset", reads(named, fresh))
    wait_until("after Reset", lambda: "the winner banner shows" if showing(banner[0]) else None)
    if read_log(log_path) is not None:
        fail("%s holds a game before this one has ended" % log_path)

    score, attempts = [0, 0], [0, 0]
    pressed = []
    seen_names = set()
    for hit in range(20):
        player = hit % 2
        n = hit * 7 % 20 + 1  # every square but never the same one twice in a row
        seen_names.add(press(named[square_name(n)]))
        pressed.append(n)
        attempts[player] += 1
        turn = "X" if hit == 19 else str(2 - player)
        wait_until("hit %d on %s" % (hit + 1, square_name(n)),
                   reads(named, [("Player %d attempts" % (player + 1), str(attempts[player])),
                                 ("Next turn is for player", turn)]))
        # The hit square's new number is what the hit scores.
        worth = value(shows(named[square_name(n)].description))
        score[player] += worth
        wait_until("hit %d on %s worth %d" % (hit + 1, square_name(n), worth),
                   reads(named, [("Player %d score" % (player + 1), str(score[player]))]))
        print("press %d on %s worth %d: scores %s, attempts %s" % (hit + 1, square_name(n), worth, score, attempts))
    if any(a == b for a, b in zip(pressed, pressed[1:])):
        fail("the same square was pressed twice in a row: %s" % pressed)
    print("press action seen over AT-SPI: %s" % ", ".join(sorted(seen_names)))

    # The game is over: the banner shows, with the score difference.
    difference = abs(score[0] - score[1])
    wait_until("at the end of the game", reads(named, [("Score difference", "Score Difference = %d" % difference)]))
    wait_until("at the end of the game", lambda: None if showing(banner[0]) else "the winner banner is not shown")
    print("winner banner shown; %s" % named["Score difference"].description)

    # The score log holds this game, whole.
    winner = ("PLAYER 1" if score[0] > score[1] else "PLAYER 2") + " won this game" \
        if score[0] != score[1] else "Nobody won this game"

    def whole_record():
        lines = read_log(log_path)
        if lines is None:
            return "%s holds no whole record" % log_path
        if len(lines) != 6 or any("\r" in line or "\n" in line for line in lines):
            return "%s is not one record of six CR LF lines: %r" % (log_path, lines)
        if not lines[0].startswith("Scores of Game ending on "):
            return "the record starts %r" % lines[0]
        expected = ["PLAYER 1 : ", "PLAYER 2 : "]
        for k in range(2):
            if not (lines[1 + k].startswith(expected[k]) and lines[1 + k].endswith(" = %d" % score[k])):
                return "player %d's line reads %r, scored %d" % (k + 1, lines[1 + k], score[k])
        if lines[3:] != ["Score Difference = %d" % difference, winner, ""]:
            return "the record ends %r" % lines[3:]
        return None
    wait_until("the score log", whole_record)
    print("score log: %s" % read_log(log_path)[:5])


def main():
    parser = argparse.ArgumentParser(description="Reads and plays the running game over AT-SPI.")
    parser.add_argument("--press-game", metavar="LOGFILE",
                        help="play a whole game through press actions; LOGFILE is the game's score log")
    args = parser.parse_args()
    if args.press_game:
        play_with_presses(os.path.abspath(args.press_game))
    else:
        play_with_clicks()


main()
