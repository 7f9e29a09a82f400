#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# A whole game played by keys alone with the real screen reader listening:
# under a private X server with openbox, a private D-Bus session (whose
# accessibility bus D-Bus starts on demand), a private PulseAudio server
# with a null sink, and speech-dispatcher whose only voice writes what it
# is given to a file, Orca runs as a blind player would run it.
#   1. A plain dialog from Debian (zenity) first: Orca must say its text,
#      or nothing below could be heard either.
#   2. The game: Orca names the focused square with its number; Tab and the
#      arrow keys reach the squares and Space hits them, twenty times. After
#      each hit Orca says who hit, the points, that player's total and
#      attempts, and who plays next; after the last it says the banner and
#      the score difference. What it said must add up, hit by hit, and agree
#      with the record the game appended to its score log. A twenty-first
#      hit is refused by a message box, which Orca reads.
# Usage: e2e_screenreader.sh /path/to/tavrolin
# With TAVROLIN_FOCUS_SHOT=file.png it also keeps a picture of the screen
# with the first square focused by Tab.
set -euo pipefail

me=e2e_screenreader
if [ -z "${TAVROLIN_E2E_SCREENREADER_TIMED:-}" ]; then
    command -v timeout >/dev/null || { echo "$me: FAIL: timeout is missing" >&2; exit 1; }
    exec timeout -k 5 200 env TAVROLIN_E2E_SCREENREADER_TIMED=1 bash "$0" "$@"
fi

bin="$(readlink -f "$1")"
for tool in Xvfb openbox xdotool xprop import dbus-daemon pulseaudio pactl speech-dispatcher orca zenity; do
    command -v "$tool" >/dev/null || { echo "$me: FAIL: $tool is missing (./dev installs it)" >&2; exit 1; }
done
[ -x /usr/lib/speech-dispatcher-modules/sd_generic ] ||
    { echo "$me: FAIL: speech-dispatcher's generic module is missing" >&2; exit 1; }

