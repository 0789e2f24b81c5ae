#!/bin/sh
# Makes docs/diagram.png and docs/stepper.png: the diagram window on the
# LR(0) automaton of Grammar8 with a state clicked, and the parse stepper
# halfway through the LALR parse of Grammar6's word, under a virtual
# display (Xvfb).
# Usage: scripts/view-screenshots.sh   (BUILD names the build folder, default build)
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

command -v xvfb-run >/dev/null 2>&1 || scripts/install-deps.sh window
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "${JOBS:-2}" --target tablomat_views_screenshot

mkdir -p docs
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1400x1000x24" \
  "$BUILD/ui/tablomat_views_screenshot" docs/diagram.png docs/stepper.png
