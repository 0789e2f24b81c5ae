// Tablomat: the window program.  `tablomat [FILE...]` opens the first
// grammar file named, as a desktop starts a program on a file.
#include <QApplication>
#include <QCommandLineParser>

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
  QCommandLineParser arguments;
  arguments.setApplicationDescription(QStringLiteral("Tablomat: how context-free grammars are parsed."));
  arguments.addHelpOption();
  arguments.addVersionOption();
  arguments.addPositionalArgument(QStringLiteral("file"),
                                  QStringLiteral("A grammar file to open (one rule a line, optionally #word:)."),
                                  QStringLiteral("[file]"));
  arguments.process(application);

  TForm1* form1 = createForm<TForm1>();
  // Kept for the program's lifetime, as the application owns every form;
  // each showing of a dialog makes a fresh one.
  createForm<TForm2>();
  createForm<TForm3>();

  fitOnScreen(form1);
  form1->show();
  form1->openFromCommandLine(arguments.positionalArguments());
  int status = application.exec();
  releaseForms();
  return status;
}
