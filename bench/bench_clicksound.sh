#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# From a click on a square to its sound, on the real game under a private X
# server, on each of two private sound servers whose only sink is a null
# sink: PulseAudio, and PipeWire with pipewire-pulse and WirePlumber as
# desktops run it (tests/support/soundserver.sh starts either). For each:
#   - click to sound: from the moment the button's release went to the X
#     server (squares act on release) to the moment the server mixed the
#     first audible sample of the click's sound, found in a recording of the
#     null sink's monitor (bench/soundprobe.cpp explains the timing). The
#     servers' own latency reports are not used: pipewire-pulse reports 0
#     for every stream;
#   - whole sounds: what was heard from that first sample on is matched
#     against the openings of the game's two hit sounds; a sound is whole
#     when nothing of its opening is missing;
#   - underruns: silences of 3 ms or more inside a click's sound in that
#     recording (a stream that runs dry leaves one; the game's sounds have
#     none), counted in a second pass with two CPU-bound loops running;
#   - the server's own word: the underflows it reported to the game's
#     stream (the game logs each; it never asks for a drain), in each pass;
#     and on PipeWire the cycles its graph fell behind in, as it logged
#     them ("client too slow"), in which any client's sound is lost.
# Every click is a real one (XTEST) on a square, one a second so that each
# sound has ended before the next click; a game is 19 hits and Reset, so it
# never reaches its end (the banner and its fanfare). The first pass plays
# three games, the second two. Fails when it cannot measure: no server, no
# click reaching the game, fewer than 50 clicks timed.
#
# Usage: bench_clicksound.sh [path/to/tavrolin [path/to/soundprobe]]
# CLICKSOUND_SERVERS names the servers (default "pulseaudio pipewire");
# CLICKSOUND_SPACING_MS sets the time from click to click (default 1000);
# CLICKSOUND_GAMES_QUIET and CLICKSOUND_GAMES_LOADED the games of each pass
# (default 3 and 2; 16 loaded games are 304 sounds under load);
# CLICKSOUND_KEEP names a folder to keep the recordings, their time stamps,
# the clicks, what was found in them and the servers' logs.
# Prints human lines and "BENCH key value unit op target description" lines.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BENCH_BUILD:-build}"
game_bin="$(readlink -f "${1:-$build/tavrolin}")"
probe="$(readlink -f "${2:-$build/bench/soundprobe}")"
spacing_ms="${CLICKSOUND_SPACING_MS:-1000}"
rate=48000
games_quiet="${CLICKSOUND_GAMES_QUIET:-3}"
games_loaded="${CLICKSOUND_GAMES_LOADED:-2}"
servers="${CLICKSOUND_SERVERS:-pulseaudio pipewire}"
hits_per_game=19
least_timed=50

die() {
    echo "bench_clicksound: $*" >&2
    exit 1
}

for tool in Xvfb xdotool pulseaudio pipewire pipewire-pulse wireplumber dbus-daemon pactl parec pgrep import convert sox; do
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
soundserver=tests/support/soundserver.sh
cleanup() {
    stop_started
    local server
    for server in $servers; do
        bash "$soundserver" stop "$tmp/$server" 2>/dev/null || true
    done
    if [ -n "${CLICKSOUND_KEEP:-}" ]; then
        mkdir -p "$CLICKSOUND_KEEP"
        for server in $servers; do
            [ -d "$tmp/$server" ] && cp -r "$tmp/$server" "$CLICKSOUND_KEEP"/
        done
    fi
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# --- X server; the game's copy; its sounds' openings -------------------------
start_xvfb 1280x1024 || die "Xvfb did not start"

mkdir -p "$tmp/app"
cp "$game_bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$game_bin")/libtavrolin-sound.so" "$tmp/app/"
# The hit sounds as the recording holds them: mono at the recording's rate.
for id in 109 110; do
    sox "resources/wav/$id.wav" -r "$rate" -c 1 -b 16 -e signed -t raw "$tmp/$id.raw" ||
        die "resources/wav/$id.wav could not be read"
done

now_ns() {
    local t="$EPOCHREALTIME"
    echo "${t/./}000"
}

# Colour (rrggbb) at a point of the screen.
pixel() {
    import -window root "$tmp/shot.png"
    convert "$tmp/shot.png" -format "%[hex:p{$1,$2}]" info: | cut -c1-6 | tr 'A-F' 'a-f'
}

# "median p90 count" of the numbers on the input (nearest rank for the 90th).
stats() {
    sort -g | awk '{ v[++n] = $1 }
        END { if (n == 0) { print "nan nan 0"; exit }
              m = (n % 2) ? v[(n + 1) / 2] : (v[n / 2] + v[n / 2 + 1]) / 2
              r = int(0.9 * n); if (r < 0.9 * n) ++r
              printf "%.2f %.2f %d\n", m, v[r], n }'
}

