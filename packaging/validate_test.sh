#!/bin/sh
# The desktop entry, the AppStream metadata and the file type, checked by
# the tools desktops and software centres use.
# Usage: validate_test.sh DESKTOP-FILE METAINFO-FILE MIME-FILE
set -eu
missing=""
for tool in desktop-file-validate appstreamcli xmllint; do
  command -v "$tool" >/dev/null 2>&1 || missing="$missing $tool"
done
if [ -n "$missing" ]; then
  echo "not installed:$missing (scripts/install-deps.sh package installs them); the desktop files were not checked."
  exit 77
fi
desktop-file-validate "$1"
# --no-net: the screenshots are where the published documentation will be.
appstreamcli validate --pedantic --no-net "$2"
xmllint --noout "$3"
grep -q '<glob pattern="\*.grammar"/>' "$3"
grep -q '^MimeType=text/x-tablomat-grammar;text/plain;$' "$1"
