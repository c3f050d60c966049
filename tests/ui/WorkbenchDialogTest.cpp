// The request workbench driven through the real dialog: the form, GET and POST on workers
// against a local server, the one-at-a-time rule, the paste and clear buttons, and the check
// boxes when the workbench is enabled from start-up.

#include "http/Workbench.h"
#include "platform/Notices.h"
#include "platform/Workers.h"
#include "tests/support/TempCurrentDirectory.h"
#include "tests/support/TestServer.h"
#include "tests/ui/DialogFixture.h"
#include "ui/CMultiLineEdit.h"
#include "ui/ControlIds.h"

#include <QCheckBox>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <vector>

// Readable failure messages for texts of the dialog.
static void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

namespace {

using namespace std::chrono_literals;
using pagetap::test::RecordedRequest;
using pagetap::test::ScopedEnvironment;

// Declares its charset, so the result box shows it decoded from UTF-8.
const std::string kReply = "<meta charset=\"utf-8\">回声";
constexpr int kPatienceMs = 20000;

// What the dialog wrote to the debug output; kept out of the test log.
std::vector<QString> debug_output;
QtMessageHandler other_output = nullptr;

void KeepDebugOutput(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type == QtDebugMsg) {
    debug_output.push_back(message);
  } else {
    other_output(type, context, message);
  }
}

std::string Header(const RecordedRequest& request, const char* name) {
  const auto found = request.headers.find(name);
  return found == request.headers.end() ? std::string() : found->second;
}

class WorkbenchDialog : public pagetap::test::ShownDialog {
 protected:
  void SetUp() override {
    debug_output.clear();
    other_output = qInstallMessageHandler(KeepDebugOutput);
    ShownDialog::SetUp();
    m_get = Item<QPushButton>(IDC_GET);
    m_post = Item<QPushButton>(IDC_POST);
    m_url = Item<QLineEdit>(IDC_URL);
    m_referer = Item<QLineEdit>(IDC_REFERER);
    m_post_data = Item<QPlainTextEdit>(IDC_POSTDATA);
    m_result = Item<QPlainTextEdit>(IDC_RESULT);

    m_server.ServeText("/echo", kReply, "text/html");
    m_server.ServeSetCookie("/cookie/set", "session=abc123; Path=/");
    // Answers once the test lets it, so that a transfer is known to be under way meanwhile.
    const auto held = [this](const httplib::Request&, httplib::Response& response) {
      m_held_arrived = true;
      while (!m_release_held && !m_server.WaitForStop(10ms)) {
      }
      response.set_content(kReply, "text/html");
    };
    m_server.Routes().Get("/held", held);
    m_server.Routes().Post("/held", held);
    m_server.Start();
  }

  void TearDown() override {
    m_release_held = true;
    EXPECT_TRUE(WaitForWorkers(10s));
    qInstallMessageHandler(other_output);
  }

  // Without the start-up setting the workbench is idle until an EnableSend arrives.
  void ReachWorkbench() {
    PostNotice(1, EnableSend);
    QCoreApplication::sendPostedEvents();
    ASSERT_TRUE(m_get->isEnabled() && m_post->isEnabled());
  }

  static void Press(QAbstractButton* button) { QTest::mouseClick(button, Qt::LeftButton); }
  void Press(int id) { Press(Item<QAbstractButton>(id)); }

  bool SendButtonsBack() {
    return QTest::qWaitFor([this] { return m_get->isEnabled() && m_post->isEnabled(); },
                           kPatienceMs);
  }

  // Presses `button` and waits for the transfer's result and both buttons.
  [[nodiscard]] bool Transfer(QPushButton* button) {
    Press(button);
    return SendButtonsBack();
  }

  // What the last transfers added to the result box since `before`.
  QString AddedSince(const QString& before) const {
    const QString now = m_result->toPlainText();
    EXPECT_TRUE(now.startsWith(before));
    return now.mid(before.size());
  }

  std::string Url(const std::string& path) const { return m_server.BaseUrl() + path; }

