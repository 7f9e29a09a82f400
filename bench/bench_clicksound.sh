#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# From a click on a square to its sound, on the real game under a private X
# server and a private PulseAudio server whose only sink is a null sink:
#   - buffer latency: what the server reports for the game's stream
#     ("Buffer Latency" of `pactl list sink-inputs`, the sink inputs whose
#     application.process.id is the game's): the sound the game has queued
#     ahead of what is being mixed, polled all through each click's sound;
#     the figure for a click is the largest value seen before the next click;
#   - click to sound: from the moment the button's release went to the X
#     server (squares act on release) to the moment the server mixed the
#     first audible sample of the click's sound, found in a recording of the
#     null sink's monitor (bench/soundprobe.cpp explains the timing);
#   - underruns: silences of 3 ms or more inside a click's sound in that
#     recording (a stream that runs dry leaves one; the game's sounds have
#     none), counted in a second pass with two CPU-bound loops running.
# Every click is a real one (XTEST) on a square, one a second so that each
# sound has ended before the next click; a game is 19 hits and Reset, so it
# never reaches its end (the banner and its fanfare). The first pass plays
# three games, the second two. Fails when it cannot measure: no server, no
# click reaching the game, no stream of the game's on the server, fewer
# than 50 clicks timed.
#
# Usage: bench_clicksound.sh [path/to/tavrolin [path/to/soundprobe]]
# CLICKSOUND_SPACING_MS sets the time from click to click (default 1000);
# CLICKSOUND_GAMES_QUIET and CLICKSOUND_GAMES_LOADED the games of each pass
# (default 3 and 2; 16 loaded games are 304 sounds under load);
# CLICKSOUND_KEEP names a folder to keep the recording, its time stamps, the
# clicks, the polls and what was found in them.
# Prints human lines and "BENCH key value unit op target description" lines.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BENCH_BUILD:-build}"
game_bin="$(readlink -f "${1:-$build/tavrolin}")"
probe="$(readlink -f "${2:-$build/bench/soundprobe}")"
spacing_ms="${CLICKSOUND_SPACING_MS:-1000}"
rate=44100
games_quiet="${CLICKSOUND_GAMES_QUIET:-3}"
games_loaded="${CLICKSOUND_GAMES_LOADED:-2}"
hits_per_game=19
least_timed=50

die() {
    echo "bench_clicksound: $*" >&2
    exit 1
}

for tool in Xvfb xdotool pulseaudio pactl parec pgrep import convert; do
    command -v "$tool" >/dev/null || die "$tool is missing (./dev bench installs it)"
done
[ -x "$game_bin" ] || die "no game binary at $game_bin (build first: ./dev bench)"
[ -x "$probe" ] || die "no soundprobe at $probe (build first: ./dev bench)"
[ "$spacing_ms" -ge 200 ] 2>/dev/null || die "CLICKSOUND_SPACING_MS must be a number of at least 200"
[ "$games_quiet" -ge 3 ] 2>/dev/null || die "CLICKSOUND_GAMES_QUIET must be a number of at least 3"
[ "$games_loaded" -ge 1 ] 2>/dev/null || die "CLICKSOUND_GAMES_LOADED must be a number of at least 1"

