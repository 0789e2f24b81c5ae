#include "layout/graphviz.h"

#include <gtest/gtest.h>

#include <cmath>

#include "grammar/test_support.h"
#include "graphs/automaton_dot.h"
#include "graphs/automaton_tikz.h"
#include "graphs/neighbourhood.h"

namespace {

Parsing parens() { return modelOf({"I->S", "S->(S)|x"}); }

const PlacedEdge* edgeWithId(const GraphLayout& layout, const std::string& id) {
  for (const PlacedEdge& edge : layout.edges)
    if (edge.id == id) return &edge;
  return nullptr;
}

TEST(AutomatonDotTest, LaidOutEdgesAreTheGraphsEdges) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  GraphLayout layout = layoutDot(automatonDot(graph));
  EXPECT_EQ(layout.nodes.size(), graph.states.size() + 1);  // and the accepting pseudo-state
  for (size_t k = 0; k < graph.edges.size(); ++k) {
    const PlacedEdge* edge = edgeWithId(layout, "e" + std::to_string(k));
    ASSERT_NE(edge, nullptr) << k;
    EXPECT_EQ(edge->tail, "s" + std::to_string(graph.edges[k].from));
    EXPECT_EQ(edge->head, "s" + std::to_string(graph.edges[k].to));
    EXPECT_TRUE(edge->labelled);
    EXPECT_TRUE(edge->arrow);
    EXPECT_GE(edge->spline.size(), 4u);
  }
  const PlacedEdge* accept = edgeWithId(layout, "accept1");
  ASSERT_NE(accept, nullptr);
  EXPECT_EQ(accept->head, "accept");
}

TEST(AutomatonDotTest, CoordinatesRunLeftToRightFromTheTopLeft) {
  GraphLayout layout = layoutDot(automatonDot(automatonGraph(parens(), GraphKind::kLR0)));
  // The chain 0 -> 2 -> 4 -> 5 goes rank by rank to the right.
  EXPECT_LT(layout.node("s0")->centre.x, layout.node("s2")->centre.x);
  EXPECT_LT(layout.node("s2")->centre.x, layout.node("s4")->centre.x);
  EXPECT_LT(layout.node("s4")->centre.x, layout.node("s5")->centre.x);
  for (const PlacedNode& node : layout.nodes) {
    EXPECT_GE(node.centre.x - node.width / 2, -0.5) << node.name;
    EXPECT_GE(node.centre.y - node.height / 2, -0.5) << node.name;
    EXPECT_LE(node.centre.x + node.width / 2, layout.width + 0.5) << node.name;
    EXPECT_LE(node.centre.y + node.height / 2, layout.height + 0.5) << node.name;
  }
  // An edge starts at its tail's box and its arrow ends at its head's box.
  const PlacedEdge* edge = edgeWithId(layout, "e6");  // 4 -) -> 5
  const PlacedNode* head = layout.node("s5");
  EXPECT_NEAR(edge->tip.x, head->centre.x - head->width / 2, 2.0);
}

TEST(AutomatonDotTest, BoxesKeepTheSizeTheWindowMeasured) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR1);
  DotOptions options;
  options.closure = false;
  options.metrics = BoxMetrics{7.5, 15, 6};
  GraphLayout layout = layoutDot(automatonDot(graph, options));
  // State2: "State2" and "S->(°S), $", ten characters wide, two lines.
  // Graphviz rounds sizes to whole points.
  const PlacedNode* node = layout.node("s2");
  EXPECT_NEAR(node->width, 2 * 6 + 10 * 7.5, 0.6);
  EXPECT_NEAR(node->height, 2 * 6 + 2 * 15, 0.6);
  options.closure = true;  // two closure items below a rule of half a line
  EXPECT_NEAR(layoutDot(automatonDot(graph, options)).node("s2")->height, 2 * 6 + 4 * 15 + 7.5, 0.6);
}

TEST(AutomatonDotTest, SymbolsThatDotAndHtmlEscape) {
  Parsing model = modelOf({"I->S", "S->\"S\\|<&>|x"});
  AutomatonGraph graph = automatonGraph(model, GraphKind::kLR0);
  std::string dot = automatonDot(graph);
  EXPECT_EQ(dotProblem(dot), "");
  GraphLayout layout = layoutDot(dot);
  EXPECT_EQ(layout.edges.size(), graph.edges.size() + 1);
  std::string svg = svgOfDot(dot);
  EXPECT_NE(svg.find("S&#45;&gt;&quot;S\\°"), std::string::npos) << svg;
}

