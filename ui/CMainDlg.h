#pragma once

// The program's only window: the request workbench on the left, the catalogue's list in the
// middle and the picture control on the right. Built from dialog template 129; worker threads
// reach it only through notices (platform/Notices.h).

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CFileObjLooker;
class CMultiLineEdit;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QTreeWidget;
class UserList;

enum class ListNotification { Click, DoubleClick };

class CMainDlg : public QWidget {
  Q_OBJECT

 public:
  CMainDlg();
  ~CMainDlg() override;
  CMainDlg(const CMainDlg&) = delete;
  CMainDlg& operator=(const CMainDlg&) = delete;

  // Builds the controls and initialises the dialog, without showing it. False when there is
  // no screen to show it on or memory ran out.
  bool Create();

  // The first control made with `id`; null when there is none.
  QWidget* GetDlgItem(int id) const;

  // Appends CR LF, the text and CR LF at the end of the result box, whatever is selected. A
  // long text goes on going in over the next turns of the event loop, after what came before.
  void AppendToResult(std::u16string text);
  // A row or column the list does not have is left alone.
  void SetListItemText(int row, int column, const std::u16string& text);

 signals:
  // An Up or Down key was released in the list, whose selection may have moved with it.
  void ListArrowKeyReleased();

 protected:
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;

 private:
  friend struct CMainDlgProbe;  // lets tests reach the catalogue and the current user

  template <class Control>
  Control* Item(int id) const {
    return qobject_cast<Control*>(GetDlgItem(id));
  }

  void OnInitDialog();
  void SetWindowIcon();
  void CentreOnWorkArea();
  void WriteForm();
  void SetupListColumns();
  void RouteMessages();
  void OnCommand(int id);
  void OnCancel();
  void DestroyWindow();
  void OnDestroy();

  void OnWorkerNotice(std::uintptr_t wParam, int code);
  std::optional<std::int32_t> PictureSize(std::uintptr_t user, std::uintptr_t video) const;

  // The request workbench.
  void OnClearResult();
  void OnPasteUrl();
  void OnPasteReferer();
  void OnPastePostData();
  void OnClearUrl();
  void OnClearReferer();
  void OnClearPostData();
  void OnGet();
  void OnPost();
  void SendForm(QPushButton* pressed, void (*worker)());
  bool ReadForm();
  bool ReadClipboardText(std::u16string& text);

  // The catalogue views.
  void OnUserInfo();
  void OnReturnList();
  void OnListNotify(ListNotification notification);
  void ShowUserList();
  void RebuildUserList();
  void ShowUserVideos(std::uintptr_t user);
  void ShowDetails();

  std::vector<QWidget*> m_controls;  // in template order; owned by the dialog as children
  bool m_window_alive = false;       // from Create until the window is destroyed
  bool m_icon_due = true;            // until the window icon has been asked for

  QPushButton* m_get_button = nullptr;
  QPushButton* m_post_button = nullptr;
  QPushButton* m_userinfo_button = nullptr;
  CMultiLineEdit* m_result_edit = nullptr;
  QLineEdit* m_url_edit = nullptr;
  QLineEdit* m_referer_edit = nullptr;
  CMultiLineEdit* m_post_data_edit = nullptr;
  // The form's values, exchanged with the controls.
  std::u16string m_result_text;
  std::u16string m_url_text;
  std::u16string m_referer_text;
  std::u16string m_post_data_text;
  std::uint8_t m_debug = 0;
  std::uint8_t m_head = 0;
  std::uint8_t m_send_cookie = 0;
  std::uint8_t m_save_cookie = 0;
  QCheckBox* m_debug_check = nullptr;
  QCheckBox* m_head_check = nullptr;
  QCheckBox* m_send_cookie_check = nullptr;
  QCheckBox* m_save_cookie_check = nullptr;
  std::unique_ptr<UserList> m_user_list;  // null when it could not be made
  QTreeWidget* m_list_view = nullptr;
  CFileObjLooker* m_picture = nullptr;
  std::int32_t m_current_user = -1;  // the user whose videos the list shows
};
