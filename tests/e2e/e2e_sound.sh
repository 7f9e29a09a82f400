#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Plays whole games on the real program under a private X server, with real
# mouse clicks:
#   1. with a sound server of its own whose only sink is a null sink, once
#      PulseAudio and once PipeWire (pipewire-pulse and WirePlumber), both
#      started by tests/support/soundserver.sh: the hits are heard on the
#      sink's monitor, the twentieth hit brings the banner and its (stereo)
#      fanfare, and Exit ends the program;
#   2. with no sound server at all: the game plays to its end just the
#      same, the Reset button still works, and Exit ends the program.
# Usage: e2e_sound.sh /path/to/tavrolin
set -euo pipefail

bin="$(readlink -f "$1")"
for tool in Xvfb xdotool pulseaudio pipewire pipewire-pulse wireplumber dbus-daemon pactl parec sox convert import; do
    command -v "$tool" >/dev/null || { echo "e2e_sound: $tool is missing (./dev installs it)" >&2; exit 1; }
done

tmp="$(mktemp -d /tmp/tavrolin-e2e-sound.XXXXXX)"
pids=()
# shellcheck source=tests/e2e/xdisplay.sh
. "$(dirname "$0")/xdisplay.sh"
# shellcheck source=tests/e2e/windowlayout.sh
. "$(dirname "$0")/windowlayout.sh"
soundserver="$(dirname "$0")/../support/soundserver.sh"
cleanup() {
    stop_started
    for server in pulseaudio pipewire; do
        bash "$soundserver" stop "$tmp/$server" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT

fail() {
    echo "e2e_sound: FAIL: $*" >&2
    [ -f "$tmp/app.log" ] && sed 's/^/  app: /' "$tmp/app.log" >&2
    exit 1
}


# --- X server on a free display -------------------------------------------
start_xvfb 1280x1024 || fail "Xvfb did not start"

# --- The program runs from a folder of its own (its score log goes there) -
mkdir -p "$tmp/app" "$tmp/home"
chmod 700 "$tmp/home"
cp "$bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"

app_pid=
start_game() {
    (cd "$tmp/app" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" \
        XDG_DATA_HOME="$tmp/home/data" XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home" \
        QT_QPA_PLATFORM=xcb ./tavrolin) >"$tmp/app.log" 2>&1 &
    app_pid=$!
    pids+=("$app_pid")
    local wid
    wait_for 150 xdotool search --onlyvisible --name '^Tavrolin$' || fail "the window did not appear"
    wid="$(xdotool search --onlyvisible --name '^Tavrolin$' | head -n1)"
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    # Where the controls are, from the window's layout (no frame without a
    # window manager: the outer size is the window's own).
    read -r panel_x panel_y < <(panel_origin "$X" "$Y" "$WIDTH" "$HEIGHT")
    read -r board_x board_y < <(board_origin "$panel_x" "$panel_y")
    read -r exit_x exit_y < <(exit_point "$X" "$Y" "$WIDTH" "$HEIGHT")
    sleep 0.5
}

click_at() {
    xdotool mousemove "$1" "$2" click 1
}

# Hits number $1 to $2 of a game (0 to 19).
play_hits() {
    local n row col x y
    for n in $(seq "$1" "$2"); do
        read -r row col < <(hit_square "$n")
        read -r x y < <(square_point "$row" "$col" "$board_x" "$board_y")
        click_at "$x" "$y"
        sleep 0.15
    done
}

# Colour (rrggbb) of the banner's ground.
banner_pixel() {
    local x y
    read -r x y < <(banner_point "$board_x" "$board_y")
    import -window root "$tmp/shot.png"
    convert "$tmp/shot.png" -format '%[hex:p{'"$x"','"$y"'}]' info: | cut -c1-6 | tr 'A-F' 'a-f'
}

banner_shown() { [ "$(banner_pixel)" = "008000" ]; }

# The program has ended (an ended child lingers as a zombie until waited for).
app_gone() {
    local state
    state="$(ps -o stat= -p "$app_pid" 2>/dev/null)" || return 0
    [[ "$state" == Z* ]]
}
app_alive() { ! app_gone; }
banner_hidden() { ! banner_shown; }

exit_by_menu() {
    click_at "$exit_x" "$exit_y"
    wait_for 50 app_gone || fail "Exit did not end the program"
    wait "$app_pid" || fail "the program ended with an error after Exit"
}

# Peak of a raw recording (s16le stereo 44.1 kHz), optionally of L - R.
peak() {
    local file="$1" remix="${2:-}"
    local effects=()
    [ -n "$remix" ] && effects=(remix "1,2i")
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$file" -n "${effects[@]}" stat 2>&1 |
        awk '/Maximum amplitude/ { print $3 }'
}
# Seconds of a raw recording in which something is heard (10 ms blocks).
sounding() {
    sox -t raw -r 44100 -e signed -b 16 -c 2 "$1" -r 4000 -c 1 -t dat - 2>/dev/null |
        awk '!/^;/ { v = $2 < 0 ? -$2 : $2; if (v > peak) peak = v
                     if (++n == 40) { if (peak > 0.02) s++; n = 0; peak = 0 } }
             END { printf "%.2f\n", s / 100 }'
}
louder_than() { awk -v a="$1" -v b="$2" 'BEGIN { exit !(a > b) }'; }

