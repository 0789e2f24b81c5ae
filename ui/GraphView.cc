#include "GraphView.h"

#include <QGraphicsItem>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QResizeEvent>
#include <QWheelEvent>
#include <QtMath>

namespace {

constexpr double kSmallest = 0.02, kLargest = 8.0;
constexpr double kStep = 1.25;  // one key press or wheel notch

}  // namespace

GraphView::GraphView(QWidget* parent) : QGraphicsView(parent) {
  setDragMode(QGraphicsView::ScrollHandDrag);
  setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing);
  setTransformationAnchor(QGraphicsView::AnchorUnderMouse);
  setResizeAnchor(QGraphicsView::AnchorViewCenter);
  setBackgroundBrush(Qt::white);
  setFocusPolicy(Qt::StrongFocus);
}

double GraphView::zoom() const { return transform().m11(); }

void GraphView::scaleTo(double zoom) {
  zoom = qBound(kSmallest, zoom, kLargest);
  double factor = zoom / this->zoom();
  scale(factor, factor);
}

void GraphView::zoomBy(double factor) {
  fitted_ = false;
  ViewportAnchor anchor = transformationAnchor();
  setTransformationAnchor(QGraphicsView::AnchorViewCenter);
  scaleTo(zoom() * factor);
  setTransformationAnchor(anchor);
}

void GraphView::fit() {
  if (scene() == nullptr || scene()->itemsBoundingRect().isEmpty()) return;
  QRectF drawing = scene()->itemsBoundingRect().adjusted(-8, -8, 8, 8);
  QRectF room = viewport()->rect();
  double zoom = qMin(1.0, qMax(readable_, qMin(room.width() / drawing.width(), room.height() / drawing.height())));
  scaleTo(zoom);
  centerOn(drawing.center());
  fitted_ = true;
}

void GraphView::resizeEvent(QResizeEvent* event) {
  QGraphicsView::resizeEvent(event);
  if (fitted_) fit();
}

void GraphView::reveal(const QGraphicsItem* item) {
  if (item != nullptr) ensureVisible(item, 40, 40);
}

void GraphView::wheelEvent(QWheelEvent* event) {
  double notches = event->angleDelta().y() / 120.0;
  if (notches == 0) return;
  fitted_ = false;
  scaleTo(zoom() * qPow(kStep, notches));
  event->accept();
}

void GraphView::keyPressEvent(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Plus:
    case Qt::Key_Equal:
      zoomBy(kStep);
      return;
    case Qt::Key_Minus:
      zoomBy(1 / kStep);
      return;
    case Qt::Key_0:
      fit();
      return;
    default:
      QGraphicsView::keyPressEvent(event);
  }
}

void GraphView::mousePressEvent(QMouseEvent* event) {
  pressed_ = event->button() == Qt::LeftButton;
  pressedAt_ = event->position().toPoint();
  QGraphicsView::mousePressEvent(event);
}

void GraphView::mouseReleaseEvent(QMouseEvent* event) {
  QGraphicsView::mouseReleaseEvent(event);
  if (!pressed_ || event->button() != Qt::LeftButton) return;
  pressed_ = false;
  if ((event->position().toPoint() - pressedAt_).manhattanLength() > 4) return;  // a drag
  emit clicked(itemAt(event->position().toPoint()));
}
