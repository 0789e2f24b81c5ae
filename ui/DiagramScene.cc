#include "DiagramScene.h"

#include <QCursor>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QPainter>
#include <QtMath>

#include "Look.h"
#include "grammar/symbol_text.h"

namespace {

const QColor kAccept(0x2e, 0x7d, 0x32);
const QColor kMark(0x1f, 0x5f, 0xbf);
const QColor kSelect(0xe0, 0x6c, 0x00);
const QColor kStub(0x66, 0x66, 0x66);
constexpr int kKeyRole = 0;  // QGraphicsItem data: kind * 2^20 + index

QString text(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

// A classic name is a Windows-1252 character, a token's name UTF-8 already.
QString symbolLabel(const AutomatonGraph& graph, Symbol symbol) {
  return text(utf8ForDisplay(symbolText(graph.grammar, symbol)));
}

QPointF at(const Point& p) { return QPointF(p.x, p.y); }

void tag(QGraphicsItem* item, const DiagramKey& key) { item->setData(kKeyRole, QVariantList{key.kind, key.index}); }

}  // namespace

QPainterPath splinePath(const PlacedEdge& edge) {
  QPainterPath path;
  if (edge.spline.empty()) return path;
  path.moveTo(at(edge.spline[0]));
  for (size_t k = 1; k + 2 < edge.spline.size(); k += 3)
    path.cubicTo(at(edge.spline[k]), at(edge.spline[k + 1]), at(edge.spline[k + 2]));
  return path;
}

QPolygonF arrowHead(const PlacedEdge& edge) {
  if (!edge.arrow || edge.spline.empty()) return {};
  QPointF base = at(edge.spline.back()), tip = at(edge.tip);
  QPointF along = tip - base;
  QPointF across(-along.y() / 2.6, along.x() / 2.6);
  return QPolygonF{tip, base + across, base - across};
}

// A state's box: the lines of boxLines(), the closure items below a rule.
class DiagramScene::StateBox : public QGraphicsItem {
 public:
  StateBox(const GraphState& state, const PlacedNode& place, bool closure)
      : lines_(), kernel_(static_cast<int>(state.kernel.size())), closure_(closure && !state.closure.empty()),
        conflicting_(state.conflicting) {
    for (const std::string& line : boxLines(state, closure)) lines_.append(text(line));
    rect_ = QRectF(place.centre.x - place.width / 2, place.centre.y - place.height / 2, place.width, place.height);
    setToolTip(QStringLiteral("%1: click for its items and table row").arg(lines_.front()));
    setCursor(QCursor(Qt::PointingHandCursor));
  }

  QRectF boundingRect() const override { return rect_.adjusted(-3, -3, 3, 3); }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    BoxMetrics m = metrics();
    QPen frame(Qt::black, 1);
    if (marked_) frame = QPen(kMark, 3.5);
    if (selected_) frame = QPen(kSelect, 2.5);
    painter->setPen(frame);
    painter->setBrush(conflicting_ ? conflictColour() : QColor(Qt::white));
    painter->drawRoundedRect(rect_, 5, 5);
    QFont font = itemFont();
    QFontMetricsF fm(font);
    double y = rect_.top() + m.padding;
    double x = rect_.left() + m.padding;
    painter->setPen(Qt::black);
    for (int k = 0; k < lines_.size(); ++k) {
      font.setBold(k == 0);
      painter->setFont(font);
      if (closure_ && k == 1 + kernel_) {
        double rule = y + m.lineHeight / 4;
        painter->setPen(QPen(Qt::gray, 0.8));
        painter->drawLine(QPointF(rect_.left() + 2, rule), QPointF(rect_.right() - 2, rule));
        painter->setPen(Qt::black);
        y += m.lineHeight / 2;
      }
      painter->drawText(QPointF(x, y + fm.ascent()), lines_[k]);
      y += m.lineHeight;
    }
  }

  void setMarked(bool on) {
    marked_ = on;
    update();
  }
  void setSelected(bool on) {
    selected_ = on;
    update();
  }

 private:
  QStringList lines_;
  int kernel_;
  bool closure_;
  bool conflicting_;
  QRectF rect_;
  bool marked_ = false;
  bool selected_ = false;
};

