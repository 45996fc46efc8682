// tessel: the desktop application.
#include "TesselApp.h"

int main(int argc, char** argv) {
  if (const int status = tessel::RunBeforeWindow(argc, argv); status >= 0) return status;
  tessel::CTesselApp app(argc, argv);
  return app.run();
}
