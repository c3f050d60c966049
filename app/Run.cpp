#include "app/Run.h"

#include "app/AccessibilityGuard.h"
#include "platform/Workers.h"
#include "ui/CMainDlg.h"

#include <QApplication>

#include <chrono>
#include <cstdlib>

namespace {

// Running transfers end within about 100 ms once shutdown is requested.
constexpr std::chrono::seconds kWorkerGrace{2};

}  // namespace

Qt::WindowStates StartupWindowState(const QStringList& arguments) {
  return arguments.mid(1).contains(QStringLiteral("-iconic")) ? Qt::WindowMinimized
                                                              : Qt::WindowNoState;
}

int Run(Qt::WindowStates show) {
  // The dialog alone ends the program, with its own exit code.
  QGuiApplication::setQuitOnLastWindowClosed(false);
  CAccessibilityGuard accessibility_guard;
  CMainDlg dialog;
  if (!dialog.Create()) return 0;
  dialog.setWindowState(show);
  dialog.show();
  const int exit_code = QApplication::exec();

  // Workers hold plain pointers into the catalogue, which goes with the dialog. A worker that
  // has not ended in time must not find it freed, nor the process's objects being destroyed,
  // so then the process ends here.
  RequestShutdown();
  if (!WaitForWorkers(kWorkerGrace)) std::_Exit(exit_code);
  return exit_code;
}
