// What the dialog does with the notices that workers post.

#include "catalogue/UserList.h"
#include "http/Workbench.h"
#include "platform/Notices.h"
#include "ui/CMainDlg.h"
#include "ui/CMultiLineEdit.h"
#include "ui/DialogShared.h"

#include <QPushButton>

#include <mutex>
#include <string>
#include <utility>

namespace {

// A picture's size in whole kilobytes, as the list's second column shows it.
std::u16string Kilobytes(std::int32_t bytes) {
  const std::string digits = std::to_string(bytes / 1024);
  return {digits.begin(), digits.end()};  // digits are ASCII
}

}  // namespace

void CMainDlg::OnWorkerNotice(std::uintptr_t wParam, int code) {
  switch (code) {
    case ShowResult: {
      {
        // The result goes to the box as it is, not through a copy in DisplayText: it may be
        // tens of megabytes, and the next transfer replaces it whole.
        std::lock_guard lock(DialogLock);
        AppendToResult(std::move(ResultText));
        ResultText.clear();
      }
      update();
      return;
    }
    case EnableSend: {
      // The buttons come back once the transfer's result is all in the box.
      m_result_edit->WhenAppended([this] {
        std::lock_guard lock(DialogLock);
        m_get_button->setEnabled(true);
        m_post_button->setEnabled(true);
        ReleaseWorkbench();  // the transfer's ShowResult has been read
      });
      return;
    }
    case ClearResult: {
      std::lock_guard lock(DialogLock);
      m_result_edit->Clear();
      return;
    }
    case VideoPictureReady: {
      std::lock_guard lock(DialogLock);
      if (m_current_user < 0) return;
      const auto size = PictureSize(static_cast<std::uintptr_t>(m_current_user), wParam);
      if (size) SetListItemText(static_cast<int>(wParam), 1, Kilobytes(*size));
      return;
    }
    case VideosPageReady: {
      std::lock_guard lock(DialogLock);
      ShowUserVideos(wParam);
      return;
    }
    case TopListReady: {
      std::lock_guard lock(DialogLock);
      ShowUserList();
      return;
    }
    case UserPictureReady: {
      std::lock_guard lock(DialogLock);
      const auto size = PictureSize(wParam, 0);
      if (size) SetListItemText(static_cast<int>(wParam), 1, Kilobytes(*size) + u"K");
      return;
    }
    default:
      return;
  }
}

// Nothing when the catalogue is missing or the indices name no video; an index that does name
// one is small enough for a list row.
std::optional<std::int32_t> CMainDlg::PictureSize(std::uintptr_t user, std::uintptr_t video) const {
  if (!m_user_list) return std::nullopt;
  const auto record = m_user_list->Video(user, video);
  if (!record) return std::nullopt;
  return record->m_picture_size;
}