  pagetap::test::TempCurrentDirectory m_directory;  // the cookie file lands here
  pagetap::test::TestServer m_server;
  std::atomic<bool> m_held_arrived{false};
  std::atomic<bool> m_release_held{false};
  QPushButton* m_get = nullptr;
  QPushButton* m_post = nullptr;
  QLineEdit* m_url = nullptr;
  QLineEdit* m_referer = nullptr;
  QPlainTextEdit* m_post_data = nullptr;
  QPlainTextEdit* m_result = nullptr;
};

const QString kReplyShown = QString::fromStdString(kReply);

}  // namespace

TEST_F(WorkbenchDialog, AnEmptyUrlStartsNothingAndAUrlOfSpacesIsSentAsTyped) {
  ReachWorkbench();
  const QString before = m_result->toPlainText();

  for (QPushButton* button : {m_get, m_post}) {
    Press(button);
    EXPECT_FALSE(button->isEnabled()) << "the pressed button waits for EnableSend";
    EXPECT_EQ(RunningWorkers(), 0u);
    QCoreApplication::sendPostedEvents();
    EXPECT_TRUE(m_get->isEnabled());
    EXPECT_TRUE(m_post->isEnabled());
  }
  EXPECT_EQ(m_result->toPlainText(), before);

  m_url->setText(QStringLiteral("   "));
  ASSERT_TRUE(Transfer(m_get));
  EXPECT_EQ(FormSnapshot.url, "   ");
  EXPECT_EQ(AddedSince(before), "\n" + QString::fromUtf8("未收到任何信息!") + "\n")
      << "the transfer ran and brought no data";
  EXPECT_EQ(m_server.RequestCount(), 0u);
}

TEST_F(WorkbenchDialog, GetAppendsEachDecodedResponseAndBringsBothButtonsBack) {
  ReachWorkbench();
  const QString before = m_result->toPlainText();
  QTest::keyClicks(m_url, QString::fromStdString(Url("/echo?q=1")));

  Press(m_get);
  EXPECT_FALSE(m_get->isEnabled());
  EXPECT_TRUE(m_post->isEnabled()) << "only the pressed button goes grey";
  ASSERT_TRUE(SendButtonsBack());
  EXPECT_EQ(AddedSince(before), "\n" + kReplyShown + "\n");

  ASSERT_TRUE(Transfer(m_get));
  EXPECT_EQ(AddedSince(before), "\n" + kReplyShown + "\n\n" + kReplyShown + "\n")
      << "earlier results stay";
  ASSERT_EQ(m_server.RequestCount(), 2u);
  for (const RecordedRequest& request : m_server.Requests()) {
    EXPECT_EQ(request.method, "GET");
    EXPECT_EQ(request.target, "/echo?q=1");
    EXPECT_EQ(Header(request, "Referer"), "");
    EXPECT_EQ(Header(request, "Cookie"), "") << "the check boxes stayed disabled, so no cookies";
  }
}

// A megabyte on one line, then short lines: the box takes it in over many turns of the event
// loop, holding the long line as several blocks, yet its text and a copy of it are the
// response exactly, and GET comes back only once all of it is in. A CLEAR while a response
// goes in empties the box for good and brings the buttons back.
TEST_F(WorkbenchDialog, ALongResponseIsAllInTheBoxWhenTheButtonsComeBack) {
  std::string body(1u << 20, ' ');
  for (std::size_t at = 0; at < body.size(); ++at) body[at] = static_cast<char>('!' + at % 90);
  const std::string declaration = "charset=\"utf-8\" ";
  body.replace(0, declaration.size(), declaration);
  // A character past U+FFFF, two UTF-16 units, where the box's first 8 K-unit slice ends.
  body.replace(8 * 1024 - 1, 4, "\xF0\x9F\x98\x80");
  for (int line = 0; line < 20000; ++line) body += "\r\nline " + std::to_string(line);
  m_server.ServeText("/long", body, "text/plain");
  ReachWorkbench();
  auto* result = Item<CMultiLineEdit>(IDC_RESULT);
  const QString before = result->Text();
  m_url->setText(QString::fromStdString(Url("/long")));

  ASSERT_TRUE(Transfer(m_get));
  const QString expected = before + "\r\n" + QString::fromStdString(body) + "\r\n";
  EXPECT_FALSE(result->Appending());
  EXPECT_TRUE(result->Text() == expected);
  EXPECT_GT(m_result->blockCount(), 20000 + 50) << "the long line is held in blocks";
  m_result->selectAll();
  m_result->copy();
  QString copied = expected;
  copied.replace("\r\n", "\n");
  EXPECT_TRUE(QGuiApplication::clipboard()->text() == copied);

  Press(m_get);
  ASSERT_TRUE(QTest::qWaitFor([result] { return result->Appending(); }, kPatienceMs));
  Press(ID_EDIT_CLEAR);
  EXPECT_TRUE(m_get->isEnabled() && m_post->isEnabled());
  QCoreApplication::processEvents();  // a turn already due finds nothing left to append
  EXPECT_TRUE(result->Text().isEmpty());
  EXPECT_TRUE(m_result->toPlainText().isEmpty());
}

