#include "Info.h"

#include <QAbstractButton>
#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include "Look.h"

TForm2::TForm2(QWidget* parent) : QDialog(parent) {
  setObjectName("Form2");
  setWindowTitle("Info");
  setModal(true);
  paintWhite(this);
  placeWindow(this, 227, 72, 560, 501);

  Image1 = pictureBox(this, "Image1", picture("info_banner.jpg"), 1, -16, 549, 173);
  Image2 = pictureBox(this, "Image2", picture("info_rules.jpg"), 16, 136, 433, 129);
  Image3 = pictureBox(this, "Image3", transparentPicture("info_states.bmp"), 384, 120, 145, 129);

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(32, 256, 481, 145);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
  Panel1->setLineWidth(2);
  paintWhite(Panel1);
  {
    // On white, a white highlight would hide the raised edge.
    QPalette palette = Panel1->palette();
    palette.setColor(QPalette::Light, QColor(0xdc, 0xdc, 0xdc));
    palette.setColor(QPalette::Dark, QColor(0x8c, 0x8c, 0x8c));
    palette.setColor(QPalette::Mid, QColor(0xb4, 0xb4, 0xb4));
    Panel1->setPalette(palette);
  }

  const char* credits[5] = {
      "Tablomat " TABLOMAT_VERSION " - parsing of context-free grammars",
      "First and Follow sets, LL(1), SLR, LR(1) and LALR tables,",
      "item sets with their arcs and step-by-step parses.",
      "Free software for teaching and study.",
      "The Tablomat developers, 2024",
  };
  QLabel** lines[5] = {&StaticText1, &StaticText2, &StaticText3, &StaticText4, &StaticText5};
  for (int i = 0; i < 5; ++i) {
    QLabel* line = new QLabel(QString::fromUtf8(credits[i]), Panel1);
    line->setObjectName(QStringLiteral("StaticText%1").arg(i + 1));
    line->setFont(timesNewRoman(16, true));
    line->move(64 - 32, 264 - 256 + 24 * i);
    line->adjustSize();
    *lines[i] = line;
  }

  BitBtn1 = bitButton(this, "BitBtn1", Glyph::Ok, "Ok", 248, 416, 73, 41);
  static_cast<QPushButton*>(BitBtn1)->setDefault(true);
  connect(BitBtn1, &QAbstractButton::clicked, this, &TForm2::BitBtn1Click);
}

void TForm2::BitBtn1Click() { accept(); }
