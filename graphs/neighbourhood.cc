// The neighbourhood of a state: one breadth-first walk from it that follows
// edges both forwards (successors) and backwards (predecessors) but never
// turns around, so a successor's other predecessors stay out.  States join
// level by level, in the order the walk meets them; a state joins only if
// the drawing stays within the limits with it and its edges to the states
// already in.
#include "graphs/neighbourhood.h"

#include <algorithm>

bool drawable(const AutomatonGraph& graph) {
  return graph.states.size() <= static_cast<size_t>(kDrawableStates) &&
         graph.edges.size() <= static_cast<size_t>(kDrawableEdges);
}

std::string tooLargeToDraw(const AutomatonGraph& graph) {
  return std::string("The ") + graphKindName(graph.kind) + " automaton has " + std::to_string(graph.states.size()) +
         " states and " + std::to_string(graph.edges.size()) + " arcs.  A drawing of more than " +
         std::to_string(kDrawableStates) + " states or " + std::to_string(kDrawableEdges) +
         " arcs is too dense to read and takes Graphviz minutes or more, so the drawing shows the "
         "neighbourhood of one state.";
}

namespace {

enum Direction : unsigned char { kForwards = 1, kBackwards = 2 };

}  // namespace

Neighbourhood neighbourhood(const AutomatonGraph& graph, int state, int depth, int maxStates, int maxEdges) {
  Neighbourhood result;
  if (state < 0 || static_cast<size_t>(state) >= graph.states.size() || maxStates < 1) return result;
  std::vector<std::vector<int>> out = graph.outgoing(), in = graph.incoming();
  std::vector<bool> chosen(graph.states.size(), false);
  // The directions in which the walk has reached each state.
  std::vector<unsigned char> reached(graph.states.size(), 0);
  int edges = 0;
  // The edges a state not yet chosen would bring: to and from the chosen
  // states, and its loops.
  auto edgesTo = [&](int s) {
    int count = 0;
    for (int k : out[static_cast<size_t>(s)]) {
      int to = graph.edges[static_cast<size_t>(k)].to;
      count += to == s || chosen[static_cast<size_t>(to)];
    }
    for (int k : in[static_cast<size_t>(s)]) count += chosen[static_cast<size_t>(graph.edges[static_cast<size_t>(k)].from)];
    return count;
  };
  edges = edgesTo(state);
  chosen[static_cast<size_t>(state)] = true;
  reached[static_cast<size_t>(state)] = kForwards | kBackwards;
  result.states.push_back(state);

  std::vector<std::pair<int, Direction>> frontier{{state, kForwards}, {state, kBackwards}};
  for (int level = 0; level < depth && !frontier.empty(); ++level) {
    std::vector<std::pair<int, Direction>> next;
    for (auto [from, direction] : frontier) {
      const std::vector<int>& arcs = (direction == kForwards ? out : in)[static_cast<size_t>(from)];
      for (int k : arcs) {
        const GraphEdge& edge = graph.edges[static_cast<size_t>(k)];
        int other = direction == kForwards ? edge.to : edge.from;
        unsigned char& seen = reached[static_cast<size_t>(other)];
        if (seen & direction) continue;
        seen |= direction;
        if (!chosen[static_cast<size_t>(other)]) {
          int added = edgesTo(other);
          if (static_cast<int>(result.states.size()) >= maxStates || edges + added > maxEdges) {
            result.whole = false;
            continue;
          }
          chosen[static_cast<size_t>(other)] = true;
          edges += added;
          result.states.push_back(other);
        }
        next.emplace_back(other, direction);
      }
    }
    frontier = std::move(next);
  }
  std::sort(result.states.begin(), result.states.end());
  return result;
}
