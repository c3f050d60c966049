#pragma once

// Texts from the video service are UTF-8; addresses and ids are shown in the ANSI code page.

#include "http/TextConversions.h"
#include "platform/Limits.h"

#include <QString>

#include <string>

inline std::u16string WideFromUtf8(const std::string& text) {
  std::u16string wide;
  Utf8ToWide(text, wide);
  return wide;
}

inline QString ServiceText(const std::string& text) {
  return QString::fromStdU16String(WideFromUtf8(text));
}

// At most kListCellChars characters of a service text, for a list cell or the caption, which
// lay their text out whole at every repaint. Only as many bytes as can make those characters
// are converted.
inline QString CellText(const std::string& text) {
  constexpr std::size_t kMaxUtf8Bytes = 4;
  QString cell = ServiceText(text.substr(0, kListCellChars * kMaxUtf8Bytes));
  if (cell.size() > kListCellChars) {
    cell.truncate(cell[kListCellChars].isLowSurrogate() ? kListCellChars - 1 : kListCellChars);
  }
  return cell;
}
