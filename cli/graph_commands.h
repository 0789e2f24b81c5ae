// The drawings of tablomat-cli: the LR(0), LR(1) and LALR automata as
// graphs (lr0-graph, lr1-graph, lalr-graph) in DOT or, laid out by
// Graphviz, SVG; and with --tree the parse tree of an evaluation as
// indented text, DOT or JSON.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "cli/commands.h"

namespace CLI {
class App;
}

struct DrawingOptions {
  bool tree = false;    // --tree: the parse tree instead of the trace
  int state = -1;       // --state: draw the neighbourhood of this state
  int depth = 2;        // --depth: how far the neighbourhood reaches
  bool depthGiven = false;  // whether --depth was on the command line
  bool kernel = false;  // --kernel: the kernel items alone
};

// The graph commands, in the order --help lists them.
const std::vector<CommandInfo>& graphCommandInfos();
bool isGraphCommand(std::string_view name);

// Adds --tree, --state, --depth and --kernel to the command line.
void addDrawingOptions(CLI::App& app, DrawingOptions& options);
// Whether the command line asks for a drawing: a graph, or a tree.
bool isDrawing(std::string_view command, const DrawingOptions& options);
// What is wrong with the options for the command, or "".  `format` is the
// --format given, "" when none was.
std::string drawingMisuse(std::string_view command, const std::string& format, const DrawingOptions& options);
// Draws as isDrawing asks, the options checked by drawingMisuse.  The text
// is the outcome's document.
Outcome runDrawing(std::string_view command, const HString& grammarText, const std::string& word,
                   const std::string& format, const DrawingOptions& options, Notation notation = Notation::kClassic);