tmp="$(mktemp -d /tmp/tavrolin-e2e-screenreader.XXXXXX)"
pids=()
# shellcheck source=tests/e2e/xdisplay.sh
. "$(dirname "$0")/xdisplay.sh"
said="$tmp/said.txt"
cleanup() {
    # Newest first: the game and Orca before the buses they talk over.
    local i
    for ((i = ${#pids[@]} - 1; i >= 0; i--)); do
        stop_pid "${pids[$i]}"
    done
    [ -n "${soundserver:-}" ] && bash "$soundserver" stop "$tmp/pulse" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
trap 'echo "$me: FAIL: stopped by a signal (the whole run is limited to 200 s)" >&2; exit 1' TERM INT

fail() {
    echo "$me: FAIL: $*" >&2
    [ -f "$said" ] && sed 's/^/  orca said: /' "$said" >&2
    local f
    for f in "$tmp/app.log" "$tmp/orca.log" "$tmp/speechd.log"; do
        [ -s "$f" ] && tail -n 20 "$f" | sed "s/^/  $(basename "$f" .log): /" >&2
    done
    exit 1
}

# --- A home of its own, an X server and a window manager ------------------
mkdir -p "$tmp/app" "$tmp/home/config" "$tmp/home/data" "$tmp/home/cache" "$tmp/home/runtime"
chmod 700 "$tmp/home/runtime"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data"
export XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home/runtime"
unset DBUS_SESSION_BUS_ADDRESS AT_SPI_BUS_ADDRESS SPEECHD_ADDRESS QT_SCALE_FACTOR QT_QPA_PLATFORMTHEME || true
start_xvfb 1280x1024 || fail "Xvfb did not start"

# --- The session bus: Orca, the game and zenity find the accessibility bus
# through it (D-Bus starts the bus launcher when Orca first asks).
dbus-daemon --session --nofork --nopidfile --print-address=3 3>"$tmp/bus" 2>"$tmp/bus.log" &
pids+=($!)
wait_for 100 test -s "$tmp/bus" || fail "the session bus did not start"
DBUS_SESSION_BUS_ADDRESS="$(head -n1 "$tmp/bus")"
export DBUS_SESSION_BUS_ADDRESS

openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
wm_ready() { timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'; }
wait_for 100 wm_ready || fail "openbox did not start managing windows"

# --- A sound server of our own: speech-dispatcher opens one for every
# module, even one that only writes text.
soundserver="$(dirname "$0")/../support/soundserver.sh"
bash "$soundserver" start pulseaudio "$tmp/pulse" || fail "PulseAudio did not start"
export "$(cat "$tmp/pulse/env")"

# --- speech-dispatcher with one voice: each piece of speech is one line of
# $said. (The generic module puts the text, shell-quoted, for $DATA.)
mkdir -p "$tmp/speechd/modules"
cat >"$tmp/speechd/speechd.conf" <<CONF
AudioOutputMethod "pulse"
AddModule "file" "sd_generic" "file.conf"
DefaultModule file
DefaultLanguage "en"
CONF
cat >"$tmp/speechd/modules/file.conf" <<CONF
GenericExecuteSynth "printf '%s\\\\n' \\'\$DATA\\' >> $said"
GenericLanguage "en" "en" "utf-8"
AddVoice "en" "MALE1" "en"
CONF
: >"$said"
speech-dispatcher --run-single --timeout 0 --communication-method unix_socket \
    --socket-path "$tmp/speechd/socket" --config-dir "$tmp/speechd" --log-dir "$tmp/speechd" \
    --pid-file "$tmp/speechd/pid" >"$tmp/speechd.log" 2>&1 &
pids+=($!)
export SPEECHD_ADDRESS="unix_socket:$tmp/speechd/socket"
wait_for 100 test -S "$tmp/speechd/socket" || fail "speech-dispatcher did not start"

# --- Orca, with its settings in the private home.
orca --replace >"$tmp/orca.log" 2>&1 &
pids+=($!)

# Waits up to $1 tenths of a second until a line of what Orca said matches
# the regular expression $2 (at least $3 times, 1 unless told).
heard() {
    local tries="$1" pattern="$2" times="${3:-1}"
    while [ "$(grep -cE -- "$pattern" "$said" || true)" -lt "$times" ]; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}
wait_for 200 grep -q 'Screen reader on' "$said" || fail "Orca did not start speaking"

# --- 1. A plain dialog from Debian -----------------------------------------
zenity --question --title "Weather" --text "Is the sky blue today?" >/dev/null 2>&1 &
zen=$!
pids+=("$zen")
heard 200 'Is the sky blue today' || fail "Orca did not read zenity's dialog: the set-up does not speak"
stop_pid "$zen"
echo "$me: Orca speaks: $(grep -m1 'Is the sky blue' "$said")"

# --- 2. The game, by keys alone --------------------------------------------
cp "$bin" "$tmp/app/tavrolin"
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
(cd "$tmp/app" && exec env QT_QPA_PLATFORM=xcb QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 ./tavrolin) \
    >"$tmp/app.log" 2>&1 &
pids+=($!)
wait_for 150 xdotool search --onlyvisible --name '^Tavrolin$' || fail "the window did not appear"
wid="$(xdotool search --onlyvisible --name '^Tavrolin$' | head -n1)"
xdotool windowactivate --sync "$wid" >/dev/null 2>&1 || true
# The window opens on the first square, which Orca names with its number.
heard 150 '^Square 1, row 1, column 1 push button' || fail "Orca did not name the first square"
heard 50 '^Shows -0\.$' || fail "Orca did not say what the first square shows"

key() {
    xdotool key --window "$wid" --clearmodifiers "$@"
}

# Tab to the second square, hit it; then the arrows snake over the field:
# along the first row, down, back along the second, and so on.
moves=(Tab Right Right Right Down Left Left Left Left Down Right Right Right Right Down Left Left Left Left Up)
for hit in $(seq 1 20); do
    key "${moves[$((hit - 1))]}"
    # Orca names the square and then says its number (one of each for the
    # first square, and one more of each for every move).
    heard 100 '^Square [0-9]+, row [1-4], column [1-5] push button\.$' $((hit + 1)) ||
        fail "Orca did not name the square reached for hit $hit"
    heard 100 '^Shows -?[0-9]\.$' $((hit + 1)) || fail "Orca did not say the number of the square reached for hit $hit"
    if [ "$hit" -eq 1 ] && [ -n "${TAVROLIN_FOCUS_SHOT:-}" ]; then
        import -window root "$TAVROLIN_FOCUS_SHOT" || fail "no picture of the focused square"
    fi
    key space
    heard 100 '^PLAYER [12] scores -?[0-9]+\.$' "$hit" || fail "Orca said nothing after hit $hit"
done
heard 100 '^ ?(PLAYER [12] WON|A tie)\.$' || fail "Orca did not say who won"
heard 50 '^ ?Score difference [0-9]+\.$' || fail "Orca did not say the score difference"
# One more hit is refused by a message box, which Orca reads as it reads
# every message box; Return closes it.
key space
heard 100 'Both of you have finished your allotted attempts' ||
    fail "Orca did not read the message that refuses a twenty-first hit"
key Return

# --- What Orca said adds up, and agrees with the score log ----------------
log="$tmp/app/TVL_Scores"
wait_for 100 test -s "$log" || fail "the game wrote no score log"
/usr/bin/python3 - "$said" "$log" <<'CHECK' || fail "what Orca said does not add up"
import re
import sys

said = [line.strip() for line in open(sys.argv[1], encoding="utf-8")]
log = open(sys.argv[2], encoding="utf-8", newline="").read().split("\r\n")
# The game's pieces of speech, in order (Orca speaks each sentence apart).
text = " ".join(said)
hits = re.findall(r"(PLAYER [12]) scores (-?\d+)\. Total (-?\d+) after (\d+) attempts?\.(?: Next (PLAYER [12])\.)?",
                  text)
assert len(hits) == 20, "%d hits heard: %s" % (len(hits), hits)
total, attempts = {"PLAYER 1": 0, "PLAYER 2": 0}, {"PLAYER 1": 0, "PLAYER 2": 0}
for n, (who, points, heard_total, heard_attempts, following) in enumerate(hits):
    expected = "PLAYER %d" % (n % 2 + 1)
    assert who == expected, "hit %d by %s, not %s" % (n + 1, who, expected)
    total[who] += int(points)
    attempts[who] += 1
    assert int(heard_total) == total[who], "hit %d: total %s, not %d" % (n + 1, heard_total, total[who])
    assert int(heard_attempts) == attempts[who], "hit %d: %s attempts" % (n + 1, heard_attempts)
    other = "PLAYER %d" % (2 - n % 2)
    assert following == ("" if n == 19 else other), "hit %d: next %r" % (n + 1, following)
difference = abs(total["PLAYER 1"] - total["PLAYER 2"])
end = re.search(r"(PLAYER [12] WON|A tie)\. Score difference (\d+)\.", text)
assert end, "no end of the game heard"
winner = ("PLAYER 1" if total["PLAYER 1"] > total["PLAYER 2"] else "PLAYER 2") \
    if difference else None
assert end.group(1) == (winner + " WON" if winner else "A tie"), "heard %r" % end.group(1)
assert int(end.group(2)) == difference, "heard difference %s, not %d" % (end.group(2), difference)
# The log's record of this game: six lines, the totals and the outcome.
assert len(log) == 7 and log[6] == "", "the log is not one record: %r" % log
assert log[0].startswith("Scores of Game ending on "), log[0]
for k, who in enumerate(["PLAYER 1", "PLAYER 2"]):
    assert log[1 + k].startswith(who + " : ") and log[1 + k].endswith(" = %d" % total[who]), log[1 + k]
assert log[3] == "Score Difference = %d" % difference, log[3]
assert log[4] == (winner + " won this game" if winner else "Nobody won this game"), log[4]
print("e2e_screenreader: heard 20 hits, totals %s, %s, score difference %d; the log agrees"
      % (total, end.group(1), difference))
CHECK
echo "$me: the first three hits and the end, as Orca said them:"
grep -nE '^ ?(PLAYER [12] (scores|WON)|Total|Next|A tie|Score difference)' "$said" | sed -n '1,9p;$p' | sed 's/^/  /'
[ -n "${TAVROLIN_KEEP_SAID:-}" ] && cp "$said" "$TAVROLIN_KEEP_SAID"
echo "$me: passed"