// An arc: its spline, its arrowhead and its label.  The area that takes a
// click is wider than the line.
class DiagramScene::Arrow : public QGraphicsItem {
 public:
  Arrow(const PlacedEdge& edge, const QString& label, QColor colour, double width, bool dashed)
      : path_(splinePath(edge)), head_(arrowHead(edge)), colour_(colour), width_(width), dashed_(dashed) {
    if (edge.labelled && !label.isEmpty()) {
      auto* text = new QGraphicsSimpleTextItem(label, this);
      QFont font = itemFont();
      font.setPixelSize(qRound(font.pixelSize() * 1.15));
      text->setFont(font);
      text->setBrush(colour == QColor(Qt::black) ? QColor(Qt::black) : colour);
      QRectF box = text->boundingRect();
      text->setPos(at(edge.label) - box.center());
    }
    QPainterPathStroker stroker;
    stroker.setWidth(10);
    shape_ = stroker.createStroke(path_);
    shape_.addPolygon(head_);
    for (QGraphicsItem* child : childItems()) shape_.addRect(child->mapRectToParent(child->boundingRect()));
    setCursor(QCursor(Qt::PointingHandCursor));
  }

  QRectF boundingRect() const override { return shape_.boundingRect().adjusted(-2, -2, 2, 2); }
  QPainterPath shape() const override { return shape_; }

  void paint(QPainter* painter, const QStyleOptionGraphicsItem*, QWidget*) override {
    QColor colour = selected_ ? kSelect : colour_;
    QPen pen(colour, selected_ ? width_ + 1.5 : width_);
    if (dashed_) pen.setStyle(Qt::DashLine);
    painter->setPen(pen);
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(path_);
    if (!head_.isEmpty()) {
      painter->setPen(QPen(colour, 1));
      painter->setBrush(colour);
      painter->drawPolygon(head_);
    }
  }

  void setSelected(bool on) {
    selected_ = on;
    update();
  }

 private:
  QPainterPath path_;
  QPolygonF head_;
  QPainterPath shape_;
  QColor colour_;
  double width_;
  bool dashed_;
  bool selected_ = false;
};

DiagramScene::DiagramScene(QObject* parent) : QGraphicsScene(parent) {}

QFont DiagramScene::itemFont() {
  QFont font = courierNew(13);
  font.setStyleStrategy(QFont::PreferAntialias);
  return font;
}

BoxMetrics DiagramScene::metrics() {
  QFont bold = itemFont();
  bold.setBold(true);
  QFontMetricsF plain(itemFont()), heavy(bold);
  // The widest of the plain and bold advances, so that a title fits as well.
  double width = qMax(plain.horizontalAdvance(QLatin1Char('M')), heavy.horizontalAdvance(QLatin1Char('M')));
  return BoxMetrics{width, static_cast<double>(qCeil(plain.lineSpacing())), 6};
}

QColor DiagramScene::conflictColour() { return QColor(QString::fromLatin1(kConflictFill)); }
QColor DiagramScene::markColour() { return kMark; }

