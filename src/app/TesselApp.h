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
  // source); with "--screenshot DIR [SOURCE]" saves pictures of the dialogs
  // into DIR instead. Returns the exit status.
  int run();

 private:
  QStringList arguments_;  // without --lang
  LanguageArgument language_;
};

// Saves main.png, setup.png and config.png of the three dialogs into
// `folder`, each framed with its caption, and with a `source` project
// main-after-run.png: the dialog after converting it. Returns 0 on success.
int saveScreenshots(const QString& folder, const QString& source = QString());

}  // namespace tessel
