#include "app/Run.h"

#include <QApplication>

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  return Run(StartupWindowState(QCoreApplication::arguments()));
}
