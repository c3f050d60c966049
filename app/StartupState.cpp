#include "app/StartupState.h"

Qt::WindowStates StartupWindowState(const QStringList& arguments) {
  return arguments.mid(1).contains(QStringLiteral("-iconic")) ? Qt::WindowMinimized
                                                              : Qt::WindowNoState;
}
