#include "TreePairPicture.h"

#include <QFontMetricsF>
#include <QGraphicsScene>
#include <QGraphicsSimpleTextItem>
#include <QPainter>

#include "DiagramScene.h"
#include "grammar/symbol_text.h"
#include "trees/tree_dot.h"

namespace {

constexpr double kGap = 48;  // between the two trees

// Draws the tree with its caption above, its top left at `left`; its width.
double drawTree(QGraphicsScene& scene, const CaptionedTree& drawn, double left) {
  QFont font = DiagramScene::itemFont();
  font.setPixelSize(16);
  QFont bold = font;
  bold.setBold(true);
  auto* caption = scene.addSimpleText(drawn.caption, bold);
  caption->setPos(left, 0);
  const double top = caption->boundingRect().height() + 8;
  // Node "n" + k is the k-th node in preorder, "e" + k the empty mark under it.
  for (const PlacedNode& node : drawn.layout.nodes) {
    size_t k = std::stoul(node.name.substr(1));
    if (k >= drawn.labels.size()) continue;
    bool empty = node.name[0] == 'e';
    bool nonTerminal = !empty && drawn.labels[k].nonTerminal;
    auto* text = scene.addSimpleText(empty ? drawn.empty : drawn.labels[k].text, nonTerminal ? bold : font);
    text->setBrush(empty ? QColor(Qt::gray) : nonTerminal ? QColor(Qt::black) : QColor(0x1f, 0x5f, 0xbf));
    text->setPos(QPointF(left + node.centre.x, top + node.centre.y) - text->boundingRect().center());
  }
  for (const PlacedEdge& edge : drawn.layout.edges) {
    if (!edge.id.starts_with("to")) continue;
    auto* line = scene.addPath(splinePath(edge).translated(left, top), QPen(QColor(0x55, 0x55, 0x55), 1.1));
    line->setZValue(-1);
  }
  return std::max(drawn.layout.width, caption->boundingRect().width());
}

}  // namespace

CaptionedTree captionedTree(const Grammar& grammar, const Tree& tree, QString caption) {
  CaptionedTree drawn;
  walkTree(
      tree,
      [&](const Tree& node, size_t, size_t) {
        drawn.labels.push_back({QString::fromUtf8(symbolText(grammar, node.symbol)), isNonTerminalSymbol(grammar, node.symbol)});
      },
      [](const Tree&, size_t) {});
  drawn.empty = QString::fromUtf8(symbolText(grammar, kEmpty));
  drawn.layout = layoutDot(forestDot(grammar, {tree}));
  drawn.caption = std::move(caption);
  return drawn;
}

QImage treePairPicture(const CaptionedTree& left, const CaptionedTree& right) {
  QGraphicsScene scene;
  double width = drawTree(scene, left, 0);
  drawTree(scene, right, width + kGap);
  QRectF area = scene.itemsBoundingRect().adjusted(-6, -6, 6, 6);
  QImage image(area.size().toSize(), QImage::Format_ARGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  scene.render(&painter, QRectF(QPointF(0, 0), area.size()), area);
  return image;
}
