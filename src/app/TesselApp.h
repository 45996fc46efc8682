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
  // source, "-o DIR" with that output root); with "--screenshot DIR [SOURCE]" saves pictures of the dialogs
  // into DIR instead. Returns the exit status.
  int run();

 private:
  QStringList arguments_;  // without --lang
  LanguageArgument language_;
};

// What "tessel" does before it opens a window: "--help" and "--version"
// print and give 0, a missing display is said and gives 1, both without one.
// Gives -1 when the window is to open.
int RunBeforeWindow(int argc, char** argv);

// Saves main.png, setup.png and config.png of the three dialogs into
// `folder`, each framed with its caption, and with a `source` project
// main-after-run.png (the dialog after converting it) and card.png (the card
// dialog after copying that output to a folder). Returns 0 on success.
int saveScreenshots(const QString& folder, const QString& source = QString());

}  // namespace tessel
