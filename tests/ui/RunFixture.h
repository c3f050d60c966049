#pragma once

// The program's own loop in this process, for tests that drive the dialog Run builds.

#include "app/Run.h"
#include "ui/CMainDlg.h"

#include <QApplication>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace pagetap::test {

// The dialog Run built; null before it is built and once it is gone.
inline CMainDlg* FindDialog() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (auto* dialog = qobject_cast<CMainDlg*>(window)) return dialog;
  }
  return nullptr;
}

// Runs the program's loop; `inside` runs once the loop is up, with the shown dialog.
inline int RunWith(Qt::WindowStates show, std::function<void(CMainDlg&)> inside) {
  QTimer::singleShot(0, [inside = std::move(inside)] {
    CMainDlg* dialog = FindDialog();
    ASSERT_NE(dialog, nullptr);
    inside(*dialog);
  });
  return Run(show);
}

}  // namespace pagetap::test