# --- Run 1: a sound server with a null sink, each kind in turn -------------
record() {
    parec --raw --latency-msec=20 --device=test_null.monitor --format=s16le --rate=44100 --channels=2 >"$1" &
    rec_pid=$!
    pids+=("$rec_pid")
    sleep 0.3
}
stop_recording() {
    kill "$rec_pid" 2>/dev/null || true
    wait "$rec_pid" 2>/dev/null || true
}

for server in pulseaudio pipewire; do
    bash "$soundserver" start "$server" "$tmp/$server" || fail "$server did not start"
    export "$(cat "$tmp/$server/env")"

    start_game
    banner_shown && fail "the banner shows before the game"

    record "$tmp/hits.raw"
    play_hits 0 18
    sleep 0.3
    stop_recording
    play_hits 19 19
    # The banner blinks at once and then every second for four seconds.
    sleep 1.2
    record "$tmp/banner.raw"
    sleep 2.4
    stop_recording

    hits_peak="$(peak "$tmp/hits.raw")"
    hits_side="$(peak "$tmp/hits.raw" side)"
    hits_time="$(sounding "$tmp/hits.raw")"
    banner_peak="$(peak "$tmp/banner.raw")"
    banner_side="$(peak "$tmp/banner.raw" side)"
    banner_time="$(sounding "$tmp/banner.raw")"
    echo "e2e_sound: $server: nineteen hits: peak $hits_peak, L-R $hits_side, heard for ${hits_time}s;" \
        "banner: peak $banner_peak, L-R $banner_side, heard for ${banner_time}s"
    louder_than "$hits_peak" 0.1 || fail "$server: no sound came out of the sink while hitting"
    # Every hit sounds until the next one cuts it off (about 0.15 s apart).
    louder_than "$hits_time" 1.2 || fail "$server: most hits were not heard"
    louder_than "$banner_peak" 0.1 || fail "$server: no banner sound after the twentieth hit"
    louder_than "$banner_time" 0.8 || fail "$server: the banner sound does not go on"
    # The hit sounds are mono; the banner's fanfare is stereo.
    louder_than 0.01 "$hits_side" || fail "a hit sound is not mono"
    louder_than "$banner_side" 0.05 || fail "the sound after the game is not the stereo banner sound"
    banner_shown || fail "no banner after twenty hits"
    app_alive || fail "the program died"
    exit_by_menu
    bash "$soundserver" stop "$tmp/$server"
done

# --- Run 2: no sound server at all -----------------------------------------
export PULSE_SERVER="unix:$tmp/no-such-server"
start_game
started=$(date +%s)
play_hits 0 19
wait_for 30 banner_shown || fail "no banner after twenty hits without sound"
[ $(($(date +%s) - started)) -lt 15 ] || fail "the game stalled without sound"
app_alive || fail "the program died without sound"
# The window still answers: Reset hides the banner.
read -r reset_x reset_y < <(reset_point "$panel_x" "$panel_y")
click_at "$reset_x" "$reset_y"
wait_for 30 banner_hidden || fail "Reset did not start a new game without sound"
exit_by_menu

echo "e2e_sound: passed"
