// The details of the selected row: the picture, the details text in the result box and the
// description in the caption.

#include "catalogue/ServiceRequests.h"
#include "catalogue/UserList.h"
#include "pictures/PictureWorkers.h"
#include "ui/CFileObjLooker.h"
#include "ui/CMainDlg.h"
#include "ui/CMultiLineEdit.h"
#include "ui/DetailsText.h"
#include "ui/DialogShared.h"
#include "ui/ListView.h"
#include "ui/ServiceText.h"

#include <QTreeWidget>

#include <cstdint>
#include <functional>

namespace {

// A picture that is there is drawn; one that is not is asked for while it has tries left;
// otherwise the control keeps what it shows.
void ShowPicture(CFileObjLooker& picture, const VideoRecord& video,
                 const std::function<void()>& request) {
  if (video.m_picture_ready && video.m_picture_data) {
    picture.LoadPicture(video.m_picture_data->data(), video.m_picture_size);
  } else if (video.m_picture_tries > 0) {
    request();
  }
}

}  // namespace

// A row that the catalogue does not have (of a stale view, say) shows nothing.
void CMainDlg::ShowDetails() {
  const auto row = SelectedRow(*m_list_view);
  if (!row || !m_user_list) return;
  const auto index = static_cast<std::uint32_t>(*row);
  UserList* catalogue = m_user_list.get();

  if (ViewMode == kVideosView) {
    if (m_current_user < 0) return;
    const auto user = static_cast<std::uint32_t>(m_current_user);
    const auto video = catalogue->Video(user, index);
    if (!video) return;
    ShowPicture(*m_picture, *video, [&] { StartVideoPictureRequest(catalogue, user, index); });
    m_result_edit->Clear();
    DisplayText = VideoDetailsText(VideoPagePrefix(), *video);
    setWindowTitle(CellText(video->m_video_intro));
    AppendToResult(DisplayText);
    return;
  }

  const auto user = catalogue->User(index);
  const auto first = catalogue->Video(index, 0);
  if (!user || !first) return;
  ShowPicture(*m_picture, *first, [&] { StartUserPictureRequest(catalogue, index); });
  m_result_edit->Clear();
  setWindowTitle(CellText(first->m_video_desc));
  DisplayText = UserDetailsText(*user, *first);
  AppendToResult(DisplayText);
}
