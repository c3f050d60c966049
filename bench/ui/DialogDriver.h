#pragma once

// Drives the program's real dialog inside a bench, as the tests do: the dialog built and shown,
// its controls found by id, events processed until something has happened.

#include "ui/CMainDlg.h"

#include <QTreeWidget>

#include <functional>
#include <memory>

namespace pagetap::bench {

// A dialog made like Run makes it and shown; null when it could not be built.
std::unique_ptr<CMainDlg> ShowDialog();

QTreeWidget& ListOf(const CMainDlg& dialog);

// Processes events until `done` or until `limit_ms` has passed; whether `done` came true.
bool WaitFor(const std::function<bool()>& done, int limit_ms);
// Processes events for `ms` milliseconds.
void Idle(int ms);

// A double-click on row `row` of the list, as a mouse makes it.
void DoubleClickRow(QTreeWidget& list, int row);

}  // namespace pagetap::bench
