// The picture control: its empty state, a real JPEG stretched over it, and what loading does
// with bytes that are not a picture or with no bytes at all.

#include "ui/CFileObjLooker.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QPalette>
#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// Not the pictures' 2:1, so that a kept aspect ratio would show.
constexpr int kWidth = 240;
constexpr int kHeight = 90;

QByteArray Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  EXPECT_TRUE(image.save(&buffer, format, 95));
  return bytes;
}

// A JPEG of one colour, quick to make at any size.
QByteArray FlatJpeg(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return Encoded(image, "JPG");
}

// 64 by 32 pixels, one colour per quadrant.
QByteArray QuadrantsJpeg() {
  QImage image(64, 32, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.fillRect(0, 0, 32, 16, Qt::red);
  painter.fillRect(32, 0, 32, 16, Qt::green);
  painter.fillRect(0, 16, 32, 16, Qt::blue);
  painter.fillRect(32, 16, 32, 16, Qt::yellow);
  painter.end();
  return Encoded(image, "JPG");
}

// JPEG keeps flat colours nearly, but not exactly.
bool Near(QColor actual, QColor expected) {
  constexpr int kTolerance = 24;
  return std::abs(actual.red() - expected.red()) <= kTolerance &&
         std::abs(actual.green() - expected.green()) <= kTolerance &&
         std::abs(actual.blue() - expected.blue()) <= kTolerance;
}

class PictureControl : public ::testing::Test {
 protected:
  void SetUp() override { m_control.resize(kWidth, kHeight); }

  QImage Shown() { return m_control.grab().toImage().convertToFormat(QImage::Format_RGB32); }

  bool Load(const QByteArray& bytes) {
    return m_control.LoadPicture(reinterpret_cast<const unsigned char*>(bytes.constData()),
                                 static_cast<int>(bytes.size()));
  }

  // The dark shadow colour everywhere but on one line from the top-left to the bottom-right
  // corner, drawn in black.
  void ExpectEmptyState() {
    const QImage shown = Shown();
    const QRgb fill = m_control.palette().color(QPalette::Shadow).rgb();
    const QRgb black = QColor(Qt::black).rgb();
    ASSERT_NE(fill, black);
    for (int x = 0; x < kWidth; ++x) {
      const int diagonal = (x * (kHeight - 1) + (kWidth - 1) / 2) / (kWidth - 1);
      int line_pixels = 0;
      for (int y = 0; y < kHeight; ++y) {
        const QRgb pixel = shown.pixel(x, y);
        if (pixel == black) {
          ++line_pixels;
          EXPECT_LE(std::abs(y - diagonal), 1)
              << "line pixel off the diagonal at " << x << "," << y;
        } else {
          ASSERT_EQ(pixel, fill) << "at " << x << "," << y;
        }
      }
      EXPECT_GE(line_pixels, 1) << "the diagonal is unbroken, column " << x;
    }
    EXPECT_EQ(shown.pixel(0, 0), black);
    EXPECT_EQ(shown.pixel(kWidth - 1, kHeight - 1), black);
  }

  CFileObjLooker m_control;
};

}  // namespace

TEST_F(PictureControl, StartsEmptyWithTheShadowFillAndOneDiagonal) {
  EXPECT_EQ(m_control.State(), PictureState::None);
  ExpectEmptyState();
}

TEST_F(PictureControl, StretchesTheWholeJpegOverTheWholeControl) {
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  EXPECT_EQ(m_control.State(), PictureState::Loaded);
  const QImage shown = Shown();
  // Near each corner.
  EXPECT_TRUE(Near(shown.pixelColor(1, 1), Qt::red));
  EXPECT_TRUE(Near(shown.pixelColor(kWidth - 2, 1), Qt::green));
  EXPECT_TRUE(Near(shown.pixelColor(1, kHeight - 2), Qt::blue));
  EXPECT_TRUE(Near(shown.pixelColor(kWidth - 2, kHeight - 2), Qt::yellow));
  // The quadrants meet in the middle of the control: the picture is neither centred, cropped
  // nor kept at its aspect ratio. (JPEG smears colour a little across the edges themselves.)
  constexpr int kClear = 8;
  const int middle_x = kWidth / 2;
  const int middle_y = kHeight / 2;
  EXPECT_TRUE(Near(shown.pixelColor(middle_x - kClear, middle_y - kClear), Qt::red));
  EXPECT_TRUE(Near(shown.pixelColor(middle_x + kClear, middle_y - kClear), Qt::green));
  EXPECT_TRUE(Near(shown.pixelColor(middle_x - kClear, middle_y + kClear), Qt::blue));
  EXPECT_TRUE(Near(shown.pixelColor(middle_x + kClear, middle_y + kClear), Qt::yellow));
}

