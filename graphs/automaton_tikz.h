// An automaton graph as a TikZ picture: the drawing of its DOT text
// (graphs/automaton_dot.h) as Graphviz lays it out, the boxes measured in
// the typewriter font LaTeX sets them in, conflict states filled as in
// every other drawing.
#pragma once

#include <string>

#include "graphs/automaton_dot.h"

// What `options` asks for (states, closure, marked state) as a
// tikzpicture; its metrics are replaced by the font's.  Throws GraphvizError.
std::string automatonTikz(const AutomatonGraph& graph, DotOptions options = {});
