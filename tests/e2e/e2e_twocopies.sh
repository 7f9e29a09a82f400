#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Two copies of the real program, side by side under one private X server,
# both started from the same folder so that they share the score log beside
# the executable, play whole games through real mouse clicks and finish at
# the same moment: the last hit of each is sent back to back. After every
# round the log holds both records, each whole (six CR LF lines that agree
# with each other) and none mixed into the other.
# Each click is followed by waiting for what it does to show on the screen
# (the hit square takes the hit colour, Reset takes it back), so that a copy
# lagging behind its clicks is waited for, while a click that does nothing
# (lost, or stopped by a message box) fails the test with the copies'
# windows and a picture of the screen.
# Usage: e2e_twocopies.sh /path/to/tavrolin
set -euo pipefail

bin="$(readlink -f "$1")"
for tool in Xvfb xdotool import; do
    command -v "$tool" >/dev/null || { echo "e2e_twocopies: $tool is missing (./dev installs it)" >&2; exit 1; }
done

rounds=3
# How long a copy may take to show what a click did. Generous: under the
# sanitizers, on a busy machine, a copy may lag seconds behind its clicks.
settle_s=30
tmp="$(mktemp -d /tmp/tavrolin-e2e-twocopies.XXXXXX)"
pids=()
# shellcheck source=tests/e2e/xdisplay.sh
. "$(dirname "$0")/xdisplay.sh"
# shellcheck source=tests/e2e/windowlayout.sh
. "$(dirname "$0")/windowlayout.sh"
cleanup() {
    stop_started
    rm -rf "$tmp"
}
trap cleanup EXIT

declare -A wid panel_x panel_y board_x board_y app_pid

alive() {
    local state
    state="$(ps -o stat= -p "$1" 2>/dev/null)" || return 1
    [[ "$state" != Z* ]]
}

fail() {
    echo "e2e_twocopies: FAIL: $*" >&2
    local f name shot
    for name in tavrolin tavrolin-too; do
        [ -n "${app_pid[$name]:-}" ] || continue
        if alive "${app_pid[$name]}"; then
            echo "  windows of $name (pid ${app_pid[$name]}):" >&2
            describe_windows "${app_pid[$name]}" | sed 's/^/    /' >&2
        else
            echo "  $name (pid ${app_pid[$name]}) is no longer running" >&2
        fi
    done
    if [ -n "${DISPLAY:-}" ] && shot="$(save_screen tavrolin-e2e-twocopies-fail)"; then
        echo "  the screen: $shot" >&2
    fi
    for f in "$tmp"/app-*.log; do
        [ -f "$f" ] && sed "s/^/  $(basename "$f" .log): /" "$f" >&2
    done
    [ -f "$tmp/app/TVL_Scores" ] && { echo "  the log:" >&2; cat -A "$tmp/app/TVL_Scores" | sed 's/^/    /' >&2; }
    exit 1
}


# --- X server on a free display, just wide enough for two windows ---------
# The screen is read after every click; a small one is read quickly.
start_xvfb 1824x560 || fail "Xvfb did not start"

# --- Both copies in one folder, so one score log; one home for both -------
mkdir -p "$tmp/app" "$tmp/home"
chmod 700 "$tmp/home"
cp "$bin" "$tmp/app/tavrolin"
cp "$bin" "$tmp/app/tavrolin-too"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
# No sound server: the clicks are what is tested here.
export PULSE_SERVER="unix:$tmp/no-such-server"

# Whether window $1 stands at x = $2.
window_at() {
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    [ "$X" -eq "$2" ]
}

start_copy() {
    local name="$1" left="$2" pid w
    (cd "$tmp/app" && exec env HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" \
        XDG_DATA_HOME="$tmp/home/data" XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home" \
        QT_QPA_PLATFORM=xcb "./$name") >"$tmp/app-$name.log" 2>&1 &
    pid=$!
    pids+=("$pid")
    app_pid[$name]=$pid
    # --all: the window of this process with this title (xdotool's default
    # would take either).
    wait_for $((settle_s * 10)) xdotool search --all --onlyvisible --pid "$pid" --name '^Tavrolin$' || fail "$name: no window after $settle_s s"
    w="$(xdotool search --all --onlyvisible --pid "$pid" --name '^Tavrolin$' | head -n1)"
    local other
    for other in "${wid[@]}"; do
        [ "$other" != "$w" ] || fail "$name: found the window of the other copy"
    done
    wid[$name]=$w
    # No window manager: the window goes where it is told.
    xdotool windowmove "$w" "$left" 0
    wait_for 30 window_at "$w" "$left" || fail "$name: the window did not move to $left"
    local X Y WIDTH HEIGHT SCREEN
    eval "$(xdotool getwindowgeometry --shell "$w")"
    # Where the controls are, from the window's layout (no frame without a
    # window manager).
    local px py bx by
    read -r px py < <(panel_origin "$X" "$Y" "$WIDTH" "$HEIGHT")
    read -r bx by < <(board_origin "$px" "$py")
    panel_x[$name]=$px panel_y[$name]=$py board_x[$name]=$bx board_y[$name]=$by
    echo "e2e_twocopies: $name (pid $pid) in window $w at $X,$Y, ${WIDTH}x$HEIGHT"
}

