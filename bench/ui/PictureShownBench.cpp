// From a click on a user in the list to the end of the picture control's paint that shows the
// user's screenshot picture, already downloaded: the details of the row, the picture's decoding
// (for a large one on a worker) and the stretched paint. Two typical 3-in-1 screenshots, a small
// and a large one, each set against Qt decoding the same JPEG alone.

#include "bench/support/Figures.h"
#include "bench/support/LocalServer.h"
#include "bench/support/Rows.h"
#include "bench/support/SampleTexts.h"
#include "bench/ui/DialogDriver.h"
#include "platform/Workers.h"
#include "ui/CFileObjLooker.h"
#include "ui/ControlIds.h"

#include <QApplication>
#include <QBuffer>
#include <QImage>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>
#include <QTimer>
#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace {

using namespace pagetap::bench;
using Clock = std::chrono::steady_clock;

constexpr int kRepetitions = 7;
constexpr int kClicksPerRepetition = 5;
constexpr double kGoalSeconds = 0.033;  // two frames at 60 Hz

struct Screenshot {
  const char* name;
  int width;
  int height;
};
// The user of row 0 has the small picture, the user of row 1 the large one.
constexpr Screenshot kScreenshots[] = {{"600x260", 600, 260}, {"3840x720", 3840, 720}};

// Three frames side by side, as the service's screenshot pictures are: gradients, shapes and
// some grain, so that the JPEG has the detail of a photograph rather than flat colour.
std::string Jpeg(int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  QPainter painter(&image);
  for (int frame = 0; frame < 3; ++frame) {
    const QRect area(frame * width / 3, 0, width / 3, height);
    QLinearGradient sky(area.topLeft(), area.bottomRight());
    sky.setColorAt(0, QColor::fromHsv(30 + frame * 90, 120, 240));
    sky.setColorAt(1, QColor::fromHsv(200 + frame * 40, 160, 90));
    painter.fillRect(area, sky);
    painter.setBrush(QColor::fromHsv(frame * 110, 200, 220));
    painter.drawEllipse(area.center(), width / 20 + frame * width / 100, height / 6);
  }
  painter.end();
  QRandomGenerator grain(7);
  for (int y = 0; y < height; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const int noise = static_cast<int>(grain.bounded(24)) - 12;
      const QRgb pixel = line[x];
      line[x] = qRgb(qBound(0, qRed(pixel) + noise, 255), qBound(0, qGreen(pixel) + noise, 255),
                     qBound(0, qBlue(pixel) + noise, 255));
    }
  }
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "JPG", 85);
  return bytes.toStdString();
}

// Notes the end of the first paint of the picture control that shows a finished load: one that
// is neither still decoding nor empty.
class PaintWatch : public QObject {
 public:
  explicit PaintWatch(CFileObjLooker& picture) : m_picture(picture) {
    picture.installEventFilter(this);
  }
  void Arm() {
    m_armed = true;
    m_painted.reset();
  }
  std::optional<Clock::time_point> Painted() const { return m_painted; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == &m_picture && event->type() == QEvent::Paint && m_armed &&
        !m_picture.Decoding() && m_picture.State() == PictureState::Loaded) {
      m_armed = false;
      // Runs once the frame that this paint belongs to has been painted and flushed.
      QTimer::singleShot(0, this, [this] { m_painted = Clock::now(); });
    }
    return false;
  }

 private:
  CFileObjLooker& m_picture;
  bool m_armed = false;
  std::optional<Clock::time_point> m_painted;
};

// Clicks `row` and returns the seconds until its picture was painted; nullopt when it never was.
std::optional<double> ClickToPicture(QTreeWidget& list, PaintWatch& watch, int row) {
  const QPoint centre = list.visualItemRect(list.topLevelItem(row)).center();
  watch.Arm();
  const auto clicked = Clock::now();
  QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, centre);
  if (!WaitFor([&] { return watch.Painted().has_value(); }, 10000)) return std::nullopt;
  return std::chrono::duration<double>(*watch.Painted() - clicked).count();
}

void Click(benchmark::State& state, QTreeWidget* list, PaintWatch* watch, int row) {
  for (auto _ : state) {
    double total = 0;
    for (int click = 0; click < kClicksPerRepetition; ++click) {
      // The other row first, so that every measured click changes the picture shown.
      const auto other = ClickToPicture(*list, *watch, 1 - row);
      const auto took = ClickToPicture(*list, *watch, row);
      if (!other || !took) {
        state.SkipWithError("the picture was not shown");
        return;
      }
      total += *took;
    }
    state.SetIterationTime(total / kClicksPerRepetition);
  }
}

