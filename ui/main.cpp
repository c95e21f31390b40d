// The desktop viewer.
#include "ui/tessaly_app.h"

int main(int argc, char** argv) {
  ui::CTessalyApp app(argc, argv);
  return app.InitInstance();
}