# The colours of the squares (game labels' backgrounds) at rest and hit.
rest_colour=224,224,224
hit_colour=255,224,192

# Screen position of hit number $2 (0 to 19) in copy $1, $3 and $4 pixels
# from the top left corner of its square (83 x 88); the middle by default.
hit_point() {
    local name="$1" n="$2" row col
    read -r row col < <(hit_square "$n")
    square_point "$row" "$col" "${board_x[$name]}" "${board_y[$name]}" "${@:3}"
}

# Where the background of the square of hit $2 in copy $1 shows: near its
# top left corner, clear of the digits and of the mouse pointer (which
# rests in the middle of the square last clicked).
colour_point() {
    hit_point "$1" "$2" 6 6
}

# Both copies still running, or the test fails at once with their logs
# (a copy killed by the sanitizers has its report there).
both_alive() {
    local name
    for name in tavrolin tavrolin-too; do
        alive "${app_pid[$name]}" || fail "$name died ($*)"
    done
}

# Waits up to settle_s seconds until the squares show the given colours:
# arguments in threes, copy, hit number (its square) and colour. Fails,
# naming every square that does not, when they do not; meanwhile both
# copies must stay alive. Keeps in slowest_ms the longest such wait.
squares_show() {
    local what="$1"
    shift
    local points=() wanted=() names=() start now x y i seen
    while [ "$#" -ge 3 ]; do
        read -r x y < <(colour_point "$1" "$2")
        points+=("$x" "$y")
        wanted+=("$3")
        names+=("$1: square of hit $2")
        shift 3
    done
    start="$(date +%s%N)"
    while :; do
        both_alive "$what"
        read -r -a seen < <(screen_colours "${points[@]}" 2>/dev/null; echo)
        for i in "${!wanted[@]}"; do
            [ "${seen[i]:-}" = "${wanted[i]}" ] || break
        done
        now="$(date +%s%N)"
        if [ "${seen[i]:-}" = "${wanted[i]}" ]; then
            [ $(((now - start) / 1000000)) -le "$slowest_ms" ] || slowest_ms=$(((now - start) / 1000000))
            return 0
        fi
        if [ $((now - start)) -ge $((settle_s * 1000000000)) ]; then
            local report=""
            for i in "${!wanted[@]}"; do
                [ "${seen[i]:-}" = "${wanted[i]}" ] \
                    || report+="; ${names[i]} is ${seen[i]:-unreadable}, not ${wanted[i]}"
            done
            fail "$what: not shown after $settle_s s$report"
        fi
        sleep 0.1
    done
}

# No window of copy $1 but its main window on the screen (a message box
# would take the next clicks).
no_box_open() {
    local w
    for w in $(xdotool search --all --onlyvisible --pid "${app_pid[$1]}" 2>/dev/null); do
        [ "$w" = "${wid[$1]}" ] || return 1
    done
}

click_hit() {
    local x y
    read -r x y < <(hit_point "$1" "$2")
    xdotool mousemove "$x" "$y" click 1
}

reset_game() {
    local x y
    read -r x y < <(reset_point "${panel_x[$1]}" "${panel_y[$1]}")
    xdotool mousemove "$x" "$y" click 1
}

log_records() {
    [ -f "$tmp/app/TVL_Scores" ] || { echo 0; return; }
    # Records end in an empty CR LF line.
    grep -c $'^\r$' "$tmp/app/TVL_Scores" || true
}

