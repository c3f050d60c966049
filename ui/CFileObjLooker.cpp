#include "ui/CFileObjLooker.h"

#include "platform/Workers.h"
#include "ui/PictureDecoding.h"
#include "ui/WorkerNoticeEvent.h"

#include <QEvent>
#include <QPainter>
#include <QPalette>

#include <mutex>
#include <utility>

namespace {

const QEvent::Type kDecodedEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

}  // namespace

// Where a worker leaves its decoded picture for the control, while the control lives.
struct CFileObjLooker::Mailbox {
  std::mutex m_mutex;
  CFileObjLooker* m_control = nullptr;  // null once the control is gone
  std::optional<std::pair<std::uint64_t, QImage>> m_decoded;
};

CFileObjLooker::CFileObjLooker(QWidget* parent)
    : QWidget(parent), m_mailbox(std::make_shared<Mailbox>()) {
  m_mailbox->m_control = this;
  // Every pixel is painted below, so there is no background to erase first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

CFileObjLooker::~CFileObjLooker() {
  std::lock_guard lock(m_mailbox->m_mutex);
  m_mailbox->m_control = nullptr;
}

bool CFileObjLooker::LoadPicture(const unsigned char* bytes, int size) {
  if (bytes == nullptr || size <= 0) return false;
  ++m_load;
  m_waiting.reset();
  QByteArray copy(reinterpret_cast<const char*>(bytes), size);
  const auto picture_size = ShowablePictureSize(copy);
  if (!picture_size) {
    Show(std::nullopt);
    return false;
  }
  if (DecodesQuickly(copy, *picture_size)) {
    QImage image = DecodePicture(copy);
    if (image.isNull()) {
      Show(std::nullopt);
      return false;
    }
    Show(std::move(image));
    return true;
  }
  DecodeJob job{m_load, std::move(copy)};
  if (m_decoding) {
    m_waiting = std::move(job);
    return true;
  }
  StartDecode(std::move(job));
  return m_decoding;
}

bool CFileObjLooker::event(QEvent* event) {
  AcquirePostedEvents();
  if (event->type() != kDecodedEvent) return QWidget::event(event);
  TakeDecoded();
  return true;
}

// A null image is bytes that did not decode.
void CFileObjLooker::Show(std::optional<QImage> image) {
  const bool decoded = image && !image->isNull();
  m_image = std::make_unique<QImage>(decoded ? std::move(*image) : QImage());
  m_state = decoded ? PictureState::Loaded : PictureState::Failed;
  update();
}

// Without a worker (the window is closing, or no thread could be made) the picture is not shown.
void CFileObjLooker::StartDecode(DecodeJob job) {
  const std::uint64_t load = job.m_load;
  m_decoding = StartWorker([mailbox = m_mailbox, job = std::move(job)] {
    QImage image = DecodePicture(job.m_bytes);
    std::lock_guard lock(mailbox->m_mutex);
    if (mailbox->m_control == nullptr) return;
    mailbox->m_decoded.emplace(job.m_load, std::move(image));
    PostFromWorker(mailbox->m_control, new QEvent(kDecodedEvent));
  });
  if (!m_decoding && load == m_load) Show(std::nullopt);
}

// A decode for an earlier load is dropped; the load that waited meanwhile starts next.
void CFileObjLooker::TakeDecoded() {
  std::optional<std::pair<std::uint64_t, QImage>> decoded;
  {
    std::lock_guard lock(m_mailbox->m_mutex);
    decoded.swap(m_mailbox->m_decoded);
  }
  m_decoding = false;
  if (decoded && decoded->first == m_load) Show(std::move(decoded->second));
  if (m_waiting) {
    DecodeJob next = std::move(*m_waiting);
    m_waiting.reset();
    StartDecode(std::move(next));
  }
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
