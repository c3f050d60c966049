#include "pictures/CFileObjLooker.h"

#include <QPainter>
#include <QPalette>
#include <string_view>

namespace {

// libjpeg draws a JPEG that ends early with its missing rows grey and calls it decoded; such a
// download was cut short, so it counts as bytes that do not decode. A whole JPEG ends with its
// end-of-image marker, which nothing inside the compressed data can imitate.
bool IsCutShortJpeg(const unsigned char* bytes, int size) {
  const std::string_view data(reinterpret_cast<const char*>(bytes), static_cast<std::size_t>(size));
  const bool jpeg = data.starts_with("\xFF\xD8\xFF");
  return jpeg && data.rfind("\xFF\xD9") == std::string_view::npos;
}

}  // namespace

CFileObjLooker::CFileObjLooker(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted below, so there is no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CFileObjLooker::LoadPicture(const unsigned char* bytes, int size) {
  if (bytes == nullptr || size <= 0) return false;
  m_image = std::make_unique<QImage>();
  const bool decoded = !IsCutShortJpeg(bytes, size) && m_image->loadFromData(bytes, size);
  // Painting stretches the picture on every repaint; a screen format makes that cheap.
  if (decoded) *m_image = m_image->convertToFormat(QImage::Format_RGB32);
  m_state = decoded ? PictureState::Loaded : PictureState::Failed;
  update();
  return decoded;
}

void CFileObjLooker::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  DrawItem(painter, rect());
}

void CFileObjLooker::DrawItem(QPainter& painter, const QRect& item) {
  painter.fillRect(item, palette().color(QPalette::Shadow));
  if (m_state == PictureState::Loaded) {
    DrawPicture(painter, item);
    return;
  }
  // The default pen: one pixel wide, black.
  painter.setPen(QPen(Qt::black, 0));
  painter.drawLine(item.topLeft(), item.bottomRight());
}

void CFileObjLooker::DrawPicture(QPainter& painter, const QRect& item) {
  if (!m_image) return;
  // Whole picture onto the whole control, aspect ratio not kept, whole pixels repeated or
  // dropped without smoothing.
  painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
  painter.drawImage(QRect(0, 0, item.right() + 1, item.bottom() + 1), *m_image, m_image->rect());
}
