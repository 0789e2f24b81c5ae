#!/bin/sh
# Makes docs/screenshot.png: the main window under a virtual display (Xvfb),
# after LR0 Items and LR Evaluation on the start-up example.
# Usage: scripts/screenshot.sh [--dialogs FOLDER]
#   --dialogs FOLDER  also writes FOLDER/info.png and FOLDER/warning.png
# BUILD names the build folder (default: build).
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

dialogs=""
if [ "${1:-}" = "--dialogs" ]; then
  [ $# -ge 2 ] || { echo "screenshot: --dialogs needs a folder" >&2; exit 2; }
  mkdir -p "$2"
  dialogs="$2/info.png $2/warning.png"
fi

command -v xvfb-run >/dev/null 2>&1 || scripts/install-deps.sh window
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "${JOBS:-2}" --target tablomat_screenshot

mkdir -p docs
# shellcheck disable=SC2086
QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 1280x1024x24" \
  "$BUILD/ui/tablomat_screenshot" docs/screenshot.png $dialogs
