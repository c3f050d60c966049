#include "ui/CMainDlg.h"

#include "catalogue/UserList.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "ui/CFileObjLooker.h"
#include "ui/CMultiLineEdit.h"
#include "ui/ControlIds.h"
#include "ui/Controls.h"
#include "ui/DialogShared.h"
#include "ui/DialogTemplate.h"
#include "ui/DialogUnits.h"
#include "ui/ListView.h"
#include "ui/WorkerNoticeEvent.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QIcon>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QTreeWidget>

#include <chrono>
#include <mutex>
#include <new>
#include <thread>
#include <utility>

namespace {

const char* const kUsageText =
    "使用方法:\r\n\r\n"
    "点击本周最热视频,取得用户列。\r\n\r\n"
    "单击用户名可显示获得的用户图片。\r\n\r\n"
    "取得列表后可以双击用户名获得用户详细列表。";

// PAGETAP_WORKBENCH=1 starts the dialog with the workbench's buttons and switches enabled.
bool WorkbenchEnabledAtStart() {
  return qEnvironmentVariable("PAGETAP_WORKBENCH") == QLatin1String("1");
}

}  // namespace

CMainDlg::CMainDlg() : QWidget(nullptr, Qt::Window) {}

CMainDlg::~CMainDlg() { DestroyWindow(); }

bool CMainDlg::Create() {
  // Without a screen Qt cannot make the window at all.
  if (QGuiApplication::primaryScreen() == nullptr) return false;
  try {
    // Caption, system menu, minimise box; no maximise box and no resizing.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QString::fromUtf8(kDialogCaption));
    QFont dialog_font = QApplication::font();
    dialog_font.setPointSize(kDialogPointSize);
    setFont(dialog_font);
    const DialogBaseUnits units = BaseUnitsOf(font());
    setFixedSize(DialogUnitsToPixelsX(kDialogWidth, units),
                 DialogUnitsToPixelsY(kDialogHeight, units));
    // Made in template order, which is also the order Tab walks.
    for (const ControlTemplate& control : kDialogControls) {
      m_controls.push_back(CreateControl(control, this, units));
    }
    m_window_alive = true;
    RouteMessages();
    OnInitDialog();
  } catch (const std::bad_alloc&) {
    return false;
  }
  return true;
}

QWidget* CMainDlg::GetDlgItem(int id) const {
  for (QWidget* control : m_controls) {
    if (ControlId(control) == id) return control;
  }
  return nullptr;
}

void CMainDlg::OnInitDialog() {
  CentreOnWorkArea();

  Q_INIT_RESOURCE(pagetap);

  // Stands in for the message filter: the dialog's keyboard rules (eventFilter).
  qApp->installEventFilter(this);

  m_get_button = Item<QPushButton>(IDC_GET);
  m_post_button = Item<QPushButton>(IDC_POST);
  m_debug = 0;
  m_head = 0;
  m_send_cookie = 0;
  m_save_cookie = 0;
  WriteForm();

  // The result box has no length limit; the other edits keep their default.
  m_url_edit = Item<QLineEdit>(IDC_URL);
  m_referer_edit = Item<QLineEdit>(IDC_REFERER);
  m_post_data_edit = Item<CMultiLineEdit>(IDC_POSTDATA);
  m_result_edit = Item<CMultiLineEdit>(IDC_RESULT);

  RegisterNoticeWindow(NoticeSinkFor(this));

  m_list_view = Item<QTreeWidget>(IDC_LIST);
  m_picture = Item<CFileObjLooker>(IDC_PICTURE);
  SetupListColumns();
  ShowCutCellsAsToolTips(*m_list_view);

  m_user_list.reset(new (std::nothrow) UserList);
  if (!m_user_list) {
    QMessageBox::information(this, QString(), QString::fromUtf8("新建UserList对像出错"));
  }

  ViewMode = kUsersView;
  m_current_user = -1;

  m_userinfo_button = Item<QPushButton>(IDC_USERINFO);
  m_userinfo_button->setText(QString::fromUtf8("本周最热视频"));
  m_result_edit->SetText(QString::fromUtf8(kUsageText).toStdU16String());

  const bool workbench = WorkbenchEnabledAtStart();
  m_get_button->setEnabled(workbench);
  m_post_button->setEnabled(workbench);
  m_debug_check = Item<QCheckBox>(IDC_DEBUG);
  m_head_check = Item<QCheckBox>(IDC_HEAD);
  m_send_cookie_check = Item<QCheckBox>(IDC_SENDCOOKIE);
  m_save_cookie_check = Item<QCheckBox>(IDC_SAVECOOKIE);
  for (QCheckBox* check : {m_debug_check, m_head_check, m_send_cookie_check, m_save_cookie_check}) {
    check->setEnabled(workbench);
  }
}

