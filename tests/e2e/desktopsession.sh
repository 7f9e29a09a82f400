# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# shellcheck shell=bash
# shellcheck disable=SC2154 # me, limit, desktop: set by the sourcing script
# Shared by the scripts that run the game on a desktop's own compositor
# (e2e_gnome.sh, e2e_kwin.sh). Source it, with the game's path as $1, after
# setting me (the script's name), limit (its time limit in seconds) and
# desktop (gnome or kwin); it sets up
#   tmp        a scratch folder, removed at exit
#   pids       what the cleanup ends (by process id), last started first
#   $tmp/app   a copy of the game and its sound module
#   a home, configuration, data, cache and runtime folder of its own under
#   $tmp/home, and no display, session bus or sound server from outside.
# start_dbus starts a private session or system bus; each case is a row:
# run_row NAME PLATFORM runs the game with QT_QPA_PLATFORM=PLATFORM and
# tests/e2e/desktop_probe.py on it.

e2e_dir="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
bin="$(readlink -f "$1")"

tmp="$(mktemp -d "/tmp/tavrolin-$me.XXXXXX")"
pids=()

# stop_pid, wait_for: shared with the X11 scripts.
# shellcheck source=tests/e2e/xdisplay.sh
. "$e2e_dir/xdisplay.sh"

cleanup() {
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop_pid "${pids[i]}"
    done
    wait 2>/dev/null || true
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "$me: FAIL: out of time ($limit s)" >&2; exit 1' TERM INT

# Keeps the pictures (the scratch folder goes) and names the folder.
kept_shots() {
    compgen -G "$tmp/shots/*/*.png" >/dev/null || { echo "no pictures"; return; }
    local keep
    keep="$(mktemp -d "/tmp/tavrolin-$me-shots.XXXXXX")"
    cp -r "$tmp"/shots/* "$keep"
    echo "pictures kept in $keep"
}

show_logs() {
    local f
    for f in "$tmp"/*.log; do
        [ -s "$f" ] && tail -n 25 "$f" | sed "s/^/  $(basename "$f" .log): /" >&2
    done
    return 0
}

fail() {
    echo "$me: FAIL: $*" >&2
    echo "  $(kept_shots)" >&2
    show_logs
    exit 1
}

# A desktop that cannot be started here: a failure under CI, where every
# test must run, and otherwise a skipped test.
cannot_start() {
    if [ "${CI:-}" = true ]; then
        fail "$* (CI=true: the test must run)"
    fi
    echo "$me: SKIPPED: $*" >&2
    show_logs
    exit 77
}

need() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || fail "$tool is missing (./dev test installs it)"
    done
    /usr/bin/python3 -c 'import dbus, pyatspi' 2>/dev/null ||
        fail "python3-dbus or python3-pyatspi is missing (./dev test installs them)"
}

mkdir -p "$tmp/app" "$tmp/shots" "$tmp/home/config" "$tmp/home/data" "$tmp/home/cache" "$tmp/home/runtime"
chmod 700 "$tmp/home/runtime"
cp "$bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data"
export XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home/runtime"
unset DISPLAY XAUTHORITY WAYLAND_DISPLAY WAYLAND_SOCKET DBUS_SESSION_BUS_ADDRESS DBUS_SYSTEM_BUS_ADDRESS \
    AT_SPI_BUS_ADDRESS QT_SCALE_FACTOR QT_QPA_PLATFORM QT_QPA_PLATFORMTHEME QT_WAYLAND_DISABLE_WINDOWDECORATION \
    QT_WAYLAND_DECORATION QT_WAYLAND_SHELL_INTEGRATION XDG_SESSION_TYPE XDG_CURRENT_DESKTOP || true
# No sound server: the window is what is tested here.
export PULSE_SERVER="unix:$tmp/no-such-server"
export NO_AT_BRIDGE=0 QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1

# Starts a private D-Bus daemon, "session" (services it can start, such as
# the accessibility bus, end with it) or "system" (an empty bus for the
# compositor's questions), and exports its address.
start_dbus() {
    local kind="$1" config="--session"
    if [ "$kind" = system ]; then
        config="--config-file=$tmp/system-bus.conf"
        cat >"$tmp/system-bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-BUS Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <listen>unix:path=$tmp/system-bus</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow user="*"/><allow own="*"/><allow send_destination="*"/><allow receive_sender="*"/>
  </policy>
</busconfig>
CONF
    fi
    dbus-daemon "$config" --nofork --print-address=3 3>"$tmp/$kind-bus.address" 2>>"$tmp/dbus.log" &
    pids+=($!)
    wait_for 100 test -s "$tmp/$kind-bus.address" || fail "the private $kind bus did not start"
    local address
    address="$(head -n1 "$tmp/$kind-bus.address")"
    if [ "$kind" = system ]; then
        export DBUS_SYSTEM_BUS_ADDRESS="$address"
    else
        export DBUS_SESSION_BUS_ADDRESS="$address"
    fi
}

# Runs one row: the game on platform $2
# (wayland or xcb), checked by desktop_probe.py as session $1 of desktop
# $desktop. With TAVROLIN_E2E_SHOTS=DIR the start-up picture of the window
# is kept as DIR/$desktop-$1-startup.png.
run_row() {
    local row="$1" platform="$2" game rc=0 keep=()
    mkdir -p "$tmp/shots/$row"
    if [ -n "${TAVROLIN_E2E_SHOTS:-}" ]; then
        keep=(--keep "$(readlink -f "$TAVROLIN_E2E_SHOTS")/$desktop-$row-startup.png")
    fi
    echo "$me: --- $row"
    (cd "$tmp/app" && QT_QPA_PLATFORM="$platform" exec ./tavrolin) >"$tmp/app-$row.log" 2>&1 &
    game=$!
    pids+=("$game")
    timeout -k 2 90 /usr/bin/python3 "$e2e_dir/desktop_probe.py" --desktop "$desktop" --session "$row" \
        --layout "$e2e_dir/windowlayout.sh" --shots "$tmp/shots/$row" "${keep[@]}" || rc=$?
    kill -0 "$game" 2>/dev/null || fail "$row: the game ended by itself"
    stop_pid "$game"
    [ "$rc" -eq 0 ] || fail "$row: the window is not as it should be (above)"
    echo "$me: $row passed"
}
