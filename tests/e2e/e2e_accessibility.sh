#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Screen-reader access to the real program: under a private X server and a
# private D-Bus session with its own accessibility bus, the game is started
# with Qt's AT-SPI bridge on; tests/e2e/a11y_probe.py then reads the
# accessible tree as a screen reader would, clicks three squares it finds
# there, and checks the scores, attempts and turn it reads against the game;
# then, as a screen-reader user without a mouse, it presses Reset and plays
# a whole game through the squares' accessible press actions, and checks the
# winner banner and the game's record in the score log.
# Usage: e2e_accessibility.sh /path/to/tavrolin
set -euo pipefail

bin="$(readlink -f "$1")"
here="$(cd "$(dirname "$0")" && pwd)"
for tool in Xvfb xdotool dbus-run-session; do
    command -v "$tool" >/dev/null || { echo "e2e_accessibility: $tool is missing (./dev installs it)" >&2; exit 1; }
done
/usr/bin/python3 -c 'import pyatspi' 2>/dev/null ||
    { echo "e2e_accessibility: python3-pyatspi is missing (./dev installs it)" >&2; exit 1; }

tmp="$(mktemp -d /tmp/tavrolin-e2e-a11y.XXXXXX)"
xvfb=
cleanup() {
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null && wait "$xvfb" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "e2e_accessibility: FAIL: $*" >&2
    [ -f "$tmp/app.log" ] && sed 's/^/  app: /' "$tmp/app.log" >&2
    exit 1
}

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$tmp/display" 2>"$tmp/xvfb.log" &
xvfb=$!
for _ in $(seq 100); do [ -s "$tmp/display" ] && break; sleep 0.1; done
[ -s "$tmp/display" ] || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$tmp/display")"

mkdir -p "$tmp/app" "$tmp/home/config" "$tmp/home/data" "$tmp/home/cache" "$tmp/home/runtime"
chmod 700 "$tmp/home/runtime"
cp "$bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data"
export XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home/runtime"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS QT_SCALE_FACTOR QT_QPA_PLATFORMTHEME || true
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_QPA_PLATFORM=xcb

# Inside the private session: the accessibility bus (started by D-Bus
# activation as the game's bridge asks for it), the game, and the probe.
# Everything in the session ends with it.
cat >"$tmp/session.sh" <<'SESSION'
set -u
cd "$APPDIR"
./tavrolin >"$LOG" 2>&1 &
game=$!
trap 'kill $game 2>/dev/null; wait $game 2>/dev/null' EXIT
timeout 90 /usr/bin/python3 "$PROBE" || exit 1
echo "e2e_accessibility: a whole game through press actions"
timeout 120 /usr/bin/python3 "$PROBE" --press-game "$APPDIR/TVL_Scores"
SESSION
APPDIR="$tmp/app" LOG="$tmp/app.log" PROBE="$here/a11y_probe.py" \
    timeout 240 dbus-run-session -- bash "$tmp/session.sh" ||
    fail "the accessible tree does not read as the game shows it (exit $?)"
echo "e2e_accessibility: OK"