void DiagramScene::draw(const AutomatonGraph& graph, const GraphLayout& layout, bool closure) {
  clear();
  boxes_.assign(graph.states.size(), nullptr);
  arrows_.assign(graph.edges.size(), nullptr);
  others_.clear();
  for (const PlacedNode& node : layout.nodes) {
    if (node.name.size() < 2 || node.name[0] != 's') continue;
    int state = std::stoi(node.name.substr(1));
    if (state < 0 || static_cast<size_t>(state) >= graph.states.size()) continue;
    auto* box = new StateBox(graph.states[static_cast<size_t>(state)], node, closure);
    tag(box, {DiagramKey::kState, state});
    box->setZValue(1);
    addItem(box);
    boxes_[static_cast<size_t>(state)] = box;
  }
  std::vector<int> drawn = drawnStates();
  std::vector<int> hidden = hiddenArcCounts(graph, drawn.size() == graph.states.size() ? std::vector<int>() : drawn);
  for (const PlacedNode& node : layout.nodes) {
    bool accept = node.name == "accept";
    if (!accept && !node.name.starts_with("more")) continue;
    QString label = accept ? QStringLiteral("accept")
                           : text(hiddenArcsText(hidden[static_cast<size_t>(std::stoi(node.name.substr(4)))]));
    auto* item = addSimpleText(label, itemFont());
    item->setBrush(accept ? kAccept : kStub);
    item->setPos(at(node.centre) - item->boundingRect().center());
    if (!accept) {
      int state = std::stoi(node.name.substr(4));
      tag(item, {DiagramKey::kStub, state});
      item->setCursor(Qt::PointingHandCursor);
      item->setToolTip(QStringLiteral("Click to draw the arcs of state %1 that are not drawn").arg(state));
    }
  }
  for (const PlacedEdge& edge : layout.edges) {
    if (edge.id.size() < 2) continue;
    if (edge.id[0] == 'e') {
      size_t k = std::stoul(edge.id.substr(1));
      if (k >= graph.edges.size()) continue;
      auto* arrow = new Arrow(edge, symbolLabel(graph, graph.edges[k].symbol), Qt::black, 1.2, false);
      tag(arrow, {DiagramKey::kEdge, static_cast<int>(k)});
      addItem(arrow);
      arrows_[k] = arrow;
    } else if (edge.id.starts_with("accept")) {
      auto* arrow = new Arrow(edge, symbolLabel(graph, graph.grammar.endMarker()), kAccept, 2.2, false);
      tag(arrow, {DiagramKey::kAccept, std::stoi(edge.id.substr(6))});
      addItem(arrow);
      others_.push_back(arrow);
    } else if (edge.id.starts_with("stub")) {
      auto* arrow = new Arrow(edge, QString(), kStub, 1, true);
      tag(arrow, {DiagramKey::kStub, std::stoi(edge.id.substr(4))});
      addItem(arrow);
      others_.push_back(arrow);
    }
  }
  setSceneRect(QRectF(0, 0, layout.width, layout.height).adjusted(-10, -10, 10, 10));
  int marked = marked_;
  marked_ = -1;
  markState(marked);
  selected_ = {};
}

std::vector<int> DiagramScene::drawnStates() const {
  std::vector<int> states;
  for (size_t s = 0; s < boxes_.size(); ++s)
    if (boxes_[s] != nullptr) states.push_back(static_cast<int>(s));
  return states;
}

DiagramScene::StateBox* DiagramScene::boxOf(int state) const {
  return state >= 0 && static_cast<size_t>(state) < boxes_.size() ? boxes_[static_cast<size_t>(state)] : nullptr;
}

DiagramScene::Arrow* DiagramScene::arrowOf(const DiagramKey& key) const {
  if (key.kind == DiagramKey::kEdge)
    return key.index >= 0 && static_cast<size_t>(key.index) < arrows_.size() ? arrows_[static_cast<size_t>(key.index)]
                                                                              : nullptr;
  for (Arrow* arrow : others_)
    if (keyOf(arrow) == key) return arrow;
  return nullptr;
}

void DiagramScene::markState(int state) {
  if (StateBox* old = boxOf(marked_)) old->setMarked(false);
  marked_ = state;
  if (StateBox* box = boxOf(state)) box->setMarked(true);
}

void DiagramScene::select(const DiagramKey& key) {
  if (StateBox* box = selected_.kind == DiagramKey::kState ? boxOf(selected_.index) : nullptr) box->setSelected(false);
  if (Arrow* arrow = arrowOf(selected_)) arrow->setSelected(false);
  selected_ = key;
  if (StateBox* box = key.kind == DiagramKey::kState ? boxOf(key.index) : nullptr) box->setSelected(true);
  if (Arrow* arrow = arrowOf(key)) arrow->setSelected(true);
}

QGraphicsItem* DiagramScene::stateItem(int state) const { return boxOf(state); }

QGraphicsItem* DiagramScene::edgeItem(int edge) const { return arrowOf({DiagramKey::kEdge, edge}); }

DiagramKey DiagramScene::keyOf(const QGraphicsItem* item) {
  for (; item != nullptr; item = item->parentItem()) {
    QVariantList key = item->data(kKeyRole).toList();
    if (key.size() == 2) return DiagramKey{static_cast<DiagramKey::Kind>(key[0].toInt()), key[1].toInt()};
  }
  return {};
}
