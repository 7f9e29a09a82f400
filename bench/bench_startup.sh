#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Start-up time, memory and idle CPU of the real game on a private X server,
# each set side by side with a bare Qt Widgets window (bench/barewindow.cpp:
# the game's Fusion style and font families) started in the very same
# environment:
#   - start-up: process start to main window mapped, alternating the two
#     programs run by run; the figure is the median of the per-pair ratios;
#   - memory: resident set 3 s after start, game minus bare window;
#   - idle: CPU time (user + system) the game uses over 20 s of idling after
#     those 3 s, when only its five-second colour timer should wake it.
# Both programs run from a temporary folder with HOME and XDG_* pointing into
# it, under the same private PulseAudio server whose only sink is a null sink
# (what a desktop with sound looks like; neither program plays anything).
#
# Usage: bench_startup.sh [path/to/tavrolin [path/to/barewindow]]
# STARTUP_RUNS sets the number of pairs (default 21). Single pairs range
# over about +-0.15 on a shared machine; the median of 21 is good to about
# +-0.03, of 11 only to about +-0.05.
# Prints human lines and "BENCH key value unit op target description" lines.
set -euo pipefail
cd "$(dirname "$0")/.."

build="${BENCH_BUILD:-build}"
game_bin="$(readlink -f "${1:-$build/tavrolin}")"
bare_bin="$(readlink -f "${2:-$build/bench/barewindow}")"
runs="${STARTUP_RUNS:-21}"
idle_seconds=20
settle_seconds=3

die() {
    echo "bench_startup: $*" >&2
    exit 1
}

for tool in Xvfb xdotool pulseaudio pactl; do
    command -v "$tool" >/dev/null || die "$tool is missing (./dev bench installs it)"
done
[ -x "$game_bin" ] || die "no game binary at $game_bin (build first: ./dev bench)"
[ -x "$bare_bin" ] || die "no bare window binary at $bare_bin (build first: ./dev bench)"
[ "$runs" -ge 1 ] 2>/dev/null || die "STARTUP_RUNS must be a positive number"

tmp="$(mktemp -d /tmp/tavrolin-bench-startup.XXXXXX)"
pids=()
pid= # the program being measured, while it runs
cleanup() {
    [ -z "$pid" ] || kill "$pid" 2>/dev/null || true
    local p
    for p in "${pids[@]}"; do
        kill "$p" 2>/dev/null || true
    done
    for p in "${pids[@]}" $pid; do
        wait "$p" 2>/dev/null || true
    done
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

# shellcheck source=tests/e2e/xdisplay.sh
. tests/e2e/xdisplay.sh

# --- X server on a free display, sound server with a null sink -------------
start_xvfb 1280x1024 || die "Xvfb did not start"

pulse="$tmp/pulse"
mkdir -p "$pulse/runtime" "$pulse/state"
PULSE_RUNTIME_PATH="$pulse/runtime" PULSE_STATE_PATH="$pulse/state" HOME="$pulse" \
    pulseaudio -n --daemonize=no --system=false --exit-idle-time=-1 --disallow-exit --use-pid-file=no \
    --log-target=stderr \
    -L "module-null-sink sink_name=bench_null" \
    -L "module-native-protocol-unix socket=$pulse/native auth-anonymous=1" 2>"$pulse/log" &
pids+=($!)
export PULSE_SERVER="unix:$pulse/native"
wait_for 100 pactl info || { cat "$pulse/log" >&2; die "PulseAudio did not start"; }

# --- Each program runs from a folder of its own ----------------------------
mkdir -p "$tmp/game" "$tmp/bare" "$tmp/home"
chmod 700 "$tmp/home"
cp "$game_bin" "$tmp/game/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$game_bin")/libtavrolin-sound.so" "$tmp/game/"
cp "$bare_bin" "$tmp/bare/barewindow"

# The environment both programs get, the whole of it (env -i): nothing of the
# caller's desktop. What could change either program's look or the plugins it
# loads is set outright: Qt's generic Unix theme (no desktop's theme plugin),
# no desktop named, and the Fusion style both programs force anyway.
run_env=(env -i PATH=/usr/bin:/bin LANG=C.UTF-8 DISPLAY="$DISPLAY" PULSE_SERVER="$PULSE_SERVER"
    HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data"
    XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home" QT_QPA_PLATFORM=xcb
    QT_STYLE_OVERRIDE=Fusion QT_QPA_PLATFORMTHEME=generic XDG_CURRENT_DESKTOP=X-Generic)

now_us() {
    local t="$EPOCHREALTIME"
    echo "${t/./}"
}

started_us=
# Starts program $1 (game or bare) and waits until its window is mapped;
# leaves the start-up time in microseconds in $startup_us.
launch() {
    local exe=tavrolin
    [ "$1" = game ] || exe=barewindow
    started_us="$(now_us)"
    (cd "$tmp/$1" && exec "${run_env[@]}" "./$exe") >>"$tmp/$1.log" 2>&1 &
    pid=$!
    # Tight polling: one xdotool call after another, for at most 15 s.
    local deadline=$((started_us + 15000000))
    until xdotool search --onlyvisible --pid "$pid" >/dev/null 2>&1; do
        if [ "$(now_us)" -gt "$deadline" ] || ! kill -0 "$pid" 2>/dev/null; then
            sed 's/^/  log: /' "$tmp/$1.log" >&2
            die "the $1 window did not appear"
        fi
    done
    startup_us=$(($(now_us) - started_us))
}

