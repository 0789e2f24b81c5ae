// Tablomat: the window program.
#include <QApplication>

#include "Forms.h"
#include "Info.h"
#include "Look.h"
#include "Unit1.h"
#include "Warning.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  QApplication::setApplicationName("Tablomat");
  QApplication::setApplicationVersion(TABLOMAT_VERSION);
  installFaceSubstitutes();

  TForm1* form1 = createForm<TForm1>();
  // Kept for the program's lifetime, as the application owns every form;
  // each showing of a dialog makes a fresh one.
  createForm<TForm2>();
  createForm<TForm3>();

  fitOnScreen(form1);
  form1->show();
  int status = application.exec();
  releaseForms();
  return status;
}
