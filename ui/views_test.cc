// The diagram window and the parse stepper, driven as a user drives them:
// clicks on states and arcs, the zoom keys, the closure switch, a large
// automaton, Cancel, the exports, and stepping forward and back.
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGraphicsItem>
#include <QGraphicsSimpleTextItem>
#include <QImage>
#include <QListWidget>
#include <QMimeData>
#include <QPointer>
#include <QScreen>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <fstream>
#include <sstream>

#include "CellsView.h"
#include "DiagramScene.h"
#include "DiagramWindow.h"
#include "Forms.h"
#include "GrammarSession.h"
#include "GraphView.h"
#include "ParseStepper.h"
#include "SceneExport.h"
#include "TreeScene.h"
#include "grammar/examples.h"
#include "grammar/reading.h"
#include "layout/graphviz.h"
#include "core/work.h"
#include "test_support.h"

namespace {

// The rule lines of a grammar file of the benchmark, merged as the model holds them.
std::vector<std::string> benchRules(const char* name) {
  std::ifstream in(std::string(TABLOMAT_BENCH_GRAMMARS) + "/" + name);
  std::stringstream text;
  text << in.rdbuf();
  Row lines = splitRuleLines(editorText(text.str()));
  mergeRules(lines);
  std::vector<std::string> rules;
  for (const HString& line : lines) rules.emplace_back(line.view());
  return rules;
}

template <class Window>
bool settle(Window* window, int milliseconds = 60000) {
  return QTest::qWaitFor([&] { return !window->busy(); }, milliseconds);
}

// Clicks the view at the centre of the item, as a user would.
void clickOn(GraphView* view, const QGraphicsItem* item) {
  view->reveal(item);
  QPoint at = view->mapFromScene(item->sceneBoundingRect().center());
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

// A point on the drawn arc itself: its label's place is not on the line.
void clickOnEdge(GraphView* view, const QGraphicsItem* arrow) {
  view->reveal(arrow);
  QPainterPath outline = arrow->shape();
  QPointF inside = outline.boundingRect().center();
  for (double t = 0.3; t <= 0.7 && !outline.contains(inside); t += 0.05)
    inside = outline.pointAtPercent(t);
  QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, view->mapFromScene(arrow->mapToScene(inside)));
}

}  // namespace

class ViewsTest : public QObject {
  Q_OBJECT

 private slots:
  void cleanup() { releaseForms(); }

  void diagramDrawsEveryStateAndArc();
  void clicksShowTheListingTheRowAndTheCell();
  void theAcceptingArcAndTheStubsAnswerClicks();
  void closureItemsOnDemand();
  void zoomWithWheelAndKeysAndFit();
  void conflictStatesInTheConflictColour();
  void largeAutomatonShowsANeighbourhoodAndSaysWhy();
  void cancelStopsTheBuild();
  void exportsSvgPngAndDot();
  void stepperMovesTraceCellStateAndTreeTogether();
  void stepperGrowsTheLL1TreeFromTheRoot();
  void stepperRefusesATableWithConflicts();
  void stepperFitsTheScreenAndShowsItsCellsWhole();
  void stepperExplainsARejection();
  void stepperNamesTheTokensOfATokenGrammar();
  void playRunsToTheEnd();
  void largeParseShowsTextAndTheNeighbourhoodOfTheState();
  void mainWindowOpensTheViews();
  void theDiagramOfATokenGrammarNamesItsTokens();
};

void ViewsTest::diagramDrawsEveryStateAndArc() {
  DiagramWindow* window = openDiagramWindow(exampleRuleLines(2), GraphKind::kLR0);
  QVERIFY(settle(window));
  const AutomatonGraph* graph = window->graph();
  QVERIFY(graph != nullptr);
  QCOMPARE(window->scene()->drawnStates().size(), graph->states.size());
  for (size_t k = 0; k < graph->edges.size(); ++k) QVERIFY(window->scene()->edgeItem(static_cast<int>(k)) != nullptr);
  QVERIFY(window->notice().isEmpty());
  QCOMPARE(window->status(), QStringLiteral("16 states, 26 arcs."));
  window->close();
}

