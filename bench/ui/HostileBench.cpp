// The program against hostile servers and big inputs: for each case a fresh process runs the
// program's own Run with its real dialog, a driver clicks through the case as a user would,
// a 10 ms timer notes the longest event-loop stall, and Esc ends it; the run reports its peak
// resident memory just before Esc. This process serves the misbehaving service
// (HostileService) and measures the time from Esc to the process's end and its exit code.
// Prints one Markdown row per case.
//
//   ui_hostile_bench             every case
//   ui_hostile_bench NAME...     the named cases

#include "app/Run.h"
#include "bench/ui/DialogDriver.h"
#include "bench/ui/HostileService.h"
#include "platform/Limits.h"
#include "platform/Workers.h"
#include "ui/CFileObjLooker.h"
#include "ui/CMainDlg.h"
#include "ui/CMultiLineEdit.h"
#include "ui/ControlIds.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTimer>
#include <QTreeWidget>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

extern char** environ;

namespace {

using namespace pagetap::bench;
using Clock = std::chrono::steady_clock;

constexpr int kPatienceMs = 240000;

struct Case {
  const char* m_name;
  const char* m_what;
  // Runs in the program's process with its dialog shown; true when what was shown is kept.
  bool (*m_drive)(CMainDlg& dialog, const std::string& url);
};

template <class Control>
Control& Item(CMainDlg& dialog, int id) {
  return *qobject_cast<Control*>(dialog.GetDlgItem(id));
}

bool UserViewOf(CMainDlg& dialog, int rows) {
  QTreeWidget& list = ListOf(dialog);
  return WaitFor(
      [&] {
        return list.isEnabled() && list.columnCount() == 4 && list.topLevelItemCount() == rows;
      },
      kPatienceMs);
}

bool FetchTopList(CMainDlg& dialog, int rows) {
  Item<QPushButton>(dialog, IDC_USERINFO).click();
  return UserViewOf(dialog, rows);
}

void UseService(const std::string& url, const char* service) {
  qputenv("PAGETAP_API_BASE", QByteArray::fromStdString(url + service));
}

// True when GET came back with the usage text still at the top of the result box and the
// response's last line, `last`, at its end. Only cheap looks at the document: reading a text of
// megabytes would itself stall the loop and add to the peak.
bool WorkbenchGet(CMainDlg& dialog, const std::string& address, const QString& last) {
  Item<QLineEdit>(dialog, IDC_URL).setText(QString::fromStdString(address));
  auto& get = Item<QPushButton>(dialog, IDC_GET);
  get.click();
  if (!WaitFor([&] { return get.isEnabled(); }, kPatienceMs)) return false;
  auto& result = Item<CMultiLineEdit>(dialog, IDC_RESULT);
  const QTextDocument& document = *result.document();
  QTextBlock final_line = document.lastBlock();
  while (final_line.isValid() && final_line.text().isEmpty()) final_line = final_line.previous();
  return !result.Appending() &&
         document.firstBlock().text().startsWith(QString::fromUtf8("使用方法")) &&
         final_line.text().endsWith(last);
}

bool OneLongLine(CMainDlg& dialog, const std::string& url) {
  QString end;
  for (int at = (1 << 20) - 10; at < (1 << 20); ++at) end += QChar('!' + at % 90);
  return WorkbenchGet(dialog, url + "/line1mb", end);
}

bool ShortLines50(CMainDlg& dialog, const std::string& url) {
  return WorkbenchGet(dialog, url + "/lines50", QStringLiteral(" of a long response"));
}

// Past the workbench's limit: the part that arrived, cut anywhere in a line.
bool ShortLines200(CMainDlg& dialog, const std::string& url) {
  return WorkbenchGet(dialog, url + "/lines200", QString());
}

bool LongNickname(CMainDlg& dialog, const std::string& url) {
  UseService(url, "/nickname");
  if (!FetchTopList(dialog, 21)) return false;
  QTreeWidget& list = ListOf(dialog);
  list.setFocus();
  list.setCurrentItem(list.topLevelItem(20));
  const QPoint centre = list.visualItemRect(list.topLevelItem(20)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
  auto& result = Item<CMultiLineEdit>(dialog, IDC_RESULT);
  if (!WaitFor([&] { return !result.Appending(); }, kPatienceMs)) return false;
  for (int key = 0; key < 3; ++key) {
    QTest::keyClick(&list, Qt::Key_Up);
    Idle(50);
    QTest::keyClick(&list, Qt::Key_Down);
    Idle(50);
  }
  // The nickname and the description: a third of a million characters each.
  return WaitFor([&] { return !result.Appending(); }, kPatienceMs) &&
         list.topLevelItemCount() == 21 && result.Text().size() > 600000;
}

// A good top list first; then the hostile one must leave it as it was.
bool TopListAfterAGoodOne(CMainDlg& dialog, const std::string& url, const char* service) {
  UseService(url, "/ok");
  if (!FetchTopList(dialog, 20)) return false;
  UseService(url, service);
  return FetchTopList(dialog, 20);
}

bool NestedGzip(CMainDlg& dialog, const std::string& url) {
  return TopListAfterAGoodOne(dialog, url, "/nested");
}

bool EndlessBody(CMainDlg& dialog, const std::string& url) {
  return TopListAfterAGoodOne(dialog, url, "/endless");
}

// Ten presses at once, each fetching a document of a million empty elements.
bool TinyValues(CMainDlg& dialog, const std::string& url) {
  UseService(url, "/ok");
  if (!FetchTopList(dialog, 20)) return false;
  UseService(url, "/tiny");
  for (int press = 0; press < 10; ++press) Item<QPushButton>(dialog, IDC_USERINFO).click();
  return UserViewOf(dialog, 20) && WaitFor([] { return RunningWorkers() == 0; }, kPatienceMs) &&
         UserViewOf(dialog, 20);
}

// The whole sweep, then a second one under way when Esc comes.
bool HostilePictures(CMainDlg& dialog, const std::string& url, const char* service) {
  UseService(url, service);
  if (!FetchTopList(dialog, 100)) return false;
  if (!WaitFor([] { return RunningWorkers() == 0; }, kPatienceMs)) return false;
  QTreeWidget& list = ListOf(dialog);
  bool none_stored = true;
  for (int row = 0; row < 100; ++row)
    none_stored = none_stored && list.topLevelItem(row)->text(1).isEmpty();
  if (!FetchTopList(dialog, 100)) return false;
  Idle(2000);
  return none_stored;
}

bool LargePictures(CMainDlg& dialog, const std::string& url) {
  return HostilePictures(dialog, url, "/pictures25");
}

bool UnpackingPictures(CMainDlg& dialog, const std::string& url) {
  return HostilePictures(dialog, url, "/picturebomb");
}

bool BigJpegs(CMainDlg& dialog, const std::string& url) {
  UseService(url, "/bigjpeg");
  if (!FetchTopList(dialog, 10)) return false;
  if (!WaitFor([] { return RunningWorkers() == 0; }, kPatienceMs)) return false;
  QTreeWidget& list = ListOf(dialog);
  const QPoint first = list.visualItemRect(list.topLevelItem(0)).center();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, first);
  auto& picture = Item<CFileObjLooker>(dialog, IDC_PICTURE);
  const bool huge_refused = picture.State() == PictureState::Failed;
  for (int row = 1; row < 10; ++row) {
    QTest::keyClick(&list, Qt::Key_Down);
    Idle(100);
  }
  return WaitFor([&] { return !picture.Decoding(); }, kPatienceMs) && huge_refused &&
         picture.State() == PictureState::Loaded;
}

bool EndlessPages(CMainDlg& dialog, const std::string& url) {
  UseService(url, "/endlesspages");
  if (!FetchTopList(dialog, 1)) return false;
  QTreeWidget& list = ListOf(dialog);
  DoubleClickRow(list, 0);
  return WaitFor([&] { return list.isEnabled() && list.columnCount() == 3; }, kPatienceMs) &&
         static_cast<std::size_t>(list.topLevelItemCount()) == kMaxVideosPerUser;
}

const std::vector<Case> kCases = {
    {"line1mb", "workbench GET of 1 MB without a line break", OneLongLine},
    {"nickname", "top list with a 1 MB nickname, that row clicked, Up and Down", LongNickname},
    {"nested", "top list sent gzip inside gzip (2 GiB unpacked) after a good one", NestedGzip},
    {"endless", "top list with an endless chunked body after a good one", EndlessBody},
    {"tiny", "ten top-list presses at once, each a 4 MB document of a million empty elements",
     TinyValues},
    {"pictures25", "100 users whose pictures are 25 MB each; a second sweep at Esc", LargePictures},
    {"picturebomb", "100 users whose gzip pictures unpack without end; a second sweep at Esc",
     UnpackingPictures},
    {"bigjpeg", "progressive JPEGs of 5700 x 5700 and 3900 x 3900, clicked and walked with Down",
     BigJpegs},
    {"endlesspages", "user pages without end, 200 new videos each", EndlessPages},
    {"lines50", "workbench GET of 50 MB of short lines", ShortLines50},
    {"lines200", "workbench GET of 200 MB of short lines", ShortLines200},
};

// The process's peak resident memory so far (VmHWM). A spawned process's rusage would carry
// its parent's peak over from before the exec.
long PeakResidentKib() {
  std::FILE* status = std::fopen("/proc/self/status", "r");
  if (!status) return 0;
  char line[256];
  long kib = 0;
  while (std::fgets(line, sizeof line, status)) {
    if (std::sscanf(line, "VmHWM: %ld kB", &kib) == 1) break;
  }
  std::fclose(status);
  return kib;
}

// In the program's process: the dialog Run shows is driven once the loop runs; the result line
// goes to stdout just before Esc.
int RunCase(const Case& hostile, const std::string& url) {
  qputenv("PAGETAP_WORKBENCH", "1");
  int argc = 1;
  char name[] = "pagetap";
  char* argv[] = {name, nullptr};
  QApplication application(argc, argv);
  Clock::time_point last_tick;
  double longest_stall = 0;
  QTimer ticks;
  ticks.setTimerType(Qt::PreciseTimer);
  QObject::connect(&ticks, &QTimer::timeout, [&] {
    const auto now = Clock::now();
    longest_stall = std::max(longest_stall, std::chrono::duration<double>(now - last_tick).count());
    last_tick = now;
  });
  QTimer::singleShot(0, [&] {
    CMainDlg* dialog = nullptr;
    for (QWidget* window : QApplication::topLevelWidgets()) {
      if (auto* found = qobject_cast<CMainDlg*>(window)) dialog = found;
    }
    Idle(300);
    last_tick = Clock::now();
    ticks.start(10);
    QElapsedTimer taken;
    taken.start();
    const bool kept = dialog && hostile.m_drive(*dialog, url);
    const double seconds = taken.elapsed() / 1000.0;
    ticks.stop();
    const auto esc =
        std::chrono::duration_cast<std::chrono::microseconds>(Clock::now().time_since_epoch());
    std::printf("%d %.1f %.1f %ld %lld\n", kept ? 1 : 0, longest_stall * 1000, seconds,
                PeakResidentKib(), static_cast<long long>(esc.count()));
    std::fflush(stdout);
    QTest::keyClick(dialog, Qt::Key_Escape);
  });
  return Run(Qt::WindowNoState);
}

struct Outcome {
  bool ran = false;
  bool kept = false;
  double stall_ms = 0;
  double case_seconds = 0;
  double esc_ms = 0;
  long peak_mib = 0;
  int exit_code = -1;
};

Outcome Measure(const Case& hostile, const std::string& url) {
  int out[2];
  if (pipe(out) != 0) return {};
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, out[1], STDOUT_FILENO);
  posix_spawn_file_actions_addclose(&actions, out[0]);
  std::string self = "/proc/self/exe";
  std::string flag = "--in-program";
  std::string name = hostile.m_name;
  std::string base = url;
  char* argv[] = {self.data(), flag.data(), name.data(), base.data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawn(&child, self.c_str(), &actions, nullptr, argv, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(out[1]);
  if (spawned != 0) return {};
  std::string line;
  char piece[256];
  ssize_t got = 0;
  while (line.find('\n') == std::string::npos && (got = read(out[0], piece, sizeof piece)) > 0)
    line.append(piece, got);
  const auto read_at = Clock::now();
  int status = 0;
  waitpid(child, &status, 0);
  const auto ended = Clock::now();
  close(out[0]);
  Outcome outcome;
  int kept = 0;
  long peak_kib = 0;
  long long esc_us = 0;
  if (std::sscanf(line.c_str(), "%d %lf %lf %ld %lld", &kept, &outcome.stall_ms,
                  &outcome.case_seconds, &peak_kib, &esc_us) != 5) {
    return outcome;
  }
  outcome.ran = true;
  outcome.kept = kept == 1;
  const auto esc = Clock::time_point(std::chrono::microseconds(esc_us));
  outcome.esc_ms =
      std::chrono::duration<double, std::milli>(ended - std::min(esc, read_at)).count();
  outcome.peak_mib = peak_kib / 1024;
  outcome.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  if (argc == 4 && std::string(argv[1]) == "--in-program") {
    for (const Case& hostile : kCases) {
      if (hostile.m_name == std::string(argv[2])) return RunCase(hostile, argv[3]);
    }
    return 3;
  }
  std::vector<const Case*> chosen;
  for (const Case& hostile : kCases) {
    bool named = argc == 1;
    for (int arg = 1; arg < argc; ++arg) named = named || hostile.m_name == std::string(argv[arg]);
    if (named) chosen.push_back(&hostile);
  }
  std::fprintf(stderr, "making the hostile service's bodies\n");
  const HostileService service;
  std::printf(
      "| case | what the server sent | peak resident | longest stall | Esc to exit | exit code | "
      "shown before kept | case took |\n");
  std::printf("|---|---|---|---|---|---|---|---|\n");
  for (const Case* hostile : chosen) {
    std::fprintf(stderr, "case %s\n", hostile->m_name);
    const Outcome outcome = Measure(*hostile, service.BaseUrl());
    if (!outcome.ran) {
      std::printf("| %s | %s | — | — | — | %d | the case did not run | — |\n", hostile->m_name,
                  hostile->m_what, outcome.exit_code);
      continue;
    }
    std::printf("| %s | %s | %ld MiB | %.0f ms | %.0f ms | %d | %s | %.1f s |\n", hostile->m_name,
                hostile->m_what, outcome.peak_mib, outcome.stall_ms, outcome.esc_ms,
                outcome.exit_code, outcome.kept ? "yes" : "no", outcome.case_seconds);
    std::fflush(stdout);
  }
  return 0;
}