// Centred on the work area of the dialog's screen, then kept inside it: pushed back from the
// right and bottom edges first, so that the left and top edges win on a small screen. The
// frame is not known before the window is shown, so the client area is what gets centred.
void CMainDlg::CentreOnWorkArea() {
  const QRect work = screen()->availableGeometry();
  int left = work.x() + work.width() / 2 - width() / 2;
  int top = work.y() + work.height() / 2 - height() / 2;
  if (left + width() > work.x() + work.width()) left = work.x() + work.width() - width();
  if (left < work.x()) left = work.x();
  if (top + height() > work.y() + work.height()) top = work.y() + work.height() - height();
  if (top < work.y()) top = work.y();
  move(left, top);
}

// The form's values into the controls.
void CMainDlg::WriteForm() {
  Item<QLineEdit>(IDC_URL)->setText(QString::fromStdU16String(m_url_text));
  Item<QLineEdit>(IDC_REFERER)->setText(QString::fromStdU16String(m_referer_text));
  Item<CMultiLineEdit>(IDC_POSTDATA)->SetText(m_post_data_text);
  Item<CMultiLineEdit>(IDC_RESULT)->SetText(m_result_text);
  Item<QCheckBox>(IDC_DEBUG)->setChecked(m_debug != 0);
  Item<QCheckBox>(IDC_HEAD)->setChecked(m_head != 0);
  Item<QCheckBox>(IDC_SENDCOOKIE)->setChecked(m_send_cookie != 0);
  Item<QCheckBox>(IDC_SAVECOOKIE)->setChecked(m_save_cookie != 0);
}

// Cancel, Esc and the close box. Workers are told to stop; Run waits for them before the
// catalogue goes.
void CMainDlg::OnCancel() {
  RequestShutdown();
  DestroyWindow();
  QCoreApplication::exit(IDCANCEL);
}

void CMainDlg::DestroyWindow() {
  if (!m_window_alive) return;
  m_window_alive = false;
  hide();
  OnDestroy();
}

// From here on the keyboard rules are off and notices are no longer queued for the dialog.
void CMainDlg::OnDestroy() {
  qApp->removeEventFilter(this);
  UnregisterNoticeWindow();
}

void CMainDlg::closeEvent(QCloseEvent* event) {
  event->ignore();
  OnCancel();
}

// Drawn from the SVG at whatever size the desktop asks for. The icon is the window manager's,
// not part of the first frame, and its plugin and renderer take a few milliseconds: it is
// set once the window has painted, or at once for a window that starts minimised.
void CMainDlg::SetWindowIcon() { setWindowIcon(QIcon(QStringLiteral(":/pagetap.svg"))); }

void CMainDlg::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (m_icon_due && isMinimized()) {
    m_icon_due = false;
    SetWindowIcon();
  }
}

// Notices still queued when the window was destroyed are dropped with it.
bool CMainDlg::event(QEvent* event) {
  if (event->type() == QEvent::Paint && m_icon_due) {
    m_icon_due = false;
    QTimer::singleShot(0, this, &CMainDlg::SetWindowIcon);
  }
  AcquirePostedEvents();  // as the keyboard filter does, which goes with the window
  if (event->type() != WorkerNoticeEvent::kType) return QWidget::event(event);
  const auto* notice = static_cast<WorkerNoticeEvent*>(event);
  const std::uintptr_t wParam = notice->WParam();
  const int code = notice->Code();
  if (m_window_alive) OnWorkerNotice(wParam, code);
  return true;
}

void CMainDlg::SetupListColumns() { ResetListView(*m_list_view, ListColumnSet::UserView); }

void CMainDlg::AppendToResult(std::u16string text) {
  std::lock_guard lock(DialogLock);
  // The frame goes in around the text rather than into a copy of it: a response can be
  // megabytes long.
  m_result_edit->AppendText(u"\r\n");
  m_result_edit->AppendText(std::move(text));
  m_result_edit->AppendText(u"\r\n");
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

void CMainDlg::SetListItemText(int row, int column, const std::u16string& text) {
  QTreeWidgetItem* item = m_list_view->topLevelItem(row);
  if (item == nullptr || column < 0 || column >= m_list_view->columnCount()) return;
  item->setText(column, QString::fromStdU16String(text));
}
