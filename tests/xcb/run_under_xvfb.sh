#!/bin/sh
# Runs GUI test programs once more on a real X server: one Xvfb (started by
# xvfb-run, no window manager) for all of them, Qt's xcb platform.
#
#   run_under_xvfb.sh PROGRAM...
#
# Every program runs even when an earlier one fails; the exit status is 0
# only when all of them passed. A missing xvfb-run is a failure, not a skip:
# CI installs it, so its absence means the set-up is broken.
#
# There is no window manager on purpose. The program activates its own
# windows (activateWindow(), modal dialogs taking the focus on show), and
# with no window manager Xvfb gives the input focus exactly where the program
# asks, so a missing or wrong activation call shows up as a failure here
# instead of being papered over by a window manager's focus policy.
set -u

if [ "${1-}" = "--inside" ]; then
    shift
    failed=""
    passed=0
    for program in "$@"; do
        name=$(basename "$program")
        echo "=== $name (xcb, DISPLAY=$DISPLAY)"
        start=$(date +%s.%N)
        QT_QPA_PLATFORM=xcb "$program"
        status=$?
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
    echo "=== xcb: $passed of $# programs passed${failed:+; failed:$failed}"
    [ -z "$failed" ]
    exit $?
fi

if [ "$#" -eq 0 ]; then
    echo "usage: $0 PROGRAM..." >&2
    exit 2
fi
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "xvfb-run not found: install the packages xvfb and xauth" >&2
    exit 1
fi
for program in "$@"; do
    if [ ! -x "$program" ]; then
        echo "not an executable: $program" >&2
        exit 1
    fi
done

# 24-bit colour and room for every window of the program side by side.
exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh "$0" --inside "$@"