# Every record whole: six CR LF lines, in order, agreeing with each other.
check_log() {
    local want="$1" file="$tmp/app/TVL_Scores"
    awk -v want="$want" '
        function bad(why) { printf "record %d, line %d: %s\n", (NR - 1) / 6 + 1, NR, why; failed = 1; exit 1 }
        BEGIN { RS = "\n" }
        {
            if (substr($0, length($0)) != "\r") bad("no CR LF")
            line = substr($0, 1, length($0) - 1)
            k = (NR - 1) % 6
            if (k == 0 && line !~ /^Scores of Game ending on [0-3][0-9]-[01][0-9]-[0-9][0-9][0-9][0-9] [0-2][0-9]:[0-5][0-9]:[0-5][0-9]$/) bad("not a game end: " line)
            if (k == 1 || k == 2) {
                name = k == 1 ? "PLAYER 1" : "PLAYER 2"
                groups = line
                if (line !~ ("^" name " : (\\+\\(-?[0-9]\\))+ = -?[0-9]+$") || gsub(/\+\(/, "", groups) != 10)
                    bad("not a player line: " line)
                n = split(line, parts, /\+\(|\) ?/)
                sum = 0
                for (i = 1; i <= n; i++) if (parts[i] ~ /^-?[0-9]$/) sum += parts[i]
                split(line, tail, " = ")
                if (sum != tail[2]) bad("the hits do not add up to the score: " line)
                score[k] = sum
            }
            if (k == 3) {
                d = score[1] - score[2]; if (d < 0) d = -d
                if (line != "Score Difference = " d) bad("wrong difference: " line)
            }
            if (k == 4) {
                who = score[1] > score[2] ? "PLAYER 1" : (score[2] > score[1] ? "PLAYER 2" : "Nobody")
                if (line != who " won this game") bad("wrong result: " line)
            }
            if (k == 5 && line != "") bad("not the empty last line")
        }
        END {
            if (failed) exit 1
            if (NR != 6 * want) { printf "%d lines, not %d\n", NR, 6 * want; exit 1 }
        }
    ' "$file" || return 1
    # Nothing after the last line end.
    [ "$(tail -c 4 "$file" | od -An -c | tr -d ' ')" = '\r\n\r\n' ]
}

# Waits up to settle_s seconds for $1 records in the log, both copies
# alive meanwhile; fails ($2 says when) if they do not come. Sets
# records_ms to how long it took.
records_reach() {
    local start now
    start="$(date +%s%N)"
    while [ "$(log_records)" -lt "$1" ]; do
        both_alive "$2, waiting for the records"
        now="$(date +%s%N)"
        [ $((now - start)) -lt $((settle_s * 1000000000)) ] \
            || fail "$2: $(log_records) records after $settle_s s, not $1"
        sleep 0.1
    done
    records_ms=$((($(date +%s%N) - start) / 1000000))
}

start_copy tavrolin 0
start_copy tavrolin-too 1024
slowest_ms=0
# Both boards drawn where the clicks will go, every square at rest.
squares_show "the boards at the start" tavrolin 0 "$rest_colour" tavrolin-too 0 "$rest_colour"

for round in $(seq 1 "$rounds"); do
    slowest_ms=0
    if [ "$round" -gt 1 ]; then
        reset_game tavrolin
        reset_game tavrolin-too
        # Reset puts the last hit square back to rest.
        squares_show "round $round: Reset" tavrolin 19 "$rest_colour" tavrolin-too 19 "$rest_colour"
    fi
    # Nineteen hits in each window, taking turns between the windows; each
    # copy shows a hit before it gets the next click.
    for n in $(seq 0 18); do
        click_hit tavrolin "$n"
        click_hit tavrolin-too "$n"
        if [ "$n" -eq 0 ]; then
            squares_show "round $round: hit 0" tavrolin 0 "$hit_colour" tavrolin-too 0 "$hit_colour"
        else
            squares_show "round $round: hit $n" tavrolin "$n" "$hit_colour" tavrolin-too "$n" "$hit_colour" \
                tavrolin $((n - 1)) "$rest_colour" tavrolin-too $((n - 1)) "$rest_colour"
        fi
    done
    # The twentieth hits, back to back in one command: both copies end
    # their games and append at the same moment.
    read -r x1 y1 < <(hit_point tavrolin 19)
    read -r x2 y2 < <(hit_point tavrolin-too 19)
    xdotool mousemove "$x1" "$y1" click 1 mousemove "$x2" "$y2" click 1
    squares_show "round $round: hit 19" tavrolin 19 "$hit_colour" tavrolin-too 19 "$hit_colour"
    records_reach $((2 * round)) "round $round"
    sleep 0.3
    both_alive "after round $round"
    for name in tavrolin tavrolin-too; do
        no_box_open "$name" || fail "round $round: $name shows a message box after its game"
    done
    report="$(check_log $((2 * round)))" || fail "round $round: ${report:-the log does not end in CR LF CR LF}"
    echo "e2e_twocopies: round $round: $((2 * round)) whole records (slowest click shown after $slowest_ms ms, the records $records_ms ms after the last hits)"
done

# Each copy keeps its own settings file (named after its executable) in the
# one home; a game with a winner leaves a highest record there.
if grep -q ' won this game' <(grep -v '^Nobody' "$tmp/app/TVL_Scores"); then
    ls "$tmp/home/config/"*.conf >/dev/null 2>&1 || fail "no highest record was saved"
fi

echo "e2e_twocopies: passed"
