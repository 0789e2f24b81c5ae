#include "Zoom.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QWheelEvent>
#include <QWidget>
#include <cmath>

#include "StringGrid.h"

Zoom::Zoom(QObject* parent) : QObject(parent) {}

void Zoom::add(QWidget* widget) {
  widgets_.append({widget, widget->font()});
  widget->installEventFilter(this);
  // The wheel reaches the viewport of a scrolling pane, not the pane.
  if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) area->viewport()->installEventFilter(this);
}

double Zoom::factor() const { return 1 + level_ * 0.125; }

void Zoom::setLevel(int level) {
  level = qBound(kSmallest, level, kLargest);
  if (level == level_) return;
  level_ = level;
  for (const Zoomed& z : widgets_) {
    QFont font = z.design;
    font.setPixelSize(static_cast<int>(std::lround(z.design.pixelSize() * factor())));
    z.widget->setFont(font);
    if (auto* grid = qobject_cast<StringGrid*>(z.widget)) grid->setZoom(factor());
  }
  emit changed(factor());
}

bool Zoom::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
      // One notch (120) is one level.
      wheel_ += wheel->angleDelta().y();
      int steps = wheel_ / 120;
      wheel_ -= steps * 120;
      setLevel(level_ + steps);
      return true;
    }
  }
  return QObject::eventFilter(watched, event);
}
