#pragma once

// Turning picture bytes into an image the picture control can stretch. Safe on any thread.

#include <QByteArray>
#include <QImage>
#include <QSize>

#include <optional>

// The picture's size as its header gives it, without decoding it. nullopt for bytes the
// control does not show: no readable picture, a JPEG cut short, a vector drawing (which has no
// bounded cost to draw), or more pixels than kMaxPicturePixels.
std::optional<QSize> ShowablePictureSize(const QByteArray& bytes);

// Whether decoding a picture of these bytes and this size is quick enough for the UI thread.
bool DecodesQuickly(const QByteArray& bytes, QSize size);

// The decoded picture of bytes that ShowablePictureSize accepted, in a screen format that is
// cheap to stretch at every paint; a null image when they do not decode.
QImage DecodePicture(const QByteArray& bytes);
