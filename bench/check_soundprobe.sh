#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# soundprobe, the timing end of bench_clicksound.sh, on recordings made up
# here with sox: each click's latency from reads that a sink mixing ahead
# of its fast clock delivers a block at a time, gaps inside a sound,
# clicks with no sound or made while a sound still plays, faint noise as
# silence, and an empty recording or a click outside it refused.
# Usage: check_soundprobe.sh /path/to/soundprobe
set -euo pipefail
probe="$1"
command -v sox >/dev/null || { echo "check_soundprobe: sox is missing (./dev installs it)" >&2; exit 1; }

tmp="$(mktemp -d /tmp/tavrolin-check-soundprobe.XXXXXX)"
trap 'rm -rf "$tmp"' EXIT
fail() {
    echo "check_soundprobe: FAIL: $*" >&2
    [ -f "$tmp/out" ] && sed 's/^/  /' "$tmp/out" >&2
    exit 1
}

# --- stamp: copies its input whole and counts the bytes of every read ------
head -c 100000 /dev/urandom >"$tmp/input"
"$probe" stamp "$tmp/copy.raw" "$tmp/copy.idx" <"$tmp/input" || fail "stamp failed"
cmp -s "$tmp/input" "$tmp/copy.raw" || fail "stamp did not copy its input unchanged"
[ "$(tail -n1 "$tmp/copy.idx" | cut -d' ' -f1)" = 100000 ] || fail "stamp's last count is not the bytes received"
sort -n -c "$tmp/copy.idx" || fail "stamp's counts do not grow"

# --- analyse ---------------------------------------------------------------
rate=44100
piece() { # seconds kind: a stretch of tone, silence or faint noise
    case "$2" in
    tone) sox -n -r $rate -c 1 -b 16 -e signed -t raw - synth "$1" sine 440 vol 0.5 ;;
    silence) sox -n -r $rate -c 1 -b 16 -e signed -t raw - trim 0 "$1" ;;
    noise) sox -n -r $rate -c 1 -b 16 -e signed -t raw - synth "$1" whitenoise vol 0.0015 ;;
    sweep) sox -n -r $rate -c 1 -b 16 -e signed -t raw - synth 0.3 sine 1000-4000 vol 0.5 trim "${3:-0}" "$1" ;;
    esac
}
# Time line (s):   click A at 1.000, its sound 1.030 to 1.330
#                  click B at 2.000, sound 2.005, 10 ms silence, sound, 2 ms silence, sound
#                  click C at 2.500, nothing for 1.5 s
#                  click D at 4.300, a sound running since 4.290
#                  click E at 5.000, faint noise before and after, sound 5.120 to 5.300
{
    piece 1.030 silence
    piece 0.300 sweep
    piece 0.675 silence
    piece 0.100 tone
    piece 0.010 silence
    piece 0.100 tone
    piece 0.002 silence
    piece 0.050 tone
    piece 2.023 silence
    piece 0.210 tone
    piece 0.400 silence
    piece 0.220 noise
    piece 0.180 sweep 0.040
    piece 0.200 noise
    piece 1.000 silence
} >"$tmp/rec.raw"

# The sink's clock runs 0.05 % fast; it mixes 2 ms (88 samples) at a time,
# 2 ms ahead, and each read arrives up to 0.3 ms after it was mixed.
t0=1700000000000000000
awk -v total="$(($(stat -c %s "$tmp/rec.raw") / 2))" -v rate=$rate -v t0=$t0 'BEGIN {
    srand(7)
    for (end = 88; end <= total; end += 88) {
        mixed = (end - 2 * 88) / (rate * 1.0005) * 1e9
        printf "%d %.0f\n", end * 2, t0 + mixed + 0.3e6 * rand()
    }
}' >"$tmp/rec.idx"
# Click times on the same clock: the sink's sample i is mixed at i / (rate * 1.0005).
for at in 1.000 2.000 2.500 4.300 5.000; do
    awk -v t0=$t0 -v at="$at" 'BEGIN { printf "%.0f\n", t0 + at / 1.0005 * 1e9 }'
