// Pictures of the windows beside the classic form, for the README and for
// checking the look:
//   tablomat_views_screenshot FOLDER [--tour]
// writes FOLDER/diagram.png, stepper.png, explain.png and practice.png;
// with --tour also the main window with each menu open (menu-file.png, ...),
// the grammar report (report.png) and the hint under the grid (hint.png).
// Run under a display (scripts/view-screenshots.sh starts one with Xvfb).
#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QTableWidget>
#include <QTest>
#include <cstdio>
#include <cstring>

#include "DiagramScene.h"
#include "DiagramWindow.h"
#include "ExplainHooks.h"
#include "ExplainWindow.h"
#include "Forms.h"
#include "GraphView.h"
#include "Look.h"
#include "ParseStepper.h"
#include "PracticeWindow.h"
#include "grammar/examples.h"
#include "test_support.h"

namespace {

template <class Window>
bool settled(Window* window) {
  return QTest::qWaitFor([&] { return !window->busy(); }, 60000);
}

QString folder;

bool save(QWidget* widget, const char* name) {
  QTest::qWait(300);  // the last paint events
  return savePicture(widget, QDir(folder).filePath(name).toLocal8Bit().constData());
}

// What the screen shows of the window and whatever pops up over it.
bool saveScreen(QWidget* window, QWidget* popup, const QString& name) {
  QTest::qWait(300);
  QRect area = window->frameGeometry().united(popup->geometry());
  QPixmap shot = window->screen()->grabWindow(0, area.x(), area.y(), area.width(), area.height());
  QString path = QDir(folder).filePath(name);
  bool ok = shot.save(path, "PNG");
  std::fprintf(stderr, "%s %s\n", ok ? "wrote" : "could not write", qPrintable(path));
  return ok;
}

ExplainWindow* newestExplanation() {
  ExplainWindow* newest = nullptr;
  for (QWidget* form : adoptedForms())
    if (auto* window = qobject_cast<ExplainWindow*>(form)) newest = window;
  return newest;
}

bool explanationSettled(ExplainWindow* window) {
  return window != nullptr && QTest::qWaitFor([&] { return !window->isRunning(); }, 60000);
}

// Types into the practice grid's cell under a column header.
void typeCell(QTableWidget* grid, int row, const QString& column, const QString& text) {
  for (int j = 0; j < grid->columnCount(); ++j)
    if (grid->horizontalHeaderItem(j)->text() == column) grid->item(row, j)->setText(text);
}

bool diagramAndStepper() {
  bool ok = true;
  // The LR(0) automaton of Grammar8 with its closure items: state 3 holds
  // the SLR conflict; a click on it shows its items and its row.
  DiagramWindow* diagram = openDiagramWindow(exampleRuleLines(8), GraphKind::kLR0);
  diagram->resize(1240, 760);
  ok &= settled(diagram);
  diagram->setClosureShown(true);
  ok &= settled(diagram);
  diagram->view()->fit();
  QGraphicsItem* state = diagram->scene()->stateItem(3);
  QTest::mouseClick(diagram->view()->viewport(), Qt::LeftButton, Qt::NoModifier,
                    diagram->view()->mapFromScene(state->sceneBoundingRect().center()));
  ok &= save(diagram, "diagram.png");
  diagram->close();

  // The LALR parse of Grammar6's word, halfway: the forest is joining.
  ParseStepper* stepper = openParseStepper(exampleRuleLines(6), TableKind::kLALR, examples()[5].word);
  stepper->resize(1240, 860);
  ok &= settled(stepper);
  stepper->setPosition(17);
  ok &= save(stepper, "stepper.png");
  stepper->close();
  return ok;
}

// The LALR conflict of Grammar10, which merging two LR(1) states made,
// explained from a double-click on its cell.
bool explanation(TForm1& form) {
  pickExample(form, 9);
  click(form.BitBtn12);  // LALR Table
  StringGrid* grid = form.StringGrid1;
  for (int row = 1; row < grid->rowCount(); ++row)
    for (int col = 1; col < grid->colCount(); ++col)
      if (grid->mark(col, row) == StringGrid::Mark::Conflict) {
        form.explainHooks()->openCell(col, row);
        ExplainWindow* window = newestExplanation();
        if (!explanationSettled(window)) return false;
        window->resize(window->width(), 330);  // the text, without the empty rest
        bool ok = save(window, "explain.png");
        window->close();
        return ok;
      }
  std::fprintf(stderr, "Grammar10's LALR table shows no conflict\n");
  return false;
}

// The SLR table of the parentheses grammar, half filled in with two
// mistakes and one cell left out, checked.
bool practice(TForm1& form) {
  typeGrammar(form, {"I->S", "S->(S)|x"});
  form.openPractice(static_cast<int>(PracticeWindow::Question::kSLR));
  auto* window = form.findChild<PracticeWindow*>();
  if (window == nullptr) return false;
  window->resize(1100, 720);
  QTableWidget* grid = window->grid;
  typeCell(grid, 0, "(", "s2");
  typeCell(grid, 0, "x", "s4");  // a mistake: s3
  typeCell(grid, 0, "S", "1");
  typeCell(grid, 1, "$", "a");
  typeCell(grid, 2, "(", "s2");
  typeCell(grid, 2, "x", "s3");
  typeCell(grid, 2, "S", "4");
  typeCell(grid, 3, ")", "r2");
  typeCell(grid, 3, "$", "r1");  // a mistake: r2
  typeCell(grid, 4, ")", "s5");
  typeCell(grid, 5, ")", "r1");
  QTest::mouseClick(window->checkButton, Qt::LeftButton);
  bool ok = save(window, "practice.png");
  window->close();
  return ok;
}

bool tour(TForm1& form) {
  bool ok = true;
  pickExample(form, 1);
  click(form.BitBtn3);   // LR0 Items
  click(form.BitBtn10);  // LR Evaluation
  for (QAction* entry : form.menuBar()->actions()) {
    if (entry->menu() == nullptr || !entry->isVisible()) continue;
    form.menuBar()->setActiveAction(entry);
    if (!QTest::qWaitFor([&] { return entry->menu()->isVisible(); }, 2000)) return false;
    ok &= saveScreen(&form, entry->menu(), QStringLiteral("menu-%1.png").arg(entry->text().remove('&').toLower()));
    entry->menu()->close();
  }
  // The hint under the grid: a grammar its first rule does not augment.
  typeGrammar(form, {"E->E+T|T", "T->i"});
  click(form.BitBtn5);
  ok &= save(&form, "hint.png");

  pickExample(form, 1);
  form.Edit1->setText("i+x");
  form.showGrammarReport();
  ExplainWindow* report = newestExplanation();
  ok &= explanationSettled(report);
  ok &= save(report, "report.png");
  report->close();
  return ok;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  bool withTour = argc == 3 && std::strcmp(argv[2], "--tour") == 0;
  if (argc != 2 && !withTour) {
    std::fprintf(stderr, "usage: %s FOLDER [--tour]\n", argv[0]);
    return 2;
  }
  folder = QString::fromLocal8Bit(argv[1]);
  installFaceSubstitutes();
  bool ok = diagramAndStepper();
  {
    std::unique_ptr<TForm1> form = openMainWindow();
    ok &= explanation(*form);
    ok &= practice(*form);
    if (withTour) ok &= tour(*form);
    ModalAnswerer discard(Qt::Key_unknown, [](QWidget* dialog) {
      if (auto* box = qobject_cast<QMessageBox*>(dialog)) box->button(QMessageBox::Discard)->click();
    });
    form->close();
  }
  releaseForms();
  return ok ? 0 : 1;
}
