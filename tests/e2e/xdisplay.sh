# SPDX-License-Identifier: GPL-3.0-or-later
# SPDX-FileCopyrightText: 2026 The Tavrolin developers
# Shared by the scripts that drive the real program under a private X server.
# Source it after setting $tmp (a scratch folder) and the array pids (what
# the script's cleanup kills).

# Polls a command for up to $1 tenths of a second.
wait_for() {
    local tries="$1"
    shift
    while ! "$@" >/dev/null 2>&1; do
        tries=$((tries - 1))
        [ "$tries" -gt 0 ] || return 1
        sleep 0.1
    done
}

# Starts Xvfb on a display it picks itself (never one in use) with a screen
# of the given size, adds it to pids and exports DISPLAY. Extra arguments go
# to Xvfb. Returns non-zero when the server does not come up within 10 s.
# -noreset: an X server otherwise resets when its last client leaves, and a
# program connecting at that moment (the next of several started one after
# another) is refused.
start_xvfb() {
    local size="$1"
    shift
    Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset "$@" 3>"$tmp/display" 2>"$tmp/xvfb.log" &
    pids+=($!)
    wait_for 100 test -s "$tmp/display" || return 1
    export DISPLAY=":$(head -n1 "$tmp/display")"
}

# Ends one process by its id: asked first, made to after three seconds;
# reaped when it is this shell's child (a zombie counts as ended).
stop_pid() {
    local pid="$1" tries=30 state
    [ -n "$pid" ] || return 0
    kill "$pid" 2>/dev/null || true
    while [ "$tries" -gt 0 ]; do
        state="$(ps -o stat= -p "$pid" 2>/dev/null)" || break
        [[ "$state" == Z* ]] && break
        tries=$((tries - 1))
        sleep 0.1
    done
    [ "$tries" -gt 0 ] || kill -KILL "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
}

# Ends everything in pids and waits for it (for the script's cleanup).
stop_started() {
    local pid
    for pid in "${pids[@]}"; do
        kill "$pid" 2>/dev/null || true
    done
    for pid in "${pids[@]}"; do
        wait "$pid" 2>/dev/null || true
    done
}

# The colours on the screen at the given points (x y, x y, ...), taken from
# one picture of the whole screen: "r,g,b" (0 to 255) for each point, the
# points separated by spaces. Needs ImageMagick's import.
screen_colours() {
    local format="" point
    while [ "$#" -ge 2 ]; do
        point="p{$1,$2}"
        format+="${format:+ }%[fx:int(255*$point.r+0.5)],%[fx:int(255*$point.g+0.5)],%[fx:int(255*$point.b+0.5)]"
        shift 2
    done
    import -window root -format "$format" info:-
}

# The windows of process $1, one a line: id, whether it is viewable, place,
# size and title (a message box shows up here beside the main window).
describe_windows() {
    # shellcheck disable=SC2034 # SCREEN and WINDOW: set by getwindowgeometry
    local w shown state X Y WIDTH HEIGHT SCREEN WINDOW
    shown=" $(xdotool search --all --onlyvisible --pid "$1" 2>/dev/null | tr '\n' ' ') "
    for w in $(xdotool search --all --pid "$1" 2>/dev/null); do
        X='?' Y='?' WIDTH='?' HEIGHT='?'
        eval "$(xdotool getwindowgeometry --shell "$w" 2>/dev/null)"
        state=hidden
        case "$shown" in *" $w "*) state=viewable ;; esac
        printf '%s %s at %s,%s %sx%s "%s"\n' "$w" "$state" "$X" "$Y" "$WIDTH" "$HEIGHT" \
            "$(xdotool getwindowname "$w" 2>/dev/null)"
    done
}

# Saves a picture of the whole screen in a new file under /tmp named after
# $1 (outside the scratch folder, which the cleanup removes) and prints its
# path; prints nothing when it cannot.
save_screen() {
    local file
    file="$(mktemp --suffix=.png "/tmp/$1-XXXXXX")" || return 1
    if import -window root "$file" 2>/dev/null; then
        echo "$file"
    else
        rm -f "$file"
        return 1
    fi
}
