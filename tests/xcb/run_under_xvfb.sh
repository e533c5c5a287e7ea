#!/bin/sh
# Runs GUI test programs once more on a real X server: one Xvfb (started by
# xvfb-run, no window manager) for all of them, Qt's xcb platform.
#
#   run_under_xvfb.sh [--screen WIDTHxHEIGHT] [--window-manager] PROGRAM...
#
# Every program runs even when an earlier one fails; the exit status is 0
# only when all of them passed. A missing xvfb-run (or openbox, when asked
# for) is a failure, not a skip: CI installs them, so their absence means
# the set-up is broken.
#
# The screen is 1280x1024 unless --screen says otherwise. --window-manager
# runs openbox on the server, as on a desktop: it decorates the windows,
# places and activates them by its own policy. Without it there is no
# window manager, on purpose. The program activates its own
# windows (activateWindow(), modal dialogs taking the focus on show), and
# with no window manager Xvfb gives the input focus exactly where the program
# asks, so a missing or wrong activation call shows up as a failure here
# instead of being papered over by a window manager's focus policy.
set -u

if [ "${1-}" = "--inside" ]; then
    wm="$2"
    shift 2
    wm_pid=""
    if [ "$wm" = "openbox" ]; then
        openbox >/dev/null 2>&1 &
        wm_pid=$!
        sleep 1  # until it manages the screen
    fi
    failed=""
    passed=0
    for program in "$@"; do
        name=$(basename "$program")
        echo "=== $name (xcb, DISPLAY=$DISPLAY)"
        start=$(date +%s.%N)
        QT_QPA_PLATFORM=xcb "$program"
        status=$?
        # A program that fails here is run once more: on a loaded machine a
        # real X server delivers activation late now and then, and a fault
        # of the program fails both runs, while the offscreen and sanitizer
        # runs keep every case strict.
        if [ "$status" -ne 0 ]; then
            echo "=== $name failed (exit $status); once more"
            QT_QPA_PLATFORM=xcb "$program"
            status=$?
        fi
        end=$(date +%s.%N)
        elapsed=$(echo "$end $start" | awk '{ printf "%.1f", $1 - $2 }')
        if [ "$status" -eq 0 ]; then
            passed=$((passed + 1))
            echo "=== $name passed in ${elapsed} s"
        else
            failed="$failed $name"
            echo "=== $name FAILED (exit $status) in ${elapsed} s"
        fi
    done
    echo "=== xcb${wm:+ under $wm}: $passed of $# programs passed${failed:+; failed:$failed}"
    [ -n "$wm_pid" ] && kill "$wm_pid"
    [ -z "$failed" ]
    exit $?
fi

screen=1280x1024
wm=""
while :; do
    case "${1-}" in
    --screen) screen="$2"; shift 2 ;;
    --window-manager) wm=openbox; shift ;;
    *) break ;;
    esac
done

if [ "$#" -eq 0 ]; then
    echo "usage: $0 [--screen WIDTHxHEIGHT] [--window-manager] PROGRAM..." >&2
    exit 2
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run not found: install the packages xvfb and xauth" >&2
    exit 1
fi
if [ -n "$wm" ] && ! command -v "$wm" >/dev/null 2>&1; then
    echo "$wm not found: install the package $wm" >&2
    exit 1
fi
for program in "$@"; do
    if [ ! -x "$program" ]; then
        echo "not an executable: $program" >&2
        exit 1
    fi
done

# 24-bit colour; by default room for every window of the program side by
# side.
exec xvfb-run -a -s "-screen 0 ${screen}x24 -nolisten tcp" sh "$0" --inside "$wm" "$@"
