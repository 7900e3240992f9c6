# What the shell tests of real windows share; sourced, with $work set to the test's folder.
# Waits poll for what they wait for, with a generous limit, never a fixed delay.

# fail WHAT: ends the test, showing the game's output.
fail() {
    echo "FAIL: $*"
    echo "--- game's output"
    cat "$work/game.log" || true
    exit 1
}

# wait_for SECONDS COMMAND...: retries the command until it succeeds or the limit passes.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@" >/dev/null 2>&1; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.05
    done
}

# start_xvfb SCREEN: Xvfb on a free display (it picks one and tells it once it accepts
# connections); sets xvfb_pid and DISPLAY.
start_xvfb() {
    Xvfb -displayfd 3 -screen 0 "$1" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    wait_for 60 test -s "$work/display" || {
        echo "FAIL: Xvfb did not start"
        cat "$work/xvfb.log"
        exit 1
    }
    export DISPLAY=":$(head -1 "$work/display")"
}

# find_window PID: prints the id of the visible window whose caption begins with Parrun; fails
# as soon as the program PID ends, or after a minute naming the windows there were.
find_window() {
    local pid=$1 deadline=$((SECONDS + 60)) id
    until id=$(xdotool search --onlyvisible --name '^Parrun' 2>/dev/null | head -1) &&
        [ -n "$id" ]; do
        kill -0 "$pid" 2>/dev/null || fail "the program ended before its window showed" >&2
        if [ $SECONDS -ge $deadline ]; then
            local names
            names=$(xdotool search --onlyvisible --name . 2>/dev/null |
                while read -r w; do printf "'%s' " "$(xdotool getwindowname "$w")"; done)
            fail "no window named Parrun appeared in 60 s; visible windows: ${names:-none}" >&2
        fi
        sleep 0.05
    done
    echo "$id"
}
