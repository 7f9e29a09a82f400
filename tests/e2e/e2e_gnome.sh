#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# The real program on GNOME's own compositor: gnome-shell headless on a
# 1280x1024 virtual monitor, with a private session bus, system bus and
# PipeWire, the desktop's default settings except a plain background and
# new windows centred. Two rows, one game each:
#   wayland    QT_QPA_PLATFORM=wayland: mutter draws no frame for Wayland
#              clients, so Qt draws its own;
#   xwayland   QT_QPA_PLATFORM=xcb on the shell's XWayland: mutter frames
#              the window and publishes the frame (_NET_FRAME_EXTENTS).
# In each, tests/e2e/desktop_probe.py checks the title and menu bar, the
# panel's place for the outer size and that none of it is cut off, and a
# real click (mutter's RemoteDesktop interface) on a square.
# With TAVROLIN_E2E_SHOTS=DIR the start-up pictures of the window are kept
# there (gnome-wayland-startup.png, gnome-xwayland-startup.png).
# A shell that cannot start skips the test, and fails it under CI=true.
# Usage: e2e_gnome.sh /path/to/tavrolin
set -euo pipefail

me=e2e_gnome
limit=240
desktop=gnome
# The whole run is bounded: nothing here may hang a test session.
if [ -z "${TAVROLIN_E2E_GNOME_TIMED:-}" ]; then
    command -v timeout >/dev/null || { echo "$me: FAIL: timeout is missing" >&2; exit 1; }
    exec timeout -k 5 "$limit" env TAVROLIN_E2E_GNOME_TIMED=1 bash "$0" "$@"
fi
# shellcheck source=tests/e2e/desktopsession.sh
. "$(dirname "$0")/desktopsession.sh"
need gnome-shell Xwayland gnome-screenshot pipewire dbus-daemon gdbus gsettings xdotool xprop xwininfo convert

# --- Buses, PipeWire (for the remote-desktop session's screen cast) --------
# gnome-shell asks the system bus for seats and sessions where systemd
# keeps them; a private, empty one serves.
start_dbus system
start_dbus session
pipewire >"$tmp/pipewire.log" 2>&1 &
pids+=($!)

# --- The desktop's settings, in the private home --------------------------
gsettings set org.gnome.desktop.background picture-uri ''
gsettings set org.gnome.desktop.background picture-uri-dark ''
gsettings set org.gnome.desktop.background picture-options none
gsettings set org.gnome.desktop.background primary-color '#c06020'
gsettings set org.gnome.mutter center-new-windows true
gsettings set org.gnome.desktop.interface enable-animations false

# --- gnome-shell -------------------------------------------------------------
gnome-shell --headless --wayland --virtual-monitor 1280x1024 >"$tmp/gnome-shell.log" 2>&1 &
shell_pid=$!
pids+=("$shell_pid")
shell_property() {
    gdbus call --session -d org.gnome.Shell -o /org/gnome/Shell \
        -m org.freedesktop.DBus.Properties."$1" org.gnome.Shell OverviewActive ${2:+"$2"}
}
for _ in $(seq 150); do
    shell_property Get >/dev/null 2>&1 && break
    kill -0 "$shell_pid" 2>/dev/null || cannot_start "gnome-shell ended at start-up"
    sleep 0.2
done
shell_property Get >/dev/null 2>&1 || cannot_start "gnome-shell did not come up on the session bus in 30 s"
# It opens the overview at start-up, as for a first log-in, and may do so
# only once it has started: closed until it stays closed for a second.
closed=0
for _ in $(seq 100); do
    if [ "$(shell_property Get)" = "(<false>,)" ]; then
        closed=$((closed + 1))
        [ "$closed" -ge 5 ] && break
    else
        closed=0
        shell_property Set '<false>' >/dev/null
    fi
    sleep 0.2
done
[ "$closed" -ge 5 ] || fail "the overview stays open"
export WAYLAND_DISPLAY=wayland-0
[ -S "$XDG_RUNTIME_DIR/$WAYLAND_DISPLAY" ] || fail "gnome-shell has no socket $WAYLAND_DISPLAY"

# Its XWayland: the display it names in its log, the key it writes.
display="$(sed -n 's/.*Using public X11 display \(:[0-9]*\).*/\1/p' "$tmp/gnome-shell.log" | head -n1)"
[ -n "$display" ] || fail "gnome-shell names no X11 display"
auth="$(compgen -G "$XDG_RUNTIME_DIR/.mutter-Xwaylandauth.*" | head -n1 || true)"
[ -n "$auth" ] || fail "gnome-shell wrote no X authority file in $XDG_RUNTIME_DIR"
export DISPLAY="$display" XAUTHORITY="$auth"

run_row wayland wayland
run_row xwayland xcb
echo "$me: passed"
