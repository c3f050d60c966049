#include "pictures/CFileObjLooker.h"

#include <QPainter>
#include <QPalette>

CFileObjLooker::CFileObjLooker(QWidget* parent) : QWidget(parent) {
  // Every pixel is painted below, so there is no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

bool CFileObjLooker::LoadPicture(const unsigned char* bytes, int size) {
  if (bytes == nullptr || size <= 0) return false;
  m_image = std::make_unique<QImage>();
  const bool decoded = m_image->loadFromData(bytes, size);
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
