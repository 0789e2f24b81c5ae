#!/bin/sh
# The manual page names every command and every option the help of
# tablomat-cli (and of its exercise, grade and transform commands) names.
# Usage: manual_test.sh TABLOMAT-CLI MANUAL-PAGE
set -eu
cli=$1
page=$(sed 's/\\-/-/g' "$2")
help=$("$cli" --help; "$cli" exercise --help; "$cli" grade --help; "$cli" transform --help)
missing=""
# The commands: the lines of the help's list of commands, "  name  summary".
commands=$("$cli" --help | sed -n '/^Commands:/,/^$/p' | sed -n 's/^  \([a-z0-9-]*\)  .*/\1/p')
[ -n "$commands" ] || { echo "no commands found in the help"; exit 1; }
for command in $commands; do
  printf '%s\n' "$page" | grep -qx "\.B $command" || missing="$missing $command"
done
for option in $(printf '%s\n' "$help" | grep -oE '(^|[ ,])--?[a-z][a-z0-9-]*' | tr -d ' ,' | sort -u); do
  printf '%s\n' "$page" | grep -qF -- "$option" || missing="$missing $option"
done
# The formats the help lists.
for format in $(printf '%s\n' "$help" | sed -n '/^Formats:/,/^$/p' | sed -n 's/^  \([a-z]*\)  .*/\1/p'); do
  printf '%s\n' "$page" | grep -qx "\.B $format" || missing="$missing format:$format"
done
if [ -n "$missing" ]; then
  echo "the manual page $2 does not name:$missing"
  exit 1
fi
echo "the manual page names every command and option: $(echo $commands | wc -w) commands"
