#pragma once

// Texts from the video service are UTF-8; addresses and ids are shown in the ANSI code page.

#include <QString>
#include <string>

#include "http/TextConversions.h"

inline std::wstring WideFromUtf8(const std::string& text) {
  std::wstring wide;
  Utf8ToWide(text, wide);
  return wide;
}

inline QString ServiceText(const std::string& text) {
  return QString::fromStdWString(WideFromUtf8(text));
}
