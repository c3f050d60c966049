// The video browser end to end: the real dialog against a local video service, driven by
// clicks on the top-list button, the list's rows and "ReturnList".

#include "platform/Limits.h"
#include "platform/Workers.h"
#include "tests/ui/CatalogueService.h"
#include "tests/ui/DialogFixture.h"
#include "ui/CFileObjLooker.h"
#include "ui/CMultiLineEdit.h"
#include "ui/ControlIds.h"
#include "ui/DialogShared.h"

#include <QCoreApplication>
#include <QDir>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>

namespace {

using namespace std::chrono_literals;
using pagetap::test::CatalogueService;
using pagetap::test::RecordedRequest;
using pagetap::test::ScopedEnvironment;

constexpr int kUsers = CatalogueService::kUsers;
constexpr const char* kSiteBase = "http://www.site.test";
// A download thread's own start-up shifts its request's arrival a little; the pacing's lower
// bounds allow this much of it.
constexpr auto kStartSlack = 50ms;

// JPEG keeps flat colours nearly, but not exactly.
bool Near(QColor actual, QColor expected) {
  constexpr int kTolerance = 24;
  return std::abs(actual.red() - expected.red()) <= kTolerance &&
         std::abs(actual.green() - expected.green()) <= kTolerance &&
         std::abs(actual.blue() - expected.blue()) <= kTolerance;
}

QString Text(const std::string& utf8) { return QString::fromStdString(utf8); }

// The result box after a details text went in: each CR LF is one line break, and the append
// frames the text with one more on each side.
QString InResultBox(const QString& details) {
  return "\n" + QString(details).replace("\r\n", "\n") + "\n";
}

class CatalogueViews : public pagetap::test::ShownDialog {
 protected:
  void SetUp() override {
    if (ShutdownRequested()) GTEST_SKIP() << "shutdown was already requested in this process";
    ShownDialog::SetUp();
    m_list = Item<QTreeWidget>(IDC_LIST);
    m_result = Item<QPlainTextEdit>(IDC_RESULT);
    m_picture = Item<CFileObjLooker>(IDC_PICTURE);
  }

  void TearDown() override {
    m_service.OpenGates();
    EXPECT_TRUE(WaitForWorkers(30s));
  }

  void PressButton(int id) { QTest::mouseClick(Item<QPushButton>(id), Qt::LeftButton); }

  bool ListShows(int columns, int rows) const {
    return m_list->columnCount() == columns && m_list->topLevelItemCount() == rows;
  }

  void ShowTopList() {
    PressButton(IDC_USERINFO);
    ASSERT_TRUE(QTest::qWaitFor([&] { return ListShows(4, kUsers); }, 10000));
  }

  // Lets the sweeps and every download end, then handles the notices they posted.
  static void FinishWorkers() {
    ASSERT_TRUE(WaitForWorkers(30s));
    QCoreApplication::sendPostedEvents();
  }

  QStringList Headers() const { return pagetap::test::Headers(*m_list); }
  QStringList Column(int column) const { return pagetap::test::Column(*m_list, column); }
  void ClickRow(int row, Qt::KeyboardModifiers modifiers = {}) {
    pagetap::test::ClickRow(*m_list, row, modifiers);
  }
  void DoubleClickRow(int row) { pagetap::test::DoubleClickRow(*m_list, row); }

  // The user view's size column: each top video's picture in K, `broken` for the broken user's.
  QStringList UserSizes(const QString& broken) const {
    QStringList sizes;
    for (int user = 0; user < kUsers; ++user) {
      sizes << (user == CatalogueService::kBrokenUser
                    ? broken
                    : QStringLiteral("%1K").arg(Kilobytes(user, 0)));
    }
    return sizes;
  }

  // The details text as the dialog keeps it and as the result box shows it.
  void ExpectDetails(const QString& details) const {
    EXPECT_EQ(QString::fromStdU16String(DisplayText), details);
    EXPECT_EQ(m_result->toPlainText(), InResultBox(details));
  }

