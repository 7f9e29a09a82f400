#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# The real program as a native Wayland client: weston (headless, software
# rendering, no X anywhere) on a private socket, the game with
# QT_QPA_PLATFORM=wayland, and a private D-Bus session with its own
# accessibility bus, all in one run:
#  - the window shows up, drawn with Qt's own decoration, titled "Tavrolin",
#    and Qt's Wayland plugin complains of nothing;
#  - the main panel is centred on the window's outer size, decoration
#    included. This is read off weston's screenshots: the window's outer
#    rectangle is everything that is not weston's green background, the
#    client area below the menu bar is the band around the panel (navy for
#    the first five seconds, then whatever the colour cycle has reached)
#    and the panel is the face-coloured block inside it. Where the panel
#    should stand follows from the outer size and the twips layout
#    (panel_offset in windowlayout.sh); a pixel either way is allowed;
#  - a whole game of twenty hits through the squares' accessible press
#    actions (tests/e2e/a11y_probe.py --press-game) ends with the winner
#    banner and the game's record in the score log.
# With TAVROLIN_E2E_WAYLAND_SHOT=file.png the start-up screenshot, cut to
# the window's outer rectangle, is kept there.
# Usage: e2e_wayland.sh /path/to/tavrolin
set -euo pipefail

me=e2e_wayland
limit=140
# The whole run is bounded: nothing here may hang a test session.
if [ -z "${TAVROLIN_E2E_WAYLAND_TIMED:-}" ]; then
    command -v timeout >/dev/null || { echo "$me: FAIL: timeout is missing" >&2; exit 1; }
    exec timeout -k 5 "$limit" env TAVROLIN_E2E_WAYLAND_TIMED=1 bash "$0" "$@"
fi

