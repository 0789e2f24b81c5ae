// The graph commands and --tree: which options go together, what they
// print and how they end; and the program itself for the usage errors.
#include "cli/graph_commands.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <sys/wait.h>

#include "grammar/examples.h"
#include "graphs/automaton_graph.h"
#include "layout/graphviz.h"

namespace {

HString parens() { return "I->S\r\nS->(S)|x"; }

DrawingOptions tree() {
  DrawingOptions options;
  options.tree = true;
  return options;
}

DrawingOptions around(int state, int depth = -1) {
  DrawingOptions options;
  options.state = state;
  if (depth >= 0) options.depth = depth, options.depthGiven = true;
  return options;
}

TEST(DrawingOptionsTest, FormatsAndOptionsThatMakeNoSense) {
  EXPECT_EQ(drawingMisuse("lr0-graph", "", {}), "");
  EXPECT_EQ(drawingMisuse("lr1-graph", "svg", around(3, 1)), "");
  EXPECT_EQ(drawingMisuse("slr-eval", "json", tree()), "");
  EXPECT_EQ(drawingMisuse("ll1-eval", "dot", tree()), "");
  EXPECT_EQ(drawingMisuse("slr-table", "csv", {}), "");
  EXPECT_EQ(drawingMisuse("lalr-graph", "csv", {}), "lalr-graph writes dot (the default), svg or tikz, not csv");
  EXPECT_EQ(drawingMisuse("lr1-eval", "latex", tree()), "--tree prints text (the default), dot, json or tikz, not latex");
  EXPECT_EQ(drawingMisuse("lr1-eval", "svg", tree()), "--tree prints text (the default), dot, json or tikz, not svg");
  EXPECT_EQ(drawingMisuse("lr1-table", "", tree()),
            "--tree goes with the evaluation commands (ll1-eval, slr-eval, lr1-eval, lalr-eval)");
  EXPECT_EQ(drawingMisuse("slr-table", "dot", {}), "the format dot is for the graph commands and, dot and tikz only, for --tree");
  EXPECT_EQ(drawingMisuse("slr-eval", "", around(2)),
            "--state, --depth and --kernel go with the graph commands (lr0-graph, lr1-graph, lalr-graph)");
  DrawingOptions depthAlone;
  depthAlone.depthGiven = true;
  EXPECT_EQ(drawingMisuse("lr0-graph", "", depthAlone), "--depth needs --state, the state at the centre");
}

TEST(GraphCommandTest, DotByDefaultSvgThroughGraphviz) {
  Outcome dot = runDrawing("lr0-graph", parens(), "", "", {});
  ASSERT_TRUE(dot.document);
  EXPECT_EQ(dot.status, kExitOk);
  EXPECT_EQ(dot.document->rfind("digraph \"LR(0) automaton\" {", 0), 0u);
  EXPECT_EQ(dotProblem(*dot.document), "");
  Outcome svg = runDrawing("lalr-graph", parens(), "", "svg", {});
  ASSERT_TRUE(svg.document);
  EXPECT_NE(svg.document->find("<svg"), std::string::npos);
  EXPECT_NE(svg.document->find("State2 {2 ~ 5}"), std::string::npos);
}

TEST(GraphCommandTest, KernelItemsAlone) {
  Outcome full = runDrawing("lr0-graph", parens(), "", "", {});
  DrawingOptions kernel;
  kernel.kernel = true;
  Outcome part = runDrawing("lr0-graph", parens(), "", "", kernel);
  EXPECT_NE(full.document->find("S-&gt;°x"), std::string::npos);  // a closure item of state 0
  EXPECT_EQ(part.document->find("S-&gt;°x"), std::string::npos);
  EXPECT_NE(part.document->find("S-&gt;x°"), std::string::npos);  // the kernel of state 3
}

TEST(GraphCommandTest, NeighbourhoodsAndTheirLimits) {
  Outcome near = runDrawing("lr0-graph", parens(), "", "", around(4, 1));
  ASSERT_TRUE(near.document);
  EXPECT_EQ(near.document->find("s0 ["), std::string::npos);
  EXPECT_NE(near.document->find("2 more arcs"), std::string::npos);

  Outcome missing = runDrawing("lr1-graph", parens(), "", "", around(10));
  EXPECT_EQ(missing.status, kExitUsage);
  EXPECT_EQ(missing.diagnostics, (Lines{"state 10 does not exist: the LR(1) automaton has states 0 to 9"}));

  HString wide = "I->S\r\nS->aS|bS|cS|dS|fS|gS|hS|jS|kS|lS|mS|nS|oS|pS|qS|rS|x";
  Outcome whole = runDrawing("lr1-graph", wide, "", "svg", {});
  EXPECT_EQ(whole.status, kExitUsage);
  EXPECT_FALSE(whole.document);
  ASSERT_EQ(whole.diagnostics.size(), 1u);
  EXPECT_EQ(whole.diagnostics[0].rfind("The LR(1) automaton has 35 states", 0), 0u);
  EXPECT_TRUE(runDrawing("lr1-graph", wide, "", "dot", {}).document);  // DOT is no drawing yet

  // A whole automaton's DOT is written up to a few megabytes.
  std::string chain = "I->A\r\nA->yBa|yB|zB\r\nB->yCb|yC|zC\r\nC->yDc|yD|zD\r\nD->yFd|yF|zF\r\n"
                      "F->yGf|yG|zG\r\nG->yHg|yH|zH\r\nH->yJh|yJ|zJ\r\nJ->yxj|yx|zx";
  Outcome huge = runDrawing("lr1-graph", chain.c_str(), "", "dot", {});
  EXPECT_EQ(huge.status, kExitLimit);
  EXPECT_FALSE(huge.document);
  EXPECT_EQ(huge.diagnostics, (Lines{"The LR(1) automaton has 1277 states and 1276 arcs; its whole graph is written up to "
                                     "1000 states and 5000 arcs.  Give --state N --depth D for the neighbourhood of "
                                     "state N."}));
  EXPECT_TRUE(runDrawing("lalr-graph", chain.c_str(), "", "dot", {}).document);
  EXPECT_TRUE(runDrawing("lr1-graph", chain.c_str(), "", "dot", around(0, 2)).document);

  Outcome crowded = runDrawing("lr1-graph", wide, "", "svg", around(0, 2));
  EXPECT_EQ(crowded.status, kExitOk);
  ASSERT_EQ(crowded.diagnostics.size(), 1u);
  EXPECT_NE(crowded.diagnostics[0].find("is larger than a readable drawing"), std::string::npos);
}

TEST(TreeCommandTest, TextDotAndJson) {
  Outcome text = runDrawing("lalr-eval", editorTextOf(examples()[8]), "cdd", "", tree());
  EXPECT_EQ(text.status, kExitOk);
  EXPECT_EQ(*text.document, "I\n  A\n    S\n      C\n        c\n        C\n          d\n      C\n        d\n");
  Outcome json = runDrawing("ll1-eval", parens(), "x", "json", tree());
  EXPECT_EQ(*json.document, "{\"symbol\": \"I\", \"children\": [{\"symbol\": \"S\", \"children\": [{\"symbol\": \"x\"}]}]}\n");
  Outcome dot = runDrawing("lalr-eval", parens(), "(x)", "dot", tree());
  EXPECT_EQ(dotProblem(*dot.document), "");
}

TEST(GraphCommandTest, TikzPlacesEveryStateAndMarksConflicts) {
  // Example 8's SLR table has a conflict, in one state of the LR(0) automaton.
  Outcome tikz = runDrawing("lr0-graph", editorTextOf(examples()[7]), "", "tikz", {});
  ASSERT_TRUE(tikz.document);
  const std::string& text = *tikz.document;
  EXPECT_NE(text.find("\\begin{tikzpicture}"), std::string::npos);
  EXPECT_EQ(text.rfind("\\end{tikzpicture}\n"), text.size() - 18);
  Parsing model;
  Lines messages;
  int status = kExitOk;
  ASSERT_TRUE(loadGrammar(editorTextOf(examples()[7]), model, messages, status));
  AutomatonGraph graph = automatonGraph(model, GraphKind::kLR0);
  int conflicting = 0;
  for (const GraphState& state : graph.states) {
    EXPECT_NE(text.find("] (s" + std::to_string(state.number) + ") at ("), std::string::npos) << state.number;
    conflicting += state.conflicting;
  }
  std::size_t filled = 0;
  for (std::size_t at = 0; (at = text.find("fill={rgb,255:red,255;green,207;blue,138}", at)) != std::string::npos; ++at)
    ++filled;
  EXPECT_EQ(filled, static_cast<std::size_t>(conflicting));
  EXPECT_GT(conflicting, 0);
  EXPECT_NE(text.find("(accept) at"), std::string::npos);
  EXPECT_NE(text.find("{{\\char36}}"), std::string::npos);  // the accepting arc's $

  Outcome part = runDrawing("lr0-graph", parens(), "", "tikz", around(4, 1));
  EXPECT_NE(part.document->find("{2 more arcs}"), std::string::npos);
  EXPECT_NE(part.document->find("dashed"), std::string::npos);
}

TEST(TreeCommandTest, TikzTreeWithEmptyProductions) {
  Outcome tikz = runDrawing("ll1-eval", "I->S\r\nS->aSb|e", "ab", "tikz", tree());
  ASSERT_TRUE(tikz.document);
  for (const char* node : {"(n0)", "(n1)", "(n2)", "(n3)", "(n4)", "(e3)"})
    EXPECT_NE(tikz.document->find(node), std::string::npos) << node;
  EXPECT_NE(tikz.document->find("text={rgb,255:red,115;green,115;blue,115}] (e3) at"), std::string::npos);
}

TEST(TreeCommandTest, RejectedRefusedAndUnsound) {
  // SLR reduces S->x before it finds that ')' cannot follow.
  Outcome rejected = runDrawing("slr-eval", parens(), "x)", "json", tree());
  EXPECT_EQ(rejected.status, kExitRejected);
  EXPECT_EQ(*rejected.document, "[{\"symbol\": \"S\", \"children\": [{\"symbol\": \"x\"}]}]\n");
  Outcome refused = runDrawing("slr-eval", editorTextOf(examples()[7]), "i=i", "", tree());
  EXPECT_EQ(refused.status, kExitConflict);
  EXPECT_FALSE(refused.document);
  EXPECT_EQ(refused.diagnostics, (Lines{"This Table Contain 1 Conflict"}));
  EXPECT_EQ(runDrawing("lr0-graph", "A->xB", "", "", {}).status, kExitGrammar);
}

TEST(GraphCommandTest, TokenGrammarsInEveryFormat) {
  HString tokens = "#notation: tokens\r\nE -> E + T | T\r\nT -> T * F | F\r\nF -> ( E ) | id | num";
  Outcome dot = runDrawing("lalr-graph", tokens, "", "", {});
  ASSERT_TRUE(dot.document) << (dot.diagnostics.empty() ? "" : dot.diagnostics[0]);
  EXPECT_EQ(dotProblem(*dot.document), "");
  EXPECT_NE(dot.document->find("E' -&gt; ° E, $"), std::string::npos);
  EXPECT_NE(dot.document->find("label=\"num\""), std::string::npos);
  Outcome svg = runDrawing("lr1-graph", tokens, "", "svg", {});
  ASSERT_TRUE(svg.document);
  EXPECT_NE(svg.document->find(">num</text>"), std::string::npos);
  Outcome tikz = runDrawing("lr0-graph", tokens, "", "tikz", {});
  ASSERT_TRUE(tikz.document);
  EXPECT_NE(tikz.document->find("E -> E \\ensuremath{^\\circ} + T"), std::string::npos);
  // The kernel alone, and the neighbourhood of a state.
  DrawingOptions kernel;
  kernel.kernel = true;
  EXPECT_EQ(runDrawing("lr0-graph", tokens, "", "", kernel).document->find("T -&gt; ° T * F"), std::string::npos);
  Outcome part = runDrawing("lr1-graph", tokens, "", "", around(1, 1));
  ASSERT_TRUE(part.document);
  EXPECT_NE(part.document->find("more"), std::string::npos);
  // Its parse tree names whole tokens.
  Outcome drawn = runDrawing("slr-eval", tokens, "id", "", tree());
  EXPECT_EQ(drawn.status, kExitOk);
  ASSERT_TRUE(drawn.document);
  EXPECT_EQ(*drawn.document, "E'\n  E\n    T\n      F\n        id\n");
}

// The program, for what only main() decides.
int statusOf(const std::string& arguments) {
  std::string command = std::string(TABLOMAT_CLI_PATH) + " " + arguments + " >/dev/null 2>&1";
  int status = std::system(command.c_str());
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(DrawingProgramTest, UsageErrorsAndDrawings) {
  EXPECT_EQ(statusOf("lr0-graph --example 4"), 0);
  EXPECT_EQ(statusOf("lr0-graph --example 4 --format svg"), 0);
  EXPECT_EQ(statusOf("lr0-graph --example 4 --format csv"), 2);
  EXPECT_EQ(statusOf("slr-eval --example 9 --tree --format json"), 0);
  EXPECT_EQ(statusOf("slr-eval --example 4 --format dot"), 2);
  EXPECT_EQ(statusOf("lalr-graph --example 4 --format tikz"), 0);
  EXPECT_EQ(statusOf("slr-eval --example 9 --tree --format tikz"), 0);
  EXPECT_EQ(statusOf("slr-table --example 4 --format tikz"), 2);
  EXPECT_EQ(statusOf("first --example 4 --tree"), 2);
  EXPECT_EQ(statusOf("lr0-graph --example 4 --state 99"), 2);
  EXPECT_EQ(statusOf("lr0-graph --example 4 --depth -1 --state 0"), 2);
}

}  // namespace