finish() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=
}

# Sleeps until $1 seconds after the last start.
sleep_until_after_start() {
    local left=$((started_us + $1 * 1000000 - $(now_us)))
    [ "$left" -le 0 ] || sleep "$(awk -v us="$left" 'BEGIN { printf "%.3f", us / 1e6 }')"
}

rss_kb() {
    awk '/^VmRSS:/ { print $2 }' "/proc/$pid/status"
}

# utime + stime in clock ticks (fields 14 and 15, counted after the name).
cpu_ticks() {
    local stat
    stat="$(cat "/proc/$pid/stat")"
    stat="${stat##*) }"
    awk '{ print $12 + $13 }' <<<"$stat"
}

# CPU time of all threads in microseconds, from the scheduler's own count
# (finer than the clock ticks of /proc/PID/stat; shown beside the figure).
cpu_sched_us() {
    cat /proc/"$pid"/task/*/schedstat 2>/dev/null | awk '{ ns += $1 } END { printf "%d\n", ns / 1000 }'
}

median() {
    sort -g | awk '{ v[NR] = $1 } END { if (NR == 0) exit 1; print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}

# --- Start-up ---------------------------------------------------------------
# One unmeasured start of each first, so both find their libraries in the cache.
launch game
finish
launch bare
finish

: >"$tmp/ratios"
: >"$tmp/game_ms"
: >"$tmp/bare_ms"
for i in $(seq 1 "$runs"); do
    # Alternate which of the two goes first in a pair.
    if [ $((i % 2)) -eq 1 ]; then order=(game bare); else order=(bare game); fi
    for which in "${order[@]}"; do
        launch "$which"
        finish
        declare "${which}_us=$startup_us"
    done
    echo "$game_us $bare_us" | awk '{ printf "%.4f\n", $1 / $2 }' >>"$tmp/ratios"
    echo "$game_us" | awk '{ printf "%.2f\n", $1 / 1000 }' >>"$tmp/game_ms"
    echo "$bare_us" | awk '{ printf "%.2f\n", $1 / 1000 }' >>"$tmp/bare_ms"
    printf 'start-up pair %2d: game %7.1f ms, bare window %7.1f ms\n' "$i" \
        "$(tail -n1 "$tmp/game_ms")" "$(tail -n1 "$tmp/bare_ms")"
done
ratio="$(median <"$tmp/ratios")"
game_ms="$(median <"$tmp/game_ms")"
bare_ms="$(median <"$tmp/bare_ms")"
printf 'start-up to window mapped, median of %d: game %.1f ms, bare window %.1f ms, median ratio %.3f\n' \
    "$runs" "$game_ms" "$bare_ms" "$ratio"

# --- Memory and idle --------------------------------------------------------
tick_ms=$((1000 / $(getconf CLK_TCK)))
: >"$tmp/rss_diff"
idle_ms=
for i in 1 2 3; do
    launch game
    sleep_until_after_start "$settle_seconds"
    game_rss="$(rss_kb)"
    if [ "$i" = 1 ]; then
        before="$(cpu_ticks)"
        before_us="$(cpu_sched_us)"
        sleep "$idle_seconds"
        kill -0 "$pid" 2>/dev/null || die "the game ended while idling"
        idle_ms=$((($(cpu_ticks) - before) * tick_ms))
        idle_sched_ms="$(awk -v a="$before_us" -v b="$(cpu_sched_us)" 'BEGIN { printf "%.1f", (b - a) / 1000 }')"
    fi
    finish
    launch bare
    sleep_until_after_start "$settle_seconds"
    bare_rss="$(rss_kb)"
    finish
    echo "$game_rss $bare_rss" | awk '{ printf "%.2f\n", ($1 - $2) / 1024 }' >>"$tmp/rss_diff"
    printf 'resident set %d s after start: game %.1f MB, bare window %.1f MB\n' "$settle_seconds" \
        "$(awk -v k="$game_rss" 'BEGIN { print k / 1024 }')" "$(awk -v k="$bare_rss" 'BEGIN { print k / 1024 }')"
done
rss_diff="$(median <"$tmp/rss_diff")"
printf 'resident set, game minus bare window, median of 3: %.1f MB\n' "$rss_diff"
printf 'CPU time over %d s of idling: %d ms in %d ms ticks (scheduler count: %s ms)\n' "$idle_seconds" "$idle_ms" \
    "$tick_ms" "$idle_sched_ms"

echo "BENCH startup_ratio $ratio x <= 1.2 start-up to window mapped, game / bare window (median of $runs pairs)"
echo "BENCH startup_game $game_ms ms info - game start-up to window mapped (median; bare window $bare_ms ms)"
echo "BENCH memory_extra $rss_diff MB <= 15 resident set ${settle_seconds} s after start, game minus bare window"
echo "BENCH idle_cpu $idle_ms ms <= 40 CPU time over ${idle_seconds} s of idling after start-up"