void DecodeOnly(benchmark::State& state, const std::string& jpeg) {
  const QByteArray bytes = QByteArray::fromStdString(jpeg);
  for (auto _ : state) {
    QImage image;
    if (!image.loadFromData(bytes)) {
      state.SkipWithError("the JPEG did not decode");
      return;
    }
    benchmark::DoNotOptimize(image.constBits());
  }
}

bool BothPicturesListed(const QTreeWidget& list) {
  return list.topLevelItemCount() == 2 && list.columnCount() == 4 &&
         !list.topLevelItem(0)->text(1).isEmpty() && !list.topLevelItem(1)->text(1).isEmpty() &&
         RunningWorkers() == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
  }
  InitializeBenchmarks(&argc, argv);
  QApplication application(argc, argv);
  std::vector<std::string> jpegs;
  for (const Screenshot& shot : kScreenshots) jpegs.push_back(Jpeg(shot.width, shot.height));

  LocalServer server;
  server.Serve("/top_video",
               std::make_shared<const std::string>(PictureTopList(server.BaseUrl(), 2)));
  for (std::size_t user = 0; user < jpegs.size(); ++user) {
    server.Serve("/shots/" + std::to_string(user) + "/.*",
                 std::make_shared<const std::string>(jpegs[user]));
  }
  server.Start();
  qputenv("PAGETAP_API_BASE", server.BaseUrl().c_str());

  const auto dialog = ShowDialog();
  if (!dialog) return 1;
  QTreeWidget& list = ListOf(*dialog);
  qobject_cast<QPushButton*>(dialog->GetDlgItem(IDC_USERINFO))->click();
  if (!WaitFor([&] { return BothPicturesListed(list); }, 30000)) {
    std::fprintf(stderr, "the pictures did not arrive\n");
    return 1;
  }
  auto* picture = qobject_cast<CFileObjLooker*>(dialog->GetDlgItem(IDC_PICTURE));
  PaintWatch watch(*picture);

  for (int row = 0; row < 2; ++row) {
    const std::string name = kScreenshots[row].name;
    benchmark::RegisterBenchmark(("ClickToPicture/" + name).c_str(), Click, &list, &watch, row)
        ->Iterations(1)
        ->Repetitions(kRepetitions)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond);
    // Enough iterations that the first of a repetition, which may find its memory given back,
    // weighs little.
    benchmark::RegisterBenchmark(("Decode/" + name).c_str(), DecodeOnly, jpegs[row])
        ->Iterations(20)
        ->Repetitions(kRepetitions)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
  }
  FigureCollector figures;
  benchmark::RunSpecifiedBenchmarks(&figures);
  benchmark::Shutdown();

  std::vector<Row> rows;
  for (int row = 0; row < 2; ++row) {
    const Screenshot& shot = kScreenshots[row];
    const std::string click_name = std::string("ClickToPicture/") + shot.name;
    const std::string decode_name = std::string("Decode/") + shot.name;
    const auto click = figures.Seconds(click_name);
    const auto decode = figures.Seconds(decode_name);
    const auto ratio = Ratio(click, decode);
    rows.push_back({
        "click on a user whose " + std::to_string(shot.width) + " x " +
            std::to_string(shot.height) + " screenshot (a " +
            std::to_string(jpegs[row].size() / 1024) +
            " KiB JPEG) is downloaded, to the end of the paint that shows it (" +
            QGuiApplication::platformName().toStdString() + ", median of " +
            std::to_string(kRepetitions) + ")",
        click ? Milliseconds(*click) : "failed: " + figures.Error(click_name),
        "`QImage::loadFromData` of the picture alone: " +
            (decode ? Milliseconds(*decode) : "failed: " + figures.Error(decode_name)),
        ratio ? Fixed(*ratio, 2) + " of the decode" : "—",
        "≤ 33 ms",
        click ? (*click <= kGoalSeconds ? "met" : "not met") : "not met (no figure)",
        WindowBenchCommand("ui_picture_bench"),
    });
  }
  PublishRows(rows);
  return 0;
}
