#include "Warning.h"

#include <QAbstractButton>
#include <QLabel>
#include <QPushButton>

#include "Look.h"

TForm3::TForm3(QWidget* parent) : QDialog(parent) {
  setObjectName("Form3");
  setWindowTitle("Warning");
  setModal(true);
  paintWhite(this);
  placeWindow(this, 352, 167, 333, 216);

  Image1 = pictureBox(this, "Image1", picture("warning.jpg"), 32, -16, 257, 105);

  Label1 = new QLabel("Label1", this);
  Label1->setObjectName("Label1");
  Label1->setFont(timesNewRoman(19));
  Label1->move(56, 96);
  Label1->adjustSize();

  BitBtn1 = bitButton(this, "BitBtn1", Glyph::Ok, "Ok", 136, 136, 73, 41);
  auto* ok = static_cast<QPushButton*>(BitBtn1);
  ok->setDefault(true);
  ok->setFocus();
  connect(BitBtn1, &QAbstractButton::clicked, this, &TForm3::BitBtn1Click);
}

void TForm3::setMessage(const HString& text) {
  Label1->setText(shown(text));
  Label1->adjustSize();
}

void TForm3::BitBtn1Click() { accept(); }
