#!/bin/sh
# Takes the pictures of the program in docs/: main-window.png, results.png
# (the results on TimeTable 1), results-2.png (after "Next"),
# favourites.png (stepping through three favourites) and
# results-enlarged.png (the results made larger than designed), and from a
# schedule with twin lab sections, with the same times shown once,
# same-times.png (the results) and overview.png ("All" over them). It builds
# the small harness tests/results/results_demo, which enters a five-course
# schedule into the real main window, presses "TimeTablify!" and shows the
# results, and runs it on a virtual X display (Xvfb, from the packages the
# README installs). Run from anywhere; BUILD_DIR picks the build folder
# (default: build/dev, the dev preset).
set -eu
cd "$(dirname "$0")/.."
build=${BUILD_DIR:-build/dev}
[ -d "$build" ] || cmake --preset dev >/dev/null
cmake --build "$build" -j2 --target results_demo
xvfb-run -a -s "-screen 0 1600x1200x24" env QT_QPA_PLATFORM=xcb "$build/tests/results/results_demo" docs
xvfb-run -a -s "-screen 0 1366x768x24" env QT_QPA_PLATFORM=xcb "$build/tests/results/results_demo" --twins docs
