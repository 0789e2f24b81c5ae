// The calls into Graphviz.  One context serves the whole run; it is made at
// the first call and its plugins (the dot layout, the SVG renderer, the text
// measurement) load with it.  The coordinates are read back from the laid
// out graph's own records (node centres and sizes, the edges' splines and
// label positions), as Graphviz's library manual describes.
#include "layout/graphviz.h"

#include <graphviz/cgraph.h>
#include <graphviz/gvc.h>

#include <memory>
#include <mutex>

#include "core/work.h"

namespace {

std::mutex& graphvizLock() {
  static std::mutex lock;
  return lock;
}

// What Graphviz said since the last call began; written under the lock only.
std::string& messages() {
  static std::string text;
  return text;
}

int collectMessage(char* text) {
  messages() += text;
  return 0;
}

// Graphviz's messages go to messages() rather than to standard error.
void catchMessages() {
  static bool caught = false;
  if (!caught) agseterrf(collectMessage);
  caught = true;
}

// The layout and rendering context, with its plugins; reading needs none.
GVC_t* context() {
  static std::unique_ptr<GVC_t, int (*)(GVC_t*)> gvc(nullptr, gvFreeContext);
  if (!gvc) {
    catchMessages();
    gvc.reset(gvContext());
    if (!gvc) throw GraphvizError("Graphviz could not start.");
  }
  return gvc.get();
}

// Graphviz's words about the last failure, on one line.
std::string failure(const char* fallback) {
  std::string text = messages();
  for (char& c : text)
    if (c == '\n' || c == '\r') c = ' ';
  while (!text.empty() && text.back() == ' ') text.pop_back();
  return text.empty() ? fallback : text;
}

// A graph read from a DOT text, closed when it goes.  Call with the lock
// held.  Work cancelled while it waited for the lock stops here.
class ReadGraph {
 public:
  explicit ReadGraph(std::string_view dot) {
    noteWork();
    catchMessages();
    messages().clear();
    agreseterrors();
    std::string text(dot);
    graph_ = agmemread(text.c_str());
    if (graph_ == nullptr || agerrors() > 0) {
      std::string why = failure("Graphviz cannot read the graph.");
      release();
      throw GraphvizError(why);
    }
  }
  ~ReadGraph() { release(); }
  ReadGraph(const ReadGraph&) = delete;
  ReadGraph& operator=(const ReadGraph&) = delete;

  Agraph_t* get() const { return graph_; }

  void layOut() {
    if (gvLayout(context(), graph_, "dot") != 0) throw GraphvizError(failure("Graphviz could not lay out the graph."));
    laidOut_ = true;
  }

 private:
  void release() {
    if (graph_ == nullptr) return;
    if (laidOut_) gvFreeLayout(context(), graph_);
    agclose(graph_);
    graph_ = nullptr;
  }

  Agraph_t* graph_ = nullptr;
  bool laidOut_ = false;
};

std::string attribute(void* object, const char* name) {
  const char* value = agget(object, const_cast<char*>(name));
  return value == nullptr ? std::string() : std::string(value);
}

}  // namespace

const PlacedNode* GraphLayout::node(std::string_view name) const {
  for (const PlacedNode& placed : nodes)
    if (placed.name == name) return &placed;
  return nullptr;
}

GraphLayout layoutDot(std::string_view dot) {
  std::lock_guard<std::mutex> hold(graphvizLock());
  context();  // before the graph is read, as Graphviz's own programs do
  ReadGraph graph(dot);
  graph.layOut();
  Agraph_t* g = graph.get();
  boxf box = GD_bb(g);
  auto place = [&](pointf p) { return Point{p.x - box.LL.x, box.UR.y - p.y}; };
  GraphLayout layout;
  layout.width = box.UR.x - box.LL.x;
  layout.height = box.UR.y - box.LL.y;
  for (Agnode_t* n = agfstnode(g); n != nullptr; n = agnxtnode(g, n)) {
    layout.nodes.push_back(PlacedNode{agnameof(n), place(ND_coord(n)), ND_width(n) * 72, ND_height(n) * 72});
    for (Agedge_t* e = agfstout(g, n); e != nullptr; e = agnxtout(g, e)) {
      PlacedEdge edge;
      edge.id = attribute(e, "id");
      edge.tail = agnameof(agtail(e));
      edge.head = agnameof(aghead(e));
      if (ED_spl(e) != nullptr && ED_spl(e)->size > 0) {
        const bezier& curve = ED_spl(e)->list[0];
        for (int k = 0; k < curve.size; ++k) edge.spline.push_back(place(curve.list[k]));
        edge.arrow = curve.eflag != 0;
        if (edge.arrow) edge.tip = place(curve.ep);
      }
      if (ED_label(e) != nullptr && ED_label(e)->set) {
        edge.labelled = true;
        edge.label = place(ED_label(e)->pos);
      }
      layout.edges.push_back(std::move(edge));
    }
  }
  return layout;
}

std::string svgOfDot(std::string_view dot) {
  std::lock_guard<std::mutex> hold(graphvizLock());
  context();
  ReadGraph graph(dot);
  graph.layOut();
  char* data = nullptr;
  unsigned int length = 0;
  if (gvRenderData(context(), graph.get(), "svg", &data, &length) != 0 || data == nullptr)
    throw GraphvizError(failure("Graphviz could not draw the graph as SVG."));
  std::string svg(data, length);
  gvFreeRenderData(data);
  return svg;
}

std::string dotProblem(std::string_view dot) {
  std::lock_guard<std::mutex> hold(graphvizLock());
  try {
    ReadGraph graph(dot);
  } catch (const GraphvizError& error) {
    return error.what();
  }
  return "";
}