  QImage Shown() const { return m_picture->grab().toImage(); }

  // The picture's two halves, stretched over the whole control.
  void ExpectPicture(int user, int video) const {
    const QImage shown = Shown();
    const auto& served = m_service.Picture(user, video);
    EXPECT_TRUE(Near(shown.pixelColor(shown.width() / 4, shown.height() / 2), served.m_left));
    EXPECT_TRUE(Near(shown.pixelColor(shown.width() * 3 / 4, shown.height() / 2), served.m_right));
  }

  int Kilobytes(int user, int video) const {
    return static_cast<int>(m_service.Picture(user, video).m_bytes.size() / 1024);
  }

  void SaveScreenshot(const char* name) {
    EXPECT_TRUE(m_dialog.grab().save(QDir(QStringLiteral(PAGETAP_SCREENSHOT_DIR)).filePath(name)));
  }

  UserList& Catalogue() { return *CMainDlgProbe::Catalogue(m_dialog); }

  CatalogueService m_service;
  ScopedEnvironment m_api_base{"PAGETAP_API_BASE", QByteArray::fromStdString(m_service.BaseUrl())};
  ScopedEnvironment m_site_base{"PAGETAP_SITE_BASE", kSiteBase};
  QTreeWidget* m_list = nullptr;
  QPlainTextEdit* m_result = nullptr;
  CFileObjLooker* m_picture = nullptr;
};

}  // namespace

TEST_F(CatalogueViews, TheTopListFillsTheUserViewAndPictureSizesFollowAtTheSweepsPace) {
  m_service.TopListGate().Shut();
  m_service.PicturesGate().Shut();
  PressButton(IDC_USERINFO);
  EXPECT_EQ(Headers(), QStringList({"  video_intro", "大小"}));
  EXPECT_EQ(m_list->topLevelItemCount(), 0);
  EXPECT_EQ(ViewMode, 0) << "the fetch has started";

  m_service.TopListGate().Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return ListShows(4, kUsers); }, 10000));
  EXPECT_EQ(Headers(), QStringList({"  name        ", "大小", "查看   ", "desc              "}));
  QStringList nicknames;
  QStringList descriptions;
  for (int user = 0; user < kUsers; ++user) {
    nicknames << Text(CatalogueService::Nickname(user));
    descriptions << Text("video_desc of " + CatalogueService::Nickname(user));
    EXPECT_EQ(Text(Catalogue().User(user)->m_nickname), nicknames.back()) << "row = user index";
  }
  EXPECT_EQ(Column(0), nicknames);
  EXPECT_EQ(Column(1), QStringList(kUsers, QString())) << "no picture is there yet";
  EXPECT_EQ(Column(2), QStringList(kUsers, QString()));
  EXPECT_EQ(Column(3), descriptions);

  m_service.PicturesGate().Open();
  FinishWorkers();
  EXPECT_EQ(Column(1), UserSizes(QString()));

  std::vector<RecordedRequest> downloads = m_service.Requests("/shots/");
  for (const auto& broken : m_service.Requests("/broken/")) downloads.push_back(broken);
  ASSERT_EQ(downloads.size(), static_cast<std::size_t>(kUsers));
  std::sort(downloads.begin(), downloads.end(),
            [](const auto& a, const auto& b) { return a.received < b.received; });
  for (std::size_t i = 1; i < downloads.size(); ++i) {
    // 100 ms after each download the sweep starts, 300 ms more after every 15.
    EXPECT_GE(downloads[i].received - downloads[i - 1].received,
              (i % 15 == 0 ? 400ms : 100ms) - kStartSlack)
        << "before download " << i;
  }
}

