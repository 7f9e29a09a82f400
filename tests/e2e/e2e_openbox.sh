#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# The real program under a real window manager (openbox, default settings)
# on a private X server: the main panel is centred on the window's outer
# size, frame included, as the window stands once openbox has framed it,
# and again after openbox has resized it. Where the panel stands is read off
# screenshots: the first pixel that is not background, scanning right from
# the client area's left edge and down from the menu bar. Where it should
# stand comes from the client geometry (xwininfo), the frame extents openbox
# publishes (_NET_FRAME_EXTENTS) and the centring of the twips layout
# (panel_offset in windowlayout.sh); a pixel either way is allowed.
# Usage: e2e_openbox.sh /path/to/tavrolin
set -euo pipefail

me=e2e_openbox
# The whole run is bounded: nothing here may hang a test session.
if [ -z "${TAVROLIN_E2E_OPENBOX_TIMED:-}" ]; then
    command -v timeout >/dev/null || { echo "$me: timeout is missing" >&2; exit 1; }
    exec timeout -k 5 55 env TAVROLIN_E2E_OPENBOX_TIMED=1 bash "$0" "$@"
fi

bin="$(readlink -f "$1")"
for tool in Xvfb openbox xprop xwininfo xdotool import convert; do
    command -v "$tool" >/dev/null || { echo "$me: FAIL: $tool is missing (./dev installs it)" >&2; exit 1; }
done

tmp="$(mktemp -d /tmp/tavrolin-e2e-openbox.XXXXXX)"
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
trap 'echo "$me: FAIL: stopped by a signal (the whole run is limited to 55 s)" >&2; exit 1' TERM INT

# Keeps the last screenshot (the scratch folder goes) and names it.
kept_shot() {
    [ -f "$tmp/shot.ppm" ] || { echo "no screenshot"; return; }
    local keep
    keep="$(mktemp /tmp/tavrolin-e2e-openbox-shot.XXXXXX.png)"
    timeout 10 convert "$tmp/shot.ppm" "$keep"
    echo "screenshot kept as $keep"
}

fail() {
    echo "$me: FAIL: $*" >&2
    echo "  $(kept_shot)" >&2
    local f
    for f in "$tmp/app.log" "$tmp/openbox.log"; do
        [ -s "$f" ] && sed "s/^/  $(basename "$f" .log): /" "$f" >&2
    done
    exit 1
}


# --- X server, home of its own, window manager -----------------------------
start_xvfb 1280x1024 || fail "Xvfb did not start"
mkdir -p "$tmp/app" "$tmp/home"
chmod 700 "$tmp/home"
export HOME="$tmp/home" XDG_CONFIG_HOME="$tmp/home/config" XDG_DATA_HOME="$tmp/home/data" \
    XDG_CACHE_HOME="$tmp/home/cache" XDG_RUNTIME_DIR="$tmp/home"
# No sound server: only the window is looked at here.
export PULSE_SERVER="unix:$tmp/no-such-server"

openbox >"$tmp/openbox.log" 2>&1 &
pids+=($!)
# Openbox names its check window on the root once it manages windows.
wm_ready() {
    timeout 5 xprop -root _NET_SUPPORTING_WM_CHECK | grep -q 'window id'
}
wait_for 100 wm_ready || fail "openbox did not start managing windows"

# --- The program, from a folder of its own (its score log goes there) -----
cp "$bin" "$tmp/app/tavrolin"
# The sound module goes beside the game, where the game looks for it.
cp "$(dirname "$bin")/libtavrolin-sound.so" "$tmp/app/"
(cd "$tmp/app" && QT_QPA_PLATFORM=xcb exec ./tavrolin) >"$tmp/app.log" 2>&1 &
app_pid=$!
pids+=("$app_pid")
find_window() {
    timeout 5 xdotool search --all --onlyvisible --pid "$app_pid" --name '^Tavrolin$' | head -n1
}
has_window() {
    [ -n "$(find_window)" ]
}
wait_for 150 has_window || fail "the window did not appear"
wid="$(find_window)"
framed() {
    timeout 5 xprop -id "$wid" _NET_FRAME_EXTENTS | grep -q '= [0-9]'
}
wait_for 50 framed || fail "openbox published no frame extents for window $wid"

# --- Reading the window -------------------------------------------------------

# The colour of each pixel of a one-pixel-wide strip of the screenshot
# (geometry as WxH+X+Y), one a line, in order.
strip() {
    convert "$tmp/shot.ppm" -crop "$1" +repage -depth 8 txt:- |
        awk '!/^#/ { for (i = 2; i <= NF; i++) if ($i ~ /^#/) { print substr($i, 1, 7); break } }'
}

# Index of the first line of a strip that is (want = 1) or is not (want = 0)
# colour $1; -1 when there is none.
first() {
    awk -v c="$1" -v want="$2" '(($0 == c) == want) { print NR - 1; found = 1; exit } END { if (!found) print -1 }'
}

