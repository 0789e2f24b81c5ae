#include "TreeScene.h"

#include <QFontMetricsF>
#include <QGraphicsPathItem>
#include <QPainter>

#include "DiagramScene.h"
#include "Look.h"
#include "grammar/symbol_text.h"
#include "trees/tree_dot.h"

namespace {

const QColor kTerminal(0x1f, 0x5f, 0xbf);
const QColor kMatched(0xbf, 0xe8, 0xb5);
const QColor kCurrent(0xff, 0xe0, 0x7a);

}  // namespace

// A symbol of the tree: non-terminals in black, terminals in blue, the
// empty string's mark in grey; a matched terminal on green, what the
// current step did on yellow.
class TreeScene::Symbol : public QGraphicsItem {
 public:
  Symbol(const PlacedNode& place, QString text, bool nonTerminal, bool empty)
      : text_(std::move(text)), nonTerminal_(nonTerminal && !empty), empty_(empty) {
    rect_ = QRectF(place.centre.x - place.width / 2, place.centre.y - place.height / 2, place.width, place.height);
  }

  QRectF boundingRect() const override { return rect_; }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    QColor fill = current_ ? kCurrent : matched_ ? kMatched : QColor();
    if (fill.isValid()) {
      painter->setPen(Qt::NoPen);
      painter->setBrush(fill);
      painter->drawEllipse(rect_.center(), rect_.height() / 2, rect_.height() / 2);
    }
    QFont font = DiagramScene::itemFont();
    font.setPixelSize(16);
    font.setBold(nonTerminal_);
    painter->setFont(font);
    painter->setPen(empty_ ? QColor(Qt::gray) : nonTerminal_ ? QColor(Qt::black) : kTerminal);
    painter->drawText(rect_, Qt::AlignCenter, text_);
  }

  void setState(bool current, bool matched) {
    if (current == current_ && matched == matched_) return;
    current_ = current;
    matched_ = matched;
    update();
  }

 private:
  QRectF rect_;
  QString text_;
  bool nonTerminal_;
  bool empty_;
  bool current_ = false;
  bool matched_ = false;
};

TreeScene::TreeScene(QObject* parent) : QGraphicsScene(parent) {}

void TreeScene::draw(const Grammar& grammar, const EvaluationTree& tree, const GraphLayout& layout) {
  clear();
  parts_.clear();
  tree_ = &tree;
  symbols_.assign(tree.nodes().size(), nullptr);
  std::vector<int> order = tree.preorder();
  // "n" + k or "e" + k: the k-th node in preorder, or the empty mark under it.
  auto nodeOf = [&](const std::string& name, bool& empty) {
    empty = name[0] == 'e';
    size_t k = std::stoul(name.substr(1));
    return k < order.size() ? order[k] : -1;
  };
  for (const PlacedNode& place : layout.nodes) {
    bool empty = false;
    int node = nodeOf(place.name, empty);
    if (node < 0) continue;
    ::Symbol s = empty ? kEmpty : tree.nodes()[static_cast<size_t>(node)].symbol;
    auto* symbol = new Symbol(place, QString::fromUtf8(symbolText(grammar, s)), isNonTerminalSymbol(grammar, s), empty);
    addItem(symbol);
    parts_.push_back({symbol, node, empty, true});
    if (!empty) symbols_[static_cast<size_t>(node)] = symbol;
  }
  for (const PlacedEdge& edge : layout.edges) {
    if (!edge.id.starts_with("to")) continue;  // the invisible chain of roots
    bool empty = false;
    int child = nodeOf(edge.id.substr(2), empty);
    if (child < 0) continue;
    auto* line = addPath(splinePath(edge), QPen(QColor(0x55, 0x55, 0x55), 1.1));
    line->setZValue(-1);
    // An edge shows with the younger of its ends: the LL(1) child, made when
    // its parent was expanded, or the LR parent, made over its children.
    int parent = empty ? child : tree.nodes()[static_cast<size_t>(child)].parent;
    int younger = !empty && parent >= 0 && tree.nodes()[static_cast<size_t>(parent)].born >
                                               tree.nodes()[static_cast<size_t>(child)].born
                      ? parent
                      : child;
    parts_.push_back({line, younger, empty, false});
  }
  setSceneRect(QRectF(0, 0, layout.width, layout.height).adjusted(-10, -10, 10, 10));
  done_ = -1;
  showAfter(tree.steps());
}

void TreeScene::showAfter(int done) {
  if (tree_ == nullptr) return;
  done_ = done;
  const std::vector<TreeNode>& nodes = tree_->nodes();
  for (const Part& part : parts_) {
    const TreeNode& node = nodes[static_cast<size_t>(part.node)];
    bool shown = part.empty ? node.grown != -1 && node.grown <= done : node.born <= done;
    part.item->setVisible(shown);
    if (!part.symbol) continue;
    bool current = shown && (part.empty ? node.grown == done : node.born == done || node.matched == done);
    static_cast<Symbol*>(part.item)->setState(current && done > 0, node.matched != -1 && node.matched <= done);
  }
}

int TreeScene::shownNodes() const {
  int count = 0;
  for (const Part& part : parts_) count += part.symbol && !part.empty && part.item->isVisible();
  return count;
}

int TreeScene::currentNodes() const {
  int count = 0;
  if (tree_ == nullptr) return 0;
  for (const TreeNode& node : tree_->nodes()) count += node.born == done_ || node.matched == done_;
  return done_ > 0 ? count : 0;
}

QGraphicsItem* TreeScene::nodeItem(int node) const {
  return node >= 0 && static_cast<size_t>(node) < symbols_.size() ? symbols_[static_cast<size_t>(node)] : nullptr;
}
