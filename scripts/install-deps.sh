#!/bin/sh
# Installs the Debian packages a make target needs, when they are missing.
# Usage: scripts/install-deps.sh GROUP...   (groups: build window cli test fuzz bench package web)
set -eu

packages_of() {
  case "$1" in
    build) echo "g++ make cmake ninja-build pkg-config ccache googletest libgtest-dev nlohmann-json3-dev libgraphviz-dev graphviz" ;;
    window) echo "qt6-base-dev qt6-svg-dev libgl-dev libjpeg62-turbo fonts-liberation fonts-comic-neue xvfb xauth" ;;
    cli) echo "libcli11-dev" ;;
    # What the tests use beyond the build: xmllint reads the Moodle quizzes,
    # pdflatex typesets the TikZ pictures (about 64 MB, a minute and a half),
    # the desktop's tools check the desktop entry and the metadata.
    test) echo "libxml2-utils texlive-latex-base texlive-latex-recommended texlive-pictures desktop-file-utils appstream" ;;
    # make package: the Debian package and the checks of what it holds.
    package) echo "dpkg-dev file desktop-file-utils appstream lintian librsvg2-bin gzip" ;;
    fuzz) echo "clang libclang-rt-14-dev" ;;
    bench) echo "bison python3" ;;
    # npm comes with some builds of nodejs; Debian's own npm only where none did.
    web) echo "emscripten nodejs chromium"; command -v npm >/dev/null 2>&1 || echo "npm" ;;
    *) echo "install-deps: unknown group '$1'" >&2; exit 2 ;;
  esac
}

missing=""
for group in "$@"; do
  for package in $(packages_of "$group"); do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
      missing="$missing $package"
    fi
  done
done
[ -z "$missing" ] && exit 0

echo "Installing:$missing"
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null 2>&1 || { echo "install-deps: run as root or install:$missing" >&2; exit 1; }
  SUDO=sudo
else
  SUDO=
fi
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
if ! $SUDO apt-get install -y --no-install-recommends $missing; then
  $SUDO apt-get update
  # shellcheck disable=SC2086
  $SUDO apt-get install -y --no-install-recommends $missing
fi