void ViewsTest::clicksShowTheListingTheRowAndTheCell() {
  DiagramWindow* window = openDiagramWindow({"I->S", "S->(S)|x"}, GraphKind::kLR0);
  QVERIFY(settle(window));
  clickOn(window->view(), window->scene()->stateItem(4));
  QStringList lines = window->details().split('\n');
  QCOMPARE(lines.mid(0, 2), (QStringList{"State4 - Goto(State2,S):", "   S->(S°)"}));
  QVERIFY2(window->details().contains("SLR table, row 4:\n   (  )   x  $  I  S\n4     s5"), qPrintable(window->details()));
  QCOMPARE(window->scene()->selection(), (DiagramKey{DiagramKey::kState, 4}));

  clickOnEdge(window->view(), window->scene()->edgeItem(6));  // 4 on ')' to 5
  QVERIFY2(window->details().startsWith("State4 on ) shifts to State5.\n\nSLR table, row 4, column ): s5"),
           qPrintable(window->details()));
  QCOMPARE(window->scene()->selection(), (DiagramKey{DiagramKey::kEdge, 6}));
  window->close();
}

void ViewsTest::theAcceptingArcAndTheStubsAnswerClicks() {
  DiagramWindow* window = openDiagramWindow({"I->S", "S->(S)|x"}, GraphKind::kLR0);
  QVERIFY(settle(window));
  QGraphicsItem* accept = nullptr;
  for (QGraphicsItem* item : window->scene()->items())
    if (DiagramScene::keyOf(item) == DiagramKey{DiagramKey::kAccept, 1}) accept = item;
  QVERIFY(accept != nullptr);
  clickOnEdge(window->view(), accept);
  QCOMPARE(window->details(), QStringLiteral("State1 accepts when the input is at its end.\n\nSLR table, row 1, column $: a"));

  // A neighbourhood: a click on the stub of state 2 centres the drawing on it.
  window->showNeighbourhood(4, 1);  // 2, 4 and 5; 2 has arcs from 0 and to 3
  QVERIFY(settle(window));
  QGraphicsItem* stub = nullptr;
  for (QGraphicsItem* item : window->scene()->items())
    if (DiagramScene::keyOf(item) == DiagramKey{DiagramKey::kStub, 2}) stub = item;
  QVERIFY(stub != nullptr);
  clickOnEdge(window->view(), stub);
  QVERIFY(settle(window));
  QCOMPARE(window->scene()->drawnStates(), (std::vector<int>{0, 2, 3, 4}));
  QCOMPARE(window->status(), QStringLiteral("4 of 6 states: the neighbourhood of state 2."));
  // So does the "N more arcs" beside the stub.
  window->showNeighbourhood(4, 1);
  QVERIFY(settle(window));
  QGraphicsSimpleTextItem* more = nullptr;
  for (QGraphicsItem* item : window->scene()->items())
    if (auto* label = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item);
        label != nullptr && DiagramScene::keyOf(item) == DiagramKey{DiagramKey::kStub, 2})
      more = label;
  QVERIFY(more != nullptr);
  QCOMPARE(more->text(), QStringLiteral("2 more arcs"));
  clickOn(window->view(), more);
  QVERIFY(settle(window));
  QCOMPARE(window->scene()->drawnStates(), (std::vector<int>{0, 2, 3, 4}));
  // Esc leaves the window.
  QPointer<DiagramWindow> open(window);
  QTest::keyClick(window->view(), Qt::Key_Escape);
  QTRY_VERIFY(open.isNull());
}

void ViewsTest::closureItemsOnDemand() {
  DiagramWindow* window = openDiagramWindow({"I->S", "S->(S)|x"}, GraphKind::kLR0);
  QVERIFY(settle(window));
  double kernelOnly = window->scene()->stateItem(0)->boundingRect().height();
  window->setClosureShown(true);
  QVERIFY(settle(window));
  // Two closure items and the rule above them.
  BoxMetrics m = DiagramScene::metrics();
  QVERIFY(qAbs(window->scene()->stateItem(0)->boundingRect().height() - kernelOnly - 2.5 * m.lineHeight) < 1.5);
  QVERIFY(window->dot().find("S-&gt;°x") != std::string::npos);
  window->close();
}