within_one() {
    [ "$1" -ge $(($2 - 1)) ] && [ "$1" -le $(($2 + 1)) ]
}

# Not yet read: shown as "-" in the figures.
fl=- fr=- ft=- fb=- cx=- cy=- cw=- ch=- ow=- oh=- bg=- menu=- left=- top=- want_left=- want_top=-

# Reads the frame, the client geometry and one screenshot, and sets
#   fl fr ft fb       frame extents
#   cx cy cw ch       client area on the screen
#   ow oh             outer size
#   bg                background colour (near the client's bottom right corner,
#                     clear of the panel)
#   menu              menu bar height (rows down to the first background row)
#   left top          where the panel stands, in the client area, top below the menu
#   want_left want_top where it should stand
measure() {
    local extents info
    extents="$(timeout 5 xprop -id "$wid" _NET_FRAME_EXTENTS)" || return 1
    read -r fl fr ft fb < <(sed -n 's/.*= *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1 \2 \3 \4/p' <<<"$extents")
    [ -n "${fb:-}" ] || return 1
    info="$(timeout 5 xwininfo -id "$wid")" || return 1
    cx="$(awk '/Absolute upper-left X:/ { print $NF }' <<<"$info")"
    cy="$(awk '/Absolute upper-left Y:/ { print $NF }' <<<"$info")"
    cw="$(awk '/^ *Width:/ { print $NF }' <<<"$info")"
    ch="$(awk '/^ *Height:/ { print $NF }' <<<"$info")"
    ow=$((cw + fl + fr))
    oh=$((ch + ft + fb))
    rm -f "$tmp/shot.ppm"
    # Uncompressed: it is read five times.
    timeout 10 import -window root "$tmp/shot.ppm" 2>/dev/null || return 1
    bg="$(strip "1x1+$((cx + cw - 3))+$((cy + ch - 3))")"
    # The menu bar runs the whole width; the right margin is background.
    menu="$(strip "1x$ch+$((cx + cw - 3))+$cy" | first "$bg" 1)"
    left=-1 top=-1
    [ "$menu" -ge 0 ] || return 0
    # A row through the middle of the area below the menu, a column through
    # the middle of the client area: both cross the panel wherever it is
    # centred.
    left="$(strip "${cw}x1+$cx+$((cy + menu + (ch - menu) / 2))" | first "$bg" 0)"
    top="$(strip "1x$((ch - menu))+$((cx + cw / 2))+$((cy + menu))" | first "$bg" 0)"
    read -r want_left want_top < <(panel_offset "$ow" "$oh")
}

figures() {
    echo "client ${cw}x$ch at $cx,$cy, frame $fl,$fr,$ft,$fb (left, right, top, bottom)," \
        "outer ${ow}x$oh, menu bar $menu px, background $bg:" \
        "panel at left $left, top $top; centred for the outer size: left $want_left, top $want_top"
}

# Polls (for up to $1 seconds) until the panel stands where the outer size
# puts it; the frame, the size and the repaint all come late.
settles() {
    local until=$((SECONDS + $1))
    while :; do
        if measure && [ "$menu" -gt 0 ] && [ "$left" -ge 0 ] && [ "$top" -ge 0 ] &&
            within_one "$left" "$want_left" && within_one "$top" "$want_top"; then
            return 0
        fi
        [ "$SECONDS" -lt "$until" ] || return 1
        sleep 0.2
    done
}

# --- 1. As openbox first frames the window ------------------------------------
settles 10 || fail "at start-up the panel is not centred on the outer size: $(figures)"
[ "$ft" -gt 0 ] || fail "openbox put no title bar on the window: $(figures)"
echo "$me: start-up: $(figures)"
start_left=$left start_top=$top start_w=$cw start_h=$ch start_menu=$menu

# --- 2. Resized by openbox ----------------------------------------------------
new_w=900 new_h=700
timeout 5 xdotool windowsize "$wid" "$new_w" "$new_h" || fail "xdotool could not resize window $wid"
resized() {
    local info
    info="$(timeout 5 xwininfo -id "$wid")"
    grep -q "^ *Width: $new_w\$" <<<"$info" && grep -q "^ *Height: $new_h\$" <<<"$info"
}
wait_for 50 resized || { measure || true; fail "the window was not resized to ${new_w}x$new_h: $(figures)"; }
settles 10 || fail "after the resize the panel is not centred on the outer size: $(figures)"
echo "$me: resized: $(figures)"
if [ "$cw" -eq "$start_w" ] || [ "$ch" -eq "$start_h" ]; then
    fail "the client area did not change both sides from ${start_w}x$start_h: $(figures)"
fi
if [ "$left" -eq "$start_left" ] || [ "$top" -eq "$start_top" ]; then
    fail "the panel did not move both ways from $start_left,$start_top: $(figures)"
fi
[ "$menu" -eq "$start_menu" ] || fail "the menu bar went from $start_menu to $menu px: $(figures)"

echo "$me: passed"