# The underflows the server reported to the game's stream so far (the game
# logs each; it never asks for a drain), and the cycles PipeWire logged its
# graph fell behind in ("client too slow": any client's sound is lost then).
game_underflows() {
    grep -c 'underflow: the sound server' "$1/app.log" || true
}
server_fell_behind() {
    [ "$1" = pipewire ] || { echo 0; return; }
    grep -c 'client too slow' "$2/pipewire.log" || true
}

# Everything on one server: $1 is pulseaudio or pipewire, $2 its short name
# in the figures.
measure() {
    local server="$1" tag="$2" dir="$tmp/$1"
    local started=${#pids[@]}
    echo "--- $server"
    mkdir -p "$dir/home"
    chmod 700 "$dir/home"
    bash "$soundserver" start "$server" "$dir" "$rate" || die "$server did not start"
    export "$(cat "$dir/env")"

    # parec asks for fragments of 256 samples at 48 kHz (5.3 ms), the cycle
    # PipeWire runs for the game's stream: the recording then comes a cycle
    # at a time, as it is mixed, and sets no shorter cycle than the game's
    # own, so that the game meets the latency a desktop gives it, not one
    # the recording sets.
    mkfifo "$dir/monitor"
    timeout 900 "$probe" stamp "$dir/rec.raw" "$dir/rec.idx" <"$dir/monitor" &
    local stamp_pid=$!
    pids+=("$stamp_pid")
    timeout 900 parec --raw --latency=512 --device=test_null.monitor --format=s16le --rate="$rate" --channels=1 \
        >"$dir/monitor" 2>"$dir/parec.log" &
    local parec_pid=$!
    pids+=("$parec_pid")

    # --- The game, from a folder of its own ---------------------------------
    (cd "$tmp/app" && exec env HOME="$dir/home" XDG_CONFIG_HOME="$dir/home/config" \
        XDG_DATA_HOME="$dir/home/data" XDG_CACHE_HOME="$dir/home/cache" XDG_RUNTIME_DIR="$dir/home" \
        QT_QPA_PLATFORM=xcb QT_LOGGING_RULES="tavrolin.sound.info=true" timeout 900 ./tavrolin) >"$dir/app.log" 2>&1 &
    local app_pid=$!
    pids+=("$app_pid")
    # timeout runs the game as its child: the game's own pid is the child's.
    game_window() {
        game_pid="$(pgrep -P "$app_pid" -x tavrolin)" && xdotool search --onlyvisible --pid "$game_pid"
    }
    wait_for 150 game_window || {
        sed 's/^/  app: /' "$dir/app.log" >&2
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
    local n row col
    for n in $(seq 0 $((hits_per_game - 1))); do
        read -r row col < <(hit_square "$n")
        read -r "hit_x[n]" "hit_y[n]" < <(square_point "$row" "$col" "$board_x" "$board_y")
        read -r "ground_x[n]" "ground_y[n]" < <(square_point "$row" "$col" "$board_x" "$board_y" 5 6)
    done
    # The sound module loads 0.3 s after the window is built.
    sleep 1.5
    # And the recording runs: the first click falls inside it.
    wait_for 100 test -s "$dir/rec.idx" || { cat "$dir/parec.log" >&2; die "nothing arrives from the null sink's monitor"; }

    : >"$dir/clicks.quiet"
    : >"$dir/clicks.loaded"
    local underflows_before underflows_quiet underflows_loaded behind_before behind_quiet behind_loaded
    underflows_before="$(game_underflows "$dir")"
    behind_before="$(server_fell_behind "$server" "$dir")"
    echo "pass 1: $((games_quiet * hits_per_game)) clicks, one every $spacing_ms ms"
    for _ in $(seq 1 "$games_quiet"); do
        play_game "$dir/clicks.quiet"
    done
    underflows_quiet=$(($(game_underflows "$dir") - underflows_before))
    behind_quiet=$(($(server_fell_behind "$server" "$dir") - behind_before))

    echo "pass 2: $((games_loaded * hits_per_game)) clicks with two CPU-bound loops running"
    local loops=() p
    for _ in 1 2; do
        timeout 600 sh -c 'while :; do :; done' &
        loops+=($!)
        pids+=($!)
    done
    for _ in $(seq 1 "$games_loaded"); do
        play_game "$dir/clicks.loaded"
    done
    for p in "${loops[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    sleep 0.5
    underflows_loaded=$(($(game_underflows "$dir") - underflows_before - underflows_quiet))
    behind_loaded=$(($(server_fell_behind "$server" "$dir") - behind_before - behind_quiet))

    # --- Recording ends; the figures ----------------------------------------
    kill "$parec_pid" 2>/dev/null || true
    wait "$stamp_pid" 2>/dev/null || true
    kill -0 "$app_pid" 2>/dev/null || die "the game ended during the benchmark"
    [ -s "$dir/rec.raw" ] || { cat "$dir/parec.log" >&2; die "nothing was recorded from the null sink's monitor"; }
    kill "$app_pid" 2>/dev/null || true
    wait "$app_pid" 2>/dev/null || true
    bash "$soundserver" stop "$dir"
    # What this server's pass started has ended.
    pids=("${pids[@]:0:started}")

    local pass
    for pass in quiet loaded; do
        "$probe" analyse "$dir/rec.raw" "$dir/rec.idx" "$dir/clicks.$pass" "$rate" "$tmp/109.raw" "$tmp/110.raw" \
            >"$dir/onsets.$pass" || die "the recording could not be read"
    done
    # Per pass: clicks; click to sound (median, 90th percentile, clicks
    # timed); gaps; clicks without sound, clicks while one played; sounds
    # heard whole, sounds cut (their opening missing, or not recognised).
    pass_figures() {
        local latency
        latency="$(awk '$3 == "ok" { print $4 }' "$dir/onsets.$1" | stats)"
        echo "$(wc -l <"$dir/clicks.$1") $latency" \
            "$(awk '$3 == "ok" { g += $5; if ($6 != "-" && $6 + 0 <= 1) ++w; else ++c }
                    $3 == "none" { ++n } $3 == "busy" { ++b }
                    END { print g + 0, n + 0, b + 0, w + 0, c + 0 }' "$dir/onsets.$1")"
    }
    local clicks_q lat_med_q lat_p90_q lat_n_q gaps_q none_q busy_q whole_q cut_q
    local clicks_l lat_med_l lat_p90_l lat_n_l gaps_l none_l busy_l whole_l cut_l
    read -r clicks_q lat_med_q lat_p90_q lat_n_q gaps_q none_q busy_q whole_q cut_q < <(pass_figures quiet)
    read -r clicks_l lat_med_l lat_p90_l lat_n_l gaps_l none_l busy_l whole_l cut_l < <(pass_figures loaded)
    report() {
        printf '%s: %d clicks; click to sound median %s ms, 90th percentile %s ms (%d timed, %d without sound, %d while a sound still played);' \
            "$1" "$2" "$3" "$4" "$5" "$6" "$7"
        printf ' %d heard whole, %d cut; %d gap(s) inside sounds; %d underflow(s) reported to the game; the server fell behind %d time(s)\n' \
            "$8" "$9" "${10}" "${11}" "${12}"
    }
    report "$server, quiet" "$clicks_q" "$lat_med_q" "$lat_p90_q" "$lat_n_q" "$none_q" "$busy_q" "$whole_q" "$cut_q" "$gaps_q" "$underflows_quiet" "$behind_quiet"
    report "$server, loaded" "$clicks_l" "$lat_med_l" "$lat_p90_l" "$lat_n_l" "$none_l" "$busy_l" "$whole_l" "$cut_l" "$gaps_l" "$underflows_loaded" "$behind_loaded"
    echo "cut sounds (click, ms missing): $(awk '$3 == "ok" && ($6 == "-" || $6 + 0 > 1) { printf "%s %s; ", $2, $6 }' "$dir/onsets.quiet" "$dir/onsets.loaded")"

    [ "$lat_n_q" -ge "$least_timed" ] ||
        die "$server: only $lat_n_q of $clicks_q clicks could be timed (at least $least_timed needed): $none_q without sound, $busy_q while a sound still played"
    [ "$lat_n_l" -gt 0 ] || die "$server: no click could be timed under load ($none_l without sound)"

    echo "BENCH click_sound_ms_$tag $lat_med_q ms <= 10 $server: click release to its sound's first sample mixed by the server, median of $lat_n_q clicks"
    echo "BENCH click_sound_p90_$tag $lat_p90_q ms <= 20 the same, 90th percentile"
    echo "BENCH click_cut_$tag $((cut_q + cut_l + none_q + none_l)) sounds <= 0 $server: sounds with part of their opening missing, or not heard, of $((clicks_q + clicks_l)) clicks"
    echo "BENCH click_underruns_$tag $gaps_l gaps <= 0 $server: silences of 3 ms or more inside a sound, $lat_n_l clicks under two CPU-bound loops"
    echo "BENCH click_idle_underruns_$tag $underflows_quiet times <= 0 $server: underflows the server reported to the game's stream, first pass"
    echo "BENCH click_sound_load_$tag $lat_med_l ms info - $server: click to sound under those loops, median (90th percentile $lat_p90_l ms)"
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

for server in $servers; do
    case "$server" in
    pulseaudio) measure pulseaudio pa ;;
    pipewire) measure pipewire pw ;;
    *) die "unknown sound server '$server' in CLICKSOUND_SERVERS" ;;
    esac
done