void ViewsTest::zoomWithWheelAndKeysAndFit() {
  DiagramWindow* window = openDiagramWindow(exampleRuleLines(2), GraphKind::kLR1);
  QVERIFY(settle(window));
  GraphView* view = window->view();
  double fitted = view->zoom();
  QTest::keyClick(view, Qt::Key_Plus);
  QVERIFY(view->zoom() > fitted * 1.2);
  QWheelEvent wheel(QPointF(50, 50), view->mapToGlobal(QPointF(50, 50)), QPoint(), QPoint(0, -240), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(view->viewport(), &wheel);
  QVERIFY(view->zoom() < fitted);
  QTest::keyClick(view, Qt::Key_0);
  QVERIFY(qAbs(view->zoom() - fitted) < 1e-6);
  window->close();
}

void ViewsTest::conflictStatesInTheConflictColour() {
  DiagramWindow* window = openDiagramWindow(exampleRuleLines(8), GraphKind::kLR0);
  QVERIFY(settle(window));
  QImage image = sceneImage(*window->scene());
  // The middle of state 3's box (its row holds s7|r6) against state 2's.
  auto fillOf = [&](int state) {
    QRectF box = window->scene()->stateItem(state)->sceneBoundingRect();
    QRectF area = window->scene()->itemsBoundingRect().adjusted(-10, -10, 10, 10);
    double scale = image.width() / area.width();
    QPointF corner = (box.topLeft() - area.topLeft() + QPointF(5, 5)) * scale;  // inside the frame, beside the text
    return image.pixelColor(corner.toPoint());
  };
  QCOMPARE(fillOf(3), DiagramScene::conflictColour());
  QCOMPARE(fillOf(2), QColor(Qt::white));
  window->close();
}

void ViewsTest::largeAutomatonShowsANeighbourhoodAndSaysWhy() {
  DiagramWindow* window = openDiagramWindow(benchRules("random.txt"), GraphKind::kLR1);
  QVERIFY(window->busy());
  QVERIFY(settle(window));
  QVERIFY(window->graph()->states.size() > 1000);
  QVERIFY2(window->notice().startsWith(QStringLiteral("The LR(1) automaton has %1 states").arg(window->graph()->states.size())),
           qPrintable(window->notice()));
  std::vector<int> drawn = window->scene()->drawnStates();
  QVERIFY(!drawn.empty() && drawn.size() <= 80);
  // At the depth the window and the README name, 2.
  QVERIFY2(window->status().contains("the neighbourhood of state 0"), qPrintable(window->status()));
  QCOMPARE(window->findChild<QSpinBox*>("Depth")->value(), 2);
  QVERIFY(window->scene()->stateItem(0) != nullptr);
  window->showNeighbourhood(1000, 2);
  QVERIFY(settle(window));
  QVERIFY(window->scene()->stateItem(1000) != nullptr);
  QVERIFY2(window->status().contains("the neighbourhood of state 1000"), qPrintable(window->status()));
  window->close();
}

void ViewsTest::cancelStopsTheBuild() {
  DiagramWindow* window = openDiagramWindow(benchRules("random.txt"), GraphKind::kLR1);
  QVERIFY(window->busy());
  window->cancel();
  QVERIFY(!window->busy());
  QCOMPARE(window->status(), QStringLiteral("Cancelled: the automaton was not built."));
  QVERIFY(window->graph() == nullptr);
  window->close();  // waits for the thread, which the flag stops within milliseconds
}

void ViewsTest::exportsSvgPngAndDot() {
  DiagramWindow* window = openDiagramWindow(exampleRuleLines(9), GraphKind::kLALR);
  QVERIFY(settle(window));
  QByteArray text = svgBytes(*window->scene(), "LALR automaton");
  QVERIFY(text.contains("<svg") && text.contains("State2"));
  QImage image = QImage::fromData(pngBytes(*window->scene()), "PNG");
  QVERIFY(image.width() > 100 && image.height() > 100);
  QCOMPARE(QString::fromStdString(dotProblem(window->dot())), QString());
  std::string tikz = window->tikz();
  QVERIFY(tikz.find("\\begin{tikzpicture}") != std::string::npos);
  QVERIFY(tikz.find("(s2) at (") != std::string::npos);
  window->close();
}

void ViewsTest::stepperMovesTraceCellStateAndTreeTogether() {
  // The grammar of the tests of the LR tables: "(x)" takes six steps.
  ParseStepper* stepper = openParseStepper({"I->S", "S->(S)|x"}, TableKind::kSLR, "(x)");
  QVERIFY(settle(stepper));
  QCOMPARE(stepper->steps(), 6);
  QCOMPARE(stepper->position(), 0);
  QCOMPARE(stepper->treeScene()->shownNodes(), 0);
  QCOMPARE(stepper->diagramScene()->markedState(), 0);

  for (int k = 0; k < 3; ++k) stepper->next();  // Shift, Shift, Reduce S->x
  QCOMPARE(stepper->traceView()->colour(3, 1), ParseStepper::rowColour());
  QCOMPARE(stepper->traceView()->colour(2, 1), QColor());
  QCOMPARE(stepper->tableView()->colour(4, 2), ParseStepper::actionColour());  // state 3 under ')': r2
  QCOMPARE(stepper->tableView()->text(4, 2), QStringLiteral("r2"));
  QCOMPARE(stepper->tableView()->colour(3, 6), ParseStepper::gotoColour());  // state 2 under S: 4
  QCOMPARE(stepper->diagramScene()->markedState(), 3);
  QCOMPARE(stepper->treeScene()->shownNodes(), 3);  // (, x and the new S above x
  QVERIFY2(stepper->explanation().startsWith("Step 3: state 3 reads ')': the cell says r2"), qPrintable(stepper->explanation()));

  stepper->last();
  QCOMPARE(stepper->position(), 6);
  QCOMPARE(stepper->treeScene()->shownNodes(), 6);  // I, S, (, S, x, )
  stepper->back();
  QCOMPARE(stepper->treeScene()->shownNodes(), 5);
  QCOMPARE(stepper->diagramScene()->markedState(), 5);
  stepper->first();
  QCOMPARE(stepper->tableView()->colour(4, 2), QColor());
  stepper->close();
}

void ViewsTest::stepperGrowsTheLL1TreeFromTheRoot() {
  ParseStepper* stepper = openParseStepper(exampleRuleLines(2), TableKind::kLL1, "i");
  QVERIFY(settle(stepper));
  QCOMPARE(stepper->steps(), 8);
  QCOMPARE(stepper->treeScene()->shownNodes(), 1);  // the start symbol
  stepper->next();                                  // I->E
  QCOMPARE(stepper->treeScene()->shownNodes(), 2);
  stepper->next();  // E->TG
  QCOMPARE(stepper->treeScene()->shownNodes(), 4);
  QVERIFY2(stepper->explanation() == "Step 2: E on top, 'i' next: the cell says E->TG, so E is replaced by its body.",
           qPrintable(stepper->explanation()));
  QCOMPARE(stepper->tableView()->text(2, 5), QStringLiteral("E->TG"));  // row E, column i
  QCOMPARE(stepper->tableView()->colour(2, 5), ParseStepper::actionColour());
  stepper->close();
}

void ViewsTest::stepperFitsTheScreenAndShowsItsCellsWhole() {
  // A long word neither widens the window nor hides its sentence.
  ParseStepper* stepper = openParseStepper({"I->S", "S->aS|b"}, TableKind::kLL1, std::string(3000, 'a') + "b");
  QVERIFY(settle(stepper));
  stepper->setPosition(1500);
  QApplication::processEvents();
  // The window takes what the screen has, down to a size that 1366 x 768 (less a panel and a title bar) holds.
  const QSize least = stepper->minimumSizeHint();
  QVERIFY2(least.width() <= 1300 && least.height() <= 660, qPrintable(QStringLiteral("%1 x %2").arg(least.width()).arg(least.height())));
  const QRect room = stepper->screen()->availableGeometry();
  QVERIFY2(stepper->width() <= qMax(room.width(), least.width()) && stepper->height() <= qMax(room.height(), least.height()),
           qPrintable(QStringLiteral("%1 x %2").arg(stepper->width()).arg(stepper->height())));
  stepper->close();

  // The LL(1) table shows every production whole.
  stepper = openParseStepper(exampleRuleLines(2), TableKind::kLL1, "i*i");
  QVERIFY(settle(stepper));
  CellsView* table = stepper->tableView();
  for (int column = 1; column < table->model()->columnCount(); ++column)
    for (int row = 1; row <= table->model()->rowCount(); ++row) {
      QString text = table->text(row, column);
      QVERIFY2(table->fontMetrics().horizontalAdvance(text) < table->columnWidth(column - 1), qPrintable(text));
    }
  // The tree is copied as a picture and as text.
  stepper->last();
  stepper->copyTree();
  const QMimeData* copied = QApplication::clipboard()->mimeData();
  QVERIFY(copied->hasImage());
  QStringList lines = copied->text().split('\n');
  QCOMPARE(lines.value(0), QStringLiteral("I"));
  QCOMPARE(lines.value(1), QStringLiteral("  E"));
  stepper->close();
}

void ViewsTest::stepperRefusesATableWithConflicts() {
  ParseStepper* stepper = openParseStepper(exampleRuleLines(8), TableKind::kSLR, "i=i");
  QVERIFY(settle(stepper));
  QCOMPARE(stepper->steps(), 0);
  QVERIFY(stepper->explanation().startsWith("This Table Contain 1 Conflict"));
  QCOMPARE(stepper->tableView()->colour(4, 2), DiagramScene::conflictColour());  // state 3 under '='
  stepper->next();
  QCOMPARE(stepper->position(), 0);
  stepper->close();
}

void ViewsTest::stepperExplainsARejection() {
  // LL(1) on "(x": after x the stack shows ')' against the end of the input.
  ParseStepper* stepper = openParseStepper({"I->S", "S->(S)|x"}, TableKind::kLL1, "(x");
  QVERIFY(settle(stepper));
  stepper->last();
  QCOMPARE(stepper->explanation(),
           QStringLiteral("Step %1: ')' on top does not match '$': the word is rejected.").arg(stepper->steps()));
  stepper->back();
  QCOMPARE(stepper->explanation(), QStringLiteral("Step %1: 'x' on top matches the next input symbol.").arg(stepper->steps() - 1));
  stepper->close();
}

void ViewsTest::stepperNamesTheTokensOfATokenGrammar() {
  GrammarSession session;
  session.read("#notation: tokens\nE -> E + T | T\nT -> T * F | F\nF -> ( E ) | id | num\n");
  // With the added start rule E' -> E, F -> id is production 6.
  ParseStepper* stepper = openParseStepper(session.model().typed, TableKind::kLR1, "id + num * ( id )");
  QVERIFY(settle(stepper));
  QCOMPARE(stepper->steps(), 19);
  stepper->next();
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 1: state 0 reads 'id': the cell says s5, so 'id' is shifted and state 5 pushed."));
  QCOMPARE(stepper->tableView()->text(1, 5), QStringLiteral("s5"));  // state 0 under id
  QCOMPARE(stepper->tableView()->colour(1, 5), ParseStepper::actionColour());
  QCOMPARE(stepper->treeScene()->shownNodes(), 1);
  stepper->next();
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 2: state 5 reads '+': the cell says r6, so the body of F -> id is "
                                                  "popped and the goto cell of F gives state 3."));
  QCOMPARE(stepper->tableView()->text(1, 11), QStringLiteral("3"));  // state 0 under F
  QCOMPARE(stepper->tableView()->colour(1, 11), ParseStepper::gotoColour());
  stepper->setPosition(10);  // ( is shifted
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 10: state 8 reads '(': the cell says s4, so '(' is shifted and state 4 pushed."));
  stepper->last();
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 19: state 1 reads '$': the cell says a: the word is accepted."));
  QCOMPARE(stepper->treeScene()->shownNodes(), 19);  // E' over the 18 nodes of E
  stepper->copyTree();
  QCOMPARE(QApplication::clipboard()->mimeData()->text().split('\n').mid(0, 3), QStringList({"E'", "  E", "    E"}));
  stepper->close();

  // LL(1): the empty production is named as the token notation writes it.
  session.read("#notation: tokens\nE -> T E'\nE' -> + T E' | \xCE\xB5\nT -> id | num\n");
  stepper = openParseStepper(session.model().typed, TableKind::kLL1, "id + num");
  QVERIFY(settle(stepper));
  stepper->setPosition(2);
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 2: T on top, 'id' next: the cell says T -> id, so T is replaced by its body."));
  stepper->next();
  QCOMPARE(stepper->explanation(), QStringLiteral("Step 3: 'id' on top matches the next input symbol."));
  stepper->last();
  stepper->back();
  QCOMPARE(stepper->explanation(), QString::fromUtf8("Step %1: E' on top, '$' next: the cell says E' -> \u03b5, so E' is "
                                                     "replaced by its body.").arg(stepper->steps() - 1));
  stepper->close();
}

