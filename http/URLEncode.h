#pragma once

// Percent-encoding of a narrow text, byte by byte, for appending to a URL.

#include <string>

extern const std::string ReservedChars;  // always escaped
extern const std::string HexDigits;      // "0123456789ABCDEF"

class CURLEncode {
 public:
  virtual ~CURLEncode() = default;

  std::string Encode(std::string text);
  std::string Convert(char value, int base);
};
