#include "ui/PictureDecoding.h"

#include "platform/Limits.h"

#include <QBuffer>
#include <QImageReader>

#include <string_view>

namespace {

// A typical screenshot (up to 3840 x 720, a few hundred KiB) decodes in a few tens of
// milliseconds; a larger one decodes off the UI thread.
constexpr long long kQuickPixels = 3LL * 1000 * 1000;
constexpr qsizetype kQuickBytes = 512 * 1024;

// Room for the decoded picture at four bytes a pixel, in the megabytes Qt's reader counts.
constexpr int kAllocationLimitMb = static_cast<int>(kMaxPicturePixels * 4 / (1024 * 1024)) + 1;

// libjpeg draws a JPEG that ends early with its missing rows grey and calls it decoded; such a
// download was cut short, so it counts as bytes that do not decode. A whole JPEG ends with its
// end-of-image marker, which nothing inside the compressed data can imitate.
bool IsCutShortJpeg(const QByteArray& bytes) {
  const std::string_view data(bytes.constData(), static_cast<std::size_t>(bytes.size()));
  return data.starts_with("\xFF\xD8\xFF") && data.rfind("\xFF\xD9") == std::string_view::npos;
}

}  // namespace

std::optional<QSize> ShowablePictureSize(const QByteArray& bytes) {
  if (IsCutShortJpeg(bytes)) return std::nullopt;
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  const QByteArray format = reader.format();
  if (format.isEmpty() || format.startsWith("svg")) return std::nullopt;
  const QSize size = reader.size();
  if (!size.isValid() || static_cast<long long>(size.width()) * size.height() > kMaxPicturePixels) {
    return std::nullopt;
  }
  return size;
}

bool DecodesQuickly(const QByteArray& bytes, QSize size) {
  return bytes.size() <= kQuickBytes &&
         static_cast<long long>(size.width()) * size.height() <= kQuickPixels;
}

QImage DecodePicture(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  QImageReader reader(&buffer);
  reader.setAllocationLimit(kAllocationLimitMb);
  QImage image;
  if (!reader.read(&image)) return {};
  return image.convertToFormat(QImage::Format_RGB32);
}
