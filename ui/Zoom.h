// One text size for the panes, the error list and the grid: Ctrl+wheel over
// any of them, or the View menu (Ctrl++, Ctrl+-, Ctrl+0), makes them all
// larger or smaller together.  Level 0 is the form's own sizes.
#pragma once

#include <QFont>
#include <QObject>
#include <QVector>

class QWidget;

class Zoom : public QObject {
  Q_OBJECT

 public:
  static constexpr int kSmallest = -3, kLargest = 8;

  explicit Zoom(QObject* parent = nullptr);
  // Follows the zoom from now on, from the font it has now.
  void add(QWidget* widget);
  int level() const { return level_; }
  // The size of level 0 times this.
  double factor() const;
  void setLevel(int level);
  void zoomIn() { setLevel(level_ + 1); }
  void zoomOut() { setLevel(level_ - 1); }
  void reset() { setLevel(0); }

 signals:
  void changed(double factor);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct Zoomed {
    QWidget* widget;
    QFont design;
  };
  QVector<Zoomed> widgets_;
  int level_ = 0;
  int wheel_ = 0;  // angle not yet turned into a level, for fine wheels
};
