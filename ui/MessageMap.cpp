// How input reaches the dialog's handlers: button commands by control id, the list's clicks,
// and the keyboard rules of a dialog box.

#include "ui/CMainDlg.h"
#include "ui/ControlIds.h"
#include "ui/Controls.h"
#include "ui/WorkerNoticeEvent.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QPushButton>
#include <QTreeWidget>

void CMainDlg::RouteMessages() {
  for (QWidget* control : m_controls) {
    auto* button = qobject_cast<QAbstractButton*>(control);
    if (button == nullptr) continue;
    const int id = ControlId(control);
    connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
  }
  auto* list = Item<QTreeWidget>(IDC_LIST);
  connect(list, &QAbstractItemView::clicked, this,
          [this] { OnListNotify(ListNotification::Click); });
  connect(list, &QAbstractItemView::doubleClicked, this,
          [this] { OnListNotify(ListNotification::DoubleClick); });
  connect(this, &CMainDlg::ListArrowKeyReleased, this, &CMainDlg::ShowDetails);
}

// The first entry with the command's id handles it; the check boxes have none. The list view
// sends no commands here: its clicks come through OnListNotify.
void CMainDlg::OnCommand(int id) {
  struct CommandRoute {
    int m_id;
    void (CMainDlg::*m_handler)();
  };
  static constexpr CommandRoute kRoutes[] = {
      {ID_EDIT_CLEAR, &CMainDlg::OnClearResult},
      {IDOK, &CMainDlg::OnReturnList},
      {IDCANCEL, &CMainDlg::OnCancel},
      {IDC_UPASTE, &CMainDlg::OnPasteUrl},
      {IDC_RPASTE, &CMainDlg::OnPasteReferer},
      {IDC_PPASTE, &CMainDlg::OnPastePostData},
      {IDC_UCLEAR, &CMainDlg::OnClearUrl},
      {IDC_RCLEAR, &CMainDlg::OnClearReferer},
      {IDC_PCLEAR, &CMainDlg::OnClearPostData},
      {IDC_GET, &CMainDlg::OnGet},
      {IDC_POST, &CMainDlg::OnPost},
      {IDC_USERINFO, &CMainDlg::OnUserInfo},
  };
  for (const CommandRoute& route : kRoutes) {
    if (route.m_id == id) {
      (this->*route.m_handler)();
      return;
    }
  }
}

// Every key event of the application passes here first; only those for the dialog and its
// controls are looked at. Enter presses "ReturnList" wherever the focus is, the multi-line
// edits included, and Esc is Cancel. An Up or Down key released in the list shows the details
// of the row it moved to; the key itself still goes on to the list.
bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
  AcquirePostedEvents();  // of the dialog's code, this filter reads a notice first
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease) return false;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || (widget != this && !isAncestorOf(widget))) return false;
  const auto* key = static_cast<QKeyEvent*>(event);

  if (type == QEvent::KeyRelease) {
    const bool arrow = key->key() == Qt::Key_Up || key->key() == Qt::Key_Down;
    if (widget == m_list_view && arrow && !key->isAutoRepeat()) emit ListArrowKeyReleased();
    return false;
  }
  switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
      Item<QPushButton>(IDOK)->click();
      return true;
    case Qt::Key_Escape:
      OnCancel();
      return true;
    default:
      return false;
  }
}
