#include "bench/ui/DialogDriver.h"

#include "ui/ControlIds.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

namespace pagetap::bench {

std::unique_ptr<CMainDlg> ShowDialog() {
  QGuiApplication::setQuitOnLastWindowClosed(false);
  auto dialog = std::make_unique<CMainDlg>();
  if (!dialog->Create()) return nullptr;
  dialog->show();
  return dialog;
}

QTreeWidget& ListOf(const CMainDlg& dialog) {
  return *qobject_cast<QTreeWidget*>(dialog.GetDlgItem(IDC_LIST));
}

// Without QTest::qWaitFor's 10 ms sleeps between looks, which would show up in what is timed.
// A 1 ms timer wakes the loop, so that a condition another thread makes true is seen at once.
bool WaitFor(const std::function<bool()>& done, int limit_ms) {
  QTimer wake;
  wake.start(1);
  QElapsedTimer clock;
  clock.start();
  while (!done()) {
    if (clock.elapsed() >= limit_ms) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void Idle(int ms) { QTest::qWait(ms); }

void DoubleClickRow(QTreeWidget& list, int row) {
  QTreeWidgetItem* item = list.topLevelItem(row);
  list.scrollToItem(item);
  const QPoint centre = list.visualItemRect(item).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseDClick(list.viewport(), Qt::LeftButton, {}, centre);
  QTest::mouseRelease(list.viewport(), Qt::LeftButton, {}, centre);
}

}  // namespace pagetap::bench
