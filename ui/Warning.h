// TForm3: the Warning dialog, one line of text and an Ok button.
#pragma once

#include <QDialog>

#include "core/hstring.h"

class QAbstractButton;
class QLabel;

class TForm3 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm3(QWidget* parent = nullptr);

  void setMessage(const HString& text);

  QLabel* Image1;
  QLabel* Label1;
  QAbstractButton* BitBtn1;

 public slots:
  void BitBtn1Click();
};
