// Notices from workers as the dialog handles them: through the real NoticeWindow sink and
// Qt's event queue, with a real catalogue behind the list.

#include "catalogue/Records.h"
#include "http/Workbench.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/ui/DialogFixture.h"
#include "ui/ControlIds.h"
#include "ui/DialogShared.h"

#include <QCoreApplication>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTreeWidget>

#include <chrono>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class Notices : public pagetap::test::ShownDialog {
 protected:
  void SetUp() override {
    ShownDialog::SetUp();
    m_list = Item<QTreeWidget>(IDC_LIST);
    m_result = Item<QPlainTextEdit>(IDC_RESULT);
  }

  // Appends a user with one video per size; a size of 0 leaves that picture not downloaded.
  void AddUser(const std::vector<std::size_t>& picture_sizes) {
    UserList* catalogue = CMainDlgProbe::Catalogue(m_dialog);
    const std::size_t user = catalogue->UserCount();
    auto entry = std::make_unique<UserEntry>();
    entry->m_user = std::make_unique<UserRecord>();
    entry->m_user->m_nickname = "user " + std::to_string(user);
    for (std::size_t video = 0; video < picture_sizes.size(); ++video) {
      entry->m_videos.push_back(std::make_unique<VideoRecord>());
      entry->m_videos.back()->m_video_blog_id = std::to_string(user) + "-" + std::to_string(video);
    }
    ASSERT_TRUE(catalogue->AppendUser(std::move(entry)));
    for (std::size_t video = 0; video < picture_sizes.size(); ++video) {
      if (picture_sizes[video] == 0) continue;
      ASSERT_TRUE(catalogue->StorePicture(user, video,
                                          std::vector<unsigned char>(picture_sizes[video], 0xff)));
    }
  }

  void AddRows(int count) {
    for (int row = 0; row < count; ++row) {
      m_list->addTopLevelItem(new QTreeWidgetItem({QStringLiteral("row %1").arg(row)}));
    }
  }

  QStringList Cells(int column) const {
    QStringList cells;
    for (int row = 0; row < m_list->topLevelItemCount(); ++row) {
      cells << m_list->topLevelItem(row)->text(column);
    }
    return cells;
  }

  // Posts as a worker does and lets the UI thread handle what is queued.
  static void Deliver(std::uintptr_t wParam, int code) {
    PostNotice(wParam, code);
    QCoreApplication::sendPostedEvents();
  }

  QTreeWidget* m_list = nullptr;
  QPlainTextEdit* m_result = nullptr;
};

}  // namespace

TEST_F(Notices, UserPictureReadyWritesTheFirstPicturesSizeInKilobytes) {
  AddUser({100});
  AddUser({1024});
  AddUser({13311, 50000});
  AddUser({12288});
  AddRows(4);

  Deliver(3, UserPictureReady);
  EXPECT_EQ(Cells(1), QStringList({"", "", "", "12K"}));
  Deliver(2, UserPictureReady);
  Deliver(1, UserPictureReady);
  Deliver(0, UserPictureReady);
  EXPECT_EQ(Cells(1), QStringList({"0K", "1K", "12K", "12K"}));
  EXPECT_EQ(Cells(0), QStringList({"row 0", "row 1", "row 2", "row 3"}));
}

TEST_F(Notices, VideoPictureReadyWritesThePlainNumberForTheCurrentUsersVideo) {
  AddUser({5000});
  AddUser({1023, 2048, 0});
  AddRows(3);
  CMainDlgProbe::SetCurrentUser(m_dialog, 1);

  Deliver(0, VideoPictureReady);
  Deliver(1, VideoPictureReady);
  Deliver(2, VideoPictureReady);  // not downloaded: size 0
  EXPECT_EQ(Cells(1), QStringList({"0", "2", "0"}));
}

TEST_F(Notices, IndicesThatNameNoRecordWriteNothing) {
  AddUser({4096});
  AddUser({4096});
  AddRows(6);

  Deliver(2, UserPictureReady);  // rows beyond the catalogue's users
  Deliver(5, UserPictureReady);
  Deliver(std::uintptr_t{1} << 32, UserPictureReady);
  Deliver(0, VideoPictureReady);  // no current user yet
  CMainDlgProbe::SetCurrentUser(m_dialog, 0);
  Deliver(1, VideoPictureReady);               // user 0 has one video
  CMainDlgProbe::SetCurrentUser(m_dialog, 7);  // no such user
  Deliver(0, VideoPictureReady);
  EXPECT_EQ(Cells(1), QStringList({"", "", "", "", "", ""}));

  // A row the list does not have is left alone too.
  m_list->clear();
  AddRows(1);
  Deliver(1, UserPictureReady);
  EXPECT_EQ(m_list->topLevelItemCount(), 1);
  EXPECT_EQ(Cells(1), QStringList({""}));
}

