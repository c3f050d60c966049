// Start-up and memory of the program's window against a bare Qt window that only shows itself
// (as large as the dialog): the time from starting a process to the end of the window's first
// paint, and the resident memory once the window has idled for a second. Every run is a fresh
// process (this program again, with --pagetap or --bare) on the platform QT_QPA_PLATFORM names,
// an X server when DISPLAY is set, else Qt's offscreen platform.

#include "app/Run.h"
#include "bench/support/Figures.h"
#include "bench/support/Rows.h"
#include "ui/DialogTemplate.h"
#include "ui/DialogUnits.h"

#include <QApplication>
#include <QFile>
#include <QProcess>
#include <QTimer>
#include <QWidget>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

using namespace pagetap::bench;

constexpr int kRuns = 21;
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

// Notes the end of the first window's first frame, lets it idle, notes the resident memory and
// closes the window.
class FirstPaintWatch : public QObject {
 public:
  long long m_first_paint_ns = 0;
  long long m_idle_kib = 0;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (m_first_paint_ns != 0 || event->type() != QEvent::Paint) return false;
    auto* window = qobject_cast<QWidget*>(watched);
    if (window == nullptr || !window->isWindow()) return false;
    m_first_paint_ns = -1;
    // Runs once the frame that this paint starts has been painted whole.
    QTimer::singleShot(0, this, [this, window] {
      m_first_paint_ns = MonotonicNs();
      QTimer::singleShot(kIdleMs, this, [this, window] {
        m_idle_kib = ResidentKiB();
        window->close();
        QCoreApplication::quit();  // the bare window; the dialog ends the loop itself
      });
    });
    return false;
  }
};

int Child(int argc, char** argv, bool bare) {
  QApplication application(argc, argv);
  FirstPaintWatch watch;
  application.installEventFilter(&watch);
  if (bare) {
    QWidget window;
    QFont font = QApplication::font();
    font.setPointSize(kDialogPointSize);
    const DialogBaseUnits units = BaseUnitsOf(font);
    window.resize(DialogUnitsToPixelsX(kDialogWidth, units),
                  DialogUnitsToPixelsY(kDialogHeight, units));
    window.show();
    QApplication::exec();
  } else {
    Run(Qt::WindowNoState);
  }
  std::printf("%lld %lld %s\n", watch.m_first_paint_ns, watch.m_idle_kib,
              qPrintable(QGuiApplication::platformName()));
  return 0;
}

std::string platform_name = "?";

void Start(benchmark::State& state, const QString& program, const QString& mode) {
  for (auto _ : state) {
    QProcess child;
    child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const long long started = MonotonicNs();
    child.start(program, {mode});
    if (!child.waitForFinished(60000)) {
      state.SkipWithError("the window did not close");
      return;
    }
    const QList<QByteArray> figures = child.readAllStandardOutput().trimmed().split(' ');
    if (figures.size() != 3 || figures[0].toLongLong() <= 0 || figures[1].toLongLong() <= 0) {
      state.SkipWithError("the window reported nothing");
      return;
    }
    state.SetIterationTime(static_cast<double>(figures[0].toLongLong() - started) / 1e9);
    state.counters["resident_bytes"] = static_cast<double>(figures[1].toLongLong()) * 1024.0;
    platform_name = figures[2].toStdString();
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && QByteArray(argv[1]) == "--pagetap") return Child(argc, argv, false);
  if (argc > 1 && QByteArray(argv[1]) == "--bare") return Child(argc, argv, true);

  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  InitializeBenchmarks(&argc, argv);
  QCoreApplication application(argc, argv);
  const QString program = QCoreApplication::applicationFilePath();
  for (auto* bench :
       {benchmark::RegisterBenchmark("Startup/pagetap", Start, program, "--pagetap"),
        benchmark::RegisterBenchmark("Startup/bare_window", Start, program, "--bare")}) {
    bench->Iterations(1)->Repetitions(kRuns)->UseManualTime()->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  const auto paint = figures.Seconds("Startup/pagetap");
  const auto bare_paint = figures.Seconds("Startup/bare_window");
  const auto memory = figures.Counter("Startup/pagetap", "resident_bytes");
  const auto bare_memory = figures.Counter("Startup/bare_window", "resident_bytes");
  const auto paint_ratio = Ratio(paint, bare_paint);
  const auto memory_ratio = Ratio(memory, bare_memory);
  const std::string runs =
      " (" + platform_name + " platform, median of " + std::to_string(kRuns) + ")";
  PublishRows({
      {"process start to the end of the window's first paint" + runs,
       paint ? Milliseconds(*paint) : "failed: " + figures.Error("Startup/pagetap"),
       "bare Qt window: " + (bare_paint ? Milliseconds(*bare_paint) : "failed"),
       RatioText(paint_ratio, 2), "time ratio ≤ 1.25", Verdict(paint_ratio, 1.25, true),
       WindowBenchCommand("ui_startup_bench")},
      {"resident memory after " + std::to_string(kIdleMs) + " ms idle" + runs,
       memory ? Mebibytes(*memory) : "failed",
       "bare Qt window: " + (bare_memory ? Mebibytes(*bare_memory) : "failed"),
       RatioText(memory_ratio, 2), "ratio ≤ 1.3", Verdict(memory_ratio, 1.3, true),
       WindowBenchCommand("ui_startup_bench")},
  });
  return 0;
}
