#!/bin/sh
# Makes docs/screenshot.png: the main window under a virtual display (Xvfb),
# after LR0 Items and LR Evaluation on the start-up example.
# Usage: scripts/screenshot.sh [--dialogs FOLDER] [--sizes FOLDER]
#   --dialogs FOLDER  also writes FOLDER/info.png and FOLDER/warning.png
#   --sizes FOLDER    also writes FOLDER/maximized.png (a 1920 x 1080 screen
#                     filled) and FOLDER/small.png (placed on a 1366 x 768 screen)
# BUILD names the build folder (default: build).
set -eu
cd "$(dirname "$0")/.."
BUILD=${BUILD:-build}

dialogs=""
sizes=""
while [ $# -gt 0 ]; do
  case "$1" in
    --dialogs|--sizes)
      [ $# -ge 2 ] || { echo "screenshot: $1 needs a folder" >&2; exit 2; }
      mkdir -p "$2"
      if [ "$1" = --dialogs ]; then dialogs="$2/info.png $2/warning.png"; else sizes="$2"; fi
      shift 2 ;;
    *) echo "screenshot: unknown option $1" >&2; exit 2 ;;
  esac
done

command -v xvfb-run >/dev/null 2>&1 || scripts/install-deps.sh window
[ -f "$BUILD/CMakeCache.txt" ] || cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo
cmake --build "$BUILD" -j "${JOBS:-2}" --target tablomat_screenshot

shot() {
  screen=$1
  shift
  QT_QPA_PLATFORM=xcb xvfb-run -a -s "-screen 0 ${screen}x24" "$BUILD/ui/tablomat_screenshot" "$@"
}

mkdir -p docs
# shellcheck disable=SC2086
shot 1280x1024 docs/screenshot.png $dialogs
if [ -n "$sizes" ]; then
  shot 1920x1080 --maximized "$sizes/maximized.png"
  shot 1366x768 --fit "$sizes/small.png"
fi
