#pragma once
// CTesselApp: the desktop application. Sets up the process (program folder,
// icon, fonts) and runs the main dialog modally; the process ends with it.
#include <QApplication>

#include "util/Language.h"

namespace tessel {

class CTesselApp : public QApplication {
  Q_OBJECT

 public:
  CTesselApp(int& argc, char** argv);

  // Speaks the system's language, or the one "--lang zh|en" names.
  // Runs the main dialog until it closes ("tessel FOLDER" starts with that
  // source, "-o DIR" with that output root). Returns the exit status.
  int run();

 private:
  QStringList arguments_;  // without --lang
  LanguageArgument language_;
};

// What "tessel" does before it opens a window: "--help" and "--version"
// print and give 0, a missing display is said and gives 1, both without one.
// Gives -1 when the window is to open.
int RunBeforeWindow(int argc, char** argv);

}  // namespace tessel
