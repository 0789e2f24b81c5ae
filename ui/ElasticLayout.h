// The classic form grows with the window.  At its design size every control
// stands where the form places it; extra width goes to the grammar column
// and the results pane, which push the column of buttons to the right, and
// extra height to the panes and, more, to the result grid.  A window smaller
// than the design (a 1366 x 768 screen) takes its lack from the grid.
#pragma once

#include <QObject>
#include <QRect>
#include <QSize>
#include <QVector>

class QWidget;

// How a control follows the extra width and height.
enum class Stretch {
  kFixed,       // the top-left picture and the grammar title
  kEditor,      // the grammar editor: wider, taller
  kListing,     // the grammar listing under it: wider, taller, lower
  kResults,     // the results pane: wider, taller, moved right
  kResultsTitle,
  kBanner,      // moved by half the extra width
  kRight,       // the note, example, word, buttons and pictures: moved right
  kGrid,        // the grid and the error list: lower, wider, taller
  kBelowGrid,   // the hint line under the grid: wider, and as much lower as the grid's bottom
};

class ElasticLayout : public QObject {
  Q_OBJECT

 public:
  // Lays out the children of `form`, whose design size is `design`.
  ElasticLayout(QWidget* form, QSize design);
  // A control at its design geometry, as it stands now.
  void add(QWidget* control, Stretch stretch);
  // The smallest form in which every control still fits.
  QSize minimumSize() const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void place(QSize size);

  struct Control {
    QWidget* widget;
    QRect design;
    Stretch stretch;
  };
  QWidget* form_;
  QSize design_;
  QVector<Control> controls_;
};