tmp="$(mktemp -d /tmp/tavrolin-bench-clicksound.XXXXXX)"
pids=()
# shellcheck source=tests/e2e/xdisplay.sh
. tests/e2e/xdisplay.sh
# shellcheck source=tests/e2e/windowlayout.sh
. tests/e2e/windowlayout.sh
cleanup() {
    stop_started
    if [ -n "${CLICKSOUND_KEEP:-}" ]; then
        mkdir -p "$CLICKSOUND_KEEP"
        cp "$tmp"/rec.* "$tmp"/clicks.* "$tmp"/onsets.* "$tmp"/polls* "$tmp"/inputs "$tmp"/pulse/log \
            "$CLICKSOUND_KEEP"/ 2>/dev/null || true
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- X server, sound server with a null sink, the monitor recorded ----------
start_xvfb 1280x1024 || die "Xvfb did not start"

pulse="$tmp/pulse"
mkdir -p "$pulse/runtime" "$pulse/state"
PULSE_RUNTIME_PATH="$pulse/runtime" PULSE_STATE_PATH="$pulse/state" HOME="$pulse" \
    timeout 900 pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --log-target=stderr \
    -L "module-null-sink sink_name=bench_null rate=$rate channels=2" \
    -L "module-native-protocol-unix socket=$pulse/native auth-anonymous=1" 2>"$pulse/log" &
pids+=($!)
export PULSE_SERVER="unix:$pulse/native"
wait_for 100 pactl info || { cat "$pulse/log" >&2; die "PulseAudio did not start"; }

# parec asks for 2 ms fragments, which also keeps the null sink mixing no
# more than about 2 ms ahead of the clock; soundprobe stamps what arrives.
mkfifo "$tmp/monitor"
timeout 900 "$probe" stamp "$tmp/rec.raw" "$tmp/rec.idx" <"$tmp/monitor" &
stamp_pid=$!
pids+=("$stamp_pid")
timeout 900 parec --raw --latency-msec=2 --device=bench_null.monitor --format=s16le --rate="$rate" --channels=1 \
    >"$tmp/monitor" 2>"$tmp/parec.log" &
parec_pid=$!
pids+=("$parec_pid")

# Every sink input, polled as fast as pactl answers: "@ time" and its listing.
(
    while :; do
        echo "@ $EPOCHREALTIME"
        LC_ALL=C timeout 5 pactl list sink-inputs || sleep 0.1
    done
) >"$tmp/polls" 2>/dev/null &
poll_pid=$!
pids+=("$poll_pid")
# And once more as soon as a sink input appears, when a fresh stream's
# buffer is at its fullest (the loop may be half a listing behind).
mkfifo "$tmp/events"
LC_ALL=C timeout 900 pactl subscribe >"$tmp/events" 2>/dev/null &
subscribe_pid=$!
pids+=("$subscribe_pid")
while read -r event; do
    case "$event" in
    *"'new' on sink-input"*)
        echo "@ $EPOCHREALTIME"
        LC_ALL=C timeout 5 pactl list sink-inputs || true
        ;;
    esac
done <"$tmp/events" >"$tmp/polls.new" 2>/dev/null &
pids+=($!)

# --- The game, from a folder of its own -------------------------------------
mkdir -p "$tmp/app" "$tmp/home"
chmod 700 "$tmp/home"
cp "$game_bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$game_bin")/libtavrolin-sound.so" "$tmp/app/"
(cd "$tmp/app" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" \
    XDG_DATA_HOME="$tmp/home/data" XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home" \
    QT_QPA_PLATFORM=xcb timeout 900 ./tavrolin) >"$tmp/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
# timeout runs the game as its child: the game's own pid is the child's.
game_window() {
    game_pid="$(pgrep -P "$app_pid" -x tavrolin)" && xdotool search --onlyvisible --pid "$game_pid"
}
wait_for 150 game_window || {
    sed 's/^/  app: /' "$tmp/app.log" >&2
    die "the game's window did not appear"
}
game_pid="$(pgrep -P "$app_pid" -x tavrolin)"
wid="$(xdotool search --onlyvisible --pid "$game_pid" | head -n1)"
eval "$(xdotool getwindowgeometry --shell "$wid")"
# Where the controls are, from the window's layout (no window manager).
read -r panel_x panel_y < <(panel_origin "$X" "$Y" "$WIDTH" "$HEIGHT")
read -r board_x board_y < <(board_origin "$panel_x" "$panel_y")
read -r reset_x reset_y < <(reset_point "$panel_x" "$panel_y")
park_x=$((X + WIDTH + 40)) # off the window: no square under the pointer between clicks
park_y=$((Y + 40))
# Each hit's square: the middle, where it is clicked, and a point near its
# top left corner, clear of its digits, where its colour is read.
hit_x=() hit_y=() ground_x=() ground_y=()
for n in $(seq 0 $((hits_per_game - 1))); do
    read -r row col < <(hit_square "$n")
    read -r "hit_x[n]" "hit_y[n]" < <(square_point "$row" "$col" "$board_x" "$board_y")
    read -r "ground_x[n]" "ground_y[n]" < <(square_point "$row" "$col" "$board_x" "$board_y" 5 6)
done
# The sound module loads 0.3 s after the window is built.
sleep 1.5
# And the recording runs: the first click falls inside it.
wait_for 100 test -s "$tmp/rec.idx" || { cat "$tmp/parec.log" >&2; die "nothing arrives from the null sink's monitor"; }

now_ns() {
    local t="$EPOCHREALTIME"
    echo "${t/./}000"
}

