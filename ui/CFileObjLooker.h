#pragma once

// The picture control: shows one screenshot picture stretched over the whole control, or, with
// no picture, the dark shadow colour crossed by one diagonal.

#include <QByteArray>
#include <QImage>
#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>

enum class PictureState { None, Loaded, Failed };

class CFileObjLooker : public QWidget {
  Q_OBJECT

 public:
  explicit CFileObjLooker(QWidget* parent = nullptr);
  ~CFileObjLooker() override;
  CFileObjLooker(const CFileObjLooker&) = delete;
  CFileObjLooker& operator=(const CFileObjLooker&) = delete;

  // Decodes a copy of the bytes. Null bytes or size 0 change nothing. Bytes that are no picture
  // it shows replace what the control shows with the empty state at once. A small picture is
  // decoded here; a large one on a worker, the previous picture staying until it is ready, and
  // a later load wins over a decode still on its way. True when the bytes were a picture, or
  // are one being decoded.
  bool LoadPicture(const unsigned char* bytes, int size);

  PictureState State() const { return m_state; }
  bool Decoding() const { return m_decoding; }

 protected:
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  struct Mailbox;
  struct DecodeJob {
    std::uint64_t m_load;  // the load it belongs to
    QByteArray m_bytes;
  };

  void Show(std::optional<QImage> image);
  void StartDecode(DecodeJob job);  // sets m_decoding
  void TakeDecoded();
  void DrawItem(QPainter& painter, const QRect& item);
  void DrawPicture(QPainter& painter, const QRect& item);

  std::unique_ptr<QImage> m_image;  // from the last load that got as far as decoding
  PictureState m_state = PictureState::None;
  std::uint64_t m_load = 0;  // counts the loads given bytes
  // One decode at a time runs on a worker; of the loads that come meanwhile, the last waits.
  bool m_decoding = false;
  std::optional<DecodeJob> m_waiting;
  std::shared_ptr<Mailbox> m_mailbox;
};
