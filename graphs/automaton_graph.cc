// The graph of an automaton: its states with their items split into kernel
// and closure, its transitions as edges, and the table and listing made
// from the same automaton.  The table's shift and goto cells are written
// from the transitions (tables/lr_tables.cc), so the edges and the cells
// agree by construction; fuzz/properties.cc checks that they do.
#include "graphs/automaton_graph.h"

#include <algorithm>

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

int AutomatonGraph::columnOf(char symbol) const {
  return columns.empty() ? -1 : columns[static_cast<unsigned char>(symbol)];
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
  Table table;
  Row listing;
  Row members;  // LALR only
};

Built build(const Parsing& grammar, GraphKind kind) {
  Built built;
  if (kind == GraphKind::kLALR) {
    std::vector<std::vector<int>> groups;
    built.automaton = mergeByCore(buildLR1Automaton(grammar), &groups);
    built.table = lookaheadTableOf(grammar, built.automaton);
    built.members = similarTexts(groups);
    built.listing = lalrListingOf(grammar, built.automaton, built.members);
    return built;
  }
  built.automaton = kind == GraphKind::kLR0 ? buildLR0Automaton(grammar) : buildLR1Automaton(grammar);
  built.table = kind == GraphKind::kLR0 ? slrTableOf(grammar, built.automaton)
                                         : lookaheadTableOf(grammar, built.automaton);
  built.listing = itemsListingOf(
      grammar, built.automaton,
      kind == GraphKind::kLR0 ? LRTableRows::Reductions::kFollow : LRTableRows::Reductions::kLookahead);
  return built;
}

// The closure adds items with the dot at the start, or past an empty body;
// the kernel of state 0 is its start item, that of any other state the
// items a goto advanced.
bool isKernel(const Parsing& grammar, const StateItem& item, size_t state, size_t position) {
  if (state == 0) return position == 0;
  return item.dot > 0 && grammar.productions[item.production].getSubString(3) != "e";
}

std::string itemLine(const Parsing& grammar, const Automaton& automaton, const StateItem& item) {
  std::string text = utf8ForDisplay(itemText(grammar, LR0_Item{item.production, item.dot}).view());
  if (item.lookahead != kNoLookahead) text += ", " + lookaheadText(grammar.typed, automaton.lookaheads, item.lookahead);
  return text;
}

bool holdsEntry(const std::string& cell, std::string_view entry) {
  for (size_t start = 0; start <= cell.size();) {
    size_t end = std::min(cell.find('|', start), cell.size());
    if (std::string_view(cell).substr(start, end - start) == entry) return true;
    start = end + 1;
  }
  return false;
}

}  // namespace

AutomatonGraph automatonGraph(const Parsing& grammar, GraphKind kind) {
  Built built = build(grammar, kind);
  AutomatonGraph graph;
  graph.kind = kind;
  graph.table = cellsOf(built.table);
  graph.columns.assign(256, -1);
  const std::vector<std::string>& header = graph.table[0];
  for (size_t j = 1; j < header.size(); ++j)
    if (header[j].size() == 1) graph.columns[static_cast<unsigned char>(header[j][0])] = static_cast<int>(j);
  int dollar = graph.columnOf('$');

  Lines listing = linesOf(built.listing);
  size_t line = 0;
  const Automaton& automaton = built.automaton;
  for (size_t k = 0; k < automaton.states.size(); ++k) {
    noteWork();
    GraphState state;
    state.number = static_cast<int>(k);
    const std::vector<StateItem>& items = automaton.states[k];
    for (size_t i = 0; i < items.size(); ++i)
      (isKernel(grammar, items[i], k, i) ? state.kernel : state.closure).push_back(itemLine(grammar, automaton, items[i]));
    if (kind == GraphKind::kLALR) state.members = std::string(built.members[static_cast<int>(k)].view());
    const std::vector<std::string>& row = graph.table[k + 1];
    state.accepting = dollar != -1 && holdsEntry(row[static_cast<size_t>(dollar)], "a");
    state.conflicting = std::any_of(row.begin() + 1, row.end(),
                                    [](const std::string& cell) { return cell.find('|') != std::string::npos; });
    // A block runs from its "State" header to the next one.
    do state.listing.push_back(listing[line++]);
    while (line < listing.size() && !listing[line].starts_with("State"));

    std::vector<std::pair<char, int>> arcs;
    for (const auto& [symbol, target] : automaton.transitions[k])
      arcs.emplace_back(classicCharacter(grammar.typed, symbol), target);
    std::stable_sort(arcs.begin(), arcs.end(),
                     [&](const auto& a, const auto& b) { return graph.columnOf(a.first) < graph.columnOf(b.first); });
    for (const auto& [symbol, target] : arcs) graph.edges.push_back(GraphEdge{static_cast<int>(k), symbol, target});
    graph.states.push_back(std::move(state));
  }
  return graph;
}