# Colour (rrggbb) at a point of the screen.
pixel() {
    import -window root "$tmp/shot.png"
    convert "$tmp/shot.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6 | tr 'A-F' 'a-f'
}

# One game: 19 hits, never twice running on one square, one every
# $spacing_ms; each click's time goes to file $1. Then Reset.
play_game() {
    local n x y clicked wait_ms
    for n in $(seq 0 $((hits_per_game - 1))); do
        x=${hit_x[n]} y=${hit_y[n]}
        clicked="$(timeout 10 "$probe" click "$x" "$y" "$park_x" "$park_y")" || die "the click could not be sent"
        echo "$clicked" >>"$1"
        wait_ms=$(((clicked + spacing_ms * 1000000 - $(now_ns)) / 1000000))
        [ "$wait_ms" -le 0 ] || sleep "$(awk -v ms="$wait_ms" 'BEGIN { printf "%.3f", ms / 1000 }')"
    done
    # The last square hit shows the hit colour: the clicks reached the game.
    local shown
    shown="$(pixel "${ground_x[n]}" "${ground_y[n]}")"
    [ "$shown" = ffe0c0 ] || die "the clicks did not reach the game (square at $x,$y is #$shown, not the hit colour)"
    timeout 10 "$probe" click "$reset_x" "$reset_y" "$park_x" "$park_y" >/dev/null ||
        die "the click could not be sent"
    sleep 0.5
}

: >"$tmp/clicks.quiet"
: >"$tmp/clicks.loaded"
echo "pass 1: $((games_quiet * hits_per_game)) clicks, one every $spacing_ms ms"
for _ in $(seq 1 "$games_quiet"); do
    play_game "$tmp/clicks.quiet"
done

sink_latency="$(LC_ALL=C timeout 5 pactl list sinks | awk '/^[ \t]*Latency:/ { sub(/^[ \t]*/, ""); print; exit }')"
echo "pass 2: $((games_loaded * hits_per_game)) clicks with two CPU-bound loops running"
loops=()
for _ in 1 2; do
    timeout 600 sh -c 'while :; do :; done' &
    loops+=($!)
    pids+=($!)
done
for _ in $(seq 1 "$games_loaded"); do
    play_game "$tmp/clicks.loaded"
done
for p in "${loops[@]}"; do
    kill "$p" 2>/dev/null || true
done
sleep 0.5

# --- Recording and polls end; the figures -----------------------------------
kill "$poll_pid" "$subscribe_pid" "$parec_pid" 2>/dev/null || true
wait "$stamp_pid" 2>/dev/null || true
kill -0 "$app_pid" 2>/dev/null || die "the game ended during the benchmark"
[ -s "$tmp/rec.raw" ] || { cat "$tmp/parec.log" >&2; die "nothing was recorded from the null sink's monitor"; }