TEST_F(CatalogueViews, AClickShowsTheUsersDetailsCaptionAndPicture) {
  ShowTopList();
  FinishWorkers();
  ClickRow(1);
  const std::string base = m_service.BaseUrl();
  const QString details = Text(
      "\r\nm_nickname-----\r\n小明 & co"
      "\r\nm_video_blog_id-----\r\nb1"
      "\r\nm_video_screenshot-----\r\n" +
      base +
      "/shots/b1."
      "\r\nm_video_download_address-----\r\n" +
      base +
      "/shots/b1.mov"
      "\r\nm_video_desc-----\r\nvideo_desc of 小明 & co");
  ExpectDetails(details);
  EXPECT_EQ(m_dialog.windowTitle(), "video_desc of 小明 & co");
  ExpectPicture(1, 0);
  SaveScreenshot("catalogue-user-view.png");

  // Empty space below the rows: nothing is selected, nothing changes.
  const QImage picture = Shown();
  const int below = m_list->visualItemRect(m_list->topLevelItem(kUsers - 1)).bottom() + 10;
  ASSERT_LT(below, m_list->viewport()->height());
  QTest::mouseClick(m_list->viewport(), Qt::LeftButton, {}, QPoint(10, below));
  EXPECT_TRUE(m_list->selectedItems().isEmpty());
  EXPECT_EQ(m_result->toPlainText(), InResultBox(details));
  EXPECT_EQ(m_dialog.windowTitle(), "video_desc of 小明 & co");
  EXPECT_EQ(Shown(), picture);

  // Of several selected rows the highest counts, whichever was clicked last.
  ClickRow(2);
  ClickRow(9, Qt::ControlModifier);
  ClickRow(4, Qt::ControlModifier);
  EXPECT_EQ(m_list->selectedItems().size(), 3);
  EXPECT_EQ(m_dialog.windowTitle(), "video_desc of user 09");
  ExpectPicture(9, 0);

  // Up from the current row 4 selects row 3 alone.
  QTest::keyClick(m_list, Qt::Key_Up);
  EXPECT_EQ(m_dialog.windowTitle(), "video_desc of user 03");
  ExpectPicture(3, 0);
}

TEST_F(CatalogueViews, ADoubleClickGreysTheListUntilTheUsersVideosAreShown) {
  ShowTopList();
  FinishWorkers();
  m_service.UserPagesGate().Shut();
  EXPECT_EQ(pagetap::test::CellToolTip(*m_list, 3, 0), QString()) << "the nickname fits";
  DoubleClickRow(3);
  EXPECT_FALSE(m_list->isEnabled());
  EXPECT_EQ(m_list->cursor().shape(), Qt::BusyCursor);
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.UserPagesGate().Waiting() == 1; }, 10000));
  // What the fetch posted before its request, and what the click left queued, is handled now.
  QCoreApplication::processEvents();
  EXPECT_FALSE(m_list->isEnabled());
  EXPECT_TRUE(ListShows(4, kUsers));
  EXPECT_EQ(ViewMode, 0);

  m_service.UserPagesGate().Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_list->isEnabled(); }, 10000));
  EXPECT_FALSE(m_list->testAttribute(Qt::WA_SetCursor)) << "the busy cursor went with the grey";
  EXPECT_EQ(ViewMode, 1);
  EXPECT_EQ(Headers(), QStringList({"  video_intro", "大小", "查看   "}));
  QStringList intros = {"video_intro of user 03"};
  for (int video = 1; video < 5; ++video)
    intros << Text("intro of " + CatalogueService::BlogId(3, video));
  EXPECT_EQ(Column(0), intros);
  EXPECT_EQ(m_service.Requests("/home_user").size(), 2u) << "two pages";

  FinishWorkers();
  QStringList sizes;
  for (int video = 0; video < 5; ++video) sizes << QString::number(Kilobytes(3, video));
  EXPECT_EQ(Column(1), sizes);

  ClickRow(2);
  const QString details = Text(std::string("\r\nm_video_blog_id-----\r\n") + kSiteBase +
                               "/video/b3-2"
                               "\r\nm_video_download_address-----\r\n" +
                               m_service.BaseUrl() +
                               "/shots/b3-2.mov"
                               "\r\nm_video_desc-----\r\nintro of b3-2");
  ExpectDetails(details);
  EXPECT_EQ(m_dialog.windowTitle(), "intro of b3-2");
  ExpectPicture(3, 2);
  SaveScreenshot("catalogue-video-view.png");

  // In the video view a double-click starts nothing: once what it queued is handled and any
  // worker it started has ended, there is no new request.
  DoubleClickRow(1);
  EXPECT_TRUE(m_list->isEnabled());
  QCoreApplication::processEvents();
  FinishWorkers();
  EXPECT_TRUE(m_list->isEnabled());
  EXPECT_EQ(m_service.Requests("/home_user").size(), 2u);
  EXPECT_EQ(Column(0), intros);
}