TEST_F(WorkbenchDialog, PostSendsThePostDataTextWholeAsItStands) {
  ReachWorkbench();
  m_url->setText(QString::fromStdString(Url("/echo")));
  m_referer->setText(QStringLiteral("http://127.0.0.1/from here"));
  m_post_data->setPlainText(QStringLiteral("  name=a b&x=1\r\nline two  "));
  const QString before = m_result->toPlainText();
  ASSERT_TRUE(Transfer(m_post));
  EXPECT_EQ(AddedSince(before), "\n" + kReplyShown + "\n");

  // Far beyond the 32 767 characters one may type into an edit.
  std::string long_text;
  while (long_text.size() < 100000) long_text += "key=value&";
  QGuiApplication::clipboard()->setText(QString::fromStdString(long_text));
  Press(IDC_PPASTE);
  ASSERT_TRUE(Transfer(m_post));

  const std::vector<RecordedRequest> requests = m_server.Requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].method, "POST");
  EXPECT_EQ(requests[0].body, "  name=a b&x=1\r\nline two  ");
  EXPECT_EQ(Header(requests[0], "Referer"), "http://127.0.0.1/from here");
  EXPECT_EQ(requests[1].body.size(), long_text.size());
  EXPECT_EQ(requests[1].body, long_text);
}

TEST_F(WorkbenchDialog, APressWhileATransferRunsStartsNothing) {
  ReachWorkbench();
  m_url->setText(QString::fromStdString(Url("/held")));
  const QString before = m_result->toPlainText();
  Press(m_get);
  ASSERT_TRUE(QTest::qWaitFor([this] { return m_held_arrived.load(); }, kPatienceMs));

  Press(m_post);
  EXPECT_FALSE(m_post->isEnabled());
  EXPECT_EQ(RunningWorkers(), 1u);
  m_release_held = true;
  ASSERT_TRUE(SendButtonsBack()) << "the running transfer brings both buttons back";
  ASSERT_TRUE(WaitForWorkers(10s));
  EXPECT_EQ(m_server.RequestCount(), 1u);
  EXPECT_EQ(AddedSince(before), "\n" + kReplyShown + "\n");

  ASSERT_TRUE(Transfer(m_post));
  const std::vector<RecordedRequest> requests = m_server.Requests();
  ASSERT_EQ(requests.size(), 2u) << "once it ended, the next press goes out";
  EXPECT_EQ(requests[0].method, "GET");
  EXPECT_EQ(requests[1].method, "POST");
}

TEST_F(WorkbenchDialog, PasteReplacesTheEditWithTheClipboardTextLessItsSpaces) {
  QClipboard* clipboard = QGuiApplication::clipboard();
  const QString pasted = QStringLiteral("a b\tc");
  clipboard->setText(pasted);
  m_url->setText(QStringLiteral("old url"));
  m_referer->setText(QStringLiteral("old referer"));
  m_post_data->setPlainText(QStringLiteral("old\ndata"));

  Press(IDC_UPASTE);
  EXPECT_EQ(m_url->text(), QStringLiteral("ab\tc"));
  EXPECT_EQ(debug_output, std::vector<QString>{pasted}) << "the text as found";

  clipboard->setText(QStringLiteral(" x y \r\nz "));
  Press(IDC_RPASTE);
  Press(IDC_PPASTE);
  EXPECT_EQ(m_referer->text(), QStringLiteral("xy\r\nz"));
  EXPECT_EQ(m_post_data->toPlainText(), QStringLiteral("xy\nz"));

  auto* picture = new QMimeData;
  picture->setImageData(QImage(4, 4, QImage::Format_RGB32));
  clipboard->setMimeData(picture);
  Press(IDC_UPASTE);
  clipboard->clear();
  Press(IDC_RPASTE);
  Press(IDC_PPASTE);
  EXPECT_EQ(m_url->text(), QStringLiteral("ab\tc"));
  EXPECT_EQ(m_referer->text(), QStringLiteral("xy\r\nz"));
  EXPECT_EQ(m_post_data->toPlainText(), QStringLiteral("xy\nz"));
  EXPECT_EQ(debug_output.size(), 3u) << "nothing written for a clipboard without text";
}

