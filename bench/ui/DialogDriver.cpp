#include "bench/ui/DialogDriver.h"

#include "ui/ControlIds.h"

#include <QTest>

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

bool WaitFor(const std::function<bool()>& done, int limit_ms) {
  return QTest::qWaitFor(done, limit_ms);
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
