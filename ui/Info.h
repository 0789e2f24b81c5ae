// TForm2: the Info dialog with the program's credits, shown as the splash
// screen at start-up and by the Info button.
#pragma once

#include <QDialog>

class QAbstractButton;
class QFrame;
class QLabel;

class TForm2 : public QDialog {
  Q_OBJECT

 public:
  explicit TForm2(QWidget* parent = nullptr);

  QLabel* Image1;
  QLabel* Image2;
  QLabel* Image3;
  QFrame* Panel1;
  QLabel* StaticText1;
  QLabel* StaticText2;
  QLabel* StaticText3;
  QLabel* StaticText4;
  QLabel* StaticText5;
  QAbstractButton* BitBtn1;

 public slots:
  void BitBtn1Click();
};