// Tokens that mean something to DOT, HTML or TeX: quotes, a backslash,
// braces, an ampersand, a percent sign and an underscore.
Parsing specialTokens() {
  return modelOfText("#notation: tokens\nS -> { L } | _x \"==\" _x | '\"' & \\\nL -> L % S | S\n");
}

TEST(AutomatonDotTest, TokensThatDotAndHtmlEscape) {
  AutomatonGraph graph = automatonGraph(specialTokens(), GraphKind::kLALR);
  std::string dot = automatonDot(graph);
  EXPECT_EQ(dotProblem(dot), "");
  EXPECT_NE(dot.find("label=\"\\\\\"]"), std::string::npos);  // the backslash, doubled
  EXPECT_NE(dot.find("label=\"\\\"\"]"), std::string::npos);    // the quote, escaped
  GraphLayout layout = layoutDot(dot);
  EXPECT_EQ(layout.edges.size(), graph.edges.size() + 1);
  for (const PlacedEdge& edge : layout.edges) EXPECT_TRUE(edge.labelled) << edge.id;
  // Graphviz draws each label as the token itself.
  std::string svg = svgOfDot(dot);
  for (const char* label : {">{</text>", ">}</text>", ">%</text>", ">_x</text>", ">==</text>", ">&quot;</text>",
                            ">&amp;</text>", ">\\</text>"})
    EXPECT_NE(svg.find(label), std::string::npos) << label;
  EXPECT_NE(svg.find("S &#45;&gt; { L ° }"), std::string::npos);
}

TEST(AutomatonTikzTest, TokensThatTexReadsAsMarkup) {
  AutomatonGraph graph = automatonGraph(specialTokens(), GraphKind::kLR0);
  std::string tikz = automatonTikz(graph);
  for (const char* label : {"{{\\char123}}", "{{\\char125}}", "{{\\char37}}", "{{\\char95}x}", "{==}",
                            "{{\\char34}}", "{{\\char38}}", "{{\\char92}}"})
    EXPECT_NE(tikz.find(std::string(") ") + label + ";"), std::string::npos) << label;  // an arc's label node
  EXPECT_NE(tikz.find("S -> {\\char123} L \\ensuremath{^\\circ} {\\char125}"), std::string::npos);
  EXPECT_EQ(tikz.find("_x"), std::string::npos);
}

TEST(AutomatonDotTest, PartsShowStubsForTheArcsTheyLeaveOut) {
  AutomatonGraph graph = automatonGraph(parens(), GraphKind::kLR0);
  DotOptions options;
  options.states = neighbourhood(graph, 4, 1).states;  // 2, 4, 5
  GraphLayout layout = layoutDot(automatonDot(graph, options));
  ASSERT_NE(layout.node("more2"), nullptr);  // 2 has arcs from 0 and to 3
  EXPECT_EQ(layout.node("more4"), nullptr);
  EXPECT_EQ(hiddenArcCounts(graph, options.states)[2], 2);
  EXPECT_EQ(hiddenArcsText(2), "2 more arcs");
  EXPECT_EQ(hiddenArcsText(1), "1 more arc");
}

TEST(GraphvizTest, UnreadableTextsGiveGraphvizsReason) {
  EXPECT_NE(dotProblem("digraph { a -> }").find("syntax error"), std::string::npos);
  EXPECT_THROW(layoutDot("digraph {"), GraphvizError);
  EXPECT_EQ(dotProblem("digraph { a -> b }"), "");
}

TEST(GraphvizTest, SvgDocument) {
  std::string svg = svgOfDot(automatonDot(automatonGraph(parens(), GraphKind::kLALR)));
  EXPECT_NE(svg.find("<svg"), std::string::npos);
  EXPECT_NE(svg.find("State2 {2 ~ 5}"), std::string::npos);
  EXPECT_NE(svg.find("</svg>"), std::string::npos);
}

}  // namespace
