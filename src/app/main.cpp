// tessel: the desktop application.
#include "TesselApp.h"

int main(int argc, char** argv) {
  tessel::CTesselApp app(argc, argv);
  return app.run();
}
