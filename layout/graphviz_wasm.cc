// The Graphviz calls of the WebAssembly build.  Graphviz itself is another
// WebAssembly module (@viz-js/viz), which the JavaScript around this one
// loads before main runs and leaves as Module.graphviz; without it, every
// call says that this build draws no graphs.  The page lays out and draws
// its diagrams itself, from the DOT texts, so layoutDot has no caller here.
#include <emscripten/emscripten.h>

#include <cstdlib>
#include <memory>

#include "layout/graphviz.h"

namespace {

// Graphviz's rendering of the DOT text in `format`, or its error message
// with *failed set; the text is malloc'ed.
EM_JS(char*, renderWithGraphviz, (const char* dot, const char* format, int* failed), {
  var out;
  var failure = false;
  if (!Module.graphviz) {
    failure = true;
    out = "Graphviz is not loaded in this build of the program.";
  } else {
    var result = Module.graphviz.render(UTF8ToString(dot), {format: UTF8ToString(format)});
    if (result.status === "success") {
      out = result.output;
    } else {
      failure = true;
      out = result.errors.map(function(e) { return e.message; }).join("\n");
      if (out === "") out = "Graphviz could not draw the graph.";
    }
  }
  HEAP32[failed >> 2] = failure ? 1 : 0;
  var length = lengthBytesUTF8(out) + 1;
  var text = _malloc(length);
  stringToUTF8(out, text, length);
  return text;
});

// Returns the rendering; a failure comes back as `failure` (the message) and "".
std::string render(std::string_view dot, const char* format, std::string& failure) {
  std::string text(dot);
  int failed = 0;
  std::unique_ptr<char, decltype(&std::free)> out(renderWithGraphviz(text.c_str(), format, &failed), &std::free);
  if (failed != 0) {
    failure = out.get();
    return "";
  }
  return out.get();
}

}  // namespace

const PlacedNode* GraphLayout::node(std::string_view name) const {
  for (const PlacedNode& placed : nodes)
    if (placed.name == name) return &placed;
  return nullptr;
}

GraphLayout layoutDot(std::string_view) {
  throw GraphvizError("This build lays out no graphs itself; the page lays them out from their DOT texts.");
}

std::string svgOfDot(std::string_view dot) {
  std::string failure;
  std::string svg = render(dot, "svg", failure);
  if (!failure.empty()) throw GraphvizError(failure);
  return svg;
}

std::string dotProblem(std::string_view dot) {
  std::string failure;
  render(dot, "canon", failure);
  return failure;
}
