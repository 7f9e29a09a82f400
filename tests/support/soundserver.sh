#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# A private sound server whose only sink is a null sink named $SINK (default
# test_null), for the tests and benchmarks, in a folder of its own:
#
#   soundserver.sh start pulseaudio|pipewire DIR [RATE]
#       Starts the server in the background and returns once its PulseAudio
#       socket answers and the null sink is the default sink. PipeWire is
#       the stack a desktop runs: a D-Bus session bus of its own, pipewire,
#       wireplumber and pipewire-pulse, all with DIR as their runtime and
#       home folder (no systemd user session is needed). Writes DIR/env,
#       "PULSE_SERVER=..." to export, and DIR/pids, one process id a line;
#       the servers' logs go to DIR/*.log. Exits 1, with the logs on
#       stderr, when the server does not come up within 15 s.
#   soundserver.sh stop DIR
#       Ends every process in DIR/pids and waits until they have gone.
#
# SOUNDSERVER_DEBUG=1 has PulseAudio and pipewire-pulse log at debug level
# (their logs then list each stream's drains and underruns). pipewire.log
# always lists the cycles PipeWire's graph fell behind in.
set -euo pipefail

sink="${SINK:-test_null}"

die() {
    echo "soundserver: $*" >&2
    exit 1
}

# wait_for (polls a command for up to $1 tenths of a second), stop_pid.
# shellcheck source=tests/e2e/xdisplay.sh
. "$(dirname "$0")/../e2e/xdisplay.sh"

# Starts a command in the background and records its id.
spawn() {
    local log="$1"
    shift
    "$@" </dev/null >"$dir/$log" 2>&1 &
    echo $! >>"$dir/pids"
}

show_logs() {
    local f
    for f in "$dir"/*.log; do
        [ -e "$f" ] && sed "s|^|  $(basename "$f"): |" "$f" >&2
    done
}

start() {
    local kind="$1" rate="${2:-}"
    mkdir -p "$dir/runtime" "$dir/home"
    chmod 700 "$dir/runtime"
    : >"$dir/pids"
    local socket
    case "$kind" in
    pulseaudio)
        socket="$dir/native"
        spawn pulseaudio.log env HOME="$dir/home" PULSE_RUNTIME_PATH="$dir/runtime" PULSE_STATE_PATH="$dir/home" \
            pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
            --log-target=stderr ${SOUNDSERVER_DEBUG:+--log-level=debug} \
            -L "module-null-sink sink_name=$sink${rate:+ rate=$rate} channels=2" \
            -L "module-native-protocol-unix socket=$socket auth-anonymous=1"
        ;;
    pipewire)
        socket="$dir/runtime/pulse/native"
        local env=(env HOME="$dir/home" XDG_RUNTIME_DIR="$dir/runtime" XDG_CONFIG_HOME="$dir/home/config"
            XDG_STATE_HOME="$dir/home/state" XDG_DATA_HOME="$dir/home/data" PULSE_SERVER= DISPLAY= WAYLAND_DISPLAY=)
        spawn dbus.log "${env[@]}" dbus-daemon --session --nofork --nopidfile --address="unix:path=$dir/runtime/bus"
        wait_for 50 test -S "$dir/runtime/bus" || { show_logs; die "the D-Bus session bus did not start"; }
        env+=(DBUS_SESSION_BUS_ADDRESS="unix:path=$dir/runtime/bus")
        # At the info level PipeWire logs every cycle its graph fell behind
        # ("client too slow").
        local level=3
        [ -n "${SOUNDSERVER_DEBUG:-}" ] && level=4
        spawn pipewire.log "${env[@]}" PIPEWIRE_DEBUG=$level pipewire
        wait_for 50 test -S "$dir/runtime/pipewire-0" || { show_logs; die "pipewire did not start"; }
        spawn wireplumber.log "${env[@]}" wireplumber
        spawn pipewire-pulse.log "${env[@]}" PIPEWIRE_DEBUG="${SOUNDSERVER_DEBUG:+4}" pipewire-pulse
        ;;
    *) die "unknown server '$kind' (pulseaudio or pipewire)" ;;
    esac
    export PULSE_SERVER="unix:$socket"
    wait_for 150 pactl info || { show_logs; die "$kind did not answer on $socket"; }
    if [ "$kind" = pipewire ]; then
        pactl load-module module-null-sink sink_name="$sink" ${rate:+rate=$rate} channels=2 >/dev/null ||
            { show_logs; die "the null sink could not be made"; }
        # wireplumber makes it the default once it has seen it.
        wait_for 100 sh -c "pactl set-default-sink $sink && pactl info | grep -qx 'Default Sink: $sink'" ||
            { show_logs; die "the null sink did not become the default sink"; }
    fi
    echo "PULSE_SERVER=$PULSE_SERVER" >"$dir/env"
}

stop() {
    [ -f "$dir/pids" ] || return 0
    local pid
    while read -r pid; do stop_pid "$pid"; done <"$dir/pids"
    rm -f "$dir/pids"
}

cmd="${1:-}"
case "$cmd" in
start)
    [ $# -ge 3 ] || die "usage: soundserver.sh start pulseaudio|pipewire DIR [RATE]"
    dir="$3"
    start "$2" "${4:-}"
    ;;
stop)
    [ $# -ge 2 ] || die "usage: soundserver.sh stop DIR"
    dir="$2"
    stop
    ;;
*) die "usage: soundserver.sh start pulseaudio|pipewire DIR [RATE] | stop DIR" ;;
esac
