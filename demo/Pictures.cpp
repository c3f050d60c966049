#include "demo/Pictures.h"

#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QPainter>

namespace pagetap::demo {
namespace {

constexpr int kJpegQuality = 85;
constexpr int kNumberBits = 16;  // the strip along each frame's foot that spells the number

QColor Shade(int hue, int saturation, int value) {
  return QColor::fromHsv(hue % 360, saturation, value);
}

// One frame: sky, ground, a house, and a ball that moves from frame to frame.
void DrawFrame(QPainter& painter, int number, int frame) {
  const int hue = number * 47;
  const int ground = 70 + number % 25;
  painter.fillRect(0, 0, kFrameWidth, ground, Shade(hue, 70, 235));
  painter.fillRect(0, ground, kFrameWidth, kFrameHeight - ground, Shade(hue + 140, 150, 140));

  const int house_width = 24 + (number / 3) % 30;
  const int house_height = 18 + (number / 7) % 30;
  const int house_x = 10 + (number * 13) % (kFrameWidth - house_width - 20);
  painter.fillRect(house_x, ground - house_height, house_width, house_height,
                   Shade(hue + 60, 120, 180));

  const int radius = 8 + number % 12;
  const int step = 35 + number % 20;
  const QPointF ball(radius + 6 + frame * step, ground - radius - (frame == 1 ? 22 : 2));
  painter.setPen(Qt::NoPen);
  painter.setBrush(Shade(hue + 220, 200, 250));
  painter.drawEllipse(ball, radius, radius);

  const int cell = kFrameWidth / kNumberBits;
  for (int bit = 0; bit < kNumberBits; ++bit) {
    painter.fillRect(bit * cell, kFrameHeight - 6, cell, 6,
                     (number >> bit) & 1 ? Qt::black : Qt::white);
  }
}

}  // namespace

std::string MakePicture(int number) {
  QImage image(kFrames * kFrameWidth, kFrameHeight, QImage::Format_RGB32);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  for (int frame = 0; frame < kFrames; ++frame) {
    painter.save();
    painter.translate(frame * kFrameWidth, 0);
    painter.setClipRect(0, 0, kFrameWidth, kFrameHeight);
    DrawFrame(painter, number, frame);
    painter.restore();
  }
  painter.setPen(QPen(Qt::black, 2));
  for (int frame = 1; frame < kFrames; ++frame) {
    painter.drawLine(frame * kFrameWidth, 0, frame * kFrameWidth, kFrameHeight);
  }
  painter.end();

  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "JPG", kJpegQuality)) return {};
  return bytes.toStdString();
}

}  // namespace pagetap::demo
