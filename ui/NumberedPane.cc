#include "NumberedPane.h"

#include <QPainter>
#include <QTextBlock>

class NumberedPane::Margin : public QWidget {
 public:
  explicit Margin(NumberedPane* pane) : QWidget(pane), pane_(pane) {}

 protected:
  void paintEvent(QPaintEvent* event) override { pane_->paintMargin(event); }

 private:
  NumberedPane* pane_;
};

NumberedPane::NumberedPane(QWidget* parent) : QPlainTextEdit(parent), margin_(new Margin(this)) {
  margin_->hide();
  connect(this, &QPlainTextEdit::blockCountChanged, this, &NumberedPane::updateMargin);
  connect(this, &QPlainTextEdit::updateRequest, this, [this](const QRect& rect, int dy) {
    if (!numbered_) return;
    if (dy != 0) margin_->scroll(0, dy);
    else margin_->update(0, rect.y(), margin_->width(), rect.height());
  });
}

void NumberedPane::setNumbered(bool numbered) {
  if (numbered == numbered_) return;
  numbered_ = numbered;
  margin_->setVisible(numbered);
  updateMargin();
}

int NumberedPane::marginWidth() const {
  if (!numbered_) return 0;
  // Numbers run from 0 to the count less one.
  int digits = QString::number(qMax(1, blockCount() - 1)).size();
  return 6 + fontMetrics().horizontalAdvance(QLatin1Char('9')) * digits;
}

void NumberedPane::updateMargin() {
  setViewportMargins(marginWidth(), 0, 0, 0);
  QRect inside = contentsRect();
  margin_->setGeometry(inside.left(), inside.top(), marginWidth(), inside.height());
  margin_->update();
}

void NumberedPane::resizeEvent(QResizeEvent* event) {
  QPlainTextEdit::resizeEvent(event);
  updateMargin();
}

void NumberedPane::changeEvent(QEvent* event) {
  QPlainTextEdit::changeEvent(event);
  if (event->type() == QEvent::FontChange) updateMargin();
}

void NumberedPane::paintMargin(QPaintEvent* event) {
  QPainter painter(margin_);
  painter.fillRect(event->rect(), palette().color(QPalette::Window));
  painter.setPen(palette().color(QPalette::PlaceholderText));
  painter.setFont(font());
  QTextBlock block = firstVisibleBlock();
  double top = blockBoundingGeometry(block).translated(contentOffset()).top();
  const int width = margin_->width() - 3, height = fontMetrics().height();
  while (block.isValid() && top <= event->rect().bottom()) {
    if (block.isVisible() && top + height >= event->rect().top())
      painter.drawText(0, qRound(top), width, height, Qt::AlignRight, QString::number(block.blockNumber()));
    top += blockBoundingRect(block).height();
    block = block.next();
  }
}