// A lossless 4 by 2 picture: every source pixel becomes one 60 by 45 block of exactly its colour.
TEST_F(PictureControl, StretchesWholePixelsWithoutSmoothing) {
  const QRgb colours[2][4] = {
      {qRgb(255, 0, 0), qRgb(0, 255, 0), qRgb(0, 0, 255), qRgb(255, 255, 0)},
      {qRgb(0, 255, 255), qRgb(255, 0, 255), qRgb(255, 255, 255), qRgb(0, 0, 0)}};
  QImage image(4, 2, QImage::Format_RGB32);
  for (int y = 0; y < 2; ++y) {
    for (int x = 0; x < 4; ++x) image.setPixel(x, y, colours[y][x]);
  }
  ASSERT_TRUE(Load(Encoded(image, "PNG")));

  const QImage shown = Shown();
  for (int y = 0; y < kHeight; ++y) {
    for (int x = 0; x < kWidth; ++x) {
      const int source_x = x * 4 / kWidth;
      const int source_y = y * 2 / kHeight;
      // Which side of a block edge the pixels right on it take is the scaler's choice.
      const bool on_edge = x % (kWidth / 4) == 0 || x % (kWidth / 4) == kWidth / 4 - 1 ||
                           y % (kHeight / 2) == 0 || y % (kHeight / 2) == kHeight / 2 - 1;
      if (on_edge) continue;
      ASSERT_EQ(shown.pixel(x, y), colours[source_y][source_x]) << "at " << x << "," << y;
    }
  }
}

TEST_F(PictureControl, BytesThatAreNotAPictureShowTheEmptyState) {
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  EXPECT_FALSE(Load("<html><body>404 Not Found</body></html>"));
  EXPECT_EQ(m_control.State(), PictureState::Failed);
  ExpectEmptyState();

  QByteArray truncated = QuadrantsJpeg();
  truncated.truncate(40);
  EXPECT_FALSE(Load(truncated));
  EXPECT_EQ(m_control.State(), PictureState::Failed);
  ExpectEmptyState();

  // More pixels than a picture may have, however few bytes make them.
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  EXPECT_FALSE(Load(FlatJpeg(5000, 4000, Qt::white)));
  EXPECT_EQ(m_control.State(), PictureState::Failed);
  ExpectEmptyState();

  // Cut inside the picture's rows, where the decoder itself would carry on.
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  QByteArray cut = QuadrantsJpeg();
  const qsizetype scan = cut.indexOf("\xFF\xDA");
  ASSERT_GT(scan, 0);
  cut.truncate(scan + (cut.size() - scan) / 2);
  EXPECT_FALSE(Load(cut));
  EXPECT_EQ(m_control.State(), PictureState::Failed);
  ExpectEmptyState();
}

TEST_F(PictureControl, NoBytesKeepWhatTheControlShows) {
  const QByteArray jpeg = QuadrantsJpeg();
  ASSERT_TRUE(Load(jpeg));
  const QImage before = Shown();
  EXPECT_FALSE(m_control.LoadPicture(nullptr, static_cast<int>(jpeg.size())));
  EXPECT_FALSE(m_control.LoadPicture(reinterpret_cast<const unsigned char*>(jpeg.constData()), 0));
  EXPECT_EQ(m_control.State(), PictureState::Loaded);
  EXPECT_EQ(Shown(), before);

  CFileObjLooker fresh;
  EXPECT_FALSE(fresh.LoadPicture(nullptr, 0));
  EXPECT_EQ(fresh.State(), PictureState::None);
}

TEST_F(PictureControl, TheSameBytesTwiceShowTheSamePicture) {
  QByteArray jpeg = QuadrantsJpeg();
  ASSERT_TRUE(Load(jpeg));
  const QImage first = Shown();
  ASSERT_TRUE(Load(jpeg));
  EXPECT_EQ(Shown(), first);

  // The control keeps its own copy: the caller's bytes may go right after the call.
  jpeg.fill('\0');
  m_control.update();
  EXPECT_EQ(Shown(), first);
}

// A picture too large to decode on the UI thread arrives later; until then the control keeps
// what it showed, and a load after it wins over it however the decodes finish.
TEST_F(PictureControl, LargePicturesArriveLaterAndNeverOverALaterLoad) {
  const auto wait_for_decodes = [this] {
    while (m_control.Decoding()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  };
  const QByteArray blue = FlatJpeg(2000, 2000, Qt::blue);
  const QByteArray green = FlatJpeg(2000, 2000, Qt::green);
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  const QImage quadrants = Shown();

  ASSERT_TRUE(Load(blue));
  EXPECT_TRUE(m_control.Decoding());
  EXPECT_EQ(Shown(), quadrants);
  wait_for_decodes();
  EXPECT_EQ(m_control.State(), PictureState::Loaded);
  EXPECT_TRUE(Near(Shown().pixelColor(kWidth / 2, kHeight / 2), Qt::blue));

  // A small picture loaded while a large one decodes.
  ASSERT_TRUE(Load(green));
  ASSERT_TRUE(Load(QuadrantsJpeg()));
  wait_for_decodes();
  EXPECT_EQ(Shown(), quadrants);

  // Three large ones in a row: the one in the middle never decodes, the last is shown.
  ASSERT_TRUE(Load(blue));
  ASSERT_TRUE(Load(QuadrantsJpeg() + QByteArray(600 * 1024, '\0')));
  ASSERT_TRUE(Load(green));
  wait_for_decodes();
  EXPECT_TRUE(Near(Shown().pixelColor(kWidth / 2, kHeight / 2), Qt::green));
}
