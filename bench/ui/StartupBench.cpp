// Start-up and memory of the program's window: the time from starting a process to the end of
// the dialog's first paint, and the resident memory once the dialog has idled for a second.
// Each run is a fresh process (this program again, with --child) on Qt's offscreen platform
// unless QT_QPA_PLATFORM says otherwise; the figures are printed, not asserted.

#include "app/Run.h"
#include "ui/CMainDlg.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int kRuns = 15;
constexpr int kIdleMs = 1000;

long long MonotonicNs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return now.tv_sec * 1'000'000'000LL + now.tv_nsec;
}

long long ResidentKiB() {
  QFile status(QStringLiteral("/proc/self/status"));
  if (!status.open(QIODevice::ReadOnly)) return -1;
  for (const QByteArray& line : status.readAll().split('\n')) {
    if (line.startsWith("VmRSS:")) return line.mid(6).trimmed().split(' ').first().toLongLong();
  }
  return -1;
}

// Notes the end of the dialog's first frame, then lets it idle and closes it.
class FirstPaintWatch : public QObject {
 public:
  long long m_first_paint_ns = 0;
  long long m_idle_kib = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (m_first_paint_ns != 0 || event->type() != QEvent::Paint) return false;
    auto* dialog = qobject_cast<CMainDlg*>(watched);
    if (dialog == nullptr) return false;
    m_first_paint_ns = -1;
    // Runs once the frame that this paint starts has been painted whole.
    QTimer::singleShot(0, this, [this, dialog] {
      m_first_paint_ns = MonotonicNs();
      QTimer::singleShot(kIdleMs, this, [this, dialog] {
        m_idle_kib = ResidentKiB();
        dialog->close();
      });
    });
    return false;
  }
};

int Child(int argc, char** argv) {
  QApplication application(argc, argv);
  FirstPaintWatch watch;
  application.installEventFilter(&watch);
  Run(Qt::WindowNoState);
  std::printf("%lld %lld\n", watch.m_first_paint_ns, watch.m_idle_kib);
  return 0;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && QByteArray(argv[1]) == "--child") return Child(argc, argv);

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  std::vector<double> paint_ms;
  std::vector<double> resident_mib;
  for (int run = 0; run < kRuns; ++run) {
    QProcess child;
    const long long started = MonotonicNs();
    child.start(QString::fromLocal8Bit(argv[0]), {QStringLiteral("--child")});
    if (!child.waitForFinished(60000)) {
      std::fprintf(stderr, "run %d did not finish\n", run);
      return 1;
    }
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 2 || figures[0].toLongLong() <= 0) {
      std::fprintf(stderr, "run %d reported nothing\n", run);
      return 1;
    }
    paint_ms.push_back(static_cast<double>(figures[0].toLongLong() - started) / 1e6);
    resident_mib.push_back(static_cast<double>(figures[1].toLongLong()) / 1024.0);
  }
  std::printf("start to first paint: median %.1f ms, min %.1f ms, max %.1f ms (%d runs)\n",
              Median(paint_ms), *std::min_element(paint_ms.begin(), paint_ms.end()),
              *std::max_element(paint_ms.begin(), paint_ms.end()), kRuns);
  std::printf("resident memory after %d ms idle: median %.1f MiB, max %.1f MiB\n", kIdleMs,
              Median(resident_mib), *std::max_element(resident_mib.begin(), resident_mib.end()));
  return 0;
}
