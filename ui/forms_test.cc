// The parts the main window is built from: the dialogs, the grid, the
// pictures, the faces and the failure boundary of the commands.
#include <QFontInfo>
#include <QFrame>
#include <QHeaderView>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>

#include "Forms.h"
#include "Info.h"
#include "Look.h"
#include "Warning.h"
#include "test_support.h"

class FormsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { registerPictures(); }
  void cleanup() { releaseForms(); }

  // Pictures
  void theBannerDecodesAsJpeg();
  void everyPictureDecodes_data();
  void everyPictureDecodes();

  // Dialogs
  void infoShowsFiveCreditLinesAndCloses();
  void warningShowsItsMessageAndClosesOnEnter();
  void releasingFormsDeletesThemNewestFirst();

  // Grid
  void fixedCellsStayWhileTheRestScrolls();
  void resizingKeepsTheCellsThatRemain();

  // Faces
  void resultPanesAreFixedPitch();
  void facesFallBackToInstalledOnes();

  // Failure boundary
  void aFailingCommandIsReportedAndTheProgramGoesOn();
};

void FormsTest::theBannerDecodesAsJpeg() {
  QImageReader reader(":/pictures/banner.jpg");
  QCOMPARE(reader.format(), QByteArray("jpeg"));
  QImage banner = reader.read();
  QVERIFY2(!banner.isNull(), qPrintable(reader.errorString()));
  QCOMPARE(banner.size(), QSize(560, 175));
  // Labels stand on its lower edge: it must fade to white there.
  QColor bottom = banner.pixelColor(250, 170);
  QVERIFY(bottom.lightness() > 240);
}

void FormsTest::everyPictureDecodes_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QByteArray>("format");
  QTest::addColumn<QSize>("size");
  QTest::newRow("info banner") << "info_banner.jpg" << QByteArray("jpeg") << QSize(549, 173);
  QTest::newRow("info rules") << "info_rules.jpg" << QByteArray("jpeg") << QSize(433, 129);
  QTest::newRow("info states") << "info_states.bmp" << QByteArray("bmp") << QSize(145, 129);
  QTest::newRow("warning") << "warning.jpg" << QByteArray("jpeg") << QSize(257, 105);
  for (const char* name : {"tree.bmp", "automaton.bmp", "stack.bmp", "sets.bmp", "cells.bmp", "item.bmp"})
    QTest::newRow(name) << name << QByteArray("bmp") << QSize();
}

void FormsTest::everyPictureDecodes() {
  QFETCH(QString, name);
  QFETCH(QByteArray, format);
  QFETCH(QSize, size);
  QImageReader reader(":/pictures/" + name);
  QCOMPARE(reader.format(), format);
  QImage image = reader.read();
  QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
  if (size.isValid()) QCOMPARE(image.size(), size);
}

void FormsTest::infoShowsFiveCreditLinesAndCloses() {
  TForm2* info = createForm<TForm2>();
  QCOMPARE(info->windowTitle(), QString("Info"));
  QCOMPARE(info->size(), QSize(560, 501) - kFrameAllowance);
  QCOMPARE(info->Panel1->geometry(), QRect(32, 256, 481, 145));
  QLabel* lines[] = {info->StaticText1, info->StaticText2, info->StaticText3, info->StaticText4, info->StaticText5};
  for (int i = 0; i < 5; ++i) {
    QVERIFY(!lines[i]->text().isEmpty());
    QVERIFY(lines[i]->font().bold());
    QCOMPARE(lines[i]->mapTo(info, QPoint(0, 0)), QPoint(64, 264 + 24 * i));
    // Each line ends inside the panel's bevel.
    QVERIFY2(lines[i]->geometry().right() < info->Panel1->width() - 2, qPrintable(lines[i]->text()));
  }
  QVERIFY(info->StaticText1->text().contains("Tablomat"));
  QVERIFY(!info->Image1->pixmap().isNull());
  QVERIFY(!info->Image3->pixmap().mask().isNull());

  ModalAnswerer answerer;
  QCOMPARE(info->exec(), int(QDialog::Accepted));
  QCOMPARE(answerer.seen.size(), 1);
}

void FormsTest::warningShowsItsMessageAndClosesOnEnter() {
  TForm3* warning = createForm<TForm3>();
  QCOMPARE(warning->windowTitle(), QString("Warning"));
  QCOMPARE(warning->Label1->text(), QString("Label1"));
  warning->setMessage("This Table Contain 12 Conflict");
  QCOMPARE(warning->Label1->text(), QString("This Table Contain 12 Conflict"));
  QCOMPARE(warning->Label1->pos(), QPoint(56, 96));
  QVERIFY(warning->rect().contains(warning->Label1->geometry()));
  QCOMPARE(warning->BitBtn1->geometry(), QRect(136, 136, 73, 41));

  ModalAnswerer answerer(Qt::Key_Return);
  QCOMPARE(warning->exec(), int(QDialog::Accepted));
  QCOMPARE(answerer.seen.size(), 1);
}

void FormsTest::releasingFormsDeletesThemNewestFirst() {
  QStringList order;
  for (const char* name : {"first", "second", "third"}) {
    TForm3* form = createForm<TForm3>();
    form->setObjectName(name);
    connect(form, &QObject::destroyed, [&order, name] { order.append(name); });
  }
  delete adoptedForms()[1];  // a form may go earlier; it is then skipped
  QCOMPARE(adoptedForms().size(), 2);
  releaseForms();
  QCOMPARE(order, QStringList({"second", "third", "first"}));
  QVERIFY(adoptedForms().isEmpty());
}