void ViewsTest::playRunsToTheEnd() {
  ParseStepper* stepper = openParseStepper(exampleRuleLines(9), TableKind::kLR1, "cdd");
  QVERIFY(settle(stepper));
  stepper->setSpeed(50);
  stepper->play(true);
  QVERIFY(stepper->playing());
  QTRY_COMPARE_WITH_TIMEOUT(stepper->position(), stepper->steps(), 10000);
  QTRY_VERIFY(!stepper->playing());
  stepper->close();
}

void ViewsTest::largeParseShowsTextAndTheNeighbourhoodOfTheState() {
  std::ifstream in(std::string(TABLOMAT_BENCH_GRAMMARS) + "/statements.word");
  std::string word((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  word.erase(word.find_last_not_of("\r\n") + 1);
  ParseStepper* stepper = openParseStepper(benchRules("statements.txt"), TableKind::kLALR, word);
  QVERIFY(settle(stepper));
  QVERIFY(stepper->steps() > 10000);
  QVERIFY2(stepper->status().contains("shown as indented text"), qPrintable(stepper->status()));
  stepper->setPosition(5000);
  QVERIFY(!stepper->treeText().isEmpty());
  QVERIFY(settle(stepper));  // the neighbourhood of the current state
  int state = stepper->diagramScene()->markedState();
  QVERIFY(state >= 0);
  QVERIFY(stepper->diagramScene()->stateItem(state) != nullptr);
  QVERIFY(stepper->diagramScene()->drawnStates().size() <= 30);
  stepper->close();
}

void ViewsTest::mainWindowOpensTheViews() {
  auto form = openMainWindow();
  pickExample(*form, 8);  // Grammar9
  QTest::keyClick(form.get(), Qt::Key_F9, Qt::ControlModifier);  // the LALR automaton
  QTest::keyClick(form.get(), Qt::Key_F11, Qt::ControlModifier | Qt::ShiftModifier);  // the LALR parse
  auto* diagram = form->findChild<DiagramWindow*>();
  auto* stepper = form->findChild<ParseStepper*>();
  QVERIFY(diagram != nullptr && stepper != nullptr);
  QVERIFY(settle(diagram) && settle(stepper));
  QCOMPARE(diagram->graph()->states.size(), size_t{8});
  QCOMPARE(stepper->windowTitle(), QStringLiteral("LALR parse of 'cdd' - Tablomat"));
  // An unsound grammar opens nothing: the error list shows instead.
  typeGrammar(*form, {"I->A", "A->xB"});
  form->openDiagram(GraphKind::kLR0);
  QCOMPARE(form->findChildren<DiagramWindow*>().size(), 1);
  QVERIFY(!form->ListBox3->isHidden());
}

void ViewsTest::theDiagramOfATokenGrammarNamesItsTokens() {
  auto form = openMainWindow();
  typeGrammar(*form, {"#notation: tokens", "E -> E + T | T", "T -> T * F | F", "F -> ( E ) | id | num"});
  form->openDiagram(GraphKind::kLALR);
  auto* diagram = form->findChild<DiagramWindow*>();
  QVERIFY(diagram != nullptr);
  QVERIFY(settle(diagram));
  const AutomatonGraph* graph = diagram->graph();
  QVERIFY(graph != nullptr);
  QCOMPARE(graph->states.size(), size_t{13});
  QCOMPARE(QString::fromStdString(graph->states[0].kernel[0]), QStringLiteral("E' -> ° E, $"));

  // The arc on num is labelled with the whole token, and a click names it and its cell.
  Symbol num = graph->grammar.symbolNamed("num");
  int arc = -1;
  for (size_t k = 0; k < graph->edges.size() && arc < 0; ++k)
    if (graph->edges[k].from == 0 && graph->edges[k].symbol == num) arc = static_cast<int>(k);
  QVERIFY(arc >= 0);
  QGraphicsItem* arrow = diagram->scene()->edgeItem(arc);
  QVERIFY(arrow != nullptr);
  auto* label = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(arrow->childItems().value(0));
  QVERIFY(label != nullptr);
  QCOMPARE(label->text(), QStringLiteral("num"));
  clickOnEdge(diagram->view(), arrow);
  int to = graph->edges[static_cast<size_t>(arc)].to;
  QVERIFY2(diagram->details().startsWith(
               QStringLiteral("State0 on num shifts to State%1.\n\nLALR table, row 0, column num: s%1").arg(to)),
           qPrintable(diagram->details()));

  // The state whose kernel holds E' -> E ° shows its block of the listing and accepts.
  clickOn(diagram->view(), diagram->scene()->stateItem(1));
  QVERIFY2(diagram->details().contains("  E' -> E °, $\n  E -> E ° + T, $ +"), qPrintable(diagram->details()));
  QVERIFY(graph->states[1].accepting);
}

QTEST_MAIN(ViewsTest)
#include "views_test.moc"
