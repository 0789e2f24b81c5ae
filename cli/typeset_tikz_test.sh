#!/bin/sh
# Typesets the TikZ pictures of tablomat-cli with pdflatex in the plainest
# document that can hold them: an automaton with a conflict state, one
# whose symbols are TeX's special characters, one whose tokens are, with an
# empty alternative, and two parse trees, the second of a grammar in the
# token notation (special characters, primes and an empty production).
# Usage: typeset_tikz_test.sh TABLOMAT-CLI
set -eu
cli=$1
if ! command -v pdflatex >/dev/null 2>&1; then
  echo "pdflatex is not installed (scripts/install-deps.sh tex installs it): the TikZ pictures were not typeset."
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
printf 'I->S\nS->_S|{S}|#|%%|&S|~|^S|\\S|"S|<S>|`|x\n' >"$work/special.grammar"
"$cli" lr0-graph --example 8 --format tikz >"$work/automaton.tex"
"$cli" lalr-graph "$work/special.grammar" --format tikz >"$work/special.tex"
printf '#notation: tokens\nS -> { L } | _x "==" _x | \047"\047 & \\ | # ~ ^ | \316\265\nL -> L %% S | S\n' >"$work/tokens.grammar"
"$cli" lr1-graph "$work/tokens.grammar" --format tikz >"$work/tokens.tex"
status=0
"$cli" lr1-eval --example 9 --tree --format tikz >"$work/tree.tex" || status=$?
[ "$status" -eq 0 ] || { echo "the tree was not drawn (exit $status)"; exit 1; }
printf '#notation: tokens\nList -> item_1 Rest\nRest -> & item_1 Rest'"'"' | \316\265\nRest'"'"' -> %% Rest | \316\265\n' >"$work/token-tree.grammar"
"$cli" ll1-eval "$work/token-tree.grammar" --word 'item_1 & item_1 %' --tree --format tikz >"$work/token-tree.tex" || status=$?
[ "$status" -eq 0 ] || { echo "the token tree was not drawn (exit $status)"; exit 1; }
cat >"$work/document.tex" <<'TEX'
\documentclass{article}
\usepackage{tikz}
\usetikzlibrary{automata,positioning,arrows.meta}
\tracinglostchars=3 % a character the font lacks is an error
\begin{document}
\input{automaton.tex}
\input{special.tex}
\input{tokens.tex}
\input{tree.tex}
\input{token-tree.tex}
\end{document}
TEX
if ! (cd "$work" && pdflatex -interaction=nonstopmode -halt-on-error document.tex >pdflatex.out 2>&1); then
  tail -40 "$work/pdflatex.out"
  exit 1
fi
echo "typeset: $(grep -o 'Output written on .*' "$work/pdflatex.out")"