TEST_F(CatalogueViews, ADoubleClickWhoseFetchCannotStartLeavesTheListEnabled) {
  ShowTopList();
  FinishWorkers();
  RequestShutdown();  // from here on no worker starts
  DoubleClickRow(3);
  EXPECT_TRUE(m_list->isEnabled());
  EXPECT_TRUE(ListShows(4, kUsers));
  EXPECT_TRUE(m_service.Requests("/home_user").empty());
}

TEST_F(CatalogueViews, ReturnListRebuildsTheUserViewWithEverySizeInK) {
  ShowTopList();
  FinishWorkers();
  EXPECT_EQ(Column(1)[CatalogueService::kBrokenUser], "");
  DoubleClickRow(2);
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_list->isEnabled() && ListShows(3, 5); }, 10000));

  PressButton(IDOK);
  EXPECT_EQ(ViewMode, 0);
  EXPECT_EQ(Headers(), QStringList({"  name        ", "大小", "查看   ", "desc              "}));
  ASSERT_EQ(m_list->topLevelItemCount(), kUsers);
  EXPECT_EQ(Column(0)[1], "小明 & co");
  EXPECT_EQ(Column(1), UserSizes("0K"));
  FinishWorkers();
  EXPECT_EQ(m_service.Requests("/top_video").size(), 1u) << "it fetches nothing";
}

// A megabyte nickname and description: the row and the caption show their first characters,
// the details text all of them.
TEST_F(CatalogueViews, LongTextsShowCutInTheListAndTheCaptionAndWholeInTheDetails) {
  std::string nickname;
  while (nickname.size() < (1u << 20)) nickname += "\xE4\xB8\xAD";  // one CJK character in UTF-8
  auto entry = std::make_unique<UserEntry>();
  entry->m_user = std::make_unique<UserRecord>();
  entry->m_user->m_nickname = nickname;
  entry->m_videos.push_back(std::make_unique<VideoRecord>());
  entry->m_videos.back()->m_video_desc = nickname + " desc";
  ASSERT_TRUE(Catalogue().AppendUser(std::move(entry)));
  PressButton(IDOK);
  ASSERT_TRUE(ListShows(4, 1));
  const QString whole = Text(nickname);
  for (int column : {0, 3})
    EXPECT_EQ(Column(column)[0], whole.left(kListCellChars)) << "column " << column;
  EXPECT_EQ(pagetap::test::CellToolTip(*m_list, 0, 0), "<p>" + whole.left(kListCellChars) + "</p>");

  ClickRow(0);
  EXPECT_EQ(m_dialog.windowTitle(), whole.left(kListCellChars));
  auto* result = Item<CMultiLineEdit>(IDC_RESULT);
  ASSERT_TRUE(QTest::qWaitFor([result] { return !result->Appending(); }, 20000));
  EXPECT_TRUE(result->Text().contains("\r\nm_nickname-----\r\n" + whole + "\r\n"));
  EXPECT_TRUE(result->Text().endsWith("m_video_desc-----\r\n" + whole + " desc\r\n"));
}

