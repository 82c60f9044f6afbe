# SPDX-License-Identifier: MIT
# Shared by the scripts that show Vellumix on a virtual X screen (run, bench, screenshot,
# test-package): the screen, and the few pen gestures made on Vellumix there.
# shellcheck shell=bash

# start_screen [WIDTHxHEIGHT]: starts Xvfb (640x480 unless told) on the first free display
# from :91 and exports DISPLAY. SCREEN_PID is the server; stop_screen ends it.
start_screen() {
    local n size=${1:-640x480}
    for n in $(seq 91 199); do
        [ -e "/tmp/.X$n-lock" ] && continue
        # Without -noreset the server resets as each client leaves and may refuse the next.
        Xvfb ":$n" -screen 0 "${size}x24" -nolisten tcp -noreset >/dev/null 2>&1 &
        SCREEN_PID=$!
        for _ in $(seq 50); do
            if DISPLAY=:$n xdpyinfo >/dev/null 2>&1; then
                export DISPLAY=:$n
                return 0
            fi
            kill -0 "$SCREEN_PID" 2>/dev/null || break
            sleep 0.1
        done
        # Somebody else took the display meanwhile.
        stop_screen
    done
    echo "no free X display" >&2
    return 1
}

stop_screen() {
    [ -n "${SCREEN_PID:-}" ] || return 0
    kill "$SCREEN_PID" 2>/dev/null || true
    wait "$SCREEN_PID" 2>/dev/null || true
    SCREEN_PID=
}

# wait_for_window NAME: waits up to ten seconds for a visible window whose title starts so.
wait_for_window() {
    timeout 10 xdotool search --sync --onlyvisible --name "^$1" >/dev/null
}

# pen_stroke X Y [X Y]...: presses at the first point, moves through the others, lifts.
pen_stroke() {
    local args=(mousemove "$1" "$2" mousedown 1)
    shift 2
    while [ "$#" -ge 2 ]; do
        args+=(sleep 0.01 mousemove "$1" "$2")
        shift 2
    done
    xdotool "${args[@]}" sleep 0.01 mouseup 1
}

# tap X Y
tap() {
    xdotool mousemove "$1" "$2" click 1
}

# choose_in_list X Y KEY...: opens the list at (X, Y) and moves through it with the keys.
choose_in_list() {
    tap "$1" "$2"
    shift 2
    sleep 0.5
    xdotool key "$@" Return
    sleep 0.3
}

# quit_vellumix: chooses the last item of the first menu, 終了 (quit).
quit_vellumix() {
    choose_in_list 30 10 Up
}

# save_screen FILE: the whole virtual screen as a PNG.
save_screen() {
    xwd -root -silent | convert xwd:- "$1"
}