bin="$(readlink -f "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
missing() {
    echo "$me: FAIL: $* (./dev installs it)" >&2
    exit 1
}
for tool in weston weston-screenshooter convert dbus-run-session; do
    command -v "$tool" >/dev/null || missing "$tool is missing"
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null || missing "python3-pyatspi is missing"
# Qt's Wayland client plugins, where the Qt the game runs on looks for them.
plugins="$(qtpaths6 --query QT_INSTALL_PLUGINS 2>/dev/null || true)"
if [ -z "$plugins" ]; then
    for dir in /usr/lib/*/qt6/plugins /usr/lib/qt6/plugins /usr/lib64/qt6/plugins; do
        [ -d "$dir/platforms" ] && { plugins="$dir"; break; }
    done
fi
for plugin in "platforms/libqwayland-generic.so" "wayland-shell-integration/libxdg-shell.so"; do
    [ -e "$plugins/$plugin" ] || missing "qt6-wayland is missing: no $plugins/$plugin"
done
compgen -G "$plugins/wayland-decoration-client/*.so" >/dev/null ||
    missing "qt6-wayland is missing: no window decoration in $plugins/wayland-decoration-client"

tmp="$(mktemp -d /tmp/tavrolin-e2e-wayland.XXXXXX)"
weston_pid=
session_pid=
stop() {
    [ -n "$1" ] || return 0
    kill "$1" 2>/dev/null || return 0
    local _
    for _ in $(seq 30); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
    kill -9 "$1" 2>/dev/null || true
}
cleanup() {
    # The game first (it is the session's child, and may outlive it), then
    # the session and the compositor.
    [ -s "$tmp/game.pid" ] && stop "$(cat "$tmp/game.pid")"
    stop "$session_pid"
    stop "$weston_pid"
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "$me: FAIL: out of time ($limit s)" >&2; exit 1' TERM INT

# Keeps the screenshots (the scratch folder goes) and names the folder.
kept_shots() {
    compgen -G "$tmp/shots/*.png" >/dev/null || { echo "no screenshot"; return; }
    local keep
    keep="$(mktemp -d /tmp/tavrolin-e2e-wayland-shots.XXXXXX)"
    cp "$tmp"/shots/*.png "$keep"
    echo "screenshots kept in $keep"
}

fail() {
    echo "$me: FAIL: $*" >&2
    echo "  $(kept_shots)" >&2
    local f
    for f in "$tmp/app.log" "$tmp/weston.log"; do
        [ -s "$f" ] && tail -n 40 "$f" | sed "s/^/  $(basename "$f" .log): /" >&2
    done
    exit 1
}

# --- A home of its own; no X display to fall back on -----------------------
mkdir -p "$tmp/app" "$tmp/shots" "$tmp/home/config" "$tmp/home/data" "$tmp/home/cache" "$tmp/home/runtime"
chmod 700 "$tmp/home/runtime"
cp "$bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data"
export XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home/runtime"
unset DISPLAY WAYLAND_SOCKET DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS QT_SCALE_FACTOR QT_QPA_PLATFORMTHEME \
    QT_WAYLAND_DISABLE_WINDOWDECORATION QT_WAYLAND_DECORATION QT_WAYLAND_SHELL_INTEGRATION || true
# No sound server: the window is what is tested here.
export PULSE_SERVER="unix:$tmp/no-such-server"

# --- weston: headless, pixman (its screenshooter spins on the GL renderer),
# a plain green desktop, no panel, no animation, no screen lock -------------
cat >"$tmp/weston.ini" <<'INI'
[core]
idle-time=0
[shell]
background-color=0xff00c000
panel-position=none
locking=false
animation=none
startup-animation=none
INI
socket=wayland-tavrolin
# --debug lets weston-screenshooter in.
weston --config="$tmp/weston.ini" --backend=headless-backend.so --use-pixman --socket="$socket" \
    --width=1280 --height=1024 --debug >"$tmp/weston.log" 2>&1 &
weston_pid=$!
for _ in $(seq 100); do
    [ -S "$XDG_RUNTIME_DIR/$socket" ] && break
    kill -0 "$weston_pid" 2>/dev/null || fail "weston ended at start-up"
    sleep 0.1
done
[ -S "$XDG_RUNTIME_DIR/$socket" ] || fail "weston did not open its socket within 10 s"
export WAYLAND_DISPLAY="$socket" QT_QPA_PLATFORM=wayland
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# --- What the screenshots and the accessible tree say of the window --------
cat >"$tmp/window.py" <<'PY'
"""Polls weston's screenshots until the game's window is on them, then
measures it: outer rectangle, decoration, client area, panel. Checks the
panel's place against the outer size, and the window's title and client
size as the accessibility bus reads them. Exits 1 saying what is wrong."""
import os
import subprocess
import sys
import time

import pyatspi

SHOTS, GAME_PID, KEEP, LAYOUT = sys.argv[1], int(sys.argv[2]), sys.argv[3], sys.argv[4]
GREEN = (0, 0xC0, 0)      # weston's background, from weston.ini
NAVY = (0, 0, 0x80)       # the client area's colour for the first 5 s
FACE = (0xEF, 0xEF, 0xEF)  # the panel's


def fail(message):
    print("e2e_wayland: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def layout(function, *args):
    """What a function of windowlayout.sh (the layout the X11 tests click
    by) answers, as whole numbers."""
    try:
        run = subprocess.run(["bash", "-c", '. "$0" && "$@"', LAYOUT, function] + [str(a) for a in args],
                             capture_output=True, text=True, timeout=10)
        answer = tuple(int(v) for v in run.stdout.split())
    except (subprocess.SubprocessError, ValueError) as why:
        fail("windowlayout.sh: %s %s: %s" % (function, args, why))
    if run.returncode != 0 or not answer:
        fail("windowlayout.sh: %s %s: %s" % (function, args, run.stderr.strip() or "no answer"))
    return answer


PANEL = layout("panel_size")


class Retry(Exception):
    """What the screenshot shows is not (yet) what is expected."""


class Shot:
    def __init__(self, path):
        self.path = path
        data = subprocess.run(["convert", path, "-depth", "8", "ppm:-"], check=True, capture_output=True,
                              timeout=30).stdout
        fields = data.split(maxsplit=4)  # P6, width, height, 255, pixels
        if fields[0] != b"P6" or fields[3] != b"255":
            fail("convert gave no 8-bit PPM for %s" % path)
        self.width, self.height = int(fields[1]), int(fields[2])
        self.pixels = fields[4]

    def at(self, x, y):
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise Retry("(%d,%d) is off the screen" % (x, y))
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def outer(self):
        """The bounding box (left, top, right, bottom, inclusive) of what is
        not the desktop's background, or None on an empty desktop."""
        green = bytes(GREEN)
        row_bytes = self.width * 3
        empty = green * self.width
        box = None
        for y in range(self.height):
            row = self.pixels[y * row_bytes:(y + 1) * row_bytes]
            if row == empty:
                continue
            left = next(x for x in range(self.width) if row[x * 3:x * 3 + 3] != green)
            right = next(x for x in range(self.width - 1, -1, -1) if row[x * 3:x * 3 + 3] != green)
            if box is None:
                box = [left, y, right, y]
            box = [min(box[0], left), box[1], max(box[2], right), y]
        return box


def run_to(shot, x, y, dx, dy, colour):
    """From (x, y), a pixel of `colour`, the last one of that colour
    stepping by (dx, dy)."""
    while shot.at(x + dx, y + dy) == colour:
        x, y = x + dx, y + dy
    return x, y


def measure(shot):
    box = shot.outer()
    if box is None:
        raise Retry("weston's screen shows only its background")
    x0, y0, x1, y1 = box
    width, height = x1 - x0 + 1, y1 - y0 + 1
    g = {"outer": (x0, y0, width, height)}

    # The client area's colour: navy for the first five seconds. A later
    # shot is read at the same margin point the scans start from, inside
    # the client area's bottom left corner (Qt's decoration draws 3 px
    # borders; the band below and left of a centred panel is 4 px wide).
    mx, my = x0 + 4, y1 - 4
    band = shot.at(mx, my)
    g["late"] = band != NAVY
    if band in (FACE, GREEN):
        raise Retry("no client area at the margin point (%d,%d), which reads #%02X%02X%02X%s"
                    % ((mx, my) + band + (" (the panel's face: is it off centre?)" if band == FACE else "",)))

    # The client area below the menu bar: its bottom edge up from the
    # window's, its sides along that, its top up its left edge.
    _, bottom = run_to(shot, mx, my, 0, 1, band)
    left, _ = run_to(shot, mx, bottom, -1, 0, band)
    right, _ = run_to(shot, mx, bottom, 1, 0, band)
    _, top = run_to(shot, left, bottom, 0, -1, band)
    g["client"] = (left, top, right - left + 1, bottom - top + 1)
    g["margins"] = (left - x0, top - y0, x1 - right, y1 - bottom)  # the top one: title and menu bars

    # The panel's edges, scanned in from the client area's along two
    # columns and two rows: the first pixel that is not the band is the
    # panel's face.
    def edge(x, y, dx, dy):
        while shot.at(x, y) == band:
            x, y = x + dx, y + dy
        if shot.at(x, y) != FACE:
            raise Retry("scanning in from the client area's edge, the first pixel past it, (%d,%d), is"
                        " #%02X%02X%02X, not the panel's face #EFEFEF" % ((x, y) + shot.at(x, y)))
        return x, y
    cols = [left + (right - left) // 4, left + (right - left) // 2]
    rows = [top + (bottom - top) // 3, top + (bottom - top) * 2 // 3]
    tops = {edge(x, top, 0, 1)[1] for x in cols}
    bottoms = {edge(x, bottom, 0, -1)[1] for x in cols}
    lefts = {edge(left, y, 1, 0)[0] for y in rows}
    rights = {edge(right, y, -1, 0)[0] for y in rows}
    for name, found in [("top", tops), ("bottom", bottoms), ("left", lefts), ("right", rights)]:
        if len(found) != 1:
            raise Retry("the panel's %s edge is not straight: %s" % (name, sorted(found)))
    pl, pt, pr, pb = lefts.pop(), tops.pop(), rights.pop(), bottoms.pop()
    g["panel"] = (pl - left, pt - top, pr - pl + 1, pb - pt + 1)  # in the client area below the menu bar
    g["expected"] = layout("panel_offset", width, height)
    return g


def take(n):
    before = set(os.listdir(SHOTS))
    subprocess.run(["timeout", "--foreground", "-k", "2", "10", "weston-screenshooter"], cwd=SHOTS,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    new = sorted(f for f in os.listdir(SHOTS) if f not in before and f.startswith("wayland-screenshot"))
    if not new:
        return None
    path = os.path.join(SHOTS, "shot-%02d.png" % n)
    os.rename(os.path.join(SHOTS, new[-1]), path)
    return path


def game_running():
    try:
        os.kill(GAME_PID, 0)
    except ProcessLookupError:
        return False
    return True


started = time.monotonic()
last = "no screenshot"
geometry = None
n = 0
while time.monotonic() < started + 40:
    if not game_running():
        fail("the game ended before its window was measured (last screenshot: %s)" % last)
    path = take(n)
    n += 1
    if path is None:
        last = "weston-screenshooter saved nothing"
    else:
        try:
            shot = Shot(path)
            geometry = measure(shot)
            break
        except Retry as why:
            last = "%s: %s" % (os.path.basename(path), why)
    time.sleep(0.2)
if geometry is None:
    fail("no window with the game's panel in 40 s; %s" % last)
at = time.monotonic() - started
ox, oy, ow, oh = geometry["outer"]
print("screenshot %s, %.1f s after the game was launched%s" % (os.path.basename(shot.path), at,
      " (the client area had left navy: read at the margin point)" if geometry["late"] else ""))
print("outer rectangle %dx%d at (%d,%d); client area below the menu bar %dx%d at (%d,%d)"
      % ((ow, oh, ox, oy) + geometry["client"][2:] + geometry["client"][:2]))
if KEEP:
    subprocess.run(["convert", shot.path, "-crop", "%dx%d+%d+%d" % (ow, oh, ox, oy), "+repage", "-strip", KEEP],
                   check=True, timeout=30)

# The window's title and client size, as the accessibility bus has them.
frame = None
until = time.monotonic() + 20
while frame is None and time.monotonic() < until:
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name == "tavrolin":
            frames = [app.getChildAtIndex(k) for k in range(app.childCount)]
            frame = next((f for f in frames if f is not None and f.getRoleName() == "frame"), None)
    if frame is None:
        time.sleep(0.3)
if frame is None:
    fail("the game's window is not on the accessibility bus")
if not frame.name.startswith("Tavrolin"):
    fail("the window is titled %r" % frame.name)
bars = [frame.getChildAtIndex(k) for k in range(frame.childCount)]
bars = [b for b in bars if b is not None and b.getRoleName() == "menu bar"]
if len(bars) != 1:
    fail("the window has %d menu bars" % len(bars))
fe = frame.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
menu = bars[0].queryComponent().getExtents(pyatspi.WINDOW_COORDS).height
left, top_and_bars, right, bottom = geometry["margins"]
margins = (left, top_and_bars - menu, right, bottom)
print("window %r: client %dx%d, menu bar %d px; decoration left/top/right/bottom %d/%d/%d/%d"
      % ((frame.name, fe.width, fe.height, menu) + margins))

# What was read off the screen agrees with the window's own size ...
cw, ch = geometry["client"][2:]
if (cw, ch + menu) != (fe.width, fe.height):
    fail("the client area on the screen is %dx%d below a %d px menu bar; the window says %dx%d"
         % (cw, ch, menu, fe.width, fe.height))
if min(margins) < 1 or margins[1] <= max(margins[0], margins[2], margins[3]):
    fail("no decoration around the window: margins %s" % (margins,))
# ... and the panel stands where the outer size puts it.
pl, pt, pw, ph = geometry["panel"]
el, et = geometry["expected"]
print("panel %dx%d at (%d,%d) in the client area below the menu bar, at (%d,%d) on the screen;"
      " expected at (%d,%d), on the screen (%d,%d), for the outer size %dx%d"
      % (pw, ph, pl, pt, geometry["client"][0] + pl, geometry["client"][1] + pt, el, et,
         geometry["client"][0] + el, geometry["client"][1] + et, ow, oh))
if abs(pl - el) > 1 or abs(pt - et) > 1:
    hidden = " (from an edge of the client area on: some of it is hidden beyond)" if min(pl, pt) == 0 else ""
    fail("the panel stands at (%d,%d) below the menu bar%s; for a window of %dx%d outside it belongs at (%d,%d)"
         % (pl, pt, hidden, ow, oh, el, et))
if (pw, ph) != PANEL:
    fail("the panel shows %dx%d, not %dx%d" % ((pw, ph) + PANEL))
PY

# --- Inside the private session: the game, the window's check, a game -----
cat >"$tmp/session.sh" <<'SESSION'
set -u
cd "$APPDIR"
./tavrolin >"$LOG" 2>&1 &
echo $! >"$GAMEPID"
timeout --foreground -k 2 75 /usr/bin/python3 "$WINDOW" "$SHOTS" "$(cat "$GAMEPID")" "$KEEP" "$LAYOUT" || exit 10
echo "e2e_wayland: a whole game through press actions"
timeout --foreground -k 2 50 /usr/bin/python3 "$PROBE" --press-game "$APPDIR/TVL_Scores" || exit 11
kill -0 "$(cat "$GAMEPID")" 2>/dev/null || exit 12
SESSION
APPDIR="$tmp/app" LOG="$tmp/app.log" GAMEPID="$tmp/game.pid" WINDOW="$tmp/window.py" SHOTS="$tmp/shots" \
    KEEP="${TAVROLIN_E2E_WAYLAND_SHOT:+$(readlink -f "$TAVROLIN_E2E_WAYLAND_SHOT")}" PROBE="$here/a11y_probe.py" \
    LAYOUT="$here/windowlayout.sh" \
    dbus-run-session -- bash "$tmp/session.sh" &
session_pid=$!
rc=0
wait "$session_pid" || rc=$?
session_pid=
case "$rc" in
    0) ;;
    10) fail "the window is not as it should be (above)" ;;
    11) fail "the game through press actions went wrong (above)" ;;
    12) fail "the game ended by itself during the run" ;;
    *) fail "the D-Bus session ended with $rc" ;;
esac

# Qt's Wayland plugin said nothing that means it could not do its work.
if grep -E -i "failed to create wl_display|could not load the qt platform plugin|no qt platform plugin could be|qt\.qpa\.wayland.*(could not|failed|error)|shell integration|placeholder screen|fake screen|wayland connection broke" \
    "$tmp/app.log" >&2; then
    fail "Qt's Wayland plugin complained (above)"
fi
echo "$me: OK"
