// The catalogue's user and video views and the moves between them. Row r of the user view is
// user index r, row r of the video view video index r of m_current_user; rows go in in index
// order and the list is never sorted.

#include "catalogue/ListWorkers.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "ui/CMainDlg.h"
#include "ui/DialogShared.h"
#include "ui/ListView.h"
#include "ui/ServiceText.h"

#include <QList>
#include <QTreeWidget>

#include <cstddef>
#include <cstdint>

namespace {

// A user row's picture size: after a top-list fetch only a picture that is there shows it;
// rebuilt by "ReturnList", every row shows it in K, "0K" for one not downloaded yet.
enum class UserPictureSize { WhenReady, Always };

void FillUserRows(QTreeWidget& list, const UserList& catalogue, UserPictureSize size_shown) {
  QList<QTreeWidgetItem*> rows;
  const std::size_t users = catalogue.UserCount();
  for (std::size_t user = 0; user < users; ++user) {
    auto* row = new QTreeWidgetItem;
    row->setText(0, CellText(catalogue.User(user)->m_nickname));
    const auto first = catalogue.Video(user, 0);
    const int kilobytes = first->m_picture_size / 1024;
    if (size_shown == UserPictureSize::Always) {
      row->setText(1, QStringLiteral("%1K").arg(kilobytes));
    } else if (first->m_picture_ready) {
      row->setText(1, QString::number(kilobytes));
    }
    row->setText(3, CellText(first->m_video_desc));
    rows.append(row);
  }
  list.addTopLevelItems(rows);
}

void FillVideoRows(QTreeWidget& list, const UserList& catalogue, std::size_t user) {
  QList<QTreeWidgetItem*> rows;
  const std::size_t videos = catalogue.VideoCount(user);
  for (std::size_t video = 0; video < videos; ++video) {
    const auto record = catalogue.Video(user, video);
    auto* row = new QTreeWidgetItem;
    row->setText(0, CellText(record->m_video_intro));
    if (record->m_picture_ready) row->setText(1, QString::number(record->m_picture_size / 1024));
    rows.append(row);
  }
  list.addTopLevelItems(rows);
}

}  // namespace

// The button is never disabled: every press starts another fetch, which sets ViewMode back to
// the users as it starts.
void CMainDlg::OnUserInfo() {
  ResetListView(*m_list_view, ListColumnSet::Fetching);
  ViewMode = kVideosView;
  if (!m_user_list) return;
  ViewMode = kUsersView;
  StartTopListThread(m_user_list.get());
}

void CMainDlg::OnReturnList() {
  ViewMode = kUsersView;
  RebuildUserList();
}

// On TopListReady, with the dialog's lock held.
void CMainDlg::ShowUserList() {
  ResetListView(*m_list_view, ListColumnSet::UserView);
  if (!m_user_list) return;
  FillUserRows(*m_list_view, *m_user_list, UserPictureSize::WhenReady);
  StartUserPictureSweep(m_user_list.get());
}

// Starts no fetch and no sweep.
void CMainDlg::RebuildUserList() {
  ResetListView(*m_list_view, ListColumnSet::UserView);
  if (m_user_list) FillUserRows(*m_list_view, *m_user_list, UserPictureSize::Always);
}

// On VideosPageReady, with the dialog's lock held. The list, greyed and busy since the
// double-click that asked for these videos, comes back here.
void CMainDlg::ShowUserVideos(std::uintptr_t user) {
  if (m_user_list) {
    ResetListView(*m_list_view, ListColumnSet::VideoView);
    ViewMode = kVideosView;
    FillVideoRows(*m_list_view, *m_user_list, user);
    m_current_user = static_cast<std::int32_t>(user);
  }
  StartVideoPictureSweep(m_user_list.get(), m_current_user);
  SetListBusy(*m_list_view, false);
}

// A double-click pages through a user's videos; in the video view it does nothing.
void CMainDlg::OnListNotify(ListNotification notification) {
  if (notification == ListNotification::Click) {
    ShowDetails();
    return;
  }
  const auto row = SelectedRow(*m_list_view);
  if (!row || ViewMode != kUsersView) return;
  SetListBusy(*m_list_view, true);
  // Without a worker no notice will come to enable it again.
  if (!StartUserVideosThread(m_user_list.get(), static_cast<std::uint32_t>(*row))) {
    SetListBusy(*m_list_view, false);
  }
}
