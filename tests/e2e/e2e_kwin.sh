#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# The real program on KDE Plasma's own compositor: kwin_wayland on a
# 1280x1024 virtual output with its rootless XWayland and a private session
# bus, the desktop's default settings (Breeze frames) except new windows
# centred. Two rows, one game each:
#   wayland    QT_QPA_PLATFORM=wayland: kwin draws the frame itself
#              (server-side, through xdg-decoration) and does not tell the
#              window its size;
#   xwayland   QT_QPA_PLATFORM=xcb: kwin frames the window as an X11 window
#              manager and publishes the frame (_NET_FRAME_EXTENTS).
# In each, tests/e2e/desktop_probe.py checks the title and menu bar, the
# panel's place for the outer size (on Wayland as kwin's own picture of
# the window shows it) and that none of it is cut off, and a real click
# (kwin's fake-input protocol) on a square.
# With TAVROLIN_E2E_SHOTS=DIR the start-up pictures of the window are kept
# there (kwin-wayland-startup.png, kwin-xwayland-startup.png).
# A kwin that cannot start skips the test, and fails it under CI=true.
# Usage: e2e_kwin.sh /path/to/tavrolin
set -euo pipefail

me=e2e_kwin
limit=200
desktop=kwin
# The whole run is bounded: nothing here may hang a test session.
if [ -z "${TAVROLIN_E2E_KWIN_TIMED:-}" ]; then
    command -v timeout >/dev/null || { echo "$me: FAIL: timeout is missing" >&2; exit 1; }
    exec timeout -k 5 "$limit" env TAVROLIN_E2E_KWIN_TIMED=1 bash "$0" "$@"
fi
# shellcheck source=tests/e2e/desktopsession.sh
. "$(dirname "$0")/desktopsession.sh"
need kwin_wayland Xwayland dbus-daemon xdotool xprop xwininfo convert
compgen -G "/usr/lib/*/qt5/plugins/org.kde.kdecoration2/breezedecoration.so" >/dev/null ||
    fail "kwin's Breeze frames are missing (package kwin-style-breeze; ./dev test installs it)"

start_dbus session

# kwin_wayland carries the cap_sys_resource file capability, which a
# container may refuse to grant ("Operation not permitted"); a copy of the
# binary has none and runs the same.
kwin="$(command -v kwin_wayland)"
if ! "$kwin" --version >/dev/null 2>&1; then
    cp "$kwin" "$tmp/kwin_wayland"
    kwin="$tmp/kwin_wayland"
fi
# Its restricted interfaces (ScreenShot2, fake input) are open to the test.
export KWIN_WAYLAND_NO_PERMISSION_CHECKS=1 KWIN_SCREENSHOT_NO_PERMISSION_CHECKS=1
cat >"$XDG_CONFIG_HOME/kwinrc" <<'INI'
[Windows]
Placement=Centered
INI
# kwin starts this in its session (with no arguments): it says where
# XWayland is, then waits, no longer than the test may run (kwin leaves it
# behind when it ends; the cleanup ends it by its id).
cat >"$tmp/started.sh" <<SH
#!/bin/sh
echo "\$\$ \${DISPLAY:-} \${XAUTHORITY:-}" >"$tmp/started.part" && mv "$tmp/started.part" "$tmp/started"
exec sleep $limit
SH
chmod +x "$tmp/started.sh"
socket=wayland-tavrolin
(cd "$tmp" && exec "$kwin" --virtual --width 1280 --height 1024 --xwayland --socket "$socket" \
    --no-lockscreen --no-global-shortcuts --no-kactivities "$tmp/started.sh") >"$tmp/kwin.log" 2>&1 &
kwin_pid=$!
pids+=("$kwin_pid")
for _ in $(seq 300); do
    [ -s "$tmp/started" ] && break
    kill -0 "$kwin_pid" 2>/dev/null || cannot_start "kwin_wayland ended at start-up"
    sleep 0.1
done
[ -s "$tmp/started" ] || cannot_start "kwin_wayland started nothing in 30 s"
read -r started_pid display auth <"$tmp/started"
pids+=("$started_pid")
[ -n "$display" ] || fail "kwin_wayland started no XWayland"
export WAYLAND_DISPLAY="$socket" DISPLAY="$display"
[ -z "$auth" ] || export XAUTHORITY="$auth"
grep -q "Could not locate decoration plugin" "$tmp/kwin.log" && fail "kwin found no Breeze frames"

run_row wayland wayland
run_row xwayland xcb
echo "$me: passed"