void FormsTest::fixedCellsStayWhileTheRestScrolls() {
  StringGrid grid;
  grid.setFont(courierNew(16));
  grid.resize(400, 200);
  grid.setDefaultRowHeight(24);
  grid.setDefaultColWidth(60);
  grid.setColCount(30);
  grid.setRowCount(40);
  for (int i = 0; i < 40; ++i) grid.setCells(0, i, QString::number(i));
  for (int j = 0; j < 30; ++j) grid.setCells(j, 0, QString("c%1").arg(j));
  grid.show();
  QVERIFY(QTest::qWaitForWindowExposed(&grid));
  QWidget* left = grid.verticalHeader();
  QWidget* top = grid.horizontalHeader();
  const QRect leftBefore = left->geometry(), topBefore = top->geometry();
  grid.scrollTo(grid.model()->index(38, 28));
  QVERIFY(grid.verticalScrollBar()->value() > 0);
  QVERIFY(grid.horizontalScrollBar()->value() > 0);
  QCOMPARE(left->geometry(), leftBefore);
  QCOMPARE(top->geometry(), topBefore);
  QVERIFY(left->isVisible() && top->isVisible());
  QCOMPARE(left->width(), 60);
  QCOMPARE(top->height(), 24);
  QCOMPARE(grid.rowHeight(0), 24);
  // The fixed column now labels the rows that scrolled into view.
  auto* header = grid.verticalHeader();
  int shown = header->logicalIndexAt(5);
  QVERIFY(shown > 0);
  QCOMPARE(grid.model()->headerData(shown, Qt::Vertical).toString(), QString::number(shown + 1));
}

void FormsTest::resizingKeepsTheCellsThatRemain() {
  StringGrid grid;
  grid.setColCount(3);
  grid.setRowCount(3);
  grid.setCells(1, 1, "kept");
  grid.setCells(2, 2, "dropped");
  grid.setMark(1, 1, StringGrid::Mark::Conflict);
  grid.setRowCount(2);
  grid.setColCount(2);
  grid.setRowCount(3);
  grid.setColCount(3);
  QCOMPARE(grid.cells(1, 1), QString("kept"));
  QCOMPARE(grid.cells(2, 2), QString());
  QCOMPARE(grid.mark(1, 1), StringGrid::Mark::Conflict);
  QCOMPARE(grid.model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
           StringGrid::markColor(StringGrid::Mark::Conflict));
  grid.clearMarks();
  QVERIFY(!grid.model()->index(0, 0).data(Qt::BackgroundRole).isValid());
}

void FormsTest::resultPanesAreFixedPitch() {
  auto form = openMainWindow();
  for (QWidget* pane : {static_cast<QWidget*>(form->Memo1), static_cast<QWidget*>(form->Memo3),
                        static_cast<QWidget*>(form->Memo4), static_cast<QWidget*>(form->StringGrid1)}) {
    QFontInfo info(pane->font());
    QVERIFY2(info.fixedPitch(), qPrintable(pane->objectName() + " " + info.family()));
    QCOMPARE(info.pixelSize(), 16);
    QFontMetrics metrics(pane->font());
    QCOMPARE(metrics.horizontalAdvance("iiii"), metrics.horizontalAdvance("MMMM"));
  }
  QCOMPARE(QFontInfo(form->Edit1->font()).pixelSize(), 19);
}

void FormsTest::facesFallBackToInstalledOnes() {
  auto form = openMainWindow();
  const QStringList comic{"Comic Sans MS", "Comic Neue"};
  const QStringList serif{"Times New Roman", "Liberation Serif"};
  QVERIFY2(comic.contains(QFontInfo(form->Label1->font()).family()), qPrintable(QFontInfo(form->Label1->font()).family()));
  QCOMPARE(QFontInfo(form->Label1->font()).pixelSize(), 21);
  QCOMPARE(QFontInfo(form->Label2->font()).pixelSize(), 19);
  QVERIFY(serif.contains(QFontInfo(form->ListBox3->font()).family()));
  QVERIFY(serif.contains(QFontInfo(form->Memo2->font()).family()));
  QCOMPARE(QFontInfo(form->Memo2->font()).pixelSize(), 13);
  QVERIFY(QStringList({"Courier New", "Liberation Mono"}).contains(QFontInfo(form->Memo3->font()).family()));
  // Any text that names a design face gets its stand-in as well.
  installFaceSubstitutes();
  QFont named("Courier New");
  named.setPixelSize(16);
  QVERIFY(QFontInfo(named).fixedPitch());
}

void FormsTest::aFailingCommandIsReportedAndTheProgramGoesOn() {
  QWidget window;
  QLabel written(&window);
  bool after = false;
  ModalAnswerer answerer;
  guarded(&window, [&] {
    written.setText("partial");
    HString("abc").getSubString(2, 9);
    after = true;
  });
  QVERIFY(!after);
  QCOMPARE(written.text(), QString("partial"));
  QCOMPARE(answerer.seen.size(), 1);
  QCOMPARE(answerer.seen[0].className, QString("QMessageBox"));
  QString shownText = answerer.seen[0].texts.join(" ");
  QString what;
  try {
    HString("abc").getSubString(2, 9);
  } catch (const HStringError& error) {
    what = QString::fromUtf8(error.what());
  }
  QVERIFY(!what.isEmpty());
  QVERIFY2(shownText.contains(what), qPrintable(shownText));

  // The next command runs as usual.
  guarded(&window, [&] { after = true; });
  QVERIFY(after);
  QCOMPARE(answerer.seen.size(), 1);
}

QTEST_MAIN(FormsTest)
#include "forms_test.moc"
