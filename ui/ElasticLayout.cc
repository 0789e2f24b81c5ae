#include "ElasticLayout.h"

#include <QEvent>
#include <QResizeEvent>
#include <QWidget>

namespace {

// How far the form may shrink below its design: the panes and the grid
// keep a few lines each.
constexpr QSize kMostLack{140, 120};

}  // namespace

ElasticLayout::ElasticLayout(QWidget* form, QSize design) : QObject(form), form_(form), design_(design) {
  form->installEventFilter(this);
}

void ElasticLayout::add(QWidget* control, Stretch stretch) { controls_.append({control, control->geometry(), stretch}); }

QSize ElasticLayout::minimumSize() const { return design_ - kMostLack; }

bool ElasticLayout::eventFilter(QObject* watched, QEvent* event) {
  if (watched == form_ && event->type() == QEvent::Resize) place(static_cast<QResizeEvent*>(event)->size());
  return QObject::eventFilter(watched, event);
}

void ElasticLayout::place(QSize size) {
  int dx = size.width() - design_.width(), dy = size.height() - design_.height();
  // Two fifths of the width to the grammar column, the rest to the results;
  // two fifths of any extra height to the panes above the grid, the rest
  // (or all the lack) to the grid.
  int left = dx * 2 / 5;
  int upper = dy > 0 ? dy * 2 / 5 : 0, lower = dy - upper;
  int editor = upper / 2;
  for (const Control& c : controls_) {
    QRect r = c.design;
    bool grows = true;
    switch (c.stretch) {
      case Stretch::kEditor: r.adjust(0, 0, left, editor); break;
      case Stretch::kListing: r.adjust(0, editor, left, upper); break;
      case Stretch::kResults: r.adjust(left, 0, dx, upper); break;
      case Stretch::kGrid: r.adjust(0, upper, dx, upper + lower); break;
      case Stretch::kBelowGrid: r.adjust(0, dy, dx, dy); break;
      case Stretch::kFixed: grows = false; break;
      case Stretch::kResultsTitle: grows = false, r.translate(left, 0); break;
      case Stretch::kBanner: grows = false, r.translate(dx / 2, 0); break;
      case Stretch::kRight: grows = false, r.translate(dx, 0); break;
    }
    // The others keep their size, labels the one their text gives them.
    if (grows)
      c.widget->setGeometry(r);
    else
      c.widget->move(r.topLeft());
  }
}
