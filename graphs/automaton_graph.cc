// The graph of an automaton: its states with their items split into kernel
// and closure, its transitions as edges, and the table and listing made
// from the same automaton.  The table's shift and goto cells are written
// from the transitions (tables/lr_tables.cc), so the edges and the cells
// agree by construction; fuzz/properties.cc checks that they do.
#include "graphs/automaton_graph.h"

#include <algorithm>
#include <span>

#include "automata/listing.h"
#include "core/work.h"
#include "tables/listings.h"
#include "tables/lr_tables.h"

const char* graphKindName(GraphKind kind) {
  switch (kind) {
    case GraphKind::kLR0: return "LR(0)";
    case GraphKind::kLR1: return "LR(1)";
    case GraphKind::kLALR: return "LALR";
  }
  return "";
}

TableKind tableKindOf(GraphKind kind) {
  switch (kind) {
    case GraphKind::kLR0: return TableKind::kSLR;
    case GraphKind::kLR1: return TableKind::kLR1;
    case GraphKind::kLALR: return TableKind::kLALR;
  }
  return TableKind::kSLR;
}

std::string GraphState::title() const {
  std::string text = "State" + std::to_string(number);
  return members.empty() ? text : text + " {" + members + "}";
}

int AutomatonGraph::columnOf(Symbol symbol) const {
  return symbol >= 0 && static_cast<size_t>(symbol) < columns.size() ? columns[static_cast<size_t>(symbol)] : -1;
}

const std::string& AutomatonGraph::cellOf(const GraphEdge& edge) const {
  return table[static_cast<size_t>(edge.from) + 1][static_cast<size_t>(columnOf(edge.symbol))];
}

std::vector<std::vector<int>> AutomatonGraph::outgoing() const {
  std::vector<std::vector<int>> out(states.size());
  for (size_t k = 0; k < edges.size(); ++k) out[static_cast<size_t>(edges[k].from)].push_back(static_cast<int>(k));
  return out;
}

std::vector<std::vector<int>> AutomatonGraph::incoming() const {
  std::vector<std::vector<int>> in(states.size());
  for (size_t k = 0; k < edges.size(); ++k) in[static_cast<size_t>(edges[k].to)].push_back(static_cast<int>(k));
  return in;
}

namespace {

// What the graph is read from: one automaton, its table and its listing.
struct Built {
  Automaton automaton;
  LRTable table;
  Row listing;
  Row members;  // LALR only
};

Built build(const Parsing& grammar, GraphKind kind) {
  Built built;
  if (kind == GraphKind::kLALR) {
    std::vector<std::vector<int>> groups;
    built.automaton = mergeByCore(buildLR1Automaton(grammar), &groups);
    built.table = lookaheadParseTable(grammar, built.automaton);
    built.members = similarTexts(groups);
    built.listing = lalrListingOf(grammar, built.automaton, built.members);
    return built;
  }
  built.automaton = kind == GraphKind::kLR0 ? buildLR0Automaton(grammar) : buildLR1Automaton(grammar);
  built.table = kind == GraphKind::kLR0 ? slrParseTable(grammar, built.automaton)
                                         : lookaheadParseTable(grammar, built.automaton);
  built.listing = itemsListingOf(
      grammar, built.automaton,
      kind == GraphKind::kLR0 ? LRTableRows::Reductions::kFollow : LRTableRows::Reductions::kLookahead);
  return built;
}

// The closure adds items with the dot at the start, or past an empty body;
// the kernel of state 0 is its start item, that of any other state the
// items a goto advanced.
bool isKernel(const Grammar& grammar, const StateItem& item, size_t state, size_t position) {
  if (state == 0) return position == 0;
  return item.dot > 0 && !grammar.productions[static_cast<size_t>(item.production)].body.empty();
}

bool accepts(std::span<const Action> cell) {
  return std::any_of(cell.begin(), cell.end(), [](const Action& action) { return action.kind == ActionKind::kAccept; });
}

}  // namespace

AutomatonGraph automatonGraph(const Parsing& grammar, GraphKind kind) {
  Built built = build(grammar, kind);
  AutomatonGraph graph;
  graph.kind = kind;
  graph.grammar = grammar.typed;
  graph.table = cellsOf(lrTableText(grammar.typed, built.table));
  const LRTable& typed = built.table;
  // Text column j + 1 shows typed column j, after the column of labels.
  graph.columns.assign(typed.columnOf.size(), -1);
  for (size_t s = 0; s < typed.columnOf.size(); ++s)
    if (typed.columnOf[s] >= 0) graph.columns[s] = typed.columnOf[s] + 1;
  int end = typed.column(grammar.typed.endMarker());

  Lines listing = linesOf(built.listing);
  size_t line = 0;
  const Automaton& automaton = built.automaton;
  StateListing items(grammar, automaton);
  for (size_t k = 0; k < automaton.states.size(); ++k) {
    noteWork();
    GraphState state;
    state.number = static_cast<int>(k);
    const std::vector<StateItem>& stateItems = automaton.states[k];
    for (size_t i = 0; i < stateItems.size(); ++i)
      (isKernel(grammar.typed, stateItems[i], k, i) ? state.kernel : state.closure)
          .push_back(utf8ForDisplay(items.itemLine("", stateItems[i]).view()));
    if (kind == GraphKind::kLALR) state.members = std::string(built.members[static_cast<int>(k)].view());
    int row = static_cast<int>(k);
    state.accepting = end != -1 && accepts(typed.cell(row, end));
    for (size_t j = 0; j < typed.columns.size() && !state.conflicting; ++j)
      state.conflicting = typed.cell(row, static_cast<int>(j)).size() > 1;
    // A block runs from its "State" header to the next one.
    do state.listing.push_back(listing[line++]);
    while (line < listing.size() && !listing[line].starts_with("State"));

    std::vector<std::pair<Symbol, int>> arcs = automaton.transitions[k];
    std::stable_sort(arcs.begin(), arcs.end(),
                     [&](const auto& a, const auto& b) { return typed.column(a.first) < typed.column(b.first); });
    for (const auto& [symbol, target] : arcs) graph.edges.push_back(GraphEdge{static_cast<int>(k), symbol, target});
    graph.states.push_back(std::move(state));
  }
  return graph;
}
