// A text pane with an optional margin of line numbers from 0, beside the
// text and not part of it: the grammar listing shows production k on line
// k + 1, so the margin lets "r6" of a table be read off as production 6.
#pragma once

#include <QPlainTextEdit>

class NumberedPane : public QPlainTextEdit {
  Q_OBJECT

 public:
  explicit NumberedPane(QWidget* parent = nullptr);

  // Whether the margin shows; without it the pane is a plain one.
  void setNumbered(bool numbered);
  bool numbered() const { return numbered_; }
  // The margin's width in pixels (0 without it).
  int marginWidth() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  class Margin;
  void updateMargin();
  void paintMargin(QPaintEvent* event);

  Margin* margin_;
  bool numbered_ = false;
};
