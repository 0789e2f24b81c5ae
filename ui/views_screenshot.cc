// Pictures of the diagram window and the parse stepper for the README:
//   tablomat_views_screenshot DIAGRAM.png STEPPER.png
// Run under a display (scripts/view-screenshots.sh starts one with Xvfb).
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <cstdio>

#include "DiagramScene.h"
#include "DiagramWindow.h"
#include "GraphView.h"
#include "Look.h"
#include "ParseStepper.h"
#include "grammar/examples.h"
#include "test_support.h"

namespace {

template <class Window>
bool settled(Window* window) {
  return QTest::qWaitFor([&] { return !window->busy(); }, 60000);
}

bool save(QWidget* widget, const char* path) {
  QTest::qWait(300);  // the last paint events
  return savePicture(widget, path);
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s DIAGRAM.png STEPPER.png\n", argv[0]);
    return 2;
  }
  installFaceSubstitutes();
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
  ok &= save(diagram, argv[1]);
  diagram->close();

  // The LALR parse of Grammar6's word, halfway: the forest is joining.
  const Example& example = examples()[5];
  ParseStepper* stepper = openParseStepper(exampleRuleLines(6), TableKind::kLALR, example.word);
  stepper->resize(1240, 860);
  ok &= settled(stepper);
  stepper->setPosition(17);
  ok &= save(stepper, argv[2]);
  stepper->close();
  return ok ? 0 : 1;
}
