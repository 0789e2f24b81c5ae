// The parts the main window is built from: the dialogs, the grid, the
// pictures, the faces and the failure boundary of the commands.
#include <QClipboard>
#include <QFontInfo>
#include <QFrame>
#include <QHeaderView>
#include <QHelpEvent>
#include <QImageReader>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QScrollBar>
#include <QToolTip>

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

  void everyPictureDecodesAndFitsItsBox_data();
  void everyPictureDecodesAndFitsItsBox();
  void theDialogsShowTheirTextsAndClose();
  void releasingFormsDeletesThemNewestFirst();
  void fixedCellsStayWhileTheRestScrolls();
  void aCutCellShowsItsWholeTextOnHovering();
  void theSelectionCopiesAsTabSeparatedText();
  void panesAreFixedPitchInTheirFaces();
  void aFailingCommandIsReportedAndTheProgramGoesOn();
};

void FormsTest::everyPictureDecodesAndFitsItsBox_data() {
  QTest::addColumn<QString>("name");
  QTest::addColumn<QSize>("size");
  QTest::addColumn<bool>("decoration");  // drawn whole inside its box, on white
  QTest::newRow("banner") << "banner.jpg" << QSize(560, 175) << false;
  QTest::newRow("info banner") << "info_banner.jpg" << QSize(549, 173) << false;
  QTest::newRow("info rules") << "info_rules.jpg" << QSize(433, 129) << false;
  QTest::newRow("warning") << "warning.jpg" << QSize(257, 105) << false;
  QTest::newRow("info states") << "info_states.bmp" << QSize(145, 129) << true;
  QTest::newRow("tree") << "tree.bmp" << QSize(168, 98) << true;
  QTest::newRow("automaton") << "automaton.bmp" << QSize(128, 104) << true;
  QTest::newRow("stack") << "stack.bmp" << QSize(128, 104) << true;
  QTest::newRow("sets") << "sets.bmp" << QSize(96, 56) << true;
  QTest::newRow("cells") << "cells.bmp" << QSize(112, 62) << true;
  QTest::newRow("item") << "item.bmp" << QSize(120, 62) << true;
}

void FormsTest::everyPictureDecodesAndFitsItsBox() {
  QFETCH(QString, name);
  QFETCH(QSize, size);
  QFETCH(bool, decoration);
  QImageReader reader(":/pictures/" + name);
  QCOMPARE(reader.format(), name.endsWith(".jpg") ? QByteArray("jpeg") : QByteArray("bmp"));
  QImage image = reader.read();
  QVERIFY2(!image.isNull(), qPrintable(reader.errorString()));
  // Shown unscaled in boxes of the same size.
  QCOMPARE(image.size(), size);
  // Labels stand on the banners' lower edge: they fade to white there.
  if (!decoration) QVERIFY(image.pixelColor(image.width() / 2, image.height() - 4).lightness() > 235);
  // Nothing drawn is cut by the box: the outermost pixels are background.
  for (int x = 0; decoration && x < image.width(); ++x)
    QVERIFY2(image.pixelColor(x, 0).lightness() > 235 && image.pixelColor(x, image.height() - 1).lightness() > 235,
             qPrintable(QString("column %1").arg(x)));
  for (int y = 0; decoration && y < image.height(); ++y)
    QVERIFY2(image.pixelColor(0, y).lightness() > 235 && image.pixelColor(image.width() - 1, y).lightness() > 235,
             qPrintable(QString("row %1").arg(y)));
}

void FormsTest::theDialogsShowTheirTextsAndClose() {
  TForm2* info = createForm<TForm2>();
  QCOMPARE(info->windowTitle(), QString("Info"));
  QCOMPARE(info->size(), QSize(560, 501) - kFrameAllowance);
  QLabel* lines[] = {info->StaticText1, info->StaticText2, info->StaticText3, info->StaticText4, info->StaticText5};
  for (int i = 0; i < 5; ++i) {
    QVERIFY(lines[i]->font().bold());
    QCOMPARE(lines[i]->mapTo(info, QPoint(0, 0)), QPoint(64, 264 + 24 * i));
    QVERIFY2(lines[i]->geometry().right() < info->Panel1->width() - 2, qPrintable(lines[i]->text()));
  }
  ModalAnswerer answerer;
  QCOMPARE(info->exec(), int(QDialog::Accepted));

  TForm3* warning = createForm<TForm3>();
  QCOMPARE(warning->Label1->text(), QString("Label1"));
  warning->setMessage("This Table Contain 12 Conflict");
  QCOMPARE(warning->Label1->pos(), QPoint(56, 96));
  QVERIFY(warning->rect().contains(warning->Label1->geometry()));
  ModalAnswerer byEnter(Qt::Key_Return);
  QCOMPARE(warning->exec(), int(QDialog::Accepted));
  QCOMPARE(answerer.seen.size() + byEnter.seen.size(), 2);
}

void FormsTest::releasingFormsDeletesThemNewestFirst() {
  QStringList order;
  for (const char* name : {"first", "second", "third"}) {
    TForm3* form = createForm<TForm3>();
    connect(form, &QObject::destroyed, [&order, name] { order.append(name); });
  }
  delete adoptedForms()[1];  // a form may go earlier; it is then skipped
  releaseForms();
  QCOMPARE(order, QStringList({"second", "third", "first"}));
  QVERIFY(adoptedForms().isEmpty());
}