# Sink inputs seen by the polls: "time_ns index pid buffer_us corked" lines.
awk '
function flush() { if (index_ != "") print t, index_, pid, buf, corked; index_ = ""; pid = "-"; buf = "-"; corked = "-" }
/^@ / { flush(); t = $2; sub(/\./, "", t); t = t "000"; next }
/^Sink Input #/ { flush(); index_ = substr($3, 2); next }
/^[ \t]*Buffer Latency:/ { buf = $3; next }
/^[ \t]*Corked:/ { corked = $2; next }
/^[ \t]*application\.process\.id = / { pid = $3; gsub(/"/, "", pid); next }
END { flush() }
' "$tmp/polls" "$tmp/polls.new" >"$tmp/inputs"
awk -v p="$game_pid" '$3 == p' "$tmp/inputs" >"$tmp/game_inputs"
[ -s "$tmp/game_inputs" ] || die "no stream of the game's reached the sound server (pid $game_pid; $(wc -l <"$tmp/inputs") sink inputs seen in all)"
streams="$(awk '{ print $2 }' "$tmp/game_inputs" | sort -u | wc -l)"
poll_ms="$(awk '/^@ / { t = $2; if (!n++) first = t } END { printf "%.0f", (n > 1 ? (t - first) * 1000 / (n - 1) : 0) }' "$tmp/polls")"

# Per click: the largest buffer latency (ms) of the game's running streams
# from the click to the next one (or one spacing on, for the last click).
buffer_per_click() {
    awk -v spacing="$((spacing_ms * 1000000))" '
    NR == FNR { click[++n] = $1; next }
    $5 == "no" && $4 != "-" {
        for (k = 1; k <= n; ++k) {
            end = (k < n) ? click[k + 1] : click[k] + spacing
            if ($1 >= click[k] && $1 < end && (!(k in most) || $4 > most[k])) most[k] = $4
        }
    }
    END { for (k = 1; k <= n; ++k) if (k in most) printf "%.3f\n", most[k] / 1000 }
    ' "$1" "$tmp/game_inputs"
}

# "median p90 count" of the numbers on the input (nearest rank for the 90th).
stats() {
    sort -g | awk '{ v[++n] = $1 }
        END { if (n == 0) { print "nan nan 0"; exit }
              m = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
              r = int(0.9 * n); if (r < 0.9 * n) ++r
              printf "%.2f %.2f %d\n", m, v[r], n }'
}

# One pass's figures on one line: clicks, click to sound (median, 90th
# percentile, clicks timed), buffer latency (median, 90th percentile, clicks
# with the stream seen), gaps, clicks without sound, clicks while one played.
pass_figures() {
    local latency buffer
    latency="$(awk '$3 == "ok" { print $4 }' "$tmp/onsets.$1" | stats)"
    buffer="$(buffer_per_click "$tmp/clicks.$1" | stats)"
    echo "$(wc -l <"$tmp/clicks.$1") $latency $buffer" \
        "$(awk '$3 == "ok" { g += $5 } $3 == "none" { ++n } $3 == "busy" { ++b } END { print g + 0, n + 0, b + 0 }' \
            "$tmp/onsets.$1")"
}
for pass in quiet loaded; do
    "$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/clicks.$pass" "$rate" >"$tmp/onsets.$pass" ||
        die "the recording could not be read"
done
read -r clicks_q lat_med_q lat_p90_q lat_n_q buf_med_q buf_p90_q buf_n_q gaps_q none_q busy_q < <(pass_figures quiet)
read -r clicks_l lat_med_l lat_p90_l lat_n_l buf_med_l buf_p90_l buf_n_l gaps_l none_l busy_l < <(pass_figures loaded)
report() {
    printf '%s: %d clicks; click to sound median %s ms, 90th percentile %s ms (%d timed, %d without sound, %d while a sound still played);' \
        "$1" "$2" "$3" "$4" "$5" "$9" "${10}"
    printf ' buffer latency median %s ms, 90th percentile %s ms (%d clicks with the stream seen); %d gap(s) inside sounds\n' \
        "$6" "$7" "$8" "${11}"
}
report quiet "$clicks_q" "$lat_med_q" "$lat_p90_q" "$lat_n_q" "$buf_med_q" "$buf_p90_q" "$buf_n_q" "$none_q" "$busy_q" "$gaps_q"
report loaded "$clicks_l" "$lat_med_l" "$lat_p90_l" "$lat_n_l" "$buf_med_l" "$buf_p90_l" "$buf_n_l" "$none_l" "$busy_l" "$gaps_l"
echo "the game's sink inputs: $streams stream(s) over $((clicks_q + clicks_l)) clicks; sink inputs polled every $poll_ms ms on average"
echo "null sink: $sink_latency"

[ "$lat_n_q" -ge "$least_timed" ] ||
    die "only $lat_n_q of $clicks_q clicks could be timed (at least $least_timed needed): $none_q without sound, $busy_q while a sound still played"
[ "$buf_n_q" -ge "$least_timed" ] ||
    die "the game's stream was seen on the server after only $buf_n_q of $clicks_q clicks (at least $least_timed needed)"
[ "$lat_n_l" -gt 0 ] || die "no click could be timed under load ($none_l without sound)"

echo "BENCH click_buffer_ms $buf_med_q ms <= 25 server-reported buffer latency of the game's stream, median of $buf_n_q clicks"
echo "BENCH click_buffer_p90 $buf_p90_q ms <= 25 the same, 90th percentile"
echo "BENCH click_sound_ms $lat_med_q ms <= 10 click release to its sound's first sample mixed by the server, median of $lat_n_q clicks"
echo "BENCH click_sound_p90 $lat_p90_q ms <= 10 the same, 90th percentile"
echo "BENCH click_underruns $gaps_l gaps <= 0 silences of 3 ms or more inside a sound, $lat_n_l clicks under two CPU-bound loops"
echo "BENCH click_gaps_quiet $gaps_q gaps info - the same silences in the first pass, without the loops"
echo "BENCH click_sound_load $lat_med_l ms info - click to sound under those loops, median (90th percentile $lat_p90_l ms)"
