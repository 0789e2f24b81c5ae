// A view of a drawing (an automaton, a parse tree): the wheel zooms around
// the pointer, + and - zoom around the centre, 0 fits the drawing into the
// view, dragging pans, the arrow keys scroll.  A press and release in
// place is a click on what lies under the pointer.
#pragma once

#include <QGraphicsItem>
#include <QGraphicsView>
#include <QPoint>

class GraphView : public QGraphicsView {
  Q_OBJECT

 public:
  explicit GraphView(QWidget* parent = nullptr);

  // Scales by the factor around the centre, within the zoom limits.
  void zoomBy(double factor);
  // The whole drawing in the view, never larger than its natural size; it
  // stays fitted as the view is resized, until the user zooms.
  void fit();
  // Below this zoom a fitted drawing is not made smaller: its text stays
  // readable, and the view scrolls instead (0: no floor).
  void setReadableZoom(double zoom) { readable_ = zoom; }
  double zoom() const;
  // Scrolls the item into view at the present zoom.
  void reveal(const QGraphicsItem* item);

 signals:
  // A click on the item (the topmost under the pointer), or nullptr on the background.
  void clicked(QGraphicsItem* item);

 protected:
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  void scaleTo(double zoom);

  QPoint pressedAt_;
  double readable_ = 0;
  bool pressed_ = false;
  bool fitted_ = false;
};
