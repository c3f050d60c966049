#pragma once

// The picture control: shows one screenshot picture stretched over the whole control, or, with
// no picture, the dark shadow colour crossed by one diagonal.

#include <QImage>
#include <QWidget>

#include <memory>

enum class PictureState { None, Loaded, Failed };

class CFileObjLooker : public QWidget {
  Q_OBJECT

 public:
  explicit CFileObjLooker(QWidget* parent = nullptr);

  // Decodes a copy of the bytes; true when they were a picture. Null bytes or size 0 changes
  // nothing. Any other call replaces what the control shows and repaints it.
  bool LoadPicture(const unsigned char* bytes, int size);

  PictureState State() const { return m_state; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void DrawItem(QPainter& painter, const QRect& item);
  void DrawPicture(QPainter& painter, const QRect& item);

  std::unique_ptr<QImage> m_image;  // from the last load that got as far as decoding
  PictureState m_state = PictureState::None;
};
