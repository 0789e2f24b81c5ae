// Pictures of the windows as a user sees them after a few commands:
//   tablomat_screenshot [--maximized | --fit] WINDOW.png [INFO.png WARNING.png]
// --maximized fills the screen, --fit places the window as the program does
// on a screen smaller than the window.  Run under a display
// (scripts/screenshot.sh starts one with Xvfb).
#include <QApplication>
#include <QPixmap>
#include <QScreen>
#include <cstdio>
#include <cstring>

#include "Forms.h"
#include "Look.h"
#include "test_support.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const char* size = argc > 1 && std::strncmp(argv[1], "--", 2) == 0 ? argv[1] : nullptr;
  if (size != nullptr) {
    --argc;
    ++argv;
  }
  if ((argc != 2 && argc != 4) || (size != nullptr && std::strcmp(size, "--maximized") != 0 &&
                                   std::strcmp(size, "--fit") != 0)) {
    std::fprintf(stderr, "usage: %s [--maximized | --fit] WINDOW.png [INFO.png WARNING.png]\n", argv[0]);
    return 2;
  }
  installFaceSubstitutes();
  bool ok = true;
  std::unique_ptr<TForm1> form;
  {
    ModalAnswerer splash(Qt::Key_unknown, [&](QWidget* dialog) {
      if (argc == 4) ok &= savePicture(dialog, argv[2]);
    });
    form = std::make_unique<TForm1>();
  }
  if (size != nullptr && std::strcmp(size, "--maximized") == 0)
    form->setGeometry(form->screen()->availableGeometry());
  if (size != nullptr && std::strcmp(size, "--fit") == 0) fitOnScreen(form.get());
  form->show();
  if (!QTest::qWaitForWindowExposed(form.get())) {
    std::fprintf(stderr, "the window did not appear on the display\n");
    return 1;
  }

  click(form->BitBtn3);   // LR0 Items
  click(form->BitBtn10);  // LR Evaluation
  QTest::qWait(200);
  ok &= savePicture(form.get(), argv[1]);

  if (argc == 4) {
    ModalAnswerer warning(Qt::Key_unknown, [&](QWidget* dialog) {
      QTest::qWait(100);
      ok &= savePicture(dialog, argv[3]);
    });
    pickExample(*form, 7);
    click(form->BitBtn6);  // SLR Evaluation of a table with a conflict
  }
  form.reset();
  releaseForms();
  return ok ? 0 : 1;
}
