#pragma once
// CTesselApp: the desktop application. Sets up the process (program folder,
// icon, fonts) and runs the main dialog modally; the process ends with it.
#include <QApplication>

namespace tessel {

class CTesselApp : public QApplication {
 public:
  CTesselApp(int& argc, char** argv);

  // Runs the main dialog until it closes; with "--screenshot DIR" saves
  // pictures of the three dialogs into DIR instead. Returns the exit status.
  int run();
};

// Saves main.png, setup.png and config.png of the three dialogs into
// `folder`, each framed with its caption. Returns 0 on success.
int saveScreenshots(const QString& folder);

}  // namespace tessel