TEST_F(CatalogueViews, TwoQuickPressesOfTheTopListButtonLeaveOneRowPerCatalogueUser) {
  QSignalSpy views_built(m_list->model(), &QAbstractItemModel::rowsInserted);
  m_service.TopListGate().Shut();
  PressButton(IDC_USERINFO);
  PressButton(IDC_USERINFO);
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_service.TopListGate().Waiting() == 2; }, 10000));
  m_service.TopListGate().Open();
  ASSERT_TRUE(QTest::qWaitFor([&] { return views_built.count() == 2; }, 10000));

  const QStringList catalogue = pagetap::test::Nicknames(Catalogue());
  EXPECT_GE(catalogue.size(), kUsers + 2) << "the second answer brings two newcomers";
  EXPECT_EQ(Column(0), catalogue);
}

TEST_F(CatalogueViews, APictureThatNeverComesIsAskedForFiveTimesAndThePreviousOneStays) {
  ShowTopList();
  FinishWorkers();
  const std::string base = m_service.BaseUrl();
  ASSERT_EQ(m_service.Requests("/broken/").size(), 1u) << "the sweep's try";
  EXPECT_NE(m_service.Requests("/broken/")[0].path, "/broken/shot.mov.3in1.jpg");
  ClickRow(2);
  const QImage picture = Shown();
  ExpectPicture(2, 0);

  // Requests for the address the request threads cut.
  const auto requests = [&] {
    const auto broken = m_service.Requests("/broken/");
    return std::count_if(broken.begin(), broken.end(), [](const RecordedRequest& request) {
      return request.path == "/broken/shot.mov.3in1.jpg";
    });
  };
  for (int selection = 1; selection <= 5; ++selection) {
    ClickRow(CatalogueService::kBrokenUser);
    ASSERT_TRUE(QTest::qWaitFor([&] { return requests() == selection; }, 10000));
  }
  FinishWorkers();
  ClickRow(CatalogueService::kBrokenUser);
  FinishWorkers();
  EXPECT_EQ(requests(), 5) << "the tries are used up";
  EXPECT_EQ(Shown(), picture);
  EXPECT_EQ(m_dialog.windowTitle(), "video_desc of user 05");
  EXPECT_TRUE(
      QString::fromStdU16String(DisplayText)
          .contains(Text("\r\nm_video_download_address-----\r\n" + base + "/broken/shot.mov\r\n")))
      << "the addresses as the request threads cut them";
}

TEST_F(CatalogueViews, AVideoPictureNoticeAfterTheViewChangedWritesOnlyWithinExistingRows) {
  constexpr int kLate = CatalogueService::kFirstLateVideo;
  constexpr int kVideos = 22;
  ShowTopList();
  FinishWorkers();
  m_service.LateGate().Shut();
  DoubleClickRow(CatalogueService::kProlificUser);
  ASSERT_TRUE(QTest::qWaitFor([&] { return m_list->isEnabled() && ListShows(3, kVideos); }, 10000));
  ASSERT_TRUE(
      QTest::qWaitFor([&] { return m_service.LateGate().Waiting() == kVideos - kLate; }, 20000));
  ASSERT_TRUE(QTest::qWaitFor([&] { return !Column(1).mid(0, kLate).contains(QString()); }, 10000));
  EXPECT_EQ(Column(1).mid(kLate), QStringList(kVideos - kLate, QString()));

  PressButton(IDOK);
  const QStringList user_view = Column(1);
  m_service.LateGate().Open();
  FinishWorkers();
  EXPECT_EQ(Catalogue().Video(CatalogueService::kProlificUser, kVideos - 1)->m_picture_ready, 1)
      << "the late pictures did arrive";
  EXPECT_EQ(m_list->topLevelItemCount(), kUsers);
  EXPECT_EQ(Column(1), user_view);
}
