#!/bin/sh
# Start-up time and resident memory of the program on a real X server
# (Xvfb, Qt's xcb platform), with the windows the program itself shows:
#   - from launch to the main window painted, RUNS times (default 20), as
#     median, fastest and slowest;
#   - the resident memory with 20 courses of 10 sections entered and the 26
#     stored timetables stepped through in the results.
# Run from anywhere after a normal build; BUILD_DIR picks the build folder
# (default: build/ci). Needs xvfb-run (the packages xvfb and xauth).
set -eu
cd "$(dirname "$0")/.."
probe=${BUILD_DIR:-build/ci}/bench/quorvandel_desktop_probe
runs=${RUNS:-20}
if [ ! -x "$probe" ]; then
    echo "no $probe: build the target quorvandel_desktop_probe first" >&2
    exit 1
fi

if [ "${1-}" != "--inside" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" sh "$0" --inside
fi

export QT_QPA_PLATFORM=xcb
# One run first so that the libraries are in the page cache for all runs.
"$probe" start "$(date +%s%N)" >/dev/null 2>&1
i=0
times=""
while [ "$i" -lt "$runs" ]; do
    ms=$("$probe" start "$(date +%s%N)" 2>/dev/null | awk '/^start_to_shown_ms/ { print $2 }')
    times="$times $ms"
    i=$((i + 1))
done
echo "$times" | tr ' ' '\n' | grep . | sort -n | awk '
    { t[NR] = $1 }
    END {
        median = (NR % 2) ? t[(NR + 1) / 2] : (t[NR / 2] + t[NR / 2 + 1]) / 2
        printf "start to main window shown: median %.1f ms, fastest %.1f ms, slowest %.1f ms (%d runs)\n",
               median, t[1], t[NR], NR
    }'
"$probe" memory 2>/dev/null | awk '
    /^rss_main_window_kb/ { printf "resident memory, main window just shown: %.1f MB\n", $2 / 1024 }
    /^courses/            { printf "schedule: %s courses of %s sections, %s timetables stored\n", $2, $4, $6 }
    /^rss_with_results_kb/ { printf "resident memory, schedule entered and the results stepped through: %.1f MB\n", $2 / 1024 }
    /^rss_peak_kb/        { printf "peak resident memory: %.1f MB\n", $2 / 1024 }'