done >"$tmp/clicks"

"$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/clicks" $rate >"$tmp/out" || fail "analyse failed"
line() { sed -n "$1p" "$tmp/out"; }
# Latencies are in the sink's time, which runs 0.05 % fast as well, and
# run to the moment the block holding the sound's first sample was mixed
# (and arrived, up to 0.3 ms later): 2 to 4 ms before the sound plays (the
# time line's figure), as the sound starts late or early in its block.
expect_ok() { # click expected_ms gaps
    local got
    got="$(line "$1")"
    awk -v l="$got" -v ms="$2" -v gaps="$3" -v n="$1" -v block_ms="$(awk 'BEGIN { print 88 / 44.1 }')" 'BEGIN {
        split(l, f, " ")
        plays = ms / 1.0005
        exit !(f[2] == n && f[3] == "ok" && f[4] > plays - 2 * block_ms - 0.05 && f[4] < plays - block_ms + 0.35 && f[5] == gaps)
    }' || fail "click $1 should be timed 2 to 4 ms before its sound plays at $2 ms, with $3 gap(s): '$got'"
}
[ "$(wc -l <"$tmp/out")" = 5 ] || fail "not one line per click"
expect_ok 1 30 0
expect_ok 2 5 1
[ "$(line 3)" = "click 3 none - -" ] || fail "a click without sound was timed: '$(line 3)'"
[ "$(line 4)" = "click 4 busy - -" ] || fail "a click during a sound was timed: '$(line 4)'"
expect_ok 5 120 0

# Clicks come in any order in the file; the lines follow the time line.
# The sounds a click may play: what is missing of the one heard is found.
piece 0.300 sweep >"$tmp/sweep.raw"
piece 0.300 silence >"$tmp/silence.raw"
"$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/clicks" $rate "$tmp/silence.raw" "$tmp/sweep.raw" >"$tmp/out.cut" ||
    fail "analyse with sounds failed"
cut_of() { sed -n "$1p" "$tmp/out.cut" | cut -d' ' -f6; }
[ "$(cut_of 1)" = 0.0 ] || fail "click 1's whole sound was found cut by '$(cut_of 1)' ms"
awk -v c="$(cut_of 5)" 'BEGIN { exit !(c >= 39.5 && c <= 40.5) }' ||
    fail "click 5's sound lacks its first 40 ms, found '$(cut_of 5)'"
[ "$(cut_of 2)" = - ] || fail "click 2's tone matched the sweep (cut '$(cut_of 2)')"
[ "$(cut_of 3)" = - ] || fail "click 3 without sound has a cut '$(cut_of 3)'"
[ "$(cut -d' ' -f1-5 "$tmp/out.cut")" = "$(cat "$tmp/out")" ] || fail "the sounds changed the other figures"

tac "$tmp/clicks" >"$tmp/clicks.reversed"
"$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/clicks.reversed" $rate >"$tmp/out.reversed" || fail "analyse failed"
cmp -s "$tmp/out" "$tmp/out.reversed" || fail "the order of the clicks in the file changed the result"

# --- analyse refuses what it cannot time -----------------------------------
: >"$tmp/empty"
"$probe" analyse "$tmp/empty" "$tmp/empty" "$tmp/clicks" $rate >/dev/null 2>&1 && fail "an empty recording was analysed"
echo $((t0 + 60000000000)) >"$tmp/late"
"$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/late" $rate >/dev/null 2>&1 &&
    fail "a click a minute after the recording was analysed"
"$probe" analyse "$tmp/rec.raw" "$tmp/rec.idx" "$tmp/no-such-file" $rate >/dev/null 2>&1 && fail "a missing click file was accepted"
echo "check_soundprobe: passed"