TEST_F(WorkbenchDialog, ClearButtonsEmptyTheirEdits) {
  m_url->setText(QStringLiteral("u"));
  m_referer->setText(QStringLiteral("r"));
  m_post_data->setPlainText(QStringLiteral("p"));
  ASSERT_FALSE(m_result->toPlainText().isEmpty());

  Press(IDC_UCLEAR);
  EXPECT_TRUE(m_url->text().isEmpty());
  EXPECT_EQ(m_referer->text(), "r");
  Press(IDC_RCLEAR);
  EXPECT_TRUE(m_referer->text().isEmpty());
  EXPECT_EQ(m_post_data->toPlainText(), "p");
  Press(IDC_PCLEAR);
  EXPECT_TRUE(m_post_data->toPlainText().isEmpty());
  EXPECT_FALSE(m_result->toPlainText().isEmpty());
  Press(ID_EDIT_CLEAR);
  EXPECT_TRUE(m_result->toPlainText().isEmpty());
}

namespace {

class WorkbenchDialogFromStart : public WorkbenchDialog {
 protected:
  void Tick(int id, bool checked) {
    auto* check = Item<QCheckBox>(id);
    if (check->isChecked() != checked) Press(check);
    ASSERT_EQ(check->isChecked(), checked);
  }

  ScopedEnvironment m_workbench{"PAGETAP_WORKBENCH", "1"};
};

}  // namespace

TEST_F(WorkbenchDialogFromStart, CheckBoxesTraceShowHeadersAndKeepCookies) {
  ASSERT_TRUE(m_get->isEnabled() && m_post->isEnabled());
  m_url->setText(QString::fromStdString(Url("/echo")));

  Tick(IDC_DEBUG, true);
  QString before = m_result->toPlainText();
  ASSERT_TRUE(Transfer(m_get));
  QString added = AddedSince(before);
  EXPECT_TRUE(added.endsWith(kReplyShown + "\n")) << added.toStdString();
  EXPECT_GT(added.indexOf(QStringLiteral("GET /echo HTTP/1.1")), 0) << "the trace comes first";
  EXPECT_EQ(added.indexOf(QStringLiteral("HTTP/1.1 200")), -1) << "no response headers";

  Tick(IDC_DEBUG, false);
  Tick(IDC_HEAD, true);
  before = m_result->toPlainText();
  ASSERT_TRUE(Transfer(m_get));
  added = AddedSince(before);
  EXPECT_TRUE(added.startsWith(QStringLiteral("\nHTTP/1.1 200 OK\n"))) << added.toStdString();
  EXPECT_TRUE(added.endsWith(kReplyShown + "\n"));
  EXPECT_EQ(added.indexOf(QStringLiteral("GET /echo")), -1) << "no trace";

  Tick(IDC_HEAD, false);
  Tick(IDC_SAVECOOKIE, true);
  m_url->setText(QString::fromStdString(Url("/cookie/set")));
  ASSERT_TRUE(Transfer(m_get));
  std::ifstream file(m_directory.Path() / kCookieFile);
  const std::string saved{std::istreambuf_iterator<char>(file), {}};
  EXPECT_NE(saved.find("session\tabc123"), std::string::npos) << saved;

  Tick(IDC_SAVECOOKIE, false);
  Tick(IDC_SENDCOOKIE, true);
  m_url->setText(QString::fromStdString(Url("/echo")));
  ASSERT_TRUE(Transfer(m_post));

  const std::vector<RecordedRequest> requests = m_server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(Header(requests[2], "Cookie"), "");
  EXPECT_EQ(requests[3].method, "POST");
  EXPECT_EQ(Header(requests[3], "Cookie"), "session=abc123");
}