TEST_F(Notices, CodesOutsideTheTableChangeNothing) {
  AddUser({8192});
  AddRows(1);
  CMainDlgProbe::SetCurrentUser(m_dialog, 0);
  ResultText = u"must not appear";
  const QString text = m_result->toPlainText();

  for (int code : {-1, 3, 4, 5, 6, 11, 1124}) Deliver(0, code);
  EXPECT_EQ(m_result->toPlainText(), text);
  EXPECT_EQ(Cells(1), QStringList({""}));
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_GET)->isEnabled());
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_POST)->isEnabled());
  EXPECT_EQ(m_dialog.windowTitle(), "pagetap");
}

TEST_F(Notices, ShowResultAppendsTheResultTextFramedByLineBreaks) {
  const QString usage = m_result->toPlainText();
  ResultText.clear();
  Deliver(0, ShowResult);
  EXPECT_EQ(m_result->toPlainText(), usage + "\n\n") << "an empty text still brings CR LF CR LF";

  ResultText = u"HTTP/1.1 200 OK\r\n\r\n未收到任何信息!";
  Deliver(0, ShowResult);
  EXPECT_EQ(m_result->toPlainText(),
            usage + "\n\n" + "\nHTTP/1.1 200 OK\n\n" + QString::fromUtf8("未收到任何信息!") + "\n");
  EXPECT_TRUE(ResultText.empty()) << "the text went into the box, not into a copy";
  EXPECT_EQ(m_result->textCursor().position(), m_result->document()->characterCount() - 1)
      << "the caret ends behind the new text";
}

TEST_F(Notices, EnableSendEnablesGetAndPostAndClearResultEmptiesTheBox) {
  Deliver(1, EnableSend);
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_GET)->isEnabled());
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_POST)->isEnabled());
  EXPECT_FALSE(m_dialog.GetDlgItem(IDC_DEBUG)->isEnabled()) << "the switches stay as they were";

  Deliver(12345, ClearResult);
  EXPECT_TRUE(m_result->toPlainText().isEmpty());
}

TEST_F(Notices, AppendedTextGoesToTheEndWhilePartOfTheBoxIsSelected) {
  m_result->setPlainText(QStringLiteral("first line\nsecond line"));
  QTextCursor selection(m_result->document());
  selection.setPosition(2);
  selection.setPosition(8, QTextCursor::KeepAnchor);
  m_result->setTextCursor(selection);

  const auto started = std::chrono::steady_clock::now();
  m_dialog.AppendToResult(u"appended");
  EXPECT_GE(std::chrono::steady_clock::now() - started, 5ms) << "each append pauses 5 ms";
  EXPECT_EQ(m_result->toPlainText(), "first line\nsecond line\nappended\n");
  EXPECT_FALSE(m_result->textCursor().hasSelection());
  EXPECT_FALSE(m_result->document()->isUndoAvailable()) << "an append cannot be undone";
}

TEST_F(Notices, NoticesFromWorkerThreadsArriveAfterWhatTheyAnnounce) {
  if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
  AddUser({0});
  AddUser({0});
  AddRows(2);
  UserList* catalogue = CMainDlgProbe::Catalogue(m_dialog);
  const QString usage = m_result->toPlainText();

  // As the picture and workbench workers do: write first, then post.
  ASSERT_TRUE(StartWorker([catalogue] {
    for (std::size_t user = 0; user < 2; ++user) {
      catalogue->StorePicture(user, 0, std::vector<unsigned char>(3 * 1024 * (user + 1), 1));
      PostNotice(user, UserPictureReady);
    }
    ResultText = u"from a worker";
    PostNotice(0, ShowResult);
    PostNotice(1, EnableSend);
  }));
  ASSERT_TRUE(WaitForWorkers(10s));
  QCoreApplication::sendPostedEvents();

  EXPECT_EQ(Cells(1), QStringList({"3K", "6K"}));
  EXPECT_EQ(m_result->toPlainText(), usage + "\nfrom a worker\n");
  EXPECT_TRUE(m_dialog.GetDlgItem(IDC_POST)->isEnabled());
}

TEST_F(Notices, NoneReachTheDialogOnceItsWindowIsDestroyed) {
  AddUser({4096});
  AddRows(1);
  PostNotice(0, UserPictureReady);  // queued while the window is alive
  m_dialog.close();
  PostNotice(0, ClearResult);  // posted after it is gone
  QCoreApplication::sendPostedEvents();
  EXPECT_EQ(Cells(1), QStringList({""}));
  EXPECT_FALSE(m_result->toPlainText().isEmpty());
}
