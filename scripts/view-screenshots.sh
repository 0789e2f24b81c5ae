#!/bin/sh
# Makes the pictures of the windows beside the classic form under a virtual
# display (Xvfb): docs/diagram.png (the LR(0) automaton of Grammar8 with a
# state clicked), docs/stepper.png (the LALR parse of Grammar6's word
# halfway), docs/explain.png (the LALR conflict of Grammar10 explained) and
# docs/practice.png (an SLR table with mistakes, checked).
# Usage: scripts/view-screenshots.sh [--tour FOLDER]
#   --tour FOLDER  writes the four pictures, the main window with each menu
#                  open, the grammar report and the hint under the grid to
#                  FOLDER instead, for looking everything over
# BUILD names the build folder (default: build).
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

folder=docs
tour=""
if [ $# -gt 0 ]; then
  [ "$1" = --tour ] && [ $# -eq 2 ] || { echo "usage: $0 [--tour FOLDER]" >&2; exit 2; }
  folder=$2
  tour=--tour
fi

command -v xvfb-run >/dev/null 2>&1 || scripts/install-deps.sh window
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "${JOBS:-2}" --target tablomat_views_screenshot

mkdir -p "$folder"
# shellcheck disable=SC2086
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1400x1000x24" "$BUILD/ui/tablomat_views_screenshot" "$folder" $tour
