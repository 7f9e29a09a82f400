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