namespace {

// A grid of `cols` x `rows` with row and column labels, shown.
std::unique_ptr<StringGrid> labelledGrid(int cols, int rows) {
  auto grid = std::make_unique<StringGrid>();
  grid->setFont(courierNew(16));
  grid->resize(400, 200);
  grid->setDefaultColWidth(60);
  grid->setColCount(cols);
  grid->setRowCount(rows);
  for (int i = 0; i < rows; ++i) grid->setCells(0, i, QString::number(i));
  for (int j = 0; j < cols; ++j) grid->setCells(j, 0, QString("c%1").arg(j));
  grid->show();
  return grid;
}

}  // namespace

void FormsTest::fixedCellsStayWhileTheRestScrolls() {
  auto grid = labelledGrid(30, 40);
  QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
  QWidget* left = grid->verticalHeader();
  QWidget* top = grid->horizontalHeader();
  const QRect leftBefore = left->geometry(), topBefore = top->geometry();
  grid->scrollTo(grid->model()->index(38, 28));
  QVERIFY(grid->verticalScrollBar()->value() > 0 && grid->horizontalScrollBar()->value() > 0);
  QCOMPARE(left->geometry(), leftBefore);
  QCOMPARE(top->geometry(), topBefore);
  QCOMPARE(left->width(), 60);
  // The fixed column now labels the rows that scrolled into view.
  int shown = grid->verticalHeader()->logicalIndexAt(5);
  QCOMPARE(grid->model()->headerData(shown, Qt::Vertical).toString(), QString::number(shown + 1));
}

void FormsTest::aCutCellShowsItsWholeTextOnHovering() {
  auto grid = labelledGrid(3, 3);
  QVERIFY(QTest::qWaitForWindowExposed(grid.get()));
  grid->setCells(1, 1, "s86|r7|r12");
  grid->setCells(2, 1, "s8");
  QCOMPARE(grid->textElideMode(), Qt::ElideRight);
  auto tipAt = [&](int col, int row) {
    QToolTip::hideText();
    if (!QTest::qWaitFor([] { return !QToolTip::isVisible(); })) return QString("still shown");
    QPoint at = grid->visualRect(grid->model()->index(row - 1, col - 1)).center();
    QHelpEvent event(QEvent::ToolTip, at, grid->viewport()->mapToGlobal(at));
    QApplication::sendEvent(grid->viewport(), &event);
    return QToolTip::isVisible() ? QToolTip::text() : QString();
  };
  QCOMPARE(tipAt(1, 1), QString("s86|r7|r12"));
  QCOMPARE(tipAt(2, 1), QString());
  // Widened by the user, the column holds it whole; a new result resets it.
  grid->setColumnWidth(0, 200);
  QCOMPARE(tipAt(1, 1), QString());
  grid->resetView();
  QCOMPARE(grid->columnWidth(0), 60);
}

void FormsTest::theSelectionCopiesAsTabSeparatedText() {
  auto grid = labelledGrid(4, 3);
  grid->setCells(1, 1, "a\tb");
  grid->setCells(2, 1, "say \"x\"");
  grid->setCells(3, 1, "r2");
  grid->setCells(1, 2, "s3");
  QItemSelectionModel* selection = grid->selectionModel();
  selection->select(QItemSelection(grid->model()->index(0, 0), grid->model()->index(1, 2)), QItemSelectionModel::Select);
  QCOMPARE(grid->selectionText(), QString("\"a\tb\"\t\"say \"\"x\"\"\"\tr2\ns3\t\t\n"));
  grid->setFocus();
  QTest::keyClick(grid.get(), Qt::Key_C, Qt::ControlModifier);
  QCOMPARE(QApplication::clipboard()->text(), grid->selectionText());
}

void FormsTest::panesAreFixedPitchInTheirFaces() {
  auto form = openMainWindow();
  for (QWidget* pane : std::initializer_list<QWidget*>{form->Memo1, form->Memo3, form->Memo4, form->StringGrid1}) {
    QFontInfo info(pane->font());
    QVERIFY2(info.fixedPitch(), qPrintable(pane->objectName() + " " + info.family()));
    QCOMPARE(info.pixelSize(), 16);
  }
  QCOMPARE(QFontInfo(form->Edit1->font()).pixelSize(), 19);
  QVERIFY(QStringList({"Comic Sans MS", "Comic Neue"}).contains(QFontInfo(form->Label1->font()).family()));
  QVERIFY(QStringList({"Times New Roman", "Liberation Serif"}).contains(QFontInfo(form->ListBox3->font()).family()));
  QCOMPARE(QFontInfo(form->Memo2->font()).pixelSize(), 13);
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
  QCOMPARE(answerer.seen.value(0).className, QString("QMessageBox"));
  QVERIFY(answerer.seen.value(0).texts.join(" ").startsWith("The command stopped: "));
  guarded(&window, [&] { after = true; });
  QVERIFY(after);
}

QTEST_MAIN(FormsTest)
#include "forms_test.moc"
